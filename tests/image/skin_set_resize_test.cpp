#include <gtest/gtest.h>

#include "image/new_skin.h"
#include "image/skin_resize.h"

TEST(SkinResizeChecks, RefusedInTheDialogsOrder) {
  EXPECT_EQ(CheckSkinResize(256, 256, 256, 256, true), kResizeSameSizeText);
  EXPECT_EQ(CheckSkinResize(256, 256, 256, 256, false), kResizeSameSizeText);
  EXPECT_EQ(CheckSkinResize(256, 256, 0, 256, true), kResizeZeroText);
  EXPECT_EQ(CheckSkinResize(256, 256, 642, -1, true), kResizeZeroText);
  EXPECT_EQ(CheckSkinResize(256, 256, 642, 200, true), kResizeWidthMultipleText);
  EXPECT_EQ(CheckSkinResize(256, 256, 644, 200, true), kResizeTooLargeText);
  EXPECT_EQ(CheckSkinResize(256, 256, 320, 484, true), kResizeTooLargeText);
  EXPECT_EQ(CheckSkinResize(256, 256, 640, 480, true), "");
  EXPECT_EQ(CheckSkinResize(256, 256, 642, 200, false), "");
  EXPECT_EQ(CheckSkinResize(256, 256, 3, 1000, false), "");
}

TEST(SkinResizeChecks, ARecordThatCannotHoldTheSizeIsRefusedEvenWithoutLimits) {
  EXPECT_FALSE(CheckSkinResize(256, 256, 64, 2049, false).empty());
  EXPECT_FALSE(CheckSkinResize(256, 256, 32768, 64, false).empty());
  EXPECT_EQ(CheckSkinResize(256, 256, 64, 2048, false), "");
}

TEST(SkinResample, NearestNeighbourFromTruncatedSourcePositions) {
  auto skin = MakeBlankSkin("s", 4, 3, GreyRampPalette());
  for (int i = 0; i < 12; ++i) skin->pixels[i] = static_cast<std::uint8_t>(i);
  skin->storedPixels.assign(12, 99);
  ResampleSkin(*skin, 6, 2);
  ASSERT_EQ(skin->width, 6);
  ASSERT_EQ(skin->height, 2);
  // columns: trunc(x * 4 / 6) = 0 0 1 2 2 3; rows: trunc(y * 3 / 2) = 0 1
  std::vector<std::uint8_t> want = {0, 0, 1, 2, 2, 3, 4, 4, 5, 6, 6, 7};
  EXPECT_EQ(skin->pixels, want);
  EXPECT_EQ(skin->storedPixels, want);
  EXPECT_EQ(skin->rowOffset[1], 6);
}

TEST(SkinResample, HalvingTakesEveryOtherPixel) {
  auto skin = MakeBlankSkin("s", 256, 256, GreyRampPalette());
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) skin->pixels[y * 256 + x] = static_cast<std::uint8_t>(x ^ y);
  ResampleSkin(*skin, 128, 128);
  for (int y = 0; y < 128; y += 17)
    for (int x = 0; x < 128; x += 13) EXPECT_EQ(skin->pixels[y * 128 + x], (2 * x) ^ (2 * y));
}

TEST(SkinResample, MappingKeepsTheHalfPixel) {
  EXPECT_FLOAT_EQ(ScaleMapCoordinate(10.0f, 256, 128), 5.25f);
  EXPECT_FLOAT_EQ(ScaleMapCoordinate(0.0f, 100, 200), 1.0f);
}

TEST(SkinResizeImage, CommandLineResize) {
  auto skin = MakeBlankSkin("s", 8, 8, GreyRampPalette());
  std::string error;
  EXPECT_TRUE(ResizeSkinImage(*skin, 8, 8, true, &error));
  EXPECT_EQ(skin->width, 8);
  EXPECT_FALSE(ResizeSkinImage(*skin, 6, 8, true, &error));
  EXPECT_EQ(error, kResizeWidthMultipleText);
  EXPECT_EQ(skin->width, 8);
  EXPECT_TRUE(ResizeSkinImage(*skin, 6, 8, false, &error));
  EXPECT_EQ(skin->width, 6);
  EXPECT_EQ(skin->pixels.size(), 48u);

  skin->pixels.resize(3);  // a damaged record is refused, not read past
  EXPECT_FALSE(ResizeSkinImage(*skin, 4, 4, false, &error));
}
