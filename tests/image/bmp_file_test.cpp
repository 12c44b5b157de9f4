#include <gtest/gtest.h>

#include "image/image_builders.h"
#include "image/image_files.h"
#include "support/scripted_ui.h"
#include "support/shown.h"
#include "support/test_support.h"

namespace {

std::unique_ptr<Skin> LoadBytes(const std::vector<std::uint8_t>& file, ScriptedUi& ui) {
  TempDir dir;
  WriteBytes(dir.File("t.bmp"), file);
  return Shown(ui, LoadSkinImage(dir.File("t.bmp")));
}

}  // namespace

TEST(BmpWrite, HeadersColourTableAndBottomUpPaddedRows) {
  TempDir dir;
  ScriptedUi ui;
  Skin skin;
  skin.width = 3;
  skin.height = 2;
  skin.pixels = {1, 2, 3, 4, 5, 6};
  skin.palette = TestPalette(9);
  ASSERT_TRUE(Shown(ui, WriteBmp(skin, dir.File("out.bmp"))));
  EXPECT_EQ(skin.format, FORMAT_BMP);

  std::vector<std::uint8_t> f = ReadBytes(dir.File("out.bmp"));
  ASSERT_EQ(f.size(), 1078u + 8u);
  EXPECT_EQ(f[0], 'B');
  EXPECT_EQ(f[1], 'M');
  EXPECT_EQ(ReadLe32(f, 2), 1086u);
  EXPECT_EQ(ReadLe32(f, 6), 0u);
  EXPECT_EQ(ReadLe32(f, 10), 1078u);
  EXPECT_EQ(ReadLe32(f, 14), 40u);
  EXPECT_EQ(ReadLe32(f, 18), 3u);
  EXPECT_EQ(ReadLe32(f, 22), 2u);
  EXPECT_EQ(ReadLe16(f, 26), 1u);
  EXPECT_EQ(ReadLe16(f, 28), 8u);
  EXPECT_EQ(ReadLe32(f, 30), 0u);
  EXPECT_EQ(ReadLe32(f, 34), 0u);
  EXPECT_EQ(ReadLe32(f, 38), 100u);
  EXPECT_EQ(ReadLe32(f, 42), 100u);
  EXPECT_EQ(ReadLe32(f, 46), 0u);
  EXPECT_EQ(ReadLe32(f, 50), 0u);
  for (int i = 0; i < 256; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(f[54 + 4 * i], skin.palette[3 * i + 2]);
    EXPECT_EQ(f[54 + 4 * i + 1], skin.palette[3 * i + 1]);
    EXPECT_EQ(f[54 + 4 * i + 2], skin.palette[3 * i]);
    EXPECT_EQ(f[54 + 4 * i + 3], 0);
  }
  EXPECT_EQ(std::vector<std::uint8_t>(f.begin() + 1078, f.end()),
            (std::vector<std::uint8_t>{4, 5, 6, 0, 1, 2, 3, 0}));
}

TEST(BmpRead, RoundTripOf255By3) {
  TempDir dir;
  ScriptedUi ui;
  Skin skin;
  skin.width = 255;
  skin.height = 3;
  skin.pixels.resize(255 * 3);
  for (std::size_t i = 0; i < skin.pixels.size(); ++i) skin.pixels[i] = static_cast<std::uint8_t>(i * 13 + 1);
  skin.palette = TestPalette(3);
  ASSERT_TRUE(Shown(ui, WriteBmp(skin, dir.File("r.bmp"))));
  EXPECT_EQ(ReadBytes(dir.File("r.bmp")).size(), 1078u + 256u * 3u);
  auto back = Shown(ui, LoadSkinImage(dir.File("r.bmp")));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->width, 255);
  EXPECT_EQ(back->height, 3);
  EXPECT_EQ(back->pixels, skin.pixels);
  EXPECT_EQ(back->palette, skin.palette);
  EXPECT_EQ(back->format, FORMAT_BMP);
  EXPECT_EQ(back->storedPixels, skin.pixels);
  EXPECT_EQ(back->hasFile, 1);
  EXPECT_TRUE(ui.texts().empty());
}

TEST(BmpRead, StoredRowsAreBottomUpAndPaddingIsSkipped) {
  BmpLayout l;
  l.width = 2;
  l.height = 3;
  l.colours = TestColours(256);
  l.pixelData = {5, 6, 0xEE, 0xEE, 3, 4, 0xEE, 0xEE, 1, 2, 0xEE, 0xEE};
  ScriptedUi ui;
  auto skin = LoadBytes(BuildBmp(l), ui);
  ASSERT_TRUE(skin);
  EXPECT_EQ(skin->pixels, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(skin->palette, TestPalette());
  EXPECT_EQ(skin->rowOffset[2], 4);
}

TEST(BmpRead, ShortColourTableLeavesTheRestBlack) {
  BmpLayout l;
  l.width = 1;
  l.height = 1;
  l.coloursUsed = 16;
  l.colours = TestColours(16);
  l.pixelData = {15, 0, 0, 0};
  ScriptedUi ui;
  auto skin = LoadBytes(BuildBmp(l), ui);
  ASSERT_TRUE(skin);
  Palette expected{};
  Palette ref = TestPalette();
  std::copy(ref.begin(), ref.begin() + 48, expected.begin());
  EXPECT_EQ(skin->palette, expected);
}

TEST(BmpRead, TableFollowsALargerInfoHeaderAndLastRowPadMayBeMissing) {
  BmpLayout l;
  l.width = 3;
  l.height = 2;
  l.infoSize = 108;
  l.colours = TestColours(256);
  l.pixelData = {4, 5, 6, 0, 1, 2, 3};
  ScriptedUi ui;
  auto skin = LoadBytes(BuildBmp(l), ui);
  ASSERT_TRUE(skin);
  EXPECT_EQ(skin->pixels, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(skin->palette, TestPalette());
}
