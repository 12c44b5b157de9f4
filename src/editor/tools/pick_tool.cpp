#include "editor/tools/pick_tool.h"

#include "editor/paint_table.h"
#include "editor/workspace.h"
#include "platform/refresh.h"
#include "render/render_context.h"

namespace {

using namespace refresh;

void PickAt(ToolContext& c, int x, int y) {
  if (PickColourAt(c.app, c.tags, x, y)) SendRefresh(c.app, REDRAW_FULL, kPalette | kDragging);
}

}  // namespace

void PickTool::Press(ToolContext& c, const MouseEvent& e) {
  active_ = true;
  PickAt(c, e.x, e.y);
}

void PickTool::Move(ToolContext& c, const MouseEvent& e) { PickAt(c, e.x, e.y); }

ToolEnd PickTool::Release(ToolContext& c, const MouseEvent& e) {
  if (e.button != MouseButton::Right) return ToolEnd::Continue;
  End(c);
  return ToolEnd::Hold;
}

void PickTool::CaptureLost(ToolContext& c) { End(c); }

void PickTool::End(ToolContext& c) {
  BuildPaintTable(c.app);
  SendRefresh(c.app, REDRAW_FULL, kSkinView | kModelView | kShowNow);
  active_ = false;
}
