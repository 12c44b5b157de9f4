#include <gtest/gtest.h>

#include <cmath>

#include "render_mode_fixture.h"

namespace {

TEST_F(RenderModeTest, WireframeLeavesEveryTagEmptyAndDrawsInRampZero) {
  std::fill(viewport.tagBuffer.begin(), viewport.tagBuffer.end(), 5);
  Render(MODE_WIREFRAME, REDRAW_FULL);
  int lit = 0;
  for (std::size_t i = 0; i < Pixels(); ++i) {
    ASSERT_EQ(viewport.tagBuffer[i], -1);
    std::uint8_t c = viewport.frameBuffer[i];
    if (c != 192) {
      EXPECT_LT(c, 64);
      ++lit;
    }
  }
  EXPECT_GT(lit, 100);
  // The square's inside is not filled.
  EXPECT_EQ(viewport.frameBuffer[Centre() + 5], 192);
}

TEST_F(RenderModeTest, WireframeMappingModeDrawsMarkedEdgesLastInRampTwo) {
  context.editMode = 1;
  model.triangles[0].flags = TRI_MARKED;
  Render(MODE_WIREFRAME, REDRAW_QUICK);
  // The diagonal is shared: the marked triangle drawn later keeps it.
  EXPECT_GE(viewport.frameBuffer[Centre()], 128);
  EXPECT_LT(viewport.frameBuffer[Centre()], 192);
  // Hidden and marked is not drawn at all.
  model.triangles[0].flags = TRI_MARKED | TRI_HIDDEN;
  model.triangles[1].flags = TRI_HIDDEN;
  Render(MODE_WIREFRAME, REDRAW_QUICK);
  for (std::size_t i = 0; i < Pixels(); ++i) ASSERT_EQ(viewport.frameBuffer[i], 192);
}

TEST_F(RenderModeTest, LineRampsRunFromBackgroundTowardTheSlotColours) {
  Skin& skin = AddSkin(0);
  context.colourSlots[1] = 200;
  context.colourSlots[2] = 100;
  context.colourSlots[3] = 30;
  context.colourSlots[7] = 10;
  Render(MODE_WIREFRAME, REDRAW_FULL);
  const Palette& p = modes.Current().palette;
  auto at = [&](int entry, int c) { return static_cast<int>(p[entry * 3 + c]); };
  auto skinAt = [&](int index, int c) { return static_cast<int>(skin.palette[index * 3 + c]); };
  for (int c = 0; c < 3; ++c) {
    const int b = skinAt(10, c);
    EXPECT_EQ(at(0, c), b);
    EXPECT_EQ(at(192, c), b);
    EXPECT_EQ(at(254, c), skinAt(200, c));
    // Entry j = trunc(B + j * (C - B) / 63).
    for (int j : {1, 31, 63}) {
      EXPECT_EQ(at(j, c), static_cast<int>(std::trunc(b + j * (skinAt(200, c) - b) / 63.0))) << j;
      EXPECT_EQ(at(64 + j, c), static_cast<int>(std::trunc(b + j * (skinAt(100, c) - b) / 63.0))) << j;
      EXPECT_EQ(at(128 + j, c), static_cast<int>(std::trunc(b + j * (skinAt(30, c) - b) / 63.0))) << j;
    }
  }
  Render(MODE_WIREFRAME_SOLID, REDRAW_FULL);
  for (int c = 0; c < 3; ++c) EXPECT_EQ(static_cast<int>(modes.Current().palette[255 * 3 + c]), skinAt(10, c));
  EXPECT_EQ(viewport.frameBuffer[0], 255);
}

TEST_F(RenderModeTest, WireframeWithoutSkinKeepsTheGreyRamp) {
  Render(MODE_WIREFRAME_SOLID, REDRAW_FULL);
  for (int i = 0; i < 256; ++i) ASSERT_EQ(modes.Current().palette[i * 3 + 1], i);
}

TEST_F(RenderModeTest, WireframeSolidTagsFacesInBothKindsAndOutlinesOnlyVisibleEdges) {
  for (int kind : {REDRAW_FULL, REDRAW_QUICK}) {
    std::fill(viewport.tagBuffer.begin(), viewport.tagBuffer.end(), 5);
    Render(MODE_WIREFRAME_SOLID, kind);
    int faces = 0, edges = 0;
    for (std::size_t i = 0; i < Pixels(); ++i) {
      std::int32_t tag = viewport.tagBuffer[i];
      ASSERT_TRUE(tag == -1 || tag == 0 || tag == 1) << tag;
      if (tag >= 0) {
        ++faces;
        edges += viewport.frameBuffer[i] != 0;
      } else {
        EXPECT_EQ(viewport.frameBuffer[i], 255);
      }
    }
    EXPECT_GT(faces, 1000) << kind;
    EXPECT_GT(edges, 100) << kind;
    EXPECT_LT(edges, faces / 2) << kind;
  }
}

}  // namespace
