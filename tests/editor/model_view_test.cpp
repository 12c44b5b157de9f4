#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "editor/model_view.h"
#include "editor/paint_table.h"
#include "editor/workspace.h"
#include "image/new_skin.h"
#include "render/render_mode.h"
#include "support/fake_pane_host.h"
#include "support/notice_log.h"

namespace {

using FakeHost = FakePaneHost;

MouseEvent Press(MouseButton b, int x, int y, bool shift = false) {
  return ButtonEvent(b, x, y, true, shift);
}

MouseEvent Move(int x, int y, bool left, bool right = false) {
  MouseEvent e;
  e.x = x;
  e.y = y;
  e.leftDown = left;
  e.rightDown = right;
  return e;
}

MouseEvent Release(MouseButton b, int x, int y, bool leftStill = false, bool rightStill = false) {
  MouseEvent e;
  e.button = b;
  e.x = x;
  e.y = y;
  e.leftDown = leftStill;
  e.rightDown = rightStill;
  return e;
}

// A 16 x 16 view over an 8 x 8 grey-ramp skin shown at twice its size: view
// pixel (x, y) shows texel (x / 2, y / 2). The tags are written by hand, as
// a textured mode in Paint Mode would leave them.
struct ViewDesk {
  Workspace app;
  FakeHost host;
  ModelView view{app};
  NoticeLog log{app.document.changes};
  std::vector<PaneRedraw>& sent = log.sent;
  Skin* skin = nullptr;

  ViewDesk() {
    app.model.skinWidth = app.model.skinHeight = 8;
    auto s = MakeBlankSkin("s", 8, 8, GreyRampPalette());
    FillSkin(*s, 100);
    skin = s.get();
    app.model.skins.push_back(std::move(s));
    app.model.currentSkinIndex = 0;
    view.SetHost(&host);
    view.Resize(16, 16);
    TagTexels();
    app.editor.cameraToggle = false;
  }
  void TagTexels() {
    Viewport& v = app.viewport;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        v.tagBuffer[static_cast<std::size_t>(x + (15 - y) * v.width)] = (y / 2) * 8 + x / 2;
  }
  std::uint8_t Texel(int x, int y) const { return skin->pixels[static_cast<std::size_t>(y * 8 + x)]; }
  int Sent(int kind, int bits) const {
    int n = 0;
    for (const auto& m : sent) n += (m.kind == kind && m.panes == bits) ? 1 : 0;
    return n;
  }
};

}  // namespace

TEST(ModelViewBuffers, WidthRoundsUpToAMultipleOfFour) {
  ViewDesk d;
  for (int w : {1, 2, 3, 4}) {
    d.view.Resize(w, 10);
    EXPECT_EQ(d.app.viewport.width, 4);
  }
  d.view.Resize(5, 10);
  EXPECT_EQ(d.app.viewport.width, 8);
  EXPECT_EQ(d.app.viewport.height, 10);
  EXPECT_EQ(d.app.viewport.tagBuffer.size(), 80u);
  const PaneImage image = d.view.Image();
  EXPECT_EQ(image.width, 5);
  EXPECT_EQ(image.stride, 8);
  EXPECT_STREQ(d.view.WindowName(), "ISO Box");
}

TEST(ModelViewPaint, PencilStrokeChangesEachTexelOnceAndNeverAProtectedColour) {
  ViewDesk d;
  d.app.editor.brushKind = BrushKind::Pencil;
  d.app.editor.paintStrength = 0.5;
  d.app.editor.colourSlots[0] = 200;
  d.skin->pixels[2] = 50;  // texel (2, 0)
  d.app.editor.protectedColours[50] = 1;
  BuildPaintTable(d.app);
  // Grey ramp: 100 + (200 - 100) x 0.5 = 150; painted twice it would be 175.
  d.view.MouseDown(Press(MouseButton::Left, 0, 0));
  EXPECT_EQ(d.view.dragState(), ModelView::DragState::PaintDrag);
  d.view.MouseMove(Move(15, 1, true));
  d.view.MouseMove(Move(0, 0, true));
  d.view.MouseMove(Move(15, 0, true));
  d.view.MouseUp(Release(MouseButton::Left, 15, 0));
  EXPECT_EQ(d.view.dragState(), ModelView::DragState::Idle);
  EXPECT_FALSE(d.host.captured);
  for (int x = 0; x < 8; ++x) EXPECT_EQ(d.Texel(x, 0), x == 2 ? 50 : 150) << x;
  EXPECT_EQ(d.Texel(0, 1), 100);
  EXPECT_GE(d.Sent(3, 0x13), 1);

  // A new stroke paints again.
  d.view.MouseDown(Press(MouseButton::Left, 0, 0));
  d.view.MouseUp(Release(MouseButton::Left, 0, 0));
  EXPECT_EQ(d.Texel(0, 0), 175);
}

