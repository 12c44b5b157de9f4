#include "editor/tools/rect_select_tool.h"

#include <algorithm>

#include "editor/mapping_transform.h"
#include "editor/tools/skin_view_transform.h"
#include "editor/workspace.h"
#include "render/render_context.h"

void RectSelectTool::Press(ToolContext& c, const MouseEvent& e) {
  active_ = true;
  x0_ = x1_ = e.x;
  y0_ = y1_ = e.y;
  if (c.pane.host()) c.pane.host()->RepaintNow();
}

void RectSelectTool::Move(ToolContext& c, const MouseEvent& e) {
  x1_ = e.x;
  y1_ = e.y;
  if (c.pane.host()) c.pane.host()->RepaintNow();
}

bool RectSelectTool::Band(int& x0, int& y0, int& x1, int& y1) const {
  if (!active_) return false;
  x0 = x0_, y0 = y0_, x1 = x1_, y1 = y1_;
  return true;
}

ToolEnd RectSelectTool::Release(ToolContext& c, const MouseEvent& e) {
  if (e.button != MouseButton::Left) return ToolEnd::Continue;
  active_ = false;
  x1_ = e.x;
  y1_ = e.y;
  const double left = std::min(x0_, x1_), right = std::max(x0_, x1_);
  const double top = std::min(y0_, y1_), bottom = std::max(y0_, y1_);
  DocumentStep step(document_, "Select Faces", STEP_MESH);
  Model& m = c.app.model;
  const int vertices = m.MapVertexCount();
  for (int i = 0, n = m.TriangleCount(); i < n; ++i) {
    Triangle& tri = m.triangles[static_cast<std::size_t>(i)];
    if (tri.flags & TRI_HIDDEN) continue;
    bool inside = c.view != nullptr;
    for (int k = 0; k < 3 && inside; ++k) {
      const int index = tri.mapIndex[k];
      double x = 0, y = 0;
      inside = index >= 0 && index < vertices &&
               c.view->VertexToClient(m.mapVertices[static_cast<std::size_t>(index)], x, y) && x >= left &&
               x <= right && y >= top && y <= bottom;
    }
    if (inside) tri.flags |= TRI_SELECTED;
  }
  Announce(c.app, kSelectionChanged, REDRAW_FULL, kShowNow);
  return ToolEnd::Hold;
}
