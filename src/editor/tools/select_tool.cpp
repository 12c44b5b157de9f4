#include "editor/tools/select_tool.h"

#include "editor/mapping_transform.h"
#include "editor/tools/skin_view_transform.h"
#include "editor/workspace.h"
#include "render/render_context.h"

namespace {


}  // namespace

void SkinSelectTool::Press(ToolContext& c, const MouseEvent& e) {
  active_ = true;
  select_ = e.shift;
  step_.Begin(select_ ? "Select Faces" : "Deselect Faces", STEP_MESH);
  SelectAt(c, e.x, e.y);
}

void SkinSelectTool::Move(ToolContext& c, const MouseEvent& e) { SelectAt(c, e.x, e.y); }

void SkinSelectTool::SelectAt(ToolContext& c, int x, int y) {
  Model& m = c.app.model;
  const int vertices = m.MapVertexCount();
  const float px = static_cast<float>(x), py = static_cast<float>(y);
  for (int i = 0, n = m.TriangleCount(); i < n; ++i) {
    Triangle& tri = m.triangles[static_cast<std::size_t>(i)];
    float corners[6];
    bool ok = true;
    for (int k = 0; k < 3 && ok; ++k) {
      const int index = tri.mapIndex[k];
      double cx = 0, cy = 0;
      ok = index >= 0 && index < vertices &&
           c.view->VertexToClient(m.mapVertices[static_cast<std::size_t>(index)], cx, cy);
      corners[2 * k] = static_cast<float>(cx);
      corners[2 * k + 1] = static_cast<float>(cy);
    }
    if (!ok || !CRasterizer::PointInPolygon(px, py, corners, 3)) continue;
    tri.flags = select_ ? (tri.flags | TRI_SELECTED) : (tri.flags & ~TRI_SELECTED);
  }
  Announce(c.app, kSelectionChanged, REDRAW_QUICK, kShowNow);
}

ToolEnd SkinSelectTool::Release(ToolContext& c, const MouseEvent& e) {
  if (e.button != MouseButton::Left) return ToolEnd::Continue;
  End(c);
  return ToolEnd::Hold;
}

void SkinSelectTool::CaptureLost(ToolContext& c) { End(c); }

void SkinSelectTool::End(ToolContext& c) {
  Announce(c.app, kSelectionChanged, REDRAW_FULL, kShowNow);
  step_.End();
  active_ = false;
}

void ModelSelectTool::Press(ToolContext& c, const MouseEvent& e) {
  active_ = true;
  select_ = e.button == MouseButton::Left;
  step_.Begin(select_ ? "Select Faces" : "Deselect Faces", STEP_MESH);
  SelectAt(c, e.x, e.y);
}

void ModelSelectTool::Move(ToolContext& c, const MouseEvent& e) { SelectAt(c, e.x, e.y); }

void ModelSelectTool::SelectAt(ToolContext& c, int x, int y) {
  const std::int32_t t = c.tags.TagAt(x, y);
  Model& m = c.app.model;
  if (t < 0 || t >= m.TriangleCount()) return;
  std::uint32_t& flags = m.triangles[static_cast<std::size_t>(t)].flags;
  if (((flags & TRI_SELECTED) != 0) == select_) return;
  flags = select_ ? (flags | TRI_SELECTED) : (flags & ~TRI_SELECTED);
  Announce(c.app, kSelectionChanged, REDRAW_QUICK, kDragging);
}

ToolEnd ModelSelectTool::Release(ToolContext& c, const MouseEvent& e) {
  if (e.button != (select_ ? MouseButton::Left : MouseButton::Right)) return ToolEnd::Continue;
  CaptureLost(c);
  return ToolEnd::Hold;
}

void ModelSelectTool::CaptureLost(ToolContext&) {
  step_.End();
  active_ = false;
}
