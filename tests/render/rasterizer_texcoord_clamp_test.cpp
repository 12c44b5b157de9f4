#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "render/rasterizer_fixture.h"
#include "render/texcoord_clamp.h"

namespace {

TEST(TexCoordClamp, KeepsCoordinatesOnTheTexture) {
  EXPECT_EQ(ClampTexCoord(-1, 64), 0);
  EXPECT_EQ(ClampTexCoord(Fx(10) + 5, 64), Fx(10) + 5);
  EXPECT_EQ(ClampTexCoord(Fx(64), 64), Fx(64) - 1);
  EXPECT_EQ(ClampTexCoord(std::int64_t{1} << 50, 64), Fx(64) - 1);
  EXPECT_EQ(ClampTexCoord(Fx(3), 0), 0);
  EXPECT_EQ(ClampTexCoordRounded(Fx(64), 64), Fx(63) + 0x7FFF);
  EXPECT_EQ(ClampTexCoordRounded(Fx(63) + 0x7FFF, 64), Fx(63) + 0x7FFF);
}

TEST(TexCoordClamp, ConvertsFloatTexelsByTruncation) {
  EXPECT_EQ(TexCoordToFixed(2.5, 8), Fx(2) + 0x8000);
  EXPECT_EQ(TexCoordToFixed(-0.25, 8), 0);
  EXPECT_EQ(TexCoordToFixed(8.0, 8), Fx(8) - 1);
  EXPECT_EQ(TexCoordToFixed(1e30, 8), Fx(8) - 1);
  EXPECT_EQ(TexCoordToFixed(-1e30, 8), 0);
  EXPECT_EQ(TexCoordToFixed(std::nan(""), 8), 0);
  EXPECT_EQ(TexCoordToFixed(std::numeric_limits<double>::infinity(), 8), Fx(8) - 1);
  EXPECT_EQ(TexCoordToFixedRounded(8.0, 8), Fx(7) + 0x7FFF);
}

TEST(TexCoordClamp, RoundedFillerAtTheClampedEdgeReadsTheLastTexel) {
  // u runs from 0 to the largest rounded coordinate over a long span: the
  // rounded steps overshoot the right value, but not past the last texel.
  RasterCanvas t(64, 8);
  const TestTexture tex(8, 2);
  tex.AttachTo(*t.r);
  const std::int32_t top = ClampTexCoordRounded(Fx(100), 8);
  const V4 tri[4] = {{0, 1, 0, 0}, {63, 1, top, 0}, {0, 5, 0, Fx(1)}, {0, 1, 0, 0}};
  t.r->FillTriTexRounded(t.target, tri);
  EXPECT_EQ(t.At(63, 1), tex.pixels[7]);
  EXPECT_EQ(t.At(62, 1), tex.pixels[7]);
}

}  // namespace