TEST(ModelViewPaint, LineStrokeKeepsOnlyItsLastSegment) {
  ViewDesk d;
  d.app.editor.brushKind = BrushKind::Line;
  d.app.editor.colourSlots[0] = 9;
  BuildPaintTable(d.app);
  d.view.MouseDown(Press(MouseButton::Left, 0, 0));
  d.view.MouseMove(Move(15, 0, true));
  d.view.MouseMove(Move(15, 15, true));
  d.view.MouseMove(Move(0, 15, true));
  d.view.MouseUp(Release(MouseButton::Left, 0, 15));
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      EXPECT_EQ(d.Texel(x, y), x == 0 ? 9 : 100) << x << "," << y;

  // Dragged back to its start, only the start texel stays painted.
  FillSkin(*d.skin, 100);
  d.view.MouseDown(Press(MouseButton::Left, 0, 0));
  d.view.MouseMove(Move(15, 9, true));
  d.view.MouseMove(Move(0, 0, true));
  d.view.MouseUp(Release(MouseButton::Left, 0, 0));
  int painted = 0;
  for (auto p : d.skin->pixels) painted += p == 9;
  EXPECT_EQ(painted, 1);
  EXPECT_EQ(d.Texel(0, 0), 9);
}

TEST(ModelViewPaint, SegmentLeavingTheViewIsClippedNotDropped) {
  ViewDesk d;
  d.app.editor.brushKind = BrushKind::Pencil;
  d.app.editor.colourSlots[0] = 9;
  BuildPaintTable(d.app);
  d.view.MouseDown(Press(MouseButton::Left, 15, 4));
  d.view.MouseMove(Move(-40, 4, true));
  d.view.MouseUp(Release(MouseButton::Left, -40, 4));
  for (int x = 0; x < 8; ++x) EXPECT_EQ(d.Texel(x, 2), 9);
  EXPECT_EQ(d.Texel(0, 1), 100);
}

TEST(ModelViewPaint, UntexturedModeOnlyHoldsTheMouse) {
  ViewDesk d;
  d.app.renderModes.renderModeIndex = MODE_FLAT;
  d.view.MouseDown(Press(MouseButton::Left, 3, 3));
  EXPECT_EQ(d.view.dragState(), ModelView::DragState::Held);
  EXPECT_TRUE(d.host.captured);
  d.view.MouseMove(Move(8, 8, true));
  d.view.MouseUp(Release(MouseButton::Left, 8, 8));
  EXPECT_EQ(d.view.dragState(), ModelView::DragState::Idle);
  for (auto p : d.skin->pixels) EXPECT_EQ(p, 100);
  EXPECT_TRUE(d.sent.empty());
}

TEST(ModelViewPick, RightDragPicksIntoTheActiveSlot) {
  ViewDesk d;
  d.skin->pixels[8 * 3 + 4] = 77;  // texel (4, 3) under view pixel (9, 7)
  d.app.editor.activeSlot = 2;
  d.view.MouseDown(Press(MouseButton::Right, 9, 7));
  EXPECT_EQ(d.app.editor.colourSlots[2], 77);
  EXPECT_EQ(d.Sent(0, 0x18), 1);
  d.view.MouseMove(Move(9, 6, false, true));  // texel (4, 3) again: nothing new
  EXPECT_EQ(d.Sent(0, 0x18), 1);
  d.view.MouseUp(Release(MouseButton::Right, 9, 6));
  EXPECT_EQ(d.Sent(0, 0x23), 1);
}

