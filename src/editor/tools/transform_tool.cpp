#include "editor/tools/transform_tool.h"

#include "editor/tools/skin_view_transform.h"
#include "editor/workspace.h"
#include "render/render_context.h"

namespace {

constexpr double kRotatePerPixel = 0.005;
constexpr double kScalePerPixel = 0.004;

}  // namespace

void TransformTool::Press(ToolContext& c, const MouseEvent& e) {
  Model& m = c.app.model;
  kind_ = e.shift ? Kind::Rotate : e.ctrl ? Kind::Scale : Kind::Move;
  static const char* const kNames[] = {"Move Selection", "Scale Selection", "Rotate Selection"};
  const bool pixels = c.app.editor.dragPixelsWithMapping && m.CurrentSkin();
  step_.Begin(kNames[static_cast<int>(kind_)], STEP_MESH | (pixels ? STEP_CURRENT_SKIN : 0u));
  active_ = true;
  pressX_ = e.x;
  pressY_ = e.y;
  angle_ = 0;
  scaleS_ = scaleT_ = 1;
  HidePointer(c, true);
  c.view->ClientToSkin(e.x, e.y, pivotS_, pivotT_);
  savedMapping_ = m.mapVertices;
  box_ = MarkSelectedMapping(m);
  if (pixels) savedSkin_ = m.CurrentSkin()->pixels;
  Announce(c.app, kMappingChanged, REDRAW_QUICK, kDragging);
}

void TransformTool::Move(ToolContext& c, const MouseEvent& e) {
  Model& m = c.app.model;
  const EditorState& editor = c.app.editor;
  int dx = e.x - pressX_, dy = e.y - pressY_;
  if (dx == 0 && dy == 0) return;
  if (c.pane.host()) c.pane.host()->SetCursorPos(pressX_, pressY_);
  if (editor.lockX) dx = 0;
  if (editor.lockY) dy = 0;
  switch (kind_) {
    case Kind::Rotate:
      angle_ += dy * kRotatePerPixel;
      RotateScaleMarked(m, savedMapping_, pivotS_, pivotT_, angle_, 1, 1, editor.snapToGrid);
      break;
    case Kind::Scale: {
      double s = dx * kScalePerPixel + scaleS_;
      const double t = dy * kScalePerPixel + scaleT_;
      if (editor.uniformScales) s = t;
      if (RotateScaleMarked(m, savedMapping_, pivotS_, pivotT_, 0, s, t, editor.snapToGrid)) {
        scaleS_ = s;
        scaleT_ = t;
      }
      break;
    }
    case Kind::Move:
      MoveMarked(m, box_, dx / c.view->zoom, dy / c.view->zoom, editor.snapToGrid);
      break;
  }
  if (editor.dragPixelsWithMapping && m.CurrentSkin())
    ResampleMarked(c.app.rasterizer, m, *m.CurrentSkin(), savedSkin_, savedMapping_, m.MapVertexCount());
  Announce(c.app, kMappingChanged, REDRAW_QUICK, kDragging);
}

// The drag is the right button's; the left one does nothing meanwhile.
ToolEnd TransformTool::Release(ToolContext& c, const MouseEvent& e) {
  if (e.button != MouseButton::Right) return ToolEnd::Continue;
  End(c);
  return ToolEnd::Free;
}

void TransformTool::CaptureLost(ToolContext& c) { End(c); }

void TransformTool::End(ToolContext& c) {
  savedSkin_ = {};
  savedMapping_ = {};
  EndMappingDrag(c.app.model);
  Announce(c.app, kMappingChanged, REDRAW_FULL, kShowNow);
  step_.End();
  HidePointer(c, false);
  active_ = false;
}
