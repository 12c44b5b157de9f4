#include <gtest/gtest.h>

#include "model/companion.h"
#include "render/lighting.h"
#include "render_mode_fixture.h"

namespace {

TEST_F(RenderModeTest, TexturedSkinOfOneColourShowsItOnEveryModelPixel) {
  AddSkin(77);
  context.colourSlots[7] = 9;
  Render(MODE_TEXTURED, REDRAW_FULL);
  int drawn = 0;
  for (std::size_t i = 0; i < Pixels(); ++i) {
    if (viewport.tagBuffer[i] >= 0) {
      ++drawn;
      EXPECT_EQ(viewport.frameBuffer[i], 77) << i;
    } else {
      EXPECT_EQ(viewport.frameBuffer[i], 9) << i;
    }
  }
  // The square spans about two thirds of the view each way.
  EXPECT_GT(drawn, 1000);
  EXPECT_LT(drawn, kSize * kSize - 500);
  EXPECT_EQ(viewport.frameBuffer[Centre()], 77);
  EXPECT_EQ(viewport.frameBuffer[0], 9);
  EXPECT_EQ(modes.Current().palette, model.CurrentSkin()->palette);
}

TEST_F(RenderModeTest, PaintModeFullTagsEachPixelWithTheTexelItShows) {
  Skin& skin = AddSkin(0);
  for (int i = 0; i < kSkin * kSkin; ++i) skin.pixels[i] = static_cast<std::uint8_t>(i);
  Render(MODE_TEXTURED, REDRAW_FULL);
  ASSERT_GT(CountTagged(), 1000);
  std::vector<int> seen(kSkin * kSkin, 0);
  for (std::size_t i = 0; i < Pixels(); ++i) {
    std::int32_t tag = viewport.tagBuffer[i];
    if (tag < 0) continue;
    ASSERT_LT(tag, kSkin * kSkin);
    EXPECT_EQ(viewport.frameBuffer[i], skin.pixels[tag]) << i;
    seen[tag] = 1;
  }
  // The whole skin is mapped over the square, so nearly every texel shows.
  int shown = 0;
  for (int s : seen) shown += s;
  EXPECT_GT(shown, 200);

  // Repaint one texel and refresh only the pixels.
  const std::int32_t texel = viewport.tagBuffer[Centre()];
  std::vector<std::uint8_t> before = viewport.frameBuffer;
  skin.pixels[texel] = 250;
  Render(MODE_TEXTURED, REDRAW_PIXELS);
  int changed = 0;
  for (std::size_t i = 0; i < Pixels(); ++i) {
    if (viewport.tagBuffer[i] == texel) {
      EXPECT_EQ(viewport.frameBuffer[i], 250);
      ++changed;
    } else {
      EXPECT_EQ(viewport.frameBuffer[i], before[i]) << i;
    }
  }
  EXPECT_GT(changed, 0);
}

TEST_F(RenderModeTest, QuickWritesNoTagsInPaintMode) {
  AddSkin(5);
  for (int mode : {MODE_FLAT, MODE_GOURAUD, MODE_TEXTURED}) {
    std::fill(viewport.tagBuffer.begin(), viewport.tagBuffer.end(), 777);
    Render(mode, REDRAW_QUICK);
    for (std::size_t i = 0; i < Pixels(); ++i) ASSERT_EQ(viewport.tagBuffer[i], 777) << mode;
    EXPECT_NE(viewport.frameBuffer[Centre()], viewport.frameBuffer[0]) << mode << " drew nothing";
  }
}

TEST_F(RenderModeTest, MappingModeTagsTrianglesAndOutlinesThemInBothKinds) {
  AddSkin(40);
  context.editMode = 1;
  context.colourSlots[1] = 201;
  context.colourSlots[3] = 203;
  model.triangles[1].flags = TRI_MARKED;
  for (int kind : {REDRAW_FULL, REDRAW_QUICK}) {
    Render(MODE_TEXTURED, kind);
    int edges1 = 0, edges3 = 0;
    for (std::size_t i = 0; i < Pixels(); ++i) {
      std::int32_t tag = viewport.tagBuffer[i];
      ASSERT_TRUE(tag == -1 || tag == 0 || tag == 1) << tag;
      std::uint8_t c = viewport.frameBuffer[i];
      if (tag == 0) {
        EXPECT_TRUE(c == 40 || c == 201) << int(c);
      }
      if (tag == 1) {
        EXPECT_TRUE(c == 40 || c == 203) << int(c);
      }
      edges1 += tag == 0 && c == 201;
      edges3 += tag == 1 && c == 203;
    }
    EXPECT_GT(edges1, 20) << kind;
    EXPECT_GT(edges3, 20) << kind;
  }
  // A Pixels refresh must not read triangle numbers as texels.
  model.CurrentSkin()->pixels.assign(kSkin * kSkin, 41);
  model.CurrentSkin()->pixels[0] = model.CurrentSkin()->pixels[1] = 99;
  Render(MODE_TEXTURED, REDRAW_PIXELS);
  EXPECT_EQ(viewport.frameBuffer[Centre() + 6], 41);  // off the shared diagonal
}

// A colormap whose every entry is its own row number, so the picture shows
// the light row of each pixel.
std::vector<std::uint8_t> RowColormap() {
  std::vector<std::uint8_t> map(kColormapRows * kColormapRowLength);
  for (int r = 0; r < kColormapRows; ++r)
    for (int c = 0; c < kColormapRowLength; ++c) map[r * 256 + c] = static_cast<std::uint8_t>(r);
  return map;
}

TEST_F(RenderModeTest, LitModesDrawColormapRowsAndKeepThemForPixelRefreshes) {
  AddSkin(100);
  modes.colormap = RowColormap();
  ResizeViewport(viewport, kSize, kSize, true);
  // The light row from the face normal, by the lighting rule: raw level
  // (1 - l . n) * 127 with l the world z axis, through the light curve.
  // A light from 60 degrees off the view axis, so the row is neither end.
  lighting.lightRotation = Mat3::Rows(1, 0, 0, 0, 1, 0, 0.8660254f, 0, 0.5f);
  const float* n = model.triangles[0].faceNormal;  // model axes; world is (y, z, x)
  const float ln = 0.8660254f * n[1] + 0.5f * n[0];
  const int raw = static_cast<int>((1.0f - ln) * 127);
  const int expectedRow = 63 - lighting.lightCurve[raw & 0xFF] / 4;
  ASSERT_GT(expectedRow, 5);
  ASSERT_LT(expectedRow, 58);

  for (int mode : {MODE_TEXTURED_F, MODE_TEXTURED_G}) {
    Render(mode, REDRAW_FULL);
    ASSERT_GT(CountTagged(), 1000);
    for (std::size_t i = 0; i < Pixels(); ++i) {
      if (viewport.tagBuffer[i] < 0) continue;
      EXPECT_EQ(viewport.frameBuffer[i], expectedRow) << mode << " " << i;
      EXPECT_EQ(viewport.lightLevels[i], expectedRow) << mode << " " << i;
    }
  }

  // Recolouring goes through the colormap rows kept in lightLevels.
  for (int r = 0; r < kColormapRows; ++r) modes.colormap[r * 256 + 7] = static_cast<std::uint8_t>(128 + r);
  model.CurrentSkin()->pixels.assign(kSkin * kSkin, 7);
  Render(MODE_TEXTURED_G, REDRAW_PIXELS);
  for (std::size_t i = 0; i < Pixels(); ++i)
    if (viewport.tagBuffer[i] >= 0) {
      EXPECT_EQ(viewport.frameBuffer[i], 128 + expectedRow) << i;
    }
}

TEST_F(RenderModeTest, PShadeReadsTheLightRowFromThePhongMap) {
  AddSkin(100);
  modes.colormap = RowColormap();
  ResizeViewport(viewport, kSize, kSize, true);
  Skin& phong = AddMap(model.phongMaps, model.currentPhongMapIndex, 20);  // light level 20 everywhere
  BuildPhongLightRows(lighting, phong);
  const int row = 63 - lighting.lightCurve[(20 * 4) & 0xFF] / 4;
  Render(MODE_TEXTURED_P, REDRAW_FULL);
  ASSERT_GT(CountTagged(), 1000);
  for (std::size_t i = 0; i < Pixels(); ++i)
    if (viewport.tagBuffer[i] >= 0) {
      EXPECT_EQ(viewport.frameBuffer[i], row);
      EXPECT_EQ(viewport.lightLevels[i], row);
    }
}

TEST_F(RenderModeTest, ClosedResourceLeavesAClearedPictureWithoutGuide) {
  AddSkin(60);
  context.cameraToggle = true;
  context.colourSlots[7] = 3;
  Render(MODE_TEXTURED, REDRAW_FULL);
  ASSERT_GT(CountTagged(), 0);
  model.currentSkinIndex = -1;
  Render(MODE_TEXTURED, REDRAW_FULL);
  for (std::size_t i = 0; i < Pixels(); ++i) {
    ASSERT_EQ(viewport.frameBuffer[i], 3) << i;
    ASSERT_EQ(viewport.tagBuffer[i], -1) << i;
  }
  Render(MODE_TEXTURED, REDRAW_PIXELS);
  for (std::size_t i = 0; i < Pixels(); ++i) ASSERT_EQ(viewport.frameBuffer[i], 3) << i;

  // The same for a lit mode without its colormap and the map modes without maps.
  AddSkin(60);
  for (int mode : {MODE_TEXTURED_F, MODE_PHONG, MODE_ENVIRONMENT, MODE_TEXTURED_P}) {
    Render(mode, REDRAW_FULL);
    std::uint8_t bg = viewport.frameBuffer[0];
    for (std::size_t i = 0; i < Pixels(); ++i) ASSERT_EQ(viewport.frameBuffer[i], bg) << mode;
    EXPECT_EQ(CountTagged(), 0) << mode;
  }
}

TEST_F(RenderModeTest, OnlyTheTexturedModesSayTheyAreTextured) {
  const char* names[] = {"Wireframe",   "Wireframe, Solid",   "Flat Shaded",       "Gouraud Shaded",
                         "Phong Shaded", "Textured",          "Environment Mapped", "Textured, F-Shade",
                         "Textured, G-Shade", "Textured, P-Shade"};
  for (int i = 0; i < kNumRenderModes; ++i) {
    EXPECT_STREQ(modes[i].GetName(), names[i]);
    EXPECT_EQ(modes[i].IsTextured(), i == 5 || i >= 7) << i;
    EXPECT_EQ(FindRenderMode(names[i]), i);
  }
  EXPECT_EQ(RenderModes().renderModeIndex, 5);
}

}  // namespace

