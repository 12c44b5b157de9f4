#include "editor/tools/vertex_drag_tool.h"

#include <algorithm>
#include <cmath>

#include "editor/mapping_transform.h"
#include "editor/tools/skin_view_transform.h"
#include "editor/workspace.h"
#include "render/render_context.h"

namespace {

constexpr int kGrabReachSquared = 36;  // 6 pixels

bool UsesVertex(const Triangle& tri, int v) {
  return tri.mapIndex[0] == v || tri.mapIndex[1] == v || tri.mapIndex[2] == v;
}

// Points the first corner using `from` at `to`.
void Repoint(Triangle& tri, int from, int to) {
  for (auto& index : tri.mapIndex)
    if (index == from) {
      index = static_cast<std::int16_t>(to);
      return;
    }
}

// Marks and repoints the triangles using `from` (only the selected ones when
// `selectedOnly`); false when none does.
bool SplitOff(Model& m, int from, int to, bool selectedOnly) {
  bool any = false;
  for (int i = 0, n = m.TriangleCount(); i < n; ++i) {
    Triangle& tri = m.triangles[static_cast<std::size_t>(i)];
    if (selectedOnly && !(tri.flags & TRI_SELECTED)) continue;
    if (UsesVertex(tri, from)) {
      any = true;
      tri.flags |= TRI_MARKED;
      Repoint(tri, from, to);
    } else {
      tri.flags &= ~TRI_MARKED;
    }
  }
  return any;
}

}  // namespace

void VertexDragTool::Press(ToolContext& c, const MouseEvent& e) {
  Model& m = c.app.model;
  const SkinViewTransform& view = *c.view;
  float s = 0, t = 0;
  view.ClientToSkin(e.x, e.y, s, t);
  const int count = m.MapVertexCount();
  if (!(s >= 0 && s < m.skinWidth && t >= 0 && t < m.skinHeight) || count <= 0) return;
  // Every slot in use: there is nowhere to split the vertex off to.
  if (count >= kMaxMapVertices) return;
  int best = -1;
  std::int64_t bestDistance = kGrabReachSquared;
  for (int i = 0; i < count; ++i) {
    double cx = 0, cy = 0;
    if (!view.VertexToClient(m.mapVertices[static_cast<std::size_t>(i)], cx, cy)) continue;
    const auto dx = static_cast<std::int64_t>(cx - e.x);
    const auto dy = static_cast<std::int64_t>(cy - e.y);
    const std::int64_t d = dx * dx + dy * dy;
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  if (best < 0) return;

  const bool pixels = c.app.editor.dragPixelsWithMapping && m.CurrentSkin();
  step_.Begin("Move Mapping Vertex", STEP_MESH | (pixels ? STEP_CURRENT_SKIN : 0u));
  active_ = true;
  // The grabbed corners move to a vertex of their own, welded back at the end.
  grabSlot_ = count;
  m.SetMapVertexCount(count + 1);
  m.mapVertices[static_cast<std::size_t>(count)] = m.mapVertices[static_cast<std::size_t>(best)];
  if (!SplitOff(m, best, count, true)) SplitOff(m, best, count, false);
  Announce(c.app, kMappingChanged, REDRAW_QUICK, kShowNow);
  if (pixels) {
    savedSkin_ = m.CurrentSkin()->pixels;
    savedMapping_ = m.mapVertices;
  }
}

void VertexDragTool::Move(ToolContext& c, const MouseEvent& e) {
  Model& m = c.app.model;
  const EditorState& editor = c.app.editor;
  if (grabSlot_ < 0 || m.skinWidth <= 0 || m.skinHeight <= 0) return;
  float s = 0, t = 0;
  c.view->ClientToSkin(e.x, e.y, s, t);
  s = std::clamp(s, 0.0f, static_cast<float>(m.skinWidth - 1));
  t = std::clamp(t, 0.0f, static_cast<float>(m.skinHeight - 1));
  MapVertex& v = m.mapVertices[static_cast<std::size_t>(grabSlot_)];
  if (s != v.s || t != v.t) {
    if (!editor.lockX) v.s = s;
    if (!editor.lockY) v.t = t;
    if (editor.snapToGrid) {
      v.s = std::trunc(v.s);
      v.t = std::trunc(v.t);
    }
  }
  if (editor.dragPixelsWithMapping && m.CurrentSkin()) {
    ResampleMarked(c.app.rasterizer, m, *m.CurrentSkin(), savedSkin_, savedMapping_, m.MapVertexCount());
  }
  Announce(c.app, kMappingChanged, REDRAW_QUICK, kDragging);
}

ToolEnd VertexDragTool::Release(ToolContext& c, const MouseEvent& e) {
  if (e.button != MouseButton::Left) return ToolEnd::Continue;
  End(c);
  return ToolEnd::Hold;
}

void VertexDragTool::CaptureLost(ToolContext& c) { End(c); }

void VertexDragTool::End(ToolContext& c) {
  savedSkin_ = {};
  savedMapping_ = {};
  EndMappingDrag(c.app.model);
  grabSlot_ = -1;
  Announce(c.app, kMappingChanged, REDRAW_FULL, kShowNow);
  step_.End();
  active_ = false;
}
