#include <gtest/gtest.h>

#include "image/image_files.h"
#include "image/new_skin.h"
#include "image/palette_ops.h"
#include "image/image_builders.h"
#include "support/test_support.h"

namespace {

std::unique_ptr<Skin> GreySkin(std::vector<std::uint8_t> pixels) {
  auto skin = MakeBlankSkin("s", static_cast<int>(pixels.size()), 1, GreyRampPalette());
  skin->pixels = pixels;
  skin->storedPixels = pixels;
  return skin;
}

TEST(Repalette, TakesTheEntriesTheFileSuppliesAndKeepsTheIndices) {
  TempDir dir;
  BmpLayout bmp;
  // Big enough to pass for a palette file: anything under 768 bytes is not.
  bmp.width = 32;
  bmp.height = 24;
  bmp.coloursUsed = 16;
  bmp.colours = TestColours(16, 5);
  bmp.pixelData = std::vector<std::uint8_t>(32 * 24, 3);
  WriteBytes(dir.File("sixteen.bmp"), BuildBmp(bmp));
  std::vector<std::uint8_t> act(768);
  for (std::size_t i = 0; i < act.size(); ++i) act[i] = static_cast<std::uint8_t>(i * 13 + 1);
  WriteBytes(dir.File("raw.act"), act);
  // Any file of exactly 768 bytes is a palette, whatever its name says.
  WriteBytes(dir.File("raw.pcx"), act);

  const Palette grey = GreyRampPalette();
  const Palette salted = TestPalette(5);
  Palette whole{};
  std::copy(act.begin(), act.end(), whole.begin());
  Palette sixteen = grey;
  std::copy(salted.begin(), salted.begin() + 48, sixteen.begin());

  const struct {
    const char* file;
    Palette expected;
  } cases[] = {{"sixteen.bmp", sixteen}, {"raw.act", whole}, {"raw.pcx", whole}};
  for (const auto& c : cases) {
    auto skin = GreySkin({0, 7, 200, 255});
    ASSERT_TRUE(RepaletteSkin(*skin, dir.File(c.file))) << c.file;
    EXPECT_EQ(skin->palette, c.expected) << c.file;
    EXPECT_EQ(skin->pixels, (std::vector<std::uint8_t>{0, 7, 200, 255})) << c.file;
  }
}

TEST(Invert, ReversesPaletteOrIndicesAndBothTogetherKeepThePicture) {
  auto skin = GreySkin({0, 1, 127, 128, 254, 255});
  skin->palette = TestPalette(3);
  skin->storedPixels = {9, 9, 9, 9, 9, 9};
  const Skin before = *skin;

  InvertPalette(*skin);
  for (int i = 0; i < 256; ++i)
    for (int c = 0; c < 3; ++c) EXPECT_EQ(skin->palette[i * 3 + c], before.palette[(255 - i) * 3 + c]);
  EXPECT_EQ(skin->pixels, before.pixels);
  InvertPalette(*skin);

  InvertPixels(*skin);
  EXPECT_EQ(skin->pixels, (std::vector<std::uint8_t>{255, 254, 128, 127, 1, 0}));
  EXPECT_EQ(skin->storedPixels, std::vector<std::uint8_t>(6, 246));
  EXPECT_EQ(skin->palette, before.palette);
  InvertPixels(*skin);

  InvertBoth(*skin);
  for (std::size_t i = 0; i < skin->pixels.size(); ++i)
    for (int c = 0; c < 3; ++c)
      EXPECT_EQ(skin->palette[skin->pixels[i] * 3u + c], before.palette[before.pixels[i] * 3u + c]);
  InvertBoth(*skin);
  EXPECT_EQ(skin->pixels, before.pixels);
  EXPECT_EQ(skin->storedPixels, before.storedPixels);
  EXPECT_EQ(skin->palette, before.palette);
}

TEST(ReplaceColours, MapsTheRunLinearlyWithTruncationTowardZero) {
  const struct {
    std::uint8_t s, e, t0, t1;
    std::vector<std::uint8_t> in, out;
  } cases[] = {
      {10, 20, 100, 110, {9, 10, 15, 20, 21}, {9, 100, 105, 110, 21}},
      // a reversed run: s still goes to t0
      {20, 10, 100, 110, {9, 10, 15, 20, 21}, {9, 110, 105, 100, 21}},
      {0, 3, 0, 10, {1, 2, 3}, {3, 6, 10}},
      // falling target: truncation toward zero, not down
      {0, 3, 10, 0, {1, 2, 3}, {7, 4, 0}},
      {42, 42, 7, 99, {41, 42, 43}, {41, 7, 43}},
      {0, 255, 255, 0, {0, 100, 255}, {255, 155, 0}},
  };
  for (const auto& c : cases) {
    auto skin = GreySkin(c.in);
    ReplaceColours(*skin, c.s, c.e, c.t0, c.t1);
    EXPECT_EQ(skin->pixels, c.out) << int(c.s) << ".." << int(c.e) << " -> " << int(c.t0) << ".." << int(c.t1);
    EXPECT_EQ(skin->storedPixels, c.in);
  }
}

}  // namespace
