// Triangle fillers: the pixel rules, worked out by hand from the edge walk
// and the span interpolation.

#include <gtest/gtest.h>

#include "render/rasterizer_fixture.h"

namespace {

int CountNot(const RasterCanvas& t, std::uint8_t background) {
  int n = 0;
  for (std::uint8_t b : t.frame) n += b != background;
  return n;
}

TEST(RasterFill, CoincidentCornersDrawOnePixel) {
  RasterCanvas t(16, 16);
  const V2 tri[4] = {{5, 7}, {5, 7}, {5, 7}, {5, 7}};
  t.r->FillTriFlat(t.target, tri, 9);
  EXPECT_EQ(t.At(5, 7), 9);
  EXPECT_EQ(CountNot(t, 0), 1);

  const V3 lit[4] = {{3, 3, Fx(40)}, {3, 3, Fx(40)}, {3, 3, Fx(40)}, {3, 3, Fx(40)}};
  t.r->FillTriGouraud(t.target, lit);
  EXPECT_EQ(t.At(3, 3), 40);
  EXPECT_EQ(CountNot(t, 0), 2);
}

TEST(RasterFill, DegenerateTriangleDrawsItsBresenhamLine) {
  RasterCanvas t(32, 32);
  const V2 tri[4] = {{10, 10}, {16, 12}, {13, 11}, {10, 10}};
  t.r->FillTriFlat(t.target, tri, 1);
  // The line's pixels round i * dy / dx to the nearest row (no ties here).
  for (int i = 0; i <= 6; ++i) {
    const int y = 10 + (2 * i * 2 + 6) / 12;
    EXPECT_EQ(t.At(10 + i, y), 1) << "column " << 10 + i;
  }
  EXPECT_EQ(CountNot(t, 0), 7);
}

TEST(RasterFill, SharedEdgeIsDrawnByBothAndDepthTieKeepsTheFirst) {
  const V2 a[4] = {{10, 10}, {20, 10}, {20, 20}, {10, 10}};
  const V2 b[4] = {{10, 10}, {20, 20}, {10, 20}, {10, 10}};
  RasterCanvas flat(32, 32);
  flat.r->FillTriFlat(flat.target, a, 1);
  flat.r->FillTriFlat(flat.target, b, 2);
  RasterCanvas deep(32, 32);
  const std::int32_t z = Fx(100);
  const V3 az[4] = {{10, 10, z}, {20, 10, z}, {20, 20, z}, {10, 10, z}};
  const V3 bz[4] = {{10, 10, z}, {20, 20, z}, {10, 20, z}, {10, 10, z}};
  deep.r->FillTriFlatZ(deep.target, az, 1);
  deep.r->FillTriFlatZ(deep.target, bz, 2);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const bool inside = x >= 10 && x <= 20 && y >= 10 && y <= 20;
      const int expectFlat = !inside ? 0 : x > y ? 1 : 2;
      const int expectDeep = !inside ? 0 : x >= y ? 1 : 2;
      EXPECT_EQ(flat.At(x, y), expectFlat) << x << "," << y;
      EXPECT_EQ(deep.At(x, y), expectDeep) << x << "," << y;
    }
  }
  EXPECT_EQ(deep.Depth(15, 15), 100);
}

TEST(RasterFill, OnePixelRowsTakeTheFirstWalkedEdge) {
  // A vertical sliver: every row is a one-pixel span. The edge list starts
  // with the end of the first edge, so 12 -> 7 is walked before 7 -> 2.
  RasterCanvas t(16, 16);
  const V3 tri[4] = {{5, 2, Fx(10)}, {5, 12, Fx(110)}, {5, 7, Fx(200)}, {5, 2, Fx(10)}};
  t.r->FillTriGouraud(t.target, tri);
  for (int y = 7; y <= 12; ++y) EXPECT_EQ(t.At(5, y), 110 + (12 - y) * 18) << y;
  for (int y = 2; y < 7; ++y) EXPECT_EQ(t.At(5, y), 200 - (7 - y) * 38) << y;
  EXPECT_EQ(CountNot(t, 0), 11);
}

TEST(RasterFill, GouraudSpanStopsShortOfTheRightValue) {
  RasterCanvas t(32, 16);
  const V3 tri[4] = {{10, 5, Fx(10)}, {20, 5, Fx(20)}, {15, 10, Fx(15)}, {10, 5, Fx(10)}};
  t.r->FillTriGouraud(t.target, tri);
  const std::int32_t step = 59578;  // 10.0 / 11 in 16.16, truncated
  for (int i = 0; i <= 10; ++i) EXPECT_EQ(t.At(10 + i, 5), (Fx(10) + i * step) >> 16) << i;
  EXPECT_EQ(t.At(20, 5), 19);
}