TEST(ModelViewSelect, MappingModeDragsSelectAndDeselectTriangles) {
  ViewDesk d;
  d.app.editor.editMode = EditMode::Mapping;
  d.app.model.SetTriangleCount(2);
  Viewport& v = d.app.viewport;
  std::fill(v.tagBuffer.begin(), v.tagBuffer.end(), -1);
  v.tagBuffer[static_cast<std::size_t>(2 + (15 - 2) * v.width)] = 1;  // pixel (2, 2) shows triangle 1
  d.view.MouseDown(Press(MouseButton::Left, 2, 2));
  EXPECT_TRUE(d.app.model.triangles[1].flags & TRI_SELECTED);
  d.view.MouseMove(Move(2, 2, true));  // already selected: no second refresh
  EXPECT_EQ(d.Sent(1, 0x13), 1);
  d.view.MouseUp(Release(MouseButton::Left, 2, 2));
  d.view.MouseDown(Press(MouseButton::Right, 2, 2));
  EXPECT_FALSE(d.app.model.triangles[1].flags & TRI_SELECTED);
  d.view.MouseUp(Release(MouseButton::Right, 2, 2));
  EXPECT_EQ(d.Sent(1, 0x13), 2);
  EXPECT_FALSE(d.app.model.triangles[0].flags & TRI_SELECTED);
}

TEST(ModelViewCamera, OrbitTurnsIntoZoomWhileTheRightButtonIsDown) {
  ViewDesk d;
  d.app.editor.cameraToggle = true;
  d.view.Resize(200, 200);
  const Mat3 start = d.app.viewport.rotation;
  const float distance = d.app.viewport.distance;
  d.view.MouseDown(Press(MouseButton::Left, 100, 120));
  EXPECT_EQ(d.view.dragState(), ModelView::DragState::OrbitDrag);
  d.view.MouseMove(Move(130, 120, true));
  const Mat3 turned = d.app.viewport.rotation;
  EXPECT_NE(std::memcmp(&turned, &start, sizeof(Mat3)), 0);
  EXPECT_FLOAT_EQ(d.app.viewport.distance, distance);

  d.view.MouseMove(Move(130, 130, true, true));  // right button joins: 10 zoom steps
  EXPECT_EQ(std::memcmp(&d.app.viewport.rotation, &turned, sizeof(Mat3)), 0);
  EXPECT_NEAR(d.app.viewport.distance, distance * std::pow(1.002, 10), 1e-3);
  d.view.MouseUp(Release(MouseButton::Right, 130, 130, true));
  EXPECT_EQ(d.view.dragState(), ModelView::DragState::OrbitDrag);  // only the left ends it
  d.view.MouseMove(Move(100, 130, true));
  EXPECT_NE(std::memcmp(&d.app.viewport.rotation, &turned, sizeof(Mat3)), 0);
  EXPECT_EQ(d.Sent(1, 0x12), 3);
  d.view.MouseUp(Release(MouseButton::Left, 100, 130));
  EXPECT_EQ(d.Sent(0, 0x22), 1);
  EXPECT_EQ(d.view.dragState(), ModelView::DragState::Idle);
  EXPECT_FALSE(d.host.captured);
}

TEST(ModelViewCamera, TrackballHandlesPinTheAxis) {
  ViewDesk d;
  d.app.editor.cameraToggle = true;
  d.view.Resize(200, 200);  // centre (100, 100), r = 90
  d.view.MouseDown(Press(MouseButton::Left, 105, 12));  // top handle
  EXPECT_EQ(d.view.orbitAxis(), TrackballAxis::Horizontal);
  d.view.MouseUp(Release(MouseButton::Left, 105, 12));
  EXPECT_EQ(d.view.orbitAxis(), TrackballAxis::Free);
  d.view.MouseDown(Press(MouseButton::Left, 185, 95));  // right handle
  EXPECT_EQ(d.view.orbitAxis(), TrackballAxis::Vertical);
  d.view.MouseUp(Release(MouseButton::Left, 185, 95));
  d.view.MouseDown(Press(MouseButton::Left, 150, 150));
  EXPECT_EQ(d.view.orbitAxis(), TrackballAxis::Free);
  d.view.CaptureLost();
  EXPECT_EQ(d.view.dragState(), ModelView::DragState::Idle);
  EXPECT_EQ(d.Sent(0, 0x22), 3);
}

TEST(ModelViewCamera, FieldOfViewMeasuresFromThePressPoint) {
  ViewDesk d;
  d.app.editor.cameraToggle = true;
  const float fov = d.app.viewport.fieldOfView;
  d.view.MouseDown(Press(MouseButton::Left, 8, 8, true));
  EXPECT_EQ(d.view.dragState(), ModelView::DragState::FovDrag);
  d.view.MouseMove(Move(18, 8, true));
  EXPECT_EQ(d.host.cursorX, 8);
  d.view.MouseMove(Move(8, 8, true));  // the put-back move itself
  d.view.MouseMove(Move(18, 8, true));
  EXPECT_NEAR(d.app.viewport.fieldOfView, fov + 2.0f, 1e-4);
  EXPECT_EQ(d.Sent(1, 0x12), 2);
}

