#include <gtest/gtest.h>

#include <cmath>

#include "editor/document_bytes.h"
#include "editor/paint_table.h"
#include "editor/skin_view.h"
#include "editor/workspace.h"
#include "image/new_skin.h"
#include "support/fake_pane_host.h"
#include "support/notice_log.h"

namespace {

using FakeHost = FakePaneHost;

// The drag under way when it is a T's.
template <class T>
const T* Using(const SkinView& view) {
  return dynamic_cast<const T*>(view.activeTool());
}

MouseEvent Event(MouseButton b, int x, int y, bool left, bool right, bool shift = false, bool ctrl = false) {
  MouseEvent e;
  e.button = b;
  e.x = x;
  e.y = y;
  e.leftDown = left;
  e.rightDown = right;
  e.shift = shift;
  e.ctrl = ctrl;
  return e;
}

struct Corner {
  float s, t;
};

// A 64 x 64 pane over a 32 x 32 skin (all texels 100, grey ramp) at zoom 2
// centred on (16, 16): client (x, y) is skin (x / 2, y / 2), and a mapping
// vertex (s, t) is picked at client (2s + 1, 2t + 1).
struct Desk {
  Workspace app;
  FakeHost host;
  SkinView view{app};
  NoticeLog log{app.document.changes};
  std::vector<PaneRedraw>& sent = log.sent;
  Skin* skin = nullptr;

  Desk() {
    app.model.skinWidth = app.model.skinHeight = 32;
    auto s = MakeBlankSkin("s", 32, 32, GreyRampPalette());
    FillSkin(*s, 100);
    skin = s.get();
    app.model.skins.push_back(std::move(s));
    app.model.currentSkinIndex = 0;
    app.editor.cameraToggle = false;
    view.SetHost(&host);
    view.Resize(64, 64);
    view.SetView(16, 16, 2);
    view.Redraw(0, 0);
  }
  // Triangles of three vertices each, welded as a loaded model would be.
  void Mesh(const std::vector<std::array<Corner, 3>>& tris, std::vector<std::uint32_t> flags = {}) {
    Model& m = app.model;
    m.SetTriangleCount(static_cast<std::int16_t>(tris.size()));
    for (std::size_t i = 0; i < tris.size(); ++i)
      for (int k = 0; k < 3; ++k) {
        m.triangles[i].cornerMap[k] = MapVertex{tris[i][k].s, tris[i][k].t};
        m.triangles[i].flags = i < flags.size() ? flags[i] : 0;
      }
    m.WeldMapVertices(0);
  }
  MapVertex CornerOf(int tri, int k) const {
    const Model& m = app.model;
    return m.mapVertices[static_cast<std::size_t>(m.triangles[static_cast<std::size_t>(tri)].mapIndex[k])];
  }
  void Press(MouseButton b, int x, int y, bool shift = false, bool ctrl = false) {
    view.MouseDown(Event(b, x, y, b == MouseButton::Left, b == MouseButton::Right, shift, ctrl));
  }
  void Drag(MouseButton b, int x, int y) {
    view.MouseMove(Event(b, x, y, b == MouseButton::Left, b == MouseButton::Right));
  }
  void Release(MouseButton b, int x, int y) { view.MouseUp(Event(b, x, y, false, false)); }
  // A selection transform's move: the pointer returns to the press after each.
  void Nudge(int pressX, int pressY, int dx, int dy) { Drag(MouseButton::Right, pressX + dx, pressY + dy); }
  std::uint8_t Texel(int x, int y) const { return skin->pixels[static_cast<std::size_t>(y * 32 + x)]; }
  std::uint8_t Pixel(int x, int y) const {
    return view.frameBuffer()[static_cast<std::size_t>(x + (63 - y) * view.bufferWidth())];
  }
  int Sent(int kind, int bits) const {
    int n = 0;
    for (const auto& m : sent) n += (m.kind == kind && m.panes == bits) ? 1 : 0;
    return n;
  }
};

}  // namespace

