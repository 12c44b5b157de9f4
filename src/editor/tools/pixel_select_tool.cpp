#include "editor/tools/pixel_select_tool.h"

#include "editor/tools/brush_tool.h"
#include "editor/workspace.h"
#include "render/render_context.h"

namespace {

void Show(ToolContext& c) { Announce(c.app, kSkinViewChanged, REDRAW_QUICK, kDragging); }

}  // namespace

void PixelSelectTool::Press(ToolContext& c, const MouseEvent& e) {
  active_ = true;
  moved_ = false;
  PixelTools& tools = c.app.pixels;
  int x = 0, y = 0;
  ClientToTexel(c, e.x, e.y, x, y);
  startX_ = x;
  startY_ = y;
  if (tools.floating) {
    const int dx = x - tools.floatX, dy = y - tools.floatY;
    if (dx >= 0 && dy >= 0 && dx < tools.floating->width && dy < tools.floating->height) {
      moving_ = true;
      grabX_ = dx;
      grabY_ = dy;
      return;
    }
    if (PlaceFloatingPiece(c.app.document, c.app.editor, tools).done)
      Announce(c.app, kSkinPixelsChanged, REDRAW_PIXELS, kShowNow);
  }
  moving_ = false;
  lasso_.assign(1, {x, y});
}

void PixelSelectTool::Move(ToolContext& c, const MouseEvent& e) {
  int x = 0, y = 0;
  ClientToTexel(c, e.x, e.y, x, y);
  PixelTools& tools = c.app.pixels;
  if (moving_) {
    if (!tools.floating || (tools.floatX == x - grabX_ && tools.floatY == y - grabY_)) return;
    tools.floatX = x - grabX_;
    tools.floatY = y - grabY_;
    Show(c);
    return;
  }
  if (x == startX_ && y == startY_ && !moved_) return;
  moved_ = true;
  Select(c, x, y);
}

void PixelSelectTool::Select(ToolContext& c, int x, int y) {
  const Model& m = c.app.model;
  const Skin* skin = m.CurrentSkin();
  if (!skin) return;
  if (c.app.editor.skinTool == SkinTool::LassoPixels) {
    if (lasso_.empty() || lasso_.back() != std::make_pair(x, y)) lasso_.emplace_back(x, y);
    c.app.pixels.selection = PixelSelection::Lasso(lasso_, skin->width, skin->height);
  } else {
    c.app.pixels.selection = PixelSelection::Rectangle(startX_, startY_, x, y, skin->width, skin->height);
  }
  Show(c);
}

ToolEnd PixelSelectTool::Release(ToolContext& c, const MouseEvent& e) {
  if (e.button != MouseButton::Left) return ToolEnd::Continue;
  if (!moving_ && !moved_ && !c.app.pixels.selection.empty()) {
    c.app.pixels.selection = {};
    Show(c);
  }
  active_ = false;
  moving_ = false;
  return ToolEnd::Hold;
}
