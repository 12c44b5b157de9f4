#include <gtest/gtest.h>

#include <cmath>

#include "render/render_mode_base.h"
#include "render_mode_fixture.h"

namespace {

TEST_F(RenderModeTest, MappingModeHighlightBasesPickTheRamps) {
  context.editMode = 1;
  model.triangles[0].flags = TRI_SELECTED | TRI_MARKED;
  model.triangles[1].flags = TRI_SELECTED;
  Render(MODE_FLAT, REDRAW_FULL);
  int seen0 = 0, seen1 = 0;
  for (std::size_t i = 0; i < Pixels(); ++i) {
    std::uint8_t c = viewport.frameBuffer[i];
    if (viewport.tagBuffer[i] == 0) {
      EXPECT_TRUE(c >= 128 && c < 192) << int(c);  // marked wins over selected: slot 3
      ++seen0;
    } else if (viewport.tagBuffer[i] == 1) {
      EXPECT_TRUE(c >= 64 && c < 128) << int(c);
      ++seen1;
    } else {
      EXPECT_EQ(c, 255);
    }
  }
  EXPECT_GT(seen0, 100);
  EXPECT_GT(seen1, 100);

  // Paint Mode ignores the flags.
  context.editMode = 0;
  Render(MODE_GOURAUD, REDRAW_FULL);
  for (std::size_t i = 0; i < Pixels(); ++i)
    if (viewport.tagBuffer[i] >= 0) {
      EXPECT_LT(viewport.frameBuffer[i], 64);
    }
}

TEST_F(RenderModeTest, FlatColourIsTheShadeOverFour) {
  Render(MODE_FLAT, REDRAW_FULL);
  const int raw = static_cast<int>((1.0f - model.triangles[0].faceNormal[0]) * 127);
  const int colour = lighting.lightCurve[raw & 0xFF] / 4;
  EXPECT_EQ(viewport.frameBuffer[Centre()], colour);
}

TEST_F(RenderModeTest, ShadeRampPaletteCarriesSlotColoursIn254And255) {
  Skin& skin = AddSkin(0);
  context.colourSlots[1] = 10;
  context.colourSlots[7] = 20;
  for (int r = 0; r < 3; ++r)
    for (int j = 0; j < 64; ++j)
      for (int c = 0; c < 3; ++c) lighting.shadeRamps[r][j][c] = static_cast<std::uint8_t>(r * 64 + j + c);
  Render(MODE_PHONG, REDRAW_FULL);  // no phong map: cleared, but the palette is still built
  const Palette& p = modes.Current().palette;
  EXPECT_EQ(p[(64 + 5) * 3 + 2], 64 + 5 + 2);
  EXPECT_EQ(p[254 * 3 + 1], skin.palette[10 * 3 + 1]);
  EXPECT_EQ(p[255 * 3 + 0], skin.palette[20 * 3 + 0]);
  EXPECT_EQ(p[200 * 3], skin.palette[200 * 3]);
  EXPECT_EQ(viewport.frameBuffer[Centre()], 255);
}

TEST_F(RenderModeTest, PixelsRefreshInAnUntexturedModeOnlyRebuildsThePalette) {
  Skin& skin = AddSkin(0);
  context.colourSlots[1] = 10;
  Render(MODE_FLAT, REDRAW_FULL);
  std::vector<std::uint8_t> picture = viewport.frameBuffer;
  std::vector<std::int32_t> tags = viewport.tagBuffer;
  skin.palette[10 * 3] = 1;
  skin.palette[10 * 3 + 1] = 2;
  Render(MODE_FLAT, REDRAW_PIXELS);
  EXPECT_EQ(viewport.frameBuffer, picture);
  EXPECT_EQ(viewport.tagBuffer, tags);
  EXPECT_EQ(modes.Current().palette[254 * 3], 1);
  EXPECT_EQ(modes.Current().palette[254 * 3 + 1], 2);
}

TEST_F(RenderModeTest, EnvironmentMappedShowsTheMapInItsOwnPaletteAndTagsNothing) {
  AddSkin(0);
  Skin& env = AddMap(model.envMaps, model.currentEnvMapIndex, 123);
  std::fill(viewport.tagBuffer.begin(), viewport.tagBuffer.end(), 5);
  Render(MODE_ENVIRONMENT, REDRAW_FULL);
  EXPECT_EQ(viewport.frameBuffer[Centre()], 123);
  EXPECT_EQ(modes.Current().palette, env.palette);
  for (std::size_t i = 0; i < Pixels(); ++i) ASSERT_EQ(viewport.tagBuffer[i], -1);
}

TEST_F(RenderModeTest, PhongAddsTheBaseToTheMapLevel) {
  AddMap(model.phongMaps, model.currentPhongMapIndex, 30);
  context.editMode = 1;
  model.triangles[0].flags = TRI_MARKED;
  Render(MODE_PHONG, REDRAW_FULL);
  for (std::size_t i = 0; i < Pixels(); ++i) {
    if (viewport.tagBuffer[i] == 0) {
      EXPECT_EQ(viewport.frameBuffer[i], 128 + 30);
    }
    if (viewport.tagBuffer[i] == 1) {
      EXPECT_EQ(viewport.frameBuffer[i], 30);
    }
  }
}

TEST(HalfwayFrame, IsHalfTheTurnBetweenLightAndCamera) {
  const float t = 0.8f;
  Mat3 camera = Mat3::Rows(std::cos(t), 0, -std::sin(t), 0, 1, 0, std::sin(t), 0, std::cos(t));
  Mat3 n = HalfwayFrame(Mat3::Identity(), camera);
  const float h = t / 2;
  Mat3 expected = Mat3::Rows(std::cos(h), 0, -std::sin(h), 0, 1, 0, std::sin(h), 0, std::cos(h));
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(n.m[i][j], expected.m[i][j], 1e-5) << i << j;
  // A light turned with the camera leaves nothing to split.
  Mat3 same = HalfwayFrame(camera, camera);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(same.m[i][j], i == j ? 1.0f : 0.0f, 1e-5);
}

}  // namespace
