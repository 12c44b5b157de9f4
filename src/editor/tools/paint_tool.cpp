#include "editor/tools/paint_tool.h"

#include "editor/workspace.h"
#include "render/render_context.h"

namespace {


}  // namespace

void PaintTool::Press(ToolContext& c, const MouseEvent& e) {
  active_ = true;
  lastX_ = pressX_ = e.x;
  lastY_ = pressY_ = e.y;
  Skin* skin = c.app.model.CurrentSkin();
  if (!skin) return;
  const BrushKind brush = c.app.editor.brushKind;
  step_.Begin(StrokeStepName(brush), STEP_CURRENT_SKIN);
  stroke_.Begin(*skin, brush == BrushKind::Line);
  const bool painted = onModel_ && brush != BrushKind::Point
                           ? PaintSegment(c.app, stroke_, c.tags, e.x, e.y, e.x, e.y) >= 0
                           : PaintAt(c.app, stroke_, c.tags, e.x, e.y);
  if (painted) Announce(c.app, kSkinPixelsChanged, REDRAW_PIXELS, kDragging);
}

void PaintTool::Move(ToolContext& c, const MouseEvent& e) {
  if (ContinueStroke(c.app, stroke_, c.tags, pressX_, pressY_, lastX_, lastY_, e.x, e.y))
    Announce(c.app, kSkinPixelsChanged, REDRAW_PIXELS, kDragging);
  lastX_ = e.x;
  lastY_ = e.y;
}

ToolEnd PaintTool::Release(ToolContext&, const MouseEvent& e) {
  if (e.button != MouseButton::Left) return ToolEnd::Continue;
  End();
  return ToolEnd::Hold;
}

void PaintTool::CaptureLost(ToolContext&) { End(); }

void PaintTool::End() {
  stroke_.End();
  step_.End();
  active_ = false;
}
