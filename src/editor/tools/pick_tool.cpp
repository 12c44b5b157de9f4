#include "editor/tools/pick_tool.h"

#include "editor/paint_table.h"
#include "editor/workspace.h"
#include "render/render_context.h"

namespace {


void PickAt(ToolContext& c, int x, int y) {
  if (PickColourAt(c.app, c.tags, x, y)) Announce(c.app, kActiveColourChanged, REDRAW_FULL, kDragging);
}

}  // namespace

void PickTool::Press(ToolContext& c, const MouseEvent& e) {
  active_ = true;
  PickAt(c, e.x, e.y);
}

void PickTool::Move(ToolContext& c, const MouseEvent& e) { PickAt(c, e.x, e.y); }

ToolEnd PickTool::Release(ToolContext& c, const MouseEvent& e) {
  if (e.button != button_) return ToolEnd::Continue;
  End(c);
  return ToolEnd::Hold;
}

void PickTool::CaptureLost(ToolContext& c) { End(c); }

void PickTool::End(ToolContext& c) {
  Announce(c.app, kSlotsChanged, REDRAW_FULL, kShowNow);
  active_ = false;
}
