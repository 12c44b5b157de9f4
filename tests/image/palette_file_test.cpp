#include <gtest/gtest.h>

#include "image/image_builders.h"
#include "image/image_files.h"
#include "support/test_support.h"

namespace {

class PaletteFile : public ::testing::Test {
 protected:
  // Loads `bytes` into a palette that starts as TestPalette(100).
  bool Load(const std::vector<std::uint8_t>& bytes) {
    WriteBytes(dir.File("p"), bytes);
    return LoadPaletteFile(dir.File("p"), palette);
  }
  TempDir dir;
  Palette original = TestPalette(100);
  Palette palette = original;
};

}  // namespace

TEST_F(PaletteFile, Exactly768BytesIsAnActWhateverItHolds) {
  Palette act = TestPalette(1);
  std::vector<std::uint8_t> bytes(act.begin(), act.end());
  bytes[0] = 'B';
  bytes[1] = 'M';
  ASSERT_TRUE(Load(bytes));
  EXPECT_EQ(std::vector<std::uint8_t>(palette.begin(), palette.end()), bytes);
}

TEST_F(PaletteFile, ActWithCountWordsIsNotAPalette) {
  Palette act = TestPalette(1);
  std::vector<std::uint8_t> bytes(772, 0xFF);
  std::copy(act.begin(), act.end(), bytes.begin());
  bytes[768] = 0;
  bytes[769] = 1;  // colour count word, then the transparent index
  EXPECT_FALSE(Load(bytes));
  EXPECT_EQ(palette, original);
}

TEST_F(PaletteFile, BmpChangesOnlyTheColoursItSupplies) {
  BmpLayout l;
  l.width = 1;
  l.height = 1;
  l.coloursUsed = 16;
  l.colours = TestColours(16, 7);
  l.pixelData.assign(800, 0);  // long enough not to be taken as an ACT
  ASSERT_TRUE(Load(BuildBmp(l)));
  Palette expected = original;
  Palette ref = TestPalette(7);
  std::copy(ref.begin(), ref.begin() + 48, expected.begin());
  EXPECT_EQ(palette, expected);
}

TEST_F(PaletteFile, BmpNotEightBitOrWithTableOutsideTheFileIsRefused) {
  BmpLayout l;
  l.width = 1;
  l.height = 1;
  l.bitCount = 24;
  l.colours = TestColours(256);
  EXPECT_FALSE(Load(BuildBmp(l)));

  l.bitCount = 8;
  l.colours = TestColours(200);  // 256 announced, 200 present
  EXPECT_FALSE(Load(BuildBmp(l)));
  EXPECT_EQ(palette, original);
}

TEST_F(PaletteFile, PcxGivesItsLast768Bytes) {
  PcxLayout l;
  l.data = {1, 2, 3};
  l.palette = TestPalette(42);
  l.marker = false;
  ASSERT_TRUE(Load(BuildPcx(l)));
  EXPECT_EQ(palette, TestPalette(42));
}

TEST_F(PaletteFile, ShortUnknownOrMissingFilesAreNotPalettes) {
  EXPECT_FALSE(Load(std::vector<std::uint8_t>(767, 1)));
  EXPECT_FALSE(Load(std::vector<std::uint8_t>(1000, 1)));
  EXPECT_FALSE(LoadPaletteFile(dir.File("missing.act"), palette));
  EXPECT_EQ(palette, original);
}