TEST(SkinViewBuffers, WidthRoundsUpToFourAndAnUnchangedSizeKeepsTheBuffers) {
  Desk d;
  d.view.Resize(101, 30);
  EXPECT_EQ(d.view.bufferWidth(), 104);
  EXPECT_EQ(d.view.frameBuffer().size(), 104u * 30u);
  EXPECT_EQ(d.view.Image().width, 101);
  const std::uint8_t* before = d.view.frameBuffer().data();
  d.view.Resize(102, 30);
  EXPECT_EQ(d.view.frameBuffer().data(), before);
  EXPECT_STREQ(d.view.WindowName(), "Skin Box");
}

TEST(SkinViewZoom, StaysWithinOneAndTwelveAndKeepsTheCentre) {
  struct Case {
    int wheel;
    float expected;
  };
  for (const Case& c : {Case{120 * 1000, 12.0f}, Case{-120 * 1000, 1.0f}, Case{1, 2.0f * 1.00125f}}) {
    Desk d;
    d.view.Wheel(c.wheel, 0, 0);
    EXPECT_NEAR(d.view.viewZoom(), c.expected, 1e-5) << c.wheel;
    EXPECT_EQ(d.view.viewCentreS(), 16);
    EXPECT_EQ(d.view.viewCentreT(), 16);
  }
  // A right drag of the camera: downwards shrinks, upwards grows, each clamped.
  for (int dy : {5000, -5000}) {
    Desk d;
    d.app.editor.cameraToggle = true;
    d.Press(MouseButton::Right, 30, 30);
    d.Drag(MouseButton::Right, 30, 30 + dy);
    d.Release(MouseButton::Right, 30, 30 + dy);
    EXPECT_EQ(d.view.viewZoom(), dy > 0 ? 1.0f : 12.0f);
    EXPECT_TRUE(d.view.Idle());
    EXPECT_FALSE(d.host.cursorHidden);
    EXPECT_EQ(d.Sent(0, 0x21), 1);
  }
}

TEST(SkinViewGrab, ReachesBelowSixPixelsAtZoomOneAndTwelveAndTheFirstWinsATie) {
  struct Case {
    float zoom;
    int dx, dy;  // press offset left of and above the vertex's client position
    bool grabbed;
  };
  const Case cases[] = {{1, 5, 3, true},  {1, 6, 0, false},  {1, 0, 6, false}, {1, 4, 4, true},
                        {12, 5, 3, true}, {12, 6, 0, false}, {12, 5, 4, false}, {12, 0, 0, true}};
  for (const Case& c : cases) {
    Desk d;
    d.app.editor.editMode = EditMode::Mapping;
    d.Mesh({{{{10, 10}, {20, 10}, {10, 20}}}});
    d.view.SetView(10, 10, c.zoom);
    // 32 + 0.5 x zoom, truncated: the differences to the press truncate alike.
    const int vx = static_cast<int>(32 + 0.5f * c.zoom);
    d.Press(MouseButton::Left, vx - c.dx, vx - c.dy);
    EXPECT_EQ(Using<VertexDragTool>(d.view) != nullptr, c.grabbed) << c.zoom << " " << c.dx << "," << c.dy;
    EXPECT_EQ(d.host.captured, c.grabbed);
  }
  // Two vertices three pixels either side of the press: the lower index wins.
  Desk d;
  d.app.editor.editMode = EditMode::Mapping;
  d.Mesh({{{{10.5f, 10}, {10, 10}, {10, 20}}}});
  d.view.SetView(10, 10, 12);
  d.Press(MouseButton::Left, 41, 38);
  ASSERT_TRUE(Using<VertexDragTool>(d.view));
  // The grabbed corners have their own vertex, counted while the drag lasts.
  EXPECT_EQ(d.app.model.mapVertices[3].s, 10.5f);
  EXPECT_EQ(d.app.model.MapVertexCount(), 4);
}