TEST(ModelViewCamera, WheelZoomsAndShowsAtOnce) {
  ViewDesk d;
  const float distance = d.app.viewport.distance;
  d.view.Wheel(-5, 3, 3);
  EXPECT_NEAR(d.app.viewport.distance, distance / std::pow(1.002, 5), 1e-3);
  EXPECT_EQ(d.host.repaints, 1);
}

TEST(ModelViewUndo, AStrokeAndASelectionDragAreOneStepEach) {
  ViewDesk d;
  d.app.model.SetTriangleCount(2);
  const std::vector<std::uint8_t> before = d.skin->pixels;
  d.app.editor.brushKind = BrushKind::Pencil;
  d.app.editor.colourSlots[0] = 200;
  BuildPaintTable(d.app);
  d.view.MouseDown(Press(MouseButton::Left, 0, 0));
  d.view.MouseMove(Move(15, 0, true));
  d.view.MouseMove(Move(15, 15, true));
  d.view.MouseUp(Release(MouseButton::Left, 15, 15));
  const std::vector<std::uint8_t> painted = d.skin->pixels;
  ASSERT_NE(painted, before);

  d.app.editor.editMode = EditMode::Mapping;
  Viewport& v = d.app.viewport;
  std::fill(v.tagBuffer.begin(), v.tagBuffer.end(), -1);
  v.tagBuffer[static_cast<std::size_t>(2 + (15 - 2) * v.width)] = 0;
  v.tagBuffer[static_cast<std::size_t>(3 + (15 - 2) * v.width)] = 1;
  d.view.MouseDown(Press(MouseButton::Left, 2, 2));
  d.view.MouseMove(Move(3, 2, true));
  d.view.MouseUp(Release(MouseButton::Left, 3, 2));
  ASSERT_EQ(d.app.model.triangles[0].flags & d.app.model.triangles[1].flags & TRI_SELECTED, TRI_SELECTED);

  UndoHistory& h = d.app.document.history;
  ASSERT_EQ(h.size(), 2u);
  EXPECT_EQ(h.UndoName(), "Select Faces");
  ASSERT_TRUE(d.app.document.Undo());
  EXPECT_EQ(d.app.model.triangles[0].flags | d.app.model.triangles[1].flags, 0u);
  EXPECT_EQ(d.skin->pixels, painted);
  EXPECT_EQ(h.UndoName(), "Pencil Stroke");
  ASSERT_TRUE(d.app.document.Undo());
  EXPECT_EQ(d.skin->pixels, before);
  ASSERT_TRUE(d.app.document.Redo());
  EXPECT_EQ(d.skin->pixels, painted);
  ASSERT_TRUE(d.app.document.Redo());
  EXPECT_EQ(d.app.model.triangles[1].flags, TRI_SELECTED);
  EXPECT_FALSE(d.app.document.Redo());
}

// View pixel (x, y) shows texel (x / 2, y / 2).
TEST(ModelViewPaint, TheDiscBrushAndTheIslandFillPaintThroughTheTags) {
  ViewDesk d;
  d.app.editor.colourSlots[0] = 200;
  BuildPaintTable(d.app);
  // A size-5 disc at pixel (8, 8) reaches the pixels within 2.5 of it: all
  // of texels (3..5, 3..5) but (5, 5), whose nearest pixel (10, 10) is
  // 2.83 away.
  d.app.editor.brushSize = 5;
  d.view.MouseDown(Press(MouseButton::Left, 8, 8));
  d.view.MouseUp(Release(MouseButton::Left, 8, 8));
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      const bool inDisc = x >= 3 && x <= 5 && y >= 3 && y <= 5 && !(x == 5 && y == 5);
      EXPECT_EQ(d.Texel(x, y), inDisc ? 200 : 100) << x << "," << y;
    }
  // Two islands of the mapping: a quad of two triangles at the top left, a
  // triangle at the bottom right. A click on the quad fills the quad alone.
  FillSkin(*d.skin, 100);
  Model& m = d.app.model;
  const MapVertex corners[7] = {{0, 0}, {3, 0}, {3, 3}, {0, 3}, {6, 6}, {8, 6}, {8, 8}};
  m.SetMapVertexCount(7);
  for (int i = 0; i < 7; ++i) m.mapVertices[static_cast<std::size_t>(i)] = corners[i];
  const std::int16_t tris[3][3] = {{0, 1, 2}, {0, 2, 3}, {4, 5, 6}};
  m.SetTriangleCount(3);
  for (int t = 0; t < 3; ++t)
    for (int k = 0; k < 3; ++k) m.triangles[static_cast<std::size_t>(t)].mapIndex[k] = tris[t][k];
  d.app.editor.skinTool = SkinTool::Fill;
  d.view.MouseDown(Press(MouseButton::Left, 3, 3));  // texel (1, 1)
  d.view.MouseUp(Release(MouseButton::Left, 3, 3));
  EXPECT_EQ(d.Texel(1, 1), 200);
  EXPECT_EQ(d.Texel(2, 2), 200);
  EXPECT_EQ(d.Texel(0, 2), 200);
  EXPECT_EQ(d.Texel(7, 7), 100);
  EXPECT_EQ(d.Texel(5, 1), 100);
  EXPECT_EQ(d.app.document.history.UndoName(), "Fill");
}

