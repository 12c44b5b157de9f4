#include <gtest/gtest.h>

#include "editor/paint_table.h"

namespace {

// A palette of distinct colours: entry i is (i, 255 - i, (i * 7) & 255).
Palette Distinct() {
  Palette p{};
  for (int i = 0; i < 256; ++i) {
    p[static_cast<std::size_t>(3 * i)] = static_cast<std::uint8_t>(i);
    p[static_cast<std::size_t>(3 * i + 1)] = static_cast<std::uint8_t>(255 - i);
    p[static_cast<std::size_t>(3 * i + 2)] = static_cast<std::uint8_t>((i * 7) & 255);
  }
  return p;
}

void Set(Palette& p, int i, int r, int g, int b) {
  p[static_cast<std::size_t>(3 * i)] = static_cast<std::uint8_t>(r);
  p[static_cast<std::size_t>(3 * i + 1)] = static_cast<std::uint8_t>(g);
  p[static_cast<std::size_t>(3 * i + 2)] = static_cast<std::uint8_t>(b);
}

}  // namespace

TEST(PaintTable, StrengthZeroKeepsEveryColour) {
  const Palette p = Distinct();
  for (PaintBlendMode mode : {PaintBlendMode::Colour, PaintBlendMode::Tint}) {
    const auto table = ComputePaintTable(p, 40, 0.0, mode);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(table[static_cast<std::size_t>(i)], i);
  }
}

TEST(PaintTable, FullColourPaintsTheColourAndDuplicatesChooseTheLowerIndex) {
  Palette p = Distinct();
  Set(p, 200, 10, 245, 70);  // the same colour as entry 10
  auto table = ComputePaintTable(p, 200, 1.0, PaintBlendMode::Colour);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(table[static_cast<std::size_t>(i)], 10);
  // At strength 0 entry 200 maps onto its twin at 10.
  table = ComputePaintTable(p, 0, 0.0, PaintBlendMode::Colour);
  EXPECT_EQ(table[200], 10);
  EXPECT_EQ(table[201], 201);
}

TEST(PaintTable, HalfStrengthLandsOnTheNearestEntry) {
  Palette grey{};
  for (int i = 0; i < 256; ++i) Set(grey, i, i, i, i);
  const auto table = ComputePaintTable(grey, 200, 0.5, PaintBlendMode::Colour);
  EXPECT_EQ(table[100], 150);
  EXPECT_EQ(table[0], 100);
  EXPECT_EQ(table[255], 227);  // 227.5: the tie goes to the lower index
}

TEST(PaintTable, TintWithAGreyPaintColourGreysAtTheTexelsOwnBrightness) {
  Palette p{};
  for (int i = 0; i < 256; ++i) Set(p, i, i, i, i);  // greys 0..255 ...
  Set(p, 1, 200, 40, 40);                            // ... and two colours
  Set(p, 2, 30, 90, 60);
  const auto table = ComputePaintTable(p, 128, 1.0, PaintBlendMode::Tint);
  // V = max channel: (200, 40, 40) -> grey 200, (30, 90, 60) -> grey 90.
  EXPECT_EQ(table[1], 200);
  EXPECT_EQ(table[2], 90);
  EXPECT_EQ(table[77], 77);
}

TEST(PaintTable, TintKeepsThePaintHueAtTheTexelsValue) {
  Palette p{};
  for (int i = 0; i < 256; ++i) Set(p, i, i, i, i);
  Set(p, 1, 255, 0, 0);  // paint colour: pure red
  Set(p, 2, 100, 0, 0);  // the red at value 100
  Set(p, 3, 0, 100, 50); // a green of value 100
  const auto table = ComputePaintTable(p, 1, 1.0, PaintBlendMode::Tint);
  EXPECT_EQ(table[3], 2);
  EXPECT_EQ(table[255], 1);
}

TEST(PaintTable, HsvRoundTrip) {
  const Hsv hsv = RgbToHsv(0, 128, 255);
  EXPECT_NEAR(hsv.h, (4 + (0.0 - 128) / 255) * 60, 1e-9);  // blue is the maximum
  double r, g, b;
  HsvToRgb(hsv, r, g, b);
  EXPECT_NEAR(r, 0, 1e-9);
  EXPECT_NEAR(g, 128, 1e-9);
  EXPECT_NEAR(b, 255, 1e-9);
  EXPECT_EQ(RgbToHsv(50, 50, 50).h, -1);
  EXPECT_EQ(RgbToHsv(0, 0, 0).s, 0);
}