TEST(SkinViewVertexDrag, SplitsASharedVertexFromUnselectedTrianglesAndWeldsBackWhereItWas) {
  Desk d;
  d.app.editor.editMode = EditMode::Mapping;
  d.Mesh({{{{10, 10}, {20, 10}, {10, 20}}}, {{{10, 10}, {4, 10}, {10, 4}}}}, {TRI_SELECTED, 0});
  ASSERT_EQ(d.app.model.MapVertexCount(), 5);
  d.Press(MouseButton::Left, 21, 21);
  ASSERT_TRUE(Using<VertexDragTool>(d.view));
  EXPECT_EQ(d.Sent(1, 0x23), 1);
  d.Drag(MouseButton::Left, 28, 24);
  EXPECT_EQ(d.Sent(1, 0x13), 1);
  d.Release(MouseButton::Left, 28, 24);
  EXPECT_EQ(d.Sent(0, 0x23), 1);
  EXPECT_EQ(d.CornerOf(0, 0).s, 14);
  EXPECT_EQ(d.CornerOf(0, 0).t, 12);
  EXPECT_EQ(d.CornerOf(1, 0).s, 10);
  EXPECT_EQ(d.CornerOf(1, 0).t, 10);
  EXPECT_EQ(d.app.model.MapVertexCount(), 6);
  EXPECT_EQ(d.app.model.triangles[0].flags, TRI_SELECTED);
  EXPECT_FALSE(d.host.captured);

  // Dropped back on its old place, the split is welded away.
  d.Press(MouseButton::Left, 29, 25);
  d.Drag(MouseButton::Left, 20, 20);
  d.Release(MouseButton::Left, 20, 20);
  EXPECT_EQ(d.app.model.MapVertexCount(), 5);
  EXPECT_EQ(d.app.model.triangles[0].mapIndex[0], d.app.model.triangles[1].mapIndex[0]);
}

TEST(SkinViewVertexDrag, LocksAndSnapToGridShapeTheNewPosition) {
  struct Case {
    bool lockX, lockY, snap;
    float s, t;  // the mouse is at skin (14.5, 12.5)
  };
  for (const Case& c : {Case{false, false, false, 14.5f, 12.5f}, Case{false, false, true, 14, 12},
                        Case{true, false, false, 10, 12.5f}, Case{false, true, true, 14, 10}}) {
    Desk d;
    d.app.editor.editMode = EditMode::Mapping;
    d.app.editor.lockX = c.lockX;
    d.app.editor.lockY = c.lockY;
    d.app.editor.snapToGrid = c.snap;
    d.Mesh({{{{10, 10}, {20, 10}, {10, 20}}}});
    d.Press(MouseButton::Left, 21, 21);
    d.Drag(MouseButton::Left, 29, 25);
    d.Release(MouseButton::Left, 29, 25);
    EXPECT_EQ(d.CornerOf(0, 0).s, c.s);
    EXPECT_EQ(d.CornerOf(0, 0).t, c.t);
  }
}

