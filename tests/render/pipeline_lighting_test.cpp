#include <gtest/gtest.h>

#include "render/lighting.h"
#include "render/pipeline_scene.h"

namespace {

void SetNormal(Triangle& t, float x, float y, float z) {
  t.faceNormal[0] = x;
  t.faceNormal[1] = y;
  t.faceNormal[2] = z;
}

// With exponent 2 the curve is trunc(i^2 / 255), free of rounding doubts.
Lighting SquareCurve() {
  Lighting l;
  l.shadeExponent = 2.0;
  BuildLightCurve(l);
  return l;
}

}  // namespace

TEST(LightCurve, FollowsExponent) {
  Lighting l = SquareCurve();
  EXPECT_EQ(l.lightCurve[0], 0);
  EXPECT_EQ(l.lightCurve[127], 63);   // 16129 / 255 = 63.25
  EXPECT_EQ(l.lightCurve[128], 64);   // 64.25
  EXPECT_EQ(l.lightCurve[254], 253);  // 253.004
  Lighting linear;  // the default exponent 1 is (nearly) the identity
  for (int i = 0; i < 256; ++i) ASSERT_NEAR(linear.lightCurve[i], i, 1) << i;
}

TEST(Shading, FlatLevelsForTheDefaultLight) {
  SceneLight light;
  // The initial light is the third row of the identity: world (0, 0, 1),
  // which is model +x.
  Model model;
  SetUpModel(model, FacingTriangle(0), {{0, 1, 2}, {0, 1, 2}, {0, 1, 2}});
  SetNormal(model.triangles[0], 1, 0, 0);   // facing the light: raw 0
  SetNormal(model.triangles[1], -1, 0, 0);  // facing away: raw 254
  SetNormal(model.triangles[2], 0, 1, 0);   // edge on: raw 127
  model.triangles[2].flags = TRI_HIDDEN;    // hidden ones are lit as well
  Lighting l = SquareCurve();
  ComputeShading(model, l, 0, light);
  EXPECT_EQ(light.model[0].shade[0], 0);
  EXPECT_EQ(light.model[1].shade[0], 253);
  EXPECT_EQ(light.model[2].shade[0], 63);

  // Turning the light to world x (model y) lights the third one fully.
  l.lightRotation = Mat3::Rows(0, 0, 1, 0, 1, 0, 1, 0, 0);
  ComputeShading(model, l, 0, light);
  EXPECT_EQ(light.model[2].shade[0], 0);
  EXPECT_EQ(light.model[0].shade[0], 63);
}

TEST(Shading, SmoothAveragesOverTheTrianglesOfEachVertex) {
  SceneLight light;
  Model model;
  // Vertex 0 and 1 are shared; 2 belongs to the first, 3 to the second.
  SetUpModel(model, {{0, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, -1, 0}}, {{0, 1, 2}, {1, 0, 3}});
  SetNormal(model.triangles[0], 1, 0, 0);  // 1 - l.n = 0
  SetNormal(model.triangles[1], 0, 0, 1);  // 1 - l.n = 1
  model.triangles[1].flags = TRI_HIDDEN;
  Lighting l = SquareCurve();
  ComputeShading(model, l, 1, light);
  // shared vertices: (0 + 1) * 127 / 2 = 63.5 -> 63 -> 3969 / 255 = 15
  EXPECT_EQ(light.model[0].shade[0], 15);
  EXPECT_EQ(light.model[0].shade[1], 15);
  EXPECT_EQ(light.model[0].shade[2], 0);
  EXPECT_EQ(light.model[1].shade[0], 15);
  EXPECT_EQ(light.model[1].shade[2], 63);  // only the second: 127
}

TEST(Shading, MapCoordinatesAverageViewNormals) {
  SceneLight light;
  Model model;
  SetUpModel(model, {{0, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, -1, 0}}, {{0, 1, 2}, {1, 0, 3}});
  SetNormal(model.triangles[0], 0, 1, 0);  // world (1, 0, 0)
  SetNormal(model.triangles[1], 0, 0, 1);  // world (0, 1, 0)
  SetViewNormals(model, Mat3::Identity(), light);
  EXPECT_FLOAT_EQ(light.model[0].viewNormal[0], -1.0f);
  EXPECT_FLOAT_EQ(light.model[0].viewNormal[1], 0.0f);
  EXPECT_FLOAT_EQ(light.model[1].viewNormal[1], -1.0f);
  Lighting l;
  ComputeShading(model, l, 2, light);
  // first: (u, v) = (0, 128); second: (128, 0); shared vertices (64, 64)
  EXPECT_EQ(light.model[0].mapCoord[0][0], 64);
  EXPECT_EQ(light.model[0].mapCoord[0][1], 64);
  EXPECT_EQ(light.model[0].mapCoord[2][0], 0);
  EXPECT_EQ(light.model[0].mapCoord[2][1], 128);
  EXPECT_EQ(light.model[1].mapCoord[2][0], 128);
  EXPECT_EQ(light.model[1].mapCoord[2][1], 0);

  // A view normal of exactly +1 stays on the map's last texel.
  light.model[0].viewNormal[0] = 1.0f;
  light.model[1].viewNormal[0] = 1.0f;
  ComputeShading(model, l, 2, light);
  EXPECT_EQ(light.model[0].mapCoord[0][0], 255);
}