TEST(RasterFill, ClipsAtColumnZeroAndAtClipBottom) {
  RasterCanvas t(20, 30);
  t.target.ClipBottom = 19;
  const V2 tri[4] = {{-10, 5}, {10, 5}, {10, 25}, {-10, 5}};
  t.r->FillTriFlat(t.target, tri, 9);
  // Bounded by y = 5, x = 10 and the diagonal y = x + 15.
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 20; ++x) {
      const bool inside = y >= 5 && y <= 19 && x <= 10 && x >= y - 15;
      EXPECT_EQ(t.At(x, y), inside ? 9 : 0) << x << "," << y;
    }
  }
}

TEST(RasterFill, TriangleOutsideDrawsNothingAndRowsAreLeftEmpty) {
  RasterCanvas t(16, 16);
  const V2 off[4] = {{-9, 2}, {-1, 4}, {-5, 20}, {-9, 2}};
  t.r->FillTriFlat(t.target, off, 3);
  const V2 below[4] = {{2, 16}, {9, 30}, {1, 40}, {2, 16}};
  t.r->FillTriFlat(t.target, below, 3);
  EXPECT_EQ(CountNot(t, 0), 0);

  const V2 tri[4] = {{2, 3}, {12, 5}, {6, 11}, {2, 3}};
  t.r->FillTriFlat(t.target, tri, 3);
  EXPECT_GT(CountNot(t, 0), 0);
  for (int y = 0; y < 16; ++y) {
    EXPECT_EQ(t.r->SpanLeft(y), 2147483647);
    EXPECT_EQ(t.r->SpanRight(y), -2147483647 - 1);
  }
  EXPECT_EQ(t.r->SpanTop(), t.r->SpanBottom() + 1);
  EXPECT_EQ(t.r->SpanBottom(), 11);
}

TEST(RasterFill, DepthStepsInSixteenBitsAndTestsStrictlyLess) {
  RasterCanvas t(32, 16);
  t.Depth(12, 5) = 96;  // equal to the incoming depth: kept
  t.Depth(13, 5) = 95;  // farther than the incoming 94: replaced
  const V3 tri[4] = {{10, 5, Fx(100)}, {20, 5, Fx(78)}, {15, 10, Fx(90)}, {10, 5, Fx(100)}};
  t.r->FillTriFlatZTag(t.target, tri, 7, 42);
  for (int i = 0; i <= 10; ++i) {
    if (i == 2) continue;
    EXPECT_EQ(t.Depth(10 + i, 5), 100 - 2 * i) << i;
    EXPECT_EQ(t.At(10 + i, 5), 7);
    EXPECT_EQ(t.Tag(10 + i, 5), 42);
  }
  EXPECT_EQ(t.Depth(12, 5), 96);
  EXPECT_EQ(t.At(12, 5), 0);
  EXPECT_EQ(t.Tag(12, 5), -1);
}

TEST(RasterFill, FourCornerFillersMapTheSkinRectangle) {
  RasterCanvas t(16, 12);
  const TestTexture tex(8, 6);
  tex.AttachTo(*t.r);
  const V4 quad[5] = {{2, 3, 0, 0},
                      {9, 3, Fx(7), 0},
                      {9, 8, Fx(7), Fx(5)},
                      {2, 8, 0, Fx(5)},
                      {2, 3, 0, 0}};
  t.r->FillTriTexOfsTag(t.target, quad);
  RasterCanvas plain(16, 12);
  tex.AttachTo(*plain.r);
  plain.r->FillTriTex(plain.target, quad);
  // Rows: v = row - 3 exactly; columns step by 7/8 of a texel.
  for (int y = 3; y <= 8; ++y) {
    for (int i = 0; i < 8; ++i) {
      const int u = (i * (Fx(7) / 8)) >> 16;
      const int v = y - 3;
      EXPECT_EQ(t.Tag(2 + i, y), v * 8 + u) << i << "," << y;
      EXPECT_EQ(t.At(2 + i, y), tex.pixels[v * 8 + u]);
      EXPECT_EQ(plain.At(2 + i, y), tex.pixels[v * 8 + u]);
    }
  }
  EXPECT_EQ(CountNot(t, 0), 48);
  EXPECT_EQ(CountNot(plain, 0), 48);
}