namespace {

TEST_F(RenderModeTest, CompanionsDrawWithTheirOwnSkinAndACompanionTag) {
  AddSkin(77);
  // A smaller square nearer the camera, over the model's centre.
  auto comp = std::make_unique<Companion>();
  comp->numVertices = 4;
  comp->numTriangles = 2;
  comp->numFrames = 1;
  comp->skinWidth = comp->skinHeight = 8;
  const float s = 5.0f;
  const float corners[4][2] = {{-s, -s}, {s, -s}, {-s, s}, {s, s}};
  for (const auto& c : corners) {
    CompanionVertex v;
    v.x = 5;  // model x toward the camera
    v.y = -c[0];
    v.z = c[1];
    comp->frameVertices.push_back(v);
  }
  const int tris[2][3] = {{0, 1, 2}, {1, 3, 2}};
  for (const auto& t : tris) {
    CompanionTriangle ct;
    for (int k = 0; k < 3; ++k) ct.vertexIndex[k] = static_cast<std::int16_t>(t[k]);
    comp->triangles.push_back(ct);
  }
  SetCompanionSkin(*comp, std::vector<std::uint8_t>(64, 200));
  model.companions.push_back(std::move(comp));

  Render(MODE_TEXTURED, REDRAW_FULL);
  EXPECT_EQ(viewport.frameBuffer[Centre()], 200);
  EXPECT_EQ(viewport.tagBuffer[Centre()], -2);
  // Around it the model still shows its own skin, tagged with texels.
  EXPECT_EQ(viewport.frameBuffer[Centre() + 14], 77);
  EXPECT_GE(viewport.tagBuffer[Centre() + 14], 0);

  Render(MODE_FLAT, REDRAW_FULL);
  EXPECT_EQ(viewport.tagBuffer[Centre()], -2);
  EXPECT_GE(viewport.tagBuffer[Centre() + 14], 0);  // a model triangle
}

}  // namespace