TEST(Shading, CompanionsShadedOnlyWhenShown) {
  SceneLight light;
  Model model;
  SetUpModel(model, FacingTriangle(0), {{0, 1, 2}});
  auto shown = MakeCompanion(FacingTriangle(0), {{0, 1, 2}}, 1);
  auto hidden = MakeCompanion(FacingTriangle(0), {{0, 1, 2}}, 1);
  hidden->hidden = 1;
  for (auto* c : {shown.get(), hidden.get()}) c->triangles[0].faceNormal[0] = -1;  // away from the light
  model.companions.push_back(std::move(shown));
  model.companions.push_back(std::move(hidden));
  light.Fit(model);
  light.companions[1][0].shade[0] = 7;
  Lighting l = SquareCurve();
  ComputeShading(model, l, 0, light);
  EXPECT_EQ(light.companions[0][0].shade[0], 253);
  EXPECT_EQ(light.companions[1][0].shade[0], 7);
  ComputeShading(model, l, 1, light);
  EXPECT_EQ(light.companions[0][0].shade[2], 253);
}

TEST(Shading, NothingWithoutAFrame) {
  SceneLight light;
  Model model;
  model.SetTriangleCount(1);
  light.Fit(model);
  light.model[0].shade[0] = 9;
  Lighting l;
  ComputeShading(model, l, 0, light);
  EXPECT_EQ(light.model[0].shade[0], 9);
}

TEST(ShadeRamps, GreySlotsWithoutASkin) {
  Lighting l = SquareCurve();
  const std::uint8_t slots[3] = {128, 0, 255};
  BuildShadeRamps(l, nullptr, slots);
  // value 0.5; entry 32 scales by lightCurve[128] / 256 = 0.25 -> 32. The
  // saturation floor of 0.000001 leaves green and blue a hair below.
  EXPECT_EQ(l.shadeRamps[0][32][0], 32);
  EXPECT_EQ(l.shadeRamps[0][32][1], 31);
  EXPECT_EQ(l.shadeRamps[0][32][2], 31);
  EXPECT_EQ(l.shadeRamps[0][0][0], 0);
  EXPECT_EQ(l.shadeRamps[0][63][0], 124);  // 128 * 249 / 256 = 124.5
  for (int j = 0; j < 64; ++j)  // black stays black, without a division by zero
    for (int k = 0; k < 3; ++k) ASSERT_EQ(l.shadeRamps[1][j][k], 0);
  EXPECT_EQ(l.shadeRamps[2][32][0], 63);  // 255 * 64 / 256 = 63.75
}

TEST(ShadeRamps, ColouredSlotsKeepHueAndSaturation) {
  Lighting l = SquareCurve();
  Palette pal{};
  auto set = [&](int i, int r, int g, int b) {
    pal[i * 3] = static_cast<std::uint8_t>(r);
    pal[i * 3 + 1] = static_cast<std::uint8_t>(g);
    pal[i * 3 + 2] = static_cast<std::uint8_t>(b);
  };
  set(10, 200, 100, 0);  // hue 30, saturation 1
  set(20, 0, 255, 0);    // hue 120
  set(30, 0, 0, 128);    // hue 240
  const std::uint8_t slots[3] = {10, 20, 30};
  BuildShadeRamps(l, &pal, slots);
  // entry 32: value x 64 / 256
  EXPECT_EQ(l.shadeRamps[0][32][0], 50);
  EXPECT_EQ(l.shadeRamps[0][32][1], 25);
  EXPECT_EQ(l.shadeRamps[0][32][2], 0);
  EXPECT_EQ(l.shadeRamps[1][32][0], 0);
  EXPECT_EQ(l.shadeRamps[1][32][1], 63);
  EXPECT_EQ(l.shadeRamps[1][32][2], 0);
  EXPECT_EQ(l.shadeRamps[2][32][2], 32);
  EXPECT_EQ(l.shadeRamps[2][32][0], 0);
}

TEST(PhongRows, LightLevelsBecomeRowsBrightestFirst) {
  Lighting l = SquareCurve();
  Skin map;
  map.pixels = {0, 63, 32};
  BuildPhongLightRows(l, map);
  ASSERT_EQ(map.storedPixels.size(), 3u);
  EXPECT_EQ(map.storedPixels[0], 63);             // curve[0] = 0
  EXPECT_EQ(map.storedPixels[1], 63 - 249 / 4);   // curve[252] = 249
  EXPECT_EQ(map.storedPixels[2], 63 - 64 / 4);    // curve[128] = 64
}
