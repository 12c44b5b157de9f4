#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "render/camera.h"
#include "render/pipeline_scene.h"
#include "render/render_mode_fixture.h"

namespace {

// The light row of a face by the rules, worked out here on its own: raw
// level (1 - l . n) * 127, truncated, which for a light and a normal of unit
// length lies in 0..254; through the light curve; row 63 - shade / 4.
int RuleRow(const Lighting& lighting, double lDotN) {
  double level = std::trunc((1.0 - lDotN) * 127.0);
  level = std::clamp(level, 0.0, 254.0);
  return 63 - lighting.lightCurve[static_cast<std::size_t>(level)] / 4;
}

float Length(const float v[3]) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

}  // namespace

// With a light of unit length the lit modes draw the row the rules give at
// every angle between the light and the face, the two ends included: no
// level wraps. A colormap of row numbers shows each pixel's row.
TEST_F(RenderModeTest, LitModesTakeTheRulesRowAtEveryLightAngle) {
  AddSkin(100);
  modes.colormap.resize(kColormapRows * kColormapRowLength);
  for (int r = 0; r < kColormapRows; ++r)
    std::fill_n(modes.colormap.begin() + r * kColormapRowLength, kColormapRowLength, static_cast<std::uint8_t>(r));
  ResizeViewport(viewport, kSize, kSize, true);
  const float* n = model.triangles[0].faceNormal;  // model axes; world (y, z, x)
  ASSERT_FLOAT_EQ(n[0], -1);
  for (int degrees = 0; degrees <= 180; degrees += 4) {
    const float s = static_cast<float>(std::sin(degrees * 3.14159265358979 / 180));
    const float c = static_cast<float>(std::cos(degrees * 3.14159265358979 / 180));
    const double lDotN = -static_cast<double>(c);
    const double raw = (1.0 - lDotN) * 127.0;
    if (raw != std::round(raw) && std::fabs(raw - std::round(raw)) < 1e-3) continue;  // too close to call
    lighting.lightRotation = Mat3::Rows(c, 0, -s, 0, 1, 0, s, 0, c);
    const int row = RuleRow(lighting, lDotN);
    for (int mode : {MODE_TEXTURED_F, MODE_TEXTURED_G}) {
      Render(mode, REDRAW_FULL);
      ASSERT_GT(CountTagged(), 1000);
      for (std::size_t i = 0; i < Pixels(); ++i) {
        if (viewport.tagBuffer[i] < 0) continue;
        ASSERT_EQ(viewport.frameBuffer[i], row) << degrees << " degrees, mode " << mode;
      }
    }
  }
}

// The speckles seen in the lit textured modes after dragging the light. A
// few thousand drags of the camera and the light with Lock Light had grown
// the light's matrix 1.2 % long (the length a simulated session of some
// 6000 moves reached). A face turned fully away from it came out at raw
// level -1.5, wrapped to 255 and took the colormap's brightest row, which
// doubles a skin tone into white; by the rules it takes the darkest row.
TEST_F(RenderModeTest, AFaceTurnedAwayFromALongLightTakesTheDarkestRow) {
  constexpr std::uint8_t kSkinTone = 0x5A, kWhite = 15, kDark = 1;
  Skin& skin = AddSkin(kSkinTone);
  // The skin tone (225, 170, 130); row 0, twice as bright, clamps it to white.
  skin.palette[kSkinTone * 3] = 225;
  skin.palette[kSkinTone * 3 + 1] = 170;
  skin.palette[kSkinTone * 3 + 2] = 130;
  modes.colormap.assign(kColormapRows * kColormapRowLength, 0);
  for (int r = 0; r < kColormapRows; ++r) modes.colormap[r * 256 + kSkinTone] = static_cast<std::uint8_t>(100 + r);
  modes.colormap[kSkinTone] = kWhite;
  modes.colormap[63 * 256 + kSkinTone] = kDark;
  ResizeViewport(viewport, kSize, kSize, true);

  const float* n = model.triangles[0].faceNormal;  // model axes; world (y, z, x)
  ASSERT_FLOAT_EQ(n[0], -1);
  const float drifted = 1.0121f;
  lighting.lightRotation = Mat3::Rows(drifted, 0, 0, 0, drifted, 0, 0, 0, -drifted);
  const int row = RuleRow(lighting, -drifted * n[0]);
  ASSERT_EQ(row, 63);

  for (int mode : {MODE_TEXTURED_F, MODE_TEXTURED_G}) {
    Render(mode, REDRAW_FULL);
    ASSERT_GT(CountTagged(), 1000);
    for (std::size_t i = 0; i < Pixels(); ++i) {
      if (viewport.tagBuffer[i] < 0) continue;
      ASSERT_EQ(viewport.frameBuffer[i], kDark) << mode << " pixel " << i;
      ASSERT_EQ(viewport.lightLevels[i], row) << mode << " pixel " << i;
    }
  }
}

// The source of that length: every drag multiplies the light and the camera
// by another turn. They stay turns.
TEST(LightRamp, TheLightAndTheCameraStayUnitThroughThousandsOfDrags) {
  Viewport view;
  Lighting lighting;
  lighting.lockLight = 1;
  unsigned seed = 7;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return static_cast<float>((seed >> 16) % 2001) / 1000.0f - 1.0f;
  };
  for (int i = 0; i < 3000; ++i) {
    TrackballPoints p;
    p.p1x = next();
    p.p1y = next();
    p.p2x = p.p1x + next() / 30;
    p.p2y = p.p1y + next() / 30;
    if (i % 2)
      RotateLight(view, lighting, p);
    else
      Rotate(view, lighting, p);
  }
  for (int r = 0; r < 3; ++r) {
    EXPECT_NEAR(Length(lighting.lightRotation.m[r]), 1.0f, 1e-5f) << "light row " << r;
    EXPECT_NEAR(Length(view.rotation.m[r]), 1.0f, 1e-5f) << "camera row " << r;
  }
}

// Normals that are not numbers (a companion's faces too large to measure)
// light as if the face had none: raw level 127 and the middle of the maps.
TEST(LightRamp, FacesWithoutANumberForANormalLightAsIfTheyHadNone) {
  Model model;
  SetUpModel(model, {{0, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, -1, 0}}, {{0, 1, 2}, {1, 0, 3}});
  const float nan = std::numeric_limits<float>::quiet_NaN();
  for (int t = 0; t < 2; ++t)
    for (int k = 0; k < 3; ++k) model.triangles[t].faceNormal[k] = nan;
  Lighting lighting;
  SceneLight light;
  SetViewNormals(model, Mat3::Identity(), light);
  ComputeShading(model, lighting, 2, light);
  ComputeShading(model, lighting, 1, light);
  for (int t = 0; t < 2; ++t)
    for (int k = 0; k < 3; ++k) {
      EXPECT_EQ(light.model[t].shade[k], lighting.lightCurve[127]) << t << " " << k;
      EXPECT_EQ(light.model[t].mapCoord[k][0], 128) << t << " " << k;
      EXPECT_EQ(light.model[t].mapCoord[k][1], 128) << t << " " << k;
    }
  ComputeShading(model, lighting, 0, light);
  EXPECT_EQ(light.model[0].shade[0], lighting.lightCurve[127]);
}