TEST(SkinViewTransform, RotateAndScaleAboutThePressPointAndNeverLeaveTheSkin) {
  struct Case {
    const char* what;
    bool shift, ctrl, uniform;
    Corner a;    // the triangle is a, (16, 20), (20, 16) around the pivot (16, 16)
    int dx, dy;  // one move
    Corner expected;
  };
  const double c = std::cos(0.05), s = std::sin(0.05);
  const Case cases[] = {
      {"rotate", true, false, false, {26, 16}, 0, 10, {float(16 + 10 * c), float(16 - 10 * s)}},
      // (31, 31) is off the skin after any turn about (16, 16).
      {"rotate off the skin", true, false, false, {31, 31}, 0, 10, {31, 31}},
      {"scale", false, true, false, {20, 20}, 50, 25, {16 + 4 * 1.2f, 16 + 4 * 1.1f}},
      {"uniform scale", false, true, true, {20, 20}, 50, 25, {16 + 4 * 1.1f, 16 + 4 * 1.1f}},
      {"scale off the skin", false, true, false, {30, 30}, 250, 0, {30, 30}},
  };
  for (const Case& k : cases) {
    Desk d;
    d.app.editor.editMode = EditMode::Mapping;
    d.app.editor.uniformScales = k.uniform;
    d.Mesh({{{k.a, {16, 20}, {20, 16}}}}, {TRI_SELECTED});
    d.Press(MouseButton::Right, 32, 32, k.shift, k.ctrl);
    ASSERT_TRUE(Using<TransformTool>(d.view)) << k.what;
    EXPECT_TRUE(d.host.cursorHidden) << k.what;
    d.Nudge(32, 32, k.dx, k.dy);
    d.Release(MouseButton::Right, 32, 32);
    EXPECT_FALSE(d.host.cursorHidden) << k.what;
    EXPECT_NEAR(d.CornerOf(0, 0).s, k.expected.s, 1e-4) << k.what;
    EXPECT_NEAR(d.CornerOf(0, 0).t, k.expected.t, 1e-4) << k.what;
    if (k.expected.s == k.a.s) {
      EXPECT_EQ(d.CornerOf(0, 1).s, 16) << k.what;
      EXPECT_EQ(d.CornerOf(0, 2).s, 20) << k.what;
    }
    EXPECT_EQ(d.app.model.triangles[0].flags, TRI_SELECTED) << k.what;
  }
}

TEST(SkinViewTransform, MovesKeepTheShapeStopAtTheEdgesAndSnapToWholeTexels) {
  struct Case {
    bool snap;
    int dx;        // pixels at zoom 2
    float shiftS;  // how far the selection moves along s
  };
  // Triangle from s = 10 to 20; the skin ends at 31.
  const Case cases[] = {{false, 3, 1.5f},  {true, 1, 0},   {true, 3, 1},   {true, -1, -1},
                        {true, -3, -2},   {false, 100, 11}, {false, -100, -10}};
  for (const Case& c : cases) {
    Desk d;
    d.app.editor.editMode = EditMode::Mapping;
    d.app.editor.snapToGrid = c.snap;
    d.Mesh({{{{10, 10}, {20, 10}, {10, 20}}}}, {TRI_SELECTED});
    d.Press(MouseButton::Right, 40, 40);
    d.Nudge(40, 40, c.dx, 0);
    d.Release(MouseButton::Right, 40, 40);
    EXPECT_EQ(d.CornerOf(0, 0).s, 10 + c.shiftS) << c.snap << " " << c.dx;
    EXPECT_EQ(d.CornerOf(0, 1).s, 20 + c.shiftS) << c.snap << " " << c.dx;
    EXPECT_EQ(d.CornerOf(0, 2).t, 20) << c.snap << " " << c.dx;
  }
}

TEST(SkinViewFrame, EachRedrawClampsAndOrdersTheFrame) {
  struct Case {
    MappingFrame given, expected;
  };
  const Case cases[] = {
      {{-5, 3, 40, 50}, {0, 3, 32, 32}},
      {{25.7f, 30.2f, 5.5f, 2.9f}, {5, 2, 25.7f, 30.2f}},  // drawn right to left, bottom to top
      {{-100, -100, 1000, 1000}, {0, 0, 32, 32}},
  };
  for (const Case& c : cases) {
    Desk d;
    d.app.editor.mappingFrame = c.given;
    d.view.Redraw(0, 0);
    const MappingFrame& f = d.app.editor.mappingFrame;
    EXPECT_EQ(f.left, c.expected.left);
    EXPECT_EQ(f.top, c.expected.top);
    EXPECT_EQ(f.right, c.expected.right);
    EXPECT_EQ(f.bottom, c.expected.bottom);
  }
  // A new frame takes the pointer as its first corner: dragged from the top
  // left to the bottom right it comes out in order all the same.
  Desk d;
  d.app.editor.editMode = EditMode::Mapping;
  d.app.editor.showMappingFrame = true;
  d.app.editor.mappingFrame = {0, 0, 2, 2};
  d.Press(MouseButton::Left, 21, 11);
  ASSERT_TRUE(Using<FrameTool>(d.view) && Using<FrameTool>(d.view)->part() == FrameTool::Part::New);
  d.Drag(MouseButton::Left, 41, 41);
  d.Release(MouseButton::Left, 41, 41);
  const MappingFrame& f = d.app.editor.mappingFrame;
  EXPECT_EQ(f.left, 10);
  EXPECT_EQ(f.top, 5);
  EXPECT_EQ(f.right, 20.5f);
  EXPECT_EQ(f.bottom, 20.5f);
}