TEST(RasterFill, LitAndMappedPixelsLookUpTheirTables) {
  RasterCanvas t(16, 16);
  const TestTexture tex(4, 4);
  tex.AttachTo(*t.r);
  std::vector<std::uint8_t> shade(256 * 256);
  for (int l = 0; l < 256; ++l)
    for (int c = 0; c < 256; ++c) shade[l * 256 + c] = static_cast<std::uint8_t>(c + 50 * l);
  std::vector<std::uint8_t> map(256 * 256);
  for (int mv = 0; mv < 256; ++mv)
    for (int mu = 0; mu < 256; ++mu) map[mv * 256 + mu] = static_cast<std::uint8_t>(mu + mv);
  t.r->SetShadeTable(shade.data(), 0);
  t.r->SetShadeMap(map.data());
  const std::uint8_t texel = tex.pixels[2 * 4 + 1];  // (u 1, v 2)
  const std::int32_t u = Fx(1) + 0x8000, v = Fx(2) + 0x4000, z = Fx(10);

  const V6 lit[4] = {{1, 1, u, v, Fx(2), z}, {5, 1, u, v, Fx(2), z}, {1, 4, u, v, Fx(2), z},
                     {1, 1, u, v, Fx(2), z}};
  t.r->FillTriTexLitZOfsTag(t.target, lit);
  EXPECT_EQ(t.At(2, 2), static_cast<std::uint8_t>(texel + 100));
  EXPECT_EQ(t.Tag(2, 2), 2 * 4 + 1);

  const std::int32_t mu = Fx(1), mv = Fx(2);  // map value 3
  const V7 mapLit[4] = {{8, 1, u, v, mu, mv, z}, {12, 1, u, v, mu, mv, z},
                        {8, 4, u, v, mu, mv, z}, {8, 1, u, v, mu, mv, z}};
  t.r->FillTriTexMapLitZTag(t.target, mapLit, 77);
  EXPECT_EQ(t.At(9, 2), static_cast<std::uint8_t>(texel + 150));
  EXPECT_EQ(t.Tag(9, 2), 77);

  const V5 based[4] = {{1, 8, Fx(50), Fx(50), z}, {5, 8, Fx(50), Fx(50), z},
                       {1, 12, Fx(50), Fx(50), z}, {1, 8, Fx(50), Fx(50), z}};
  t.r->FillTriMapBaseZ(t.target, based, 200);
  EXPECT_EQ(t.At(2, 9), 44);  // 200 + 100 wraps
  const V5 mapped[4] = {{8, 8, Fx(7), Fx(9), z}, {12, 8, Fx(7), Fx(9), z},
                        {8, 12, Fx(7), Fx(9), z}, {8, 8, Fx(7), Fx(9), z}};
  t.r->FillTriMapZTag(t.target, mapped, 5);
  EXPECT_EQ(t.At(9, 9), 16);
  EXPECT_EQ(t.Tag(9, 9), 5);
}

// One rasterizer drawing in turn into two targets of different row lengths
// with the same clip rectangle: each gets the same picture at its own pitch,
// and nothing past the clip.
TEST(RasterFill, EachTargetGetsTheSamePictureAtItsOwnPitch) {
  RasterCanvas narrow(16, 12, 7), wide(29, 12, 7);
  for (RasterCanvas* c : {&narrow, &wide}) {
    c->target.ClipRight = 9;
    c->target.ClipBottom = 7;
  }
  CRasterizer& r = *narrow.r;
  const V2 corner[4] = {{1, 1}, {5, 1}, {1, 5}, {1, 1}};
  const V4 across[4] = {{5, 5, Fx(20), Fx(50)}, {30, 6, Fx(40), Fx(50)}, {8, 40, Fx(60), Fx(50)},
                        {5, 5, Fx(20), Fx(50)}};
  for (RasterCanvas* c : {&narrow, &wide}) {
    r.FillTriFlat(c->target, corner, 1);
    r.FillTriGouraudZTag(c->target, across, 3);
  }
  int cornerPixels = 0;
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 29; ++x) {
      if (x < 16) {
        EXPECT_EQ(narrow.At(x, y), wide.At(x, y)) << x << "," << y;
        EXPECT_EQ(narrow.Tag(x, y), wide.Tag(x, y)) << x << "," << y;
        EXPECT_EQ(narrow.Depth(x, y), wide.Depth(x, y)) << x << "," << y;
      }
      if (x > 9 || y > 7) {
        EXPECT_EQ(wide.At(x, y), 7) << x << "," << y;
        EXPECT_EQ(wide.Tag(x, y), -1) << x << "," << y;
      }
      if (wide.At(x, y) == 1) {
        ++cornerPixels;
        EXPECT_TRUE(x >= 1 && y >= 1 && x + y <= 6) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(cornerPixels, 15);
  // The second triangle runs past both clip bounds and is cut at them.
  EXPECT_EQ(wide.Tag(9, 7), 3);
  EXPECT_EQ(wide.Depth(9, 7), 50);
}

}  // namespace