// While an animation plays the picture is drawn without its tags; a press
// draws them first, so it picks what the picture shows at that moment.
TEST(ModelViewPlaying, APressReadsTheTagsOfThePictureShown) {
  Workspace app;
  FakeHost host;
  ModelView view{app};
  Model& m = app.model;
  auto frame = std::make_unique<Frame>(kMaxVertices);
  const auto place = [&](float shift) {
    // A square 30 units a side facing the camera; model y runs to the left.
    const float corners[4][2] = {{-15, -15}, {15, -15}, {-15, 15}, {15, 15}};
    for (int v = 0; v < 4; ++v) m.frames[0]->vertices[static_cast<std::size_t>(v)] = Vec3{0, -corners[v][0] + shift, corners[v][1]};
    m.ComputeFaceNormals();
  };
  m.frames.push_back(std::move(frame));
  m.SetVertexCount(4);
  m.SetTriangleCount(2);
  const int tris[2][3] = {{0, 1, 2}, {1, 3, 2}};
  for (int t = 0; t < 2; ++t)
    for (int k = 0; k < 3; ++k)
      m.triangles[static_cast<std::size_t>(t)].vertexIndex[k] = m.triangles[static_cast<std::size_t>(t)].mapIndex[k] =
          static_cast<std::int16_t>(tris[t][k]);
  m.SetMapVertexCount(4);
  const MapVertex map[4] = {{0, 15.9f}, {15.9f, 15.9f}, {0, 0}, {15.9f, 0}};
  for (int v = 0; v < 4; ++v) m.mapVertices[static_cast<std::size_t>(v)] = map[v];
  m.skinWidth = m.skinHeight = 16;
  auto skin = MakeBlankSkin("s", 16, 16, GreyRampPalette());
  FillSkin(*skin, 77);
  m.skins.push_back(std::move(skin));
  m.currentSkinIndex = 0;
  place(0);
  app.editor.cameraToggle = false;
  view.SetHost(&host);
  view.Resize(64, 64);

  view.SetTagsDeferred(true);
  place(20);  // the next frame: the square moved left
  view.Redraw(REDRAW_FULL, 0);
  EXPECT_TRUE(view.tagsStale());
  // A pixel the square covers now and did not before has no tag yet.
  const Viewport& v = app.viewport;
  const std::uint8_t background = v.frameBuffer[0];
  std::size_t at = 0;
  while (at < v.frameBuffer.size() && (v.frameBuffer[at] == background || v.tagBuffer[at] >= 0)) ++at;
  ASSERT_LT(at, v.frameBuffer.size());
  const int x = static_cast<int>(at % static_cast<std::size_t>(v.width));
  const int y = v.height - 1 - static_cast<int>(at / static_cast<std::size_t>(v.width));

  app.editor.activeSlot = 2;
  app.editor.colourSlots[2] = 0;
  view.MouseDown(Press(MouseButton::Right, x, y));
  EXPECT_EQ(app.editor.colourSlots[2], 77);
  EXPECT_GE(v.tagBuffer[at], 0);
  EXPECT_FALSE(view.tagsStale());
  view.MouseUp(Release(MouseButton::Right, x, y));

  // Paused, the picture shown gets its tags at once.
  place(-20);
  view.Redraw(REDRAW_FULL, 0);
  EXPECT_TRUE(view.tagsStale());
  view.SetTagsDeferred(false);
  EXPECT_FALSE(view.tagsStale());
}