TEST(SkinViewOverlay, EachTriangleTakesTheColourOfItsExactFlags) {
  struct Case {
    std::uint32_t flags;
    int slot;  // -1: not drawn, the skin shows
  };
  const Case cases[] = {{0, 1},           {TRI_SELECTED, 2},  {TRI_SELECTED | TRI_HIDDEN, -1},
                        {TRI_HIDDEN, -1}, {TRI_MARKED, 3},    {TRI_SELECTED | TRI_MARKED, 3}};
  for (const Case& c : cases) {
    Desk d;
    d.app.editor.editMode = EditMode::Mapping;
    d.Mesh({{{{10, 10}, {20, 10}, {10, 20}}}}, {c.flags});
    d.view.Redraw(0, 0);
    // The edge (10, 10) - (20, 10) runs along client row 63 - (32 - (10 - 16 + 0.5) x 2) = 20.
    const std::uint8_t want = c.slot < 0 ? 100 : d.app.editor.colourSlots[static_cast<std::size_t>(c.slot)];
    EXPECT_EQ(d.Pixel(31, 20), want) << c.flags;
  }
}

TEST(SkinViewPaint, PencilStrokeChangesEachTexelOnceAndNeverAProtectedColour) {
  Desk d;
  d.app.editor.brushKind = BrushKind::Pencil;
  d.app.editor.paintStrength = 0.5;
  d.app.editor.colourSlots[0] = 200;
  d.skin->pixels[3] = 50;  // texel (3, 0)
  d.app.editor.protectedColours[50] = 1;
  BuildPaintTable(d.app);
  // Grey ramp: 100 + (200 - 100) x 0.5 = 150; painted twice it would be 175.
  d.Press(MouseButton::Left, 0, 0);
  ASSERT_TRUE(Using<PaintTool>(d.view));
  d.Drag(MouseButton::Left, 63, 1);
  d.Drag(MouseButton::Left, 0, 0);
  d.Drag(MouseButton::Left, 200, 0);  // leaves the pane: clipped, not dropped
  d.Release(MouseButton::Left, 200, 0);
  EXPECT_TRUE(d.view.Idle());
  for (int x = 0; x < 32; ++x) EXPECT_EQ(d.Texel(x, 0), x == 3 ? 50 : 150) << x;
  EXPECT_EQ(d.Texel(0, 1), 100);
  EXPECT_GE(d.Sent(3, 0x13), 1);
  EXPECT_EQ(d.app.document.history.UndoName(), "Pencil Stroke");

  d.Press(MouseButton::Left, 0, 0);
  d.Release(MouseButton::Left, 0, 0);
  EXPECT_EQ(d.Texel(0, 0), 175);
}

