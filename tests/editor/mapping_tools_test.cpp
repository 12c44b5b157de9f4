#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "editor/mapping_transform.h"
#include "editor/skin_view.h"
#include "editor/tools/transform_tool.h"
#include "editor/workspace.h"

namespace {

// A 32 x 32 skin's mapping with the given vertices, all of them marked.
void Marked(Model& m, const std::vector<MapVertex>& vertices) {
  m.skinWidth = m.skinHeight = 32;
  m.SetMapVertexCount(static_cast<std::int16_t>(vertices.size()));
  for (std::size_t i = 0; i < vertices.size(); ++i) {
    m.mapVertices[i] = vertices[i];
    m.mapVertexSelected[i] = 1;
  }
}

}  // namespace

TEST(MappingTransform, RotateAndScaleAboutTheCentreOrTakeTheStepBack) {
  struct Case {
    const char* what;
    double angle, scaleS, scaleT;
    bool snap;
    MapVertex a, b;            // from where they were saved
    bool done;
    MapVertex expectA, expectB;
  };
  const double quarter = std::numbers::pi / 2;
  // About (16, 16); s' = 16 + (ds cos + dt sin) scaleS, t' = 16 + (dt cos - ds sin) scaleT.
  const Case cases[] = {
      {"quarter turn", quarter, 1, 1, false, {20, 16}, {16, 18}, true, {16, 12}, {18, 16}},
      {"scale 2 by 0.5", 0, 2, 0.5, false, {20, 18}, {14, 12}, true, {24, 17}, {12, 14}},
      {"snapped scale truncates", 0, 1.5, 1.5, true, {19, 19}, {13, 16}, true, {20, 20}, {11, 16}},
      {"second vertex off the skin", 0, 5, 1, false, {17, 16}, {20, 16}, false, {17, 16}, {20, 16}},
  };
  for (const Case& c : cases) {
    Model m;
    Marked(m, {c.a, c.b});
    const std::vector<MapVertex> saved = m.mapVertices;
    EXPECT_EQ(RotateScaleMarked(m, saved, 16, 16, c.angle, c.scaleS, c.scaleT, c.snap), c.done) << c.what;
    EXPECT_NEAR(m.mapVertices[0].s, c.expectA.s, 1e-4) << c.what;
    EXPECT_NEAR(m.mapVertices[0].t, c.expectA.t, 1e-4) << c.what;
    EXPECT_NEAR(m.mapVertices[1].s, c.expectB.s, 1e-4) << c.what;
    EXPECT_NEAR(m.mapVertices[1].t, c.expectB.t, 1e-4) << c.what;
  }
}

TEST(MappingTransform, MovesStayOnTheSkinAndSnapToWholeTexels) {
  struct Case {
    const char* what;
    double ds, dt;
    bool snap;
    MapVertex expect;  // where (10, 10) goes; the box is (10..12, 10..12)
  };
  const Case cases[] = {
      {"plain move", 3, -2, false, {13, 8}},
      {"pushed back at the right edge", 25, 0, false, {29, 10}},   // box 35..37 back to 29..31
      {"pushed back at the top", 0, -14, false, {10, 0}},
      {"snapped move truncates", 1.7, 2.2, true, {11, 12}},
      {"snapped small backward move is none", -0.3, 0, true, {10, 10}},
  };
  for (const Case& c : cases) {
    Model m;
    Marked(m, {{10, 10}, {12, 12}});
    MappingBox box{10, 12, 10, 12};
    MoveMarked(m, box, c.ds, c.dt, c.snap);
    EXPECT_FLOAT_EQ(m.mapVertices[0].s, c.expect.s) << c.what;
    EXPECT_FLOAT_EQ(m.mapVertices[0].t, c.expect.t) << c.what;
    EXPECT_FLOAT_EQ(m.mapVertices[1].s - m.mapVertices[0].s, 2) << c.what;
  }
}

TEST(TransformToolUndo, ARotateDragIsOneStepNamedAfterIt) {
  Workspace app;
  Model& m = app.model;
  m.skinWidth = m.skinHeight = 32;
  m.SetTriangleCount(1);
  m.triangles[0].flags = TRI_SELECTED;
  const MapVertex corners[3] = {{10, 10}, {20, 10}, {10, 20}};
  for (int k = 0; k < 3; ++k) m.triangles[0].cornerMap[k] = corners[k];
  m.WeldMapVertices(0);
  SkinView pane(app);
  SkinViewTransform view{16, 16, 2, 64, 64};
  ToolContext c{app, pane, TagView{}, &view};
  TransformTool tool(app.document);
  MouseEvent e;
  e.button = MouseButton::Right;
  e.shift = true;
  e.x = e.y = 32;
  e.rightDown = true;
  tool.Press(c, e);
  for (int dy : {10, 20, -5}) {
    e.y = 32 + dy;
    tool.Move(c, e);
  }
  e.rightDown = false;
  EXPECT_EQ(tool.Release(c, e), ToolEnd::Free);
  EXPECT_FALSE(tool.Active());
  EXPECT_EQ(app.document.history.size(), 1u);
  EXPECT_EQ(app.document.history.UndoName(), "Rotate Selection");
  EXPECT_NE(m.mapVertices[static_cast<std::size_t>(m.triangles[0].mapIndex[1])].t, 10.0f);
}
