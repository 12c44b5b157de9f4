// Line drawers: the accumulator walk, the antialiasing weights and the tag
// conditions.

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "render/rasterizer_fixture.h"

namespace {

using Pixels = std::set<std::pair<int, int>>;

Pixels Lit(RasterCanvas& t) {
  Pixels out;
  for (int y = 0; y < t.target.Rows; ++y)
    for (int x = 0; x < t.target.Pitch; ++x)
      if (t.At(x, y)) out.insert({x, y});
  return out;
}

TEST(RasterLines, MinorCoordinateMovesOnlyWhenAWholeStepHasAccumulated) {
  RasterCanvas t(16, 16);
  t.r->DrawLine(t.target, 0, 0, 4, 1, 5);
  EXPECT_EQ(Lit(t), (Pixels{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 1}}));
  EXPECT_EQ(t.At(4, 1), 5);

  RasterCanvas r(16, 16);  // drawn from the lower end: same walk
  r.r->DrawLine(r.target, 4, 1, 0, 0, 5);
  EXPECT_EQ(Lit(r), (Pixels{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 1}}));

  RasterCanvas s(16, 16);  // step 3/5: wraps after the 2nd and 4th steps
  s.r->DrawLine(s.target, 0, 0, 5, 3, 1);
  EXPECT_EQ(Lit(s), (Pixels{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 3}}));

  RasterCanvas steep(16, 16);
  steep.r->DrawLine(steep.target, 1, 4, 0, 0, 1);
  EXPECT_EQ(Lit(steep), (Pixels{{0, 0}, {0, 1}, {0, 2}, {0, 3}, {1, 4}}));

  RasterCanvas left(16, 16);  // steep, leaning left
  left.r->DrawLine(left.target, 6, 0, 4, 5, 1);
  // step 2/5: wraps after steps 3 (acc 1.2) and 5 is the end point.
  EXPECT_EQ(Lit(left), (Pixels{{6, 0}, {6, 1}, {6, 2}, {5, 3}, {5, 4}, {4, 5}}));
}

TEST(RasterLines, PureCasesPlotEveryPointOnce) {
  RasterCanvas t(16, 16);
  t.r->DrawLine(t.target, 9, 2, 3, 2, 1);
  t.r->DrawLine(t.target, 1, 9, 1, 5, 2);
  t.r->DrawLine(t.target, 10, 10, 13, 13, 3);
  t.r->DrawLine(t.target, 7, 7, 7, 7, 4);
  Pixels expect;
  for (int x = 3; x <= 9; ++x) expect.insert({x, 2});
  for (int y = 5; y <= 9; ++y) expect.insert({1, y});
  for (int i = 0; i <= 3; ++i) expect.insert({10 + i, 10 + i});
  expect.insert({7, 7});
  EXPECT_EQ(Lit(t), expect);
  EXPECT_EQ(t.At(1, 5), 2);
  EXPECT_EQ(t.At(12, 12), 3);
}

TEST(RasterLines, TaggedAndSixteenBitLinesFollowTheSameWalk) {
  RasterCanvas t(16, 16);
  t.Tag(1, 0) = 8;
  t.Tag(3, 0) = 8;
  t.Tag(4, 1) = 8;
  t.r->DrawLineTagged(t.target, 0, 0, 4, 1, 6, 8);
  EXPECT_EQ(Lit(t), (Pixels{{1, 0}, {3, 0}, {4, 1}}));

  t.r->DrawLine16(t.target, 0, 0, 4, 1, 0x7C1F);
  EXPECT_EQ(t.Color16(2, 0), 0x7C1F);
  EXPECT_EQ(t.Color16(4, 1), 0x7C1F);
  EXPECT_EQ(t.Color16(2, 1), 0);
}

TEST(RasterLines, AntialiasedLineWeighsThePixelAndItsNeighbour) {
  RasterCanvas t(16, 16);
  t.r->DrawLineAA(t.target, 0, 0, 4, 1, 64);
  // Steps at accumulator 1/4, 1/2, 3/4: f = 16, 32, 48 over an empty ramp.
  EXPECT_EQ(t.At(0, 0), 127);
  EXPECT_EQ(t.At(4, 1), 127);
  EXPECT_EQ(t.At(1, 0), 64 + (47 * 63 + 63) / 64);
  EXPECT_EQ(t.At(1, 1), 64 + 16 * 63 / 64);
  EXPECT_EQ(t.At(2, 0), 64 + (31 * 63 + 63) / 64);
  EXPECT_EQ(t.At(2, 1), 64 + 32 * 63 / 64);
  EXPECT_EQ(t.At(3, 0), 64 + (15 * 63 + 63) / 64);
  EXPECT_EQ(t.At(3, 1), 64 + 48 * 63 / 64);
  EXPECT_EQ(Lit(t).size(), 8u);

  // Over pixels already at ramp level 40, base 128.
  RasterCanvas over(16, 16, 128 + 40);
  over.r->DrawLineAA(over.target, 0, 0, 4, 1, 128);
  EXPECT_EQ(over.At(1, 0), 128 + (40 * 16 + 47 * 63 + 63) / 64);
  EXPECT_EQ(over.At(1, 1), 128 + (40 * 48 + 16 * 63) / 64);
  EXPECT_EQ(over.At(0, 1), 168);
}

TEST(RasterLines, TaggedAntialiasingOrsIntoKeyPixelsOnly) {
  RasterCanvas t(16, 16, 0x80);
  for (int x = 0; x < 4; ++x) t.Tag(x, 0) = 3;
  t.Tag(4, 1) = 3;
  t.r->DrawLineAATagged(t.target, 0, 0, 4, 1, 3);
  EXPECT_EQ(t.At(0, 0), 0x80 | 63);
  EXPECT_EQ(t.At(4, 1), 0x80 | 63);
  EXPECT_EQ(t.At(1, 0), 0x80 | ((47 * 63 + 63) / 64));
  EXPECT_EQ(t.At(3, 0), 0x80 | ((15 * 63 + 63) / 64));
  EXPECT_EQ(t.At(1, 1), 0x80);  // neighbour under another tag
}

TEST(RasterLines, SixteenBitAntialiasingBlendsEachComponent) {
  RasterCanvas t(16, 16);
  const std::uint16_t old = (4 << 10) | (8 << 5) | 16;
  for (auto& c : t.color16) c = old;
  const std::uint16_t colour = (31 << 10) | (0 << 5) | 31;
  t.r->DrawLineAA16(t.target, 0, 0, 4, 1, colour);
  EXPECT_EQ(t.Color16(0, 0), colour);
  EXPECT_EQ(t.Color16(4, 1), colour);
  // First step: m = 16384 >> 11 = 8.
  const auto mix = [](int a, int b, int m) { return (a * m + b * (32 - m)) / 32; };
  const std::uint16_t on = static_cast<std::uint16_t>(
      (mix(4, 31, 8) << 10) | (mix(8, 0, 8) << 5) | mix(16, 31, 8));
  const std::uint16_t side = static_cast<std::uint16_t>(
      (mix(31, 4, 8) << 10) | (mix(0, 8, 8) << 5) | mix(31, 16, 8));
  EXPECT_EQ(t.Color16(1, 0), on);
  EXPECT_EQ(t.Color16(1, 1), side);
}

}  // namespace
