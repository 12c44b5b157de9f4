#include "editor/tools/brush_tool.h"

#include <cmath>

#include "editor/tools/skin_view_transform.h"
#include "editor/workspace.h"
#include "render/render_context.h"

void ClientToTexel(const ToolContext& c, int x, int y, int& tx, int& ty) {
  float s = 0, t = 0;
  if (c.view) c.view->ClientToSkin(x, y, s, t);
  tx = static_cast<int>(std::floor(s));
  ty = static_cast<int>(std::floor(t));
}

bool BrushTool::Wanted(const EditorState& editor, bool onModel) {
  return editor.brushSize > 1 || editor.ink != PaintInk::Paint || editor.symmetry != Symmetry::None ||
         editor.maskToSelection || (!onModel && editor.tiledSkin);
}

void BrushTool::Press(ToolContext& c, const MouseEvent& e) {
  active_ = true;
  Skin* skin = c.app.model.CurrentSkin();
  if (!skin || skin->width <= 0 || skin->height <= 0) return;
  step_.Begin(BrushStepName(c.app.editor), STEP_CURRENT_SKIN);
  painter_.emplace(*skin, c.app.editor);
  SetUpPainter(*painter_, setup_, c.app.model, c.app.editor, c.app.rasterizer, &c.app.mirrorCache);
  if (c.app.editor.brushKind == BrushKind::Line) backup_ = skin->pixels;
  disc_ = BrushFootprint(c.app.editor.brushSize, c.app.editor.brushShape);
  int x = e.x, y = e.y;
  if (!onModel_) ClientToTexel(c, e.x, e.y, x, y);
  pressX_ = lastX_ = x;
  pressY_ = lastY_ = y;
  if (PaintTo(c, x, y) > 0) Announce(c.app, kSkinPixelsChanged, REDRAW_PIXELS, kDragging);
}

void BrushTool::Move(ToolContext& c, const MouseEvent& e) {
  if (!painter_) return;
  int x = e.x, y = e.y;
  if (!onModel_) ClientToTexel(c, e.x, e.y, x, y);
  if (x == lastX_ && y == lastY_) return;
  if (c.app.editor.brushKind == BrushKind::Line) {
    // The line goes from the press to the pointer: the skin as it was at the
    // press, and the one line again.
    Skin& skin = const_cast<Skin&>(painter_->skin());
    if (backup_.size() == skin.pixels.size()) skin.pixels = backup_;
    painter_->ForgetStroke();
    lastX_ = pressX_;
    lastY_ = pressY_;
    PaintTo(c, x, y);
    Announce(c.app, kSkinPixelsChanged, REDRAW_PIXELS, kDragging);
  } else if (PaintTo(c, x, y) > 0) {
    Announce(c.app, kSkinPixelsChanged, REDRAW_PIXELS, kDragging);
  }
  lastX_ = x;
  lastY_ = y;
}

// Paints from the last position to (x, y), both included.
int BrushTool::PaintTo(ToolContext& c, int x, int y) {
  if (!onModel_) return painter_->Segment(lastX_, lastY_, x, y);
  // On the model the disc moves in steps of a third of its width, close
  // enough that its edge shows no scallops; the stroke's memory keeps the
  // overlaps from painting twice.
  const int step = std::max(1, c.app.editor.brushSize / 3);
  const int dx = x - lastX_, dy = y - lastY_;
  const int n = std::max(1, (std::max(std::abs(dx), std::abs(dy)) + step - 1) / step);
  int changed = 0;
  for (int i = 0; i <= n; ++i) changed += Disc(c, lastX_ + dx * i / n, lastY_ + dy * i / n);
  return changed;
}

int BrushTool::Disc(ToolContext& c, int x, int y) {
  int changed = 0;
  for (const TexelOffset& o : disc_) {
    const std::int32_t tag = c.tags.TagAt(x + o.dx, y + o.dy);
    if (tag >= 0) changed += painter_->Offset(tag);
  }
  return changed;
}

ToolEnd BrushTool::Release(ToolContext&, const MouseEvent& e) {
  if (e.button != MouseButton::Left) return ToolEnd::Continue;
  End();
  return ToolEnd::Hold;
}

void BrushTool::CaptureLost(ToolContext&) { End(); }

void BrushTool::End() {
  painter_.reset();
  setup_ = {};
  backup_ = {};
  step_.End();
  active_ = false;
}
