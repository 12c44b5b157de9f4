#include <gtest/gtest.h>

#include <memory>

#include "editor/mapping_ops.h"

// One selected triangle seen by the default camera (model (x, y, z) at
// camera (-y, z, distance - x)), wholly to one side of the view's centre on
// both axes. Whichever side, the frame is filled edge to edge: the corner
// furthest left lands on the frame's left side, the one furthest right on
// its right side, and likewise top and bottom.
TEST(MapFrom3DView, ASelectionOffCentreFillsTheWholeFrame) {
  struct Case {
    const char* where;
    float y[3], z[3];  // model y runs right on screen, z up
  } cases[] = {
      {"left, above", {-30, -10, -20}, {10, 10, 30}},
      {"right, below", {10, 30, 20}, {-30, -30, -10}},
      {"left, below", {-30, -10, -20}, {-30, -30, -10}},
      {"right, above", {10, 30, 20}, {10, 10, 30}},
  };
  const MappingFrame frame{8, 4, 40, 60};
  for (int projection : {0, 1}) {
    for (const Case& c : cases) {
      Model m;
      auto f = std::make_unique<Frame>(3);
      m.skinWidth = m.skinHeight = 64;
      m.SetTriangleCount(1);
      m.SetVertexCount(3);
      for (int k = 0; k < 3; ++k) {
        f->vertices[static_cast<std::size_t>(k)] = {0, c.y[k], c.z[k]};
        m.triangles[0].vertexIndex[k] = static_cast<std::int16_t>(k);
      }
      m.triangles[0].flags = TRI_SELECTED;
      m.frames.push_back(std::move(f));
      Viewport view;
      view.width = view.height = 100;
      MapFrom3DViewOptions options;
      options.projection = projection;
      MapFrom3DView(m, view, frame, options, false);

      // Corners 0 and 1 share the end row; corner 2 the other one and the
      // middle column. Rows: screen y down is -z.
      const bool secondIsHigher = c.z[2] > c.z[0];
      const float endRow = secondIsHigher ? 60 : 4, otherRow = secondIsHigher ? 4 : 60;
      const MapVertex* corner = m.triangles[0].cornerMap;
      SCOPED_TRACE(std::string(c.where) + (projection ? ", parallel" : ", perspective"));
      EXPECT_FLOAT_EQ(corner[0].s, 8);
      EXPECT_FLOAT_EQ(corner[1].s, 40);
      EXPECT_FLOAT_EQ(corner[2].s, 24);
      EXPECT_FLOAT_EQ(corner[0].t, endRow);
      EXPECT_FLOAT_EQ(corner[1].t, endRow);
      EXPECT_FLOAT_EQ(corner[2].t, otherRow);
    }
  }
}
