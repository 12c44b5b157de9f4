#include "editor/tools/shape_tool.h"

#include "editor/skin_shapes.h"
#include "editor/tools/brush_tool.h"
#include "editor/workspace.h"
#include "render/render_context.h"

namespace {

ShapeKind KindOf(SkinTool tool) {
  return tool == SkinTool::Rectangle ? ShapeKind::Rectangle
         : tool == SkinTool::Ellipse ? ShapeKind::Ellipse
                                     : ShapeKind::Line;
}

}  // namespace

void ShapeTool::Press(ToolContext& c, const MouseEvent& e) {
  active_ = true;
  Skin* skin = c.app.model.CurrentSkin();
  if (!skin || skin->width <= 0 || skin->height <= 0) return;
  kind_ = c.app.editor.skinTool;
  step_.Begin(ShapeStepName(kind_), STEP_CURRENT_SKIN);
  painter_.emplace(*skin, c.app.editor);
  SetUpPainter(*painter_, setup_, c.app.model, c.app.editor, c.app.rasterizer, &c.app.mirrorCache);
  backup_ = skin->pixels;
  ClientToTexel(c, e.x, e.y, x0_, y0_);
  Draw(c, e);
}

void ShapeTool::Move(ToolContext& c, const MouseEvent& e) {
  if (painter_) Draw(c, e);
}

void ShapeTool::Draw(ToolContext& c, const MouseEvent& e) {
  Skin& skin = const_cast<Skin&>(painter_->skin());
  if (backup_.size() == skin.pixels.size()) skin.pixels = backup_;
  painter_->ForgetStroke();
  int x1 = 0, y1 = 0;
  ClientToTexel(c, e.x, e.y, x1, y1);
  if (e.shift) ConstrainShapeEnd(KindOf(kind_), x0_, y0_, x1, y1);
  DrawShape(*painter_, KindOf(kind_), x0_, y0_, x1, y1, c.app.editor.shapeFilled);
  Announce(c.app, kSkinPixelsChanged, REDRAW_PIXELS, kDragging);
}

ToolEnd ShapeTool::Release(ToolContext& c, const MouseEvent& e) {
  if (e.button != MouseButton::Left) return ToolEnd::Continue;
  if (painter_) Draw(c, e);
  End();
  return ToolEnd::Hold;
}

void ShapeTool::CaptureLost(ToolContext&) { End(); }

void ShapeTool::End() {
  painter_.reset();
  setup_ = {};
  backup_ = {};
  step_.End();
  active_ = false;
}
