// Edge clipping by halving, line clipping, near-plane clipping and the
// point-in-polygon test.

#include <gtest/gtest.h>

#include "render/rasterizer_fixture.h"

namespace {

TEST(RasterClip, EdgeCrossingColumnZeroMovesItsStartToTheMidpoint) {
  RasterCanvas t(64, 128);
  std::int32_t a[3] = {-10, 0, 0}, b[3] = {10, 100, Fx(100)};
  ASSERT_TRUE(t.r->ClipEdgeX(t.target, a, b, 3));
  EXPECT_EQ(a[0], 0);
  EXPECT_EQ(a[1], 50);
  EXPECT_EQ(a[2], Fx(50));  // attributes are halved along with x and y
  EXPECT_EQ(t.r->ClipFlag(), 1u);
  EXPECT_EQ(b[0], 10);
  EXPECT_EQ(b[1], 100);
}

TEST(RasterClip, EdgeStartingOnColumnZeroIsStillBisected) {
  // Midpoints (5, 50), (2, 25), (1, 12), (0, 6).
  RasterCanvas t(64, 128);
  std::int32_t a[2] = {0, 0}, b[2] = {10, 100};
  ASSERT_TRUE(t.r->ClipEdgeX(t.target, a, b, 2));
  EXPECT_EQ(a[0], 0);
  EXPECT_EQ(a[1], 6);
  EXPECT_EQ(t.r->ClipFlag(), 1u);
  EXPECT_EQ(b[0], 10);
  EXPECT_EQ(b[1], 100);
}

TEST(RasterClip, EdgeClippedOnTheRightFlagsOnlyAMovedStart) {
  RasterCanvas t(16, 64);
  std::int32_t a[2] = {5, 0}, b[2] = {25, 40};
  ASSERT_TRUE(t.r->ClipEdgeX(t.target, a, b, 2));
  EXPECT_EQ(b[0], 15);
  EXPECT_EQ(b[1], 20);
  EXPECT_EQ(t.r->ClipFlag(), 0u);
  EXPECT_EQ(a[0], 5);

  std::int32_t c[2] = {25, 40}, d[2] = {5, 0};
  ASSERT_TRUE(t.r->ClipEdgeX(t.target, c, d, 2));
  EXPECT_EQ(c[0], 15);
  EXPECT_EQ(c[1], 20);
  EXPECT_EQ(t.r->ClipFlag(), 1u);
}

TEST(RasterClip, EdgesOutsideAreInvisibleAndEdgesOnTheBoundCollapse) {
  RasterCanvas t(16, 16);
  std::int32_t a[2] = {-5, 3}, b[2] = {-1, 9};
  EXPECT_FALSE(t.r->ClipEdgeX(t.target, a, b, 2));
  std::int32_t c[2] = {16, 3}, d[2] = {30, 9};
  EXPECT_FALSE(t.r->ClipEdgeX(t.target, c, d, 2));
  std::int32_t e[2] = {3, -9}, f[2] = {9, -1};
  EXPECT_FALSE(t.r->ClipEdgeY(t.target, e, f, 2));
  // A vertical edge on column 0: a is the high end, the low end b becomes a.
  std::int32_t g[2] = {0, 2}, h[2] = {0, 9};
  ASSERT_TRUE(t.r->ClipEdgeX(t.target, g, h, 2));
  EXPECT_EQ(h[1], 2);
  EXPECT_EQ(t.r->ClipFlag(), 0u);
}

TEST(RasterClip, EdgeYClipsAgainstRowZeroAndClipBottom) {
  RasterCanvas t(200, 64);
  t.target.ClipBottom = 30;
  std::int32_t a[2] = {0, -10}, b[2] = {100, 10};
  ASSERT_TRUE(t.r->ClipEdgeY(t.target, a, b, 2));
  EXPECT_EQ(a[0], 50);
  EXPECT_EQ(a[1], 0);
  std::int32_t c[2] = {0, 20}, d[2] = {40, 40};
  ASSERT_TRUE(t.r->ClipEdgeY(t.target, c, d, 2));
  EXPECT_EQ(d[0], 20);
  EXPECT_EQ(d[1], 30);
}

TEST(RasterClip, ClipLineCutsAtTheTargetEdges) {
  RasterCanvas t(100, 100);
  std::int32_t x0 = -10, y0 = 0, x1 = 10, y1 = 20;
  ASSERT_TRUE(t.r->ClipLine(t.target, x0, y0, x1, y1));
  EXPECT_EQ(x0, 0);
  EXPECT_EQ(y0, 10);
  EXPECT_EQ(x1, 10);
  EXPECT_EQ(y1, 20);

  x0 = 5, y0 = -10, x1 = 15, y1 = 10;
  ASSERT_TRUE(t.r->ClipLine(t.target, x0, y0, x1, y1));
  EXPECT_EQ(x0, 10);
  EXPECT_EQ(y0, 0);

  // g = 11 * 65536 / 20 = 36044; 36044 * 20 >> 16 = 10.
  x0 = 110, y0 = 70, x1 = 90, y1 = 50;
  ASSERT_TRUE(t.r->ClipLine(t.target, x0, y0, x1, y1));
  EXPECT_EQ(x0, 90);
  EXPECT_EQ(y0, 50);
  EXPECT_EQ(x1, 99);
  EXPECT_EQ(y1, 60);
}

TEST(RasterClip, ClipLineOffTheTargetLeavesThePoints) {
  RasterCanvas t(100, 100);
  std::int32_t x0 = 10, y0 = -30, x1 = 60, y1 = -1;
  EXPECT_FALSE(t.r->ClipLine(t.target, x0, y0, x1, y1));
  EXPECT_EQ(x0, 10);
  EXPECT_EQ(y0, -30);
  EXPECT_EQ(x1, 60);
  EXPECT_EQ(y1, -1);
  // Clipped in x first, then found below the target: still unchanged.
  x0 = -50, y0 = 150, x1 = 20, y1 = 120;
  EXPECT_FALSE(t.r->ClipLine(t.target, x0, y0, x1, y1));
  EXPECT_EQ(x0, -50);
  EXPECT_EQ(y1, 120);
  // Far-off points do not overflow.
  x0 = -2000000000, y0 = 50, x1 = 2000000000, y1 = 50;
  ASSERT_TRUE(t.r->ClipLine(t.target, x0, y0, x1, y1));
  EXPECT_EQ(x0, 0);
  EXPECT_EQ(x1, 99);
  EXPECT_EQ(y0, 50);
}

TEST(RasterClip, ClipSegmentNearMovesTheNearPointOntoThePlane) {
  float a[3] = {0, 0, -1}, b[3] = {2, 4, 1};
  ASSERT_TRUE(CRasterizer::ClipSegmentNear(a, b));
  EXPECT_FLOAT_EQ(a[0], 1.1f);
  EXPECT_FLOAT_EQ(a[1], 2.2f);
  EXPECT_FLOAT_EQ(a[2], 0.1f);
  EXPECT_FLOAT_EQ(b[2], 1.0f);

  float c[3] = {1, 1, 0.05f}, d[3] = {2, 2, 0.01f};
  EXPECT_FALSE(CRasterizer::ClipSegmentNear(c, d));
  float e[3] = {1, 1, 0.5f}, f[3] = {2, 2, 3};
  ASSERT_TRUE(CRasterizer::ClipSegmentNear(e, f));
  EXPECT_FLOAT_EQ(e[2], 0.5f);
}

TEST(RasterClip, PointInPolygonIsEvenOdd) {
  const float square[] = {0, 0, 10, 0, 10, 10, 0, 10};
  EXPECT_TRUE(CRasterizer::PointInPolygon(5, 5, square, 4));
  EXPECT_FALSE(CRasterizer::PointInPolygon(15, 5, square, 4));
  EXPECT_FALSE(CRasterizer::PointInPolygon(5, -1, square, 4));
  const float two[] = {0, 0, 10, 10};
  EXPECT_FALSE(CRasterizer::PointInPolygon(5, 5, two, 2));
  // A bow tie: the crossing halves are inside, the notch between them not.
  const float bow[] = {0, 0, 10, 10, 10, 0, 0, 10};
  EXPECT_TRUE(CRasterizer::PointInPolygon(2, 5, bow, 4));
  EXPECT_FALSE(CRasterizer::PointInPolygon(5, 1, bow, 4));
}

}  // namespace
