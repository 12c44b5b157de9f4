#include <gtest/gtest.h>

#include "image/colour.h"
#include "image/true_colour.h"

namespace {

TrueColourPicture Gradient(int w, int h) {
  TrueColourPicture p{w, h, std::vector<std::uint8_t>(static_cast<std::size_t>(w * h * 4))};
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      std::uint8_t* px = p.rgba.data() + (y * w + x) * 4;
      px[0] = static_cast<std::uint8_t>(x * 255 / (w - 1));
      px[1] = static_cast<std::uint8_t>(y * 255 / (h - 1));
      px[2] = static_cast<std::uint8_t>((x + y) * 2);
      px[3] = 255;
    }
  return p;
}

// Eight colours only, the corners of the colour cube; the rest black.
Palette CubeCorners() {
  Palette p{};
  for (int i = 0; i < 8; ++i) {
    p[i * 3] = (i & 1) ? 255 : 0;
    p[i * 3 + 1] = (i & 2) ? 255 : 0;
    p[i * 3 + 2] = (i & 4) ? 255 : 0;
  }
  return p;
}

TEST(TrueColour, EachPixelTakesItsNearestEntryAndSeeThroughOnesIndex255) {
  TrueColourPicture p = Gradient(40, 30);
  // Alpha 127 is see-through, 128 is not.
  p.rgba[3] = 0;
  p.rgba[7] = 127;
  p.rgba[11] = 128;
  const Palette palette = CubeCorners();
  auto out = MapToPalette(p, palette, false);
  ASSERT_EQ(out.size(), 40u * 30u);
  EXPECT_EQ(out[0], kTransparentIndex);
  EXPECT_EQ(out[1], kTransparentIndex);
  for (std::size_t i = 2; i < out.size(); ++i)
    ASSERT_EQ(out[i], NearestPaletteEntry(palette, p.rgba[i * 4], p.rgba[i * 4 + 1], p.rgba[i * 4 + 2])) << i;
}

TEST(TrueColour, DitheringSpreadsErrorsButKeepsExactColoursAndSeeThrough) {
  const Palette palette = CubeCorners();
  TrueColourPicture p = Gradient(64, 48);
  p.rgba[3] = 0;
  auto plain = MapToPalette(p, palette, false);
  auto dithered = MapToPalette(p, palette, true);
  ASSERT_EQ(dithered.size(), plain.size());
  EXPECT_NE(dithered, plain);
  EXPECT_EQ(dithered[0], kTransparentIndex);
  for (std::size_t i = 1; i < dithered.size(); ++i) ASSERT_LT(dithered[i], 8) << i;

  // A picture of palette colours leaves no error to spread.
  TrueColourPicture exact{3, 2, {}};
  for (int i : {1, 2, 7, 0, 4, 6})
    exact.rgba.insert(exact.rgba.end(), {palette[i * 3], palette[i * 3 + 1], palette[i * 3 + 2], 255});
  EXPECT_EQ(MapToPalette(exact, palette, true), (std::vector<std::uint8_t>{1, 2, 7, 0, 4, 6}));
}

}  // namespace