TEST(SkinViewUndo, EachDragIsOneStepThatUndoRestoresExactly) {
  struct Case {
    const char* name;
    EditMode mode;
    MouseButton button;
    bool dragPixels;
    void (*tool)(EditorState&) = nullptr;  // the painting tool's settings
  };
  const Case cases[] = {
      {"Move Mapping Vertex", EditMode::Mapping, MouseButton::Left, false},
      {"Move Mapping Vertex", EditMode::Mapping, MouseButton::Left, true},
      {"Move Selection", EditMode::Mapping, MouseButton::Right, true},
      {"Point Stroke", EditMode::Paint, MouseButton::Left, false},
      {"Brush Stroke", EditMode::Paint, MouseButton::Left, false, [](EditorState& e) { e.brushSize = 5; }},
      {"Lighten Stroke", EditMode::Paint, MouseButton::Left, false, [](EditorState& e) { e.ink = PaintInk::RampUp; }},
      {"Brush Stroke", EditMode::Paint, MouseButton::Left, false,
       [](EditorState& e) { e.symmetry = Symmetry::ModelX; }},
      {"Fill", EditMode::Paint, MouseButton::Left, false,
       [](EditorState& e) { e.skinTool = SkinTool::Fill, e.fillContiguous = false; }},
      {"Draw Line", EditMode::Paint, MouseButton::Left, false, [](EditorState& e) { e.skinTool = SkinTool::Line; }},
      {"Draw Rectangle", EditMode::Paint, MouseButton::Left, false,
       [](EditorState& e) { e.skinTool = SkinTool::Rectangle; }},
      {"Draw Ellipse", EditMode::Paint, MouseButton::Left, false,
       [](EditorState& e) { e.skinTool = SkinTool::Ellipse, e.shapeFilled = true; }},
  };
  for (const Case& c : cases) {
    Desk d;
    if (c.tool) c.tool(d.app.editor);
    d.app.editor.editMode = c.mode;
    d.app.editor.dragPixelsWithMapping = c.dragPixels;
    d.app.editor.colourSlots[0] = 7;
    BuildPaintTable(d.app);
    for (int i = 0; i < 32 * 32; ++i) d.skin->pixels[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 7);
    d.Mesh({{{{10, 10}, {20, 10}, {10, 20}}}, {{{10, 10}, {4, 10}, {10, 4}}}}, {TRI_SELECTED, 0});
    const auto mesh = MeshBytes(d.app.model);
    const auto pixels = d.skin->pixels;
    d.Press(c.button, 21, 21);
    d.Drag(c.button, 27, 29);
    d.Drag(c.button, 31, 25);
    d.Release(c.button, 31, 25);
    ASSERT_EQ(d.app.document.history.size(), 1u) << c.name;
    EXPECT_EQ(d.app.document.history.UndoName(), c.name);
    EXPECT_TRUE(MeshBytes(d.app.model) != mesh || d.skin->pixels != pixels) << c.name;
    EXPECT_EQ(d.skin->pixels != pixels, c.dragPixels || c.mode == EditMode::Paint) << c.name;
    ASSERT_TRUE(d.app.document.Undo()) << c.name;
    EXPECT_EQ(MeshBytes(d.app.model), mesh) << c.name;
    EXPECT_EQ(d.skin->pixels, pixels) << c.name;
  }
}

TEST(SkinViewCapture, LosingItEndsTheDragAsItsReleaseWould) {
  Desk d;
  d.app.editor.editMode = EditMode::Mapping;
  d.Mesh({{{{10, 10}, {20, 10}, {10, 20}}}}, {TRI_SELECTED});
  d.Press(MouseButton::Right, 40, 40, true);
  d.view.CaptureLost();
  EXPECT_TRUE(d.view.Idle());
  EXPECT_FALSE(d.host.cursorHidden);
  EXPECT_EQ(d.app.model.triangles[0].flags, TRI_SELECTED);
  EXPECT_EQ(d.Sent(0, 0x23), 1);
  EXPECT_FALSE(d.app.document.history.open());
}

