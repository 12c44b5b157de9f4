// Hostile geometry: corners anywhere in the 32-bit range, a clip rectangle
// smaller than the target, textures of odd sizes with coordinates passed
// through the callers' clamp. Run under the sanitizers, every buffer being
// exactly Pitch x Rows, any stray access is caught; here the pixels outside
// the clip rectangle must also stay as they were.

#include <gtest/gtest.h>

#include <random>

#include "render/rasterizer_fixture.h"
#include "render/texcoord_clamp.h"

namespace {

constexpr int kPitch = 37, kRows = 23, kClipRight = 30, kClipBottom = 19;

std::int32_t RandomCoordinate(std::mt19937& rng) {
  switch (rng() % 4) {
    case 0: return static_cast<std::int32_t>(rng());  // anywhere
    case 1: return std::uniform_int_distribution<int>(-100000, 100000)(rng);
    default: return std::uniform_int_distribution<int>(-8, 45)(rng);
  }
}

// Also with hidden triangles passed over, which reads the depth buffer
// before anything is walked.
TEST(RasterSafety, FillersStayInsideTheClipRectangleAndTheTexture) {
  for (const bool skipHidden : {false, true}) {
    RasterCanvas t(kPitch, kRows, 0);
    t.target.ClipRight = kClipRight;
    t.target.ClipBottom = kClipBottom;
    t.target.SkipHidden = skipHidden;
    const TestTexture tex(7, 5);
    tex.AttachTo(*t.r);
    std::vector<std::uint8_t> shade(256 * 256, 1);
    std::vector<std::uint8_t> map(256 * 256, 2);
    t.r->SetShadeTable(shade.data(), 0);
    t.r->SetShadeMap(map.data());

    std::mt19937 rng(99);
    std::uniform_real_distribution<double> texel(-30.0, 40.0);
    for (int round = 0; round < 3000; ++round) {
      std::int32_t v[5][7];
      for (auto& corner : v) {
        corner[0] = RandomCoordinate(rng);
        corner[1] = RandomCoordinate(rng);
        corner[2] = TexCoordToFixed(texel(rng), tex.width);   // u, or colour / mu
        corner[3] = TexCoordToFixed(texel(rng), tex.height);  // v, or mv
        corner[4] = TexCoordToFixed(texel(rng) * 8, 256);     // level, mu, depth
        corner[5] = TexCoordToFixed(texel(rng) * 8, 256);
        corner[6] = TexCoordToFixed(texel(rng) * 1000, 30000);  // depth
      }
      const auto copyAs = [&](auto& out, int corners, std::initializer_list<int> fields) {
        for (int c = 0; c < corners + 1; ++c) {
          int k = 0;
          for (int f : fields) out[c][k++] = v[c % corners][f];
        }
      };
      V2 v2[4]; V3 v3[4]; V4 v4[4], q4[5], r4[4]; V5 v5[4], m5[4]; V6 v6[4]; V7 v7[4];
      copyAs(v2, 3, {0, 1});
      copyAs(v3, 3, {0, 1, 6});
      copyAs(v4, 3, {0, 1, 4, 6});  // gouraud: colour < 256, depth
      copyAs(q4, 4, {0, 1, 2, 3});
      for (int c = 0; c < 4; ++c) {
        r4[c][0] = v2[c][0];
        r4[c][1] = v2[c][1];
        r4[c][2] = ClampTexCoordRounded(v[c % 3][2], tex.width);
        r4[c][3] = ClampTexCoordRounded(v[c % 3][3], tex.height);
      }
      copyAs(v5, 3, {0, 1, 2, 3, 6});
      copyAs(m5, 3, {0, 1, 4, 5, 6});
      copyAs(v6, 3, {0, 1, 2, 3, 4, 6});
      copyAs(v7, 3, {0, 1, 2, 3, 4, 5, 6});
      const std::int32_t tag = round;
      switch (round % 22) {
        case 0: t.r->FillTriFlat(t.target, v2, 9); break;
        case 1: t.r->FillTriGouraud(t.target, v3); break;
        case 2: t.r->FillTriFlatZ(t.target, v3, 9); break;
        case 3: t.r->FillTriFlatZTag(t.target, v3, 9, tag); break;
        case 4: t.r->FillTriGouraudZ(t.target, v4); break;
        case 5: t.r->FillTriGouraudZTag(t.target, v4, tag); break;
        case 6: t.r->FillTriTex(t.target, q4); break;
        case 7: t.r->FillTriTexRounded(t.target, r4); break;
        case 8: t.r->FillTriTexOfsTag(t.target, q4); break;
        case 9: t.r->FillTriMapZ(t.target, m5); break;
        case 10: t.r->FillTriMapZTag(t.target, m5, tag); break;
        case 11: t.r->FillTriMapBaseZ(t.target, m5, 200); break;
        case 12: t.r->FillTriMapBaseZTag(t.target, m5, tag, 200); break;
        case 13: t.r->FillTriTexZ(t.target, v5); break;
        case 14: t.r->FillTriTexZTag(t.target, v5, tag); break;
        case 15: t.r->FillTriTexZOfsTag(t.target, v5); break;
        case 16: t.r->FillTriTexLitZ(t.target, v6); break;
        case 17: t.r->FillTriTexLitZTag(t.target, v6, tag); break;
        case 18: t.r->FillTriTexLitZOfsTag(t.target, v6); break;
        case 19: t.r->FillTriTexMapLitZ(t.target, v7); break;
        case 20: t.r->FillTriTexMapLitZTag(t.target, v7, tag); break;
        default: t.r->FillTriTexMapLitZOfsTag(t.target, v7); break;
      }
      if (round % 97 == 0) {
        std::fill(t.depth.begin(), t.depth.end(), 0xFFFF);
        t.r->BeginFrame();
      }
    }
    int drawn = 0;
    for (int y = 0; y < kRows; ++y) {
      for (int x = 0; x < kPitch; ++x) {
        if (x > kClipRight || y > kClipBottom) {
          ASSERT_EQ(t.At(x, y), 0) << x << "," << y;
          ASSERT_EQ(t.Tag(x, y), -1) << x << "," << y;
          ASSERT_EQ(t.Depth(x, y), 0xFFFF) << x << "," << y;
        } else {
          drawn += t.At(x, y) != 0;
        }
      }
    }
    EXPECT_GT(drawn, (kClipRight + 1) * (kClipBottom + 1) / 2);
    for (int y = 0; y < kRasterMaxRows; ++y) {
      ASSERT_EQ(t.r->SpanLeft(y), 2147483647);
      ASSERT_EQ(t.r->SpanRight(y), -2147483647 - 1);
    }
  }
}

TEST(RasterSafety, ClippedLinesStayInsideTheTarget) {
  RasterCanvas t(kPitch, kRows, 0);
  std::mt19937 rng(7);
  int drawn = 0;
  for (int round = 0; round < 3000; ++round) {
    std::int32_t x0 = RandomCoordinate(rng), y0 = RandomCoordinate(rng);
    std::int32_t x1 = RandomCoordinate(rng), y1 = RandomCoordinate(rng);
    if (!t.r->ClipLine(t.target, x0, y0, x1, y1)) continue;
    ASSERT_TRUE(x0 >= 0 && x0 < kPitch && x1 >= 0 && x1 < kPitch) << x0 << " " << x1;
    ASSERT_TRUE(y0 >= 0 && y0 < kRows && y1 >= 0 && y1 < kRows) << y0 << " " << y1;
    ++drawn;
    switch (round % 6) {
      case 0: t.r->DrawLine(t.target, x0, y0, x1, y1, 1); break;
      case 1: t.r->DrawLineAA(t.target, x0, y0, x1, y1, 64); break;
      case 2: t.r->DrawLineAATagged(t.target, x0, y0, x1, y1, -1); break;
      case 3: t.r->DrawLineTagged(t.target, x0, y0, x1, y1, 2, -1); break;
      case 4: t.r->DrawLine16(t.target, x0, y0, x1, y1, 0x1234); break;
      default: t.r->DrawLineAA16(t.target, x0, y0, x1, y1, 0x7FFF); break;
    }
  }
  EXPECT_GT(drawn, 100);
}

TEST(RasterSafety, TallestTargetFillsDownToTheLastTableRow) {
  auto r = std::make_unique<CRasterizer>();
  std::vector<std::uint8_t> frame(4 * 2048, 0);
  const RasterTarget target = RasterTarget::Bytes(frame.data(), 4, 2048);
  r->BeginFrame();
  const V2 tall[4] = {{0, -5000}, {3, 9000}, {0, 9000}, {0, -5000}};
  r->FillTriFlat(target, tall, 1);
  EXPECT_EQ(frame[2047 * 4], 1);
  EXPECT_EQ(frame[0], 1);
}

}  // namespace

#ifndef NDEBUG
namespace {

TEST(RasterSafetyDeathTest, BrokenPromisesStopDebugBuilds) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  RasterCanvas t(16, 16);
  const TestTexture tex(4, 4);
  tex.AttachTo(*t.r);
  const V5 offTexture[4] = {{1, 1, Fx(4), 0, 0}, {9, 1, 0, 0, 0}, {1, 9, 0, 0, 0},
                            {1, 1, Fx(4), 0, 0}};
  EXPECT_DEATH(t.r->FillTriTexZ(t.target, offTexture), "");
  EXPECT_DEATH(t.r->DrawLine(t.target, -1, 0, 3, 3, 1), "");
  t.target.ClipRight = 16;
  const V2 tri[4] = {{1, 1}, {5, 1}, {1, 5}, {1, 1}};
  EXPECT_DEATH(t.r->FillTriFlat(t.target, tri, 1), "");
}

}  // namespace
#endif