TEST(SkinViewDraw, TagsShowTheTexelUnderEachPixelAndMinusOneBesideTheSkin) {
  struct Case {
    float zoom;
    int x, y;       // client pixel
    int expected;   // its tag
  };
  // Centred on (16, 16): client x shows texel 16 + (x - 32) / zoom, rounded down;
  // at zoom 1 the skin starts at client column 16.
  const Case cases[] = {{2, 0, 0, 0},     {2, 63, 63, 31 * 32 + 31}, {2, 33, 30, 15 * 32 + 16},
                        {12, 0, 0, 13 * 32 + 13}, {12, 63, 63, 18 * 32 + 18}, {1, 0, 0, -1}, {1, 15, 40, -1}};
  for (const Case& c : cases) {
    Desk d;
    for (int kind : {0, 1}) {
      d.view.SetView(16, 16, c.zoom);
      d.view.Redraw(kind, 0);
    }
    // A Quick redraw leaves the tags of the Full one before it.
    const std::size_t i = static_cast<std::size_t>(c.x + (63 - c.y) * d.view.bufferWidth());
    EXPECT_EQ(d.view.pixelTags()[i], c.expected) << c.zoom << " " << c.x << "," << c.y;
    EXPECT_EQ(d.Pixel(c.x, c.y), c.expected < 0 ? d.app.editor.colourSlots[7] : 100);
  }
}

// Client (x, y) is skin (x / 2, y / 2); a vertex (s, t) sits at (2s + 1, 2t + 1).
TEST(SkinViewSelect, ShiftCtrlDragsARubberBandThatSelectsTheTrianglesWhollyInside) {
  Desk d;
  d.app.editor.editMode = EditMode::Mapping;
  d.Mesh({{{{2, 2}, {6, 2}, {2, 6}}}, {{{20, 20}, {26, 20}, {20, 26}}}, {{{4, 4}, {12, 4}, {4, 12}}}});
  d.Press(MouseButton::Left, 0, 0, true, true);
  d.Drag(MouseButton::Left, 20, 20);
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  ASSERT_TRUE(d.view.RubberBand(x0, y0, x1, y1));
  EXPECT_EQ((std::vector<int>{x0, y0, x1, y1}), (std::vector<int>{0, 0, 20, 20}));
  d.Release(MouseButton::Left, 20, 20);
  EXPECT_FALSE(d.view.RubberBand(x0, y0, x1, y1));
  // The first lies inside (corners at 5..13); the third reaches 25.
  const auto selected = [&](int t) { return (d.app.model.triangles[static_cast<std::size_t>(t)].flags & TRI_SELECTED) != 0; };
  EXPECT_EQ((std::vector<bool>{selected(0), selected(1), selected(2)}), (std::vector<bool>{true, false, false}));
  EXPECT_EQ(d.app.document.history.UndoName(), "Select Faces");
  ASSERT_TRUE(d.app.document.Undo());
  EXPECT_FALSE(selected(0));
}

// A big picture is drawn in bands on the render threads: the same pixels and
// tags as on one thread, at zooms whose edges fall between pixels, shown
// whole, panned past the picture's edge and tiled.
TEST(SkinViewBands, BandedPicturesMatchTheOneThreadPicture) {
  struct View {
    float s, t, zoom;
    bool tiled;
  };
  const View views[] = {{16, 16, 11.3f, false}, {3, 29, 7.7f, false}, {16, 16, 9.1f, true}};
  for (const View& v : views) {
    std::vector<std::vector<std::uint8_t>> frames;
    std::vector<std::vector<std::int32_t>> tags;
    for (const int threads : {1, 3}) {
      Desk d;
      for (std::size_t i = 0; i < d.skin->pixels.size(); ++i) d.skin->pixels[i] = static_cast<std::uint8_t>(i * 13);
      d.app.renderModes.SetThreads(threads);
      d.app.editor.tiledSkin = v.tiled;
      d.view.Resize(700, 500);
      d.view.SetView(v.s, v.t, v.zoom);
      d.view.Redraw(REDRAW_FULL, 0);
      frames.push_back(d.view.frameBuffer());
      tags.push_back(d.view.pixelTags());
    }
    EXPECT_TRUE(frames[0] == frames[1]) << v.zoom;
    EXPECT_TRUE(tags[0] == tags[1]) << v.zoom;
  }
}
