#include "editor/tools/frame_tool.h"

#include <cmath>

#include "editor/tools/skin_view_transform.h"
#include "editor/workspace.h"
#include "render/render_context.h"

namespace {

constexpr float kFrameTolerance = 2;

void RedrawNow(ToolContext& c) {
  c.pane.Redraw(REDRAW_FULL, kShowNow);
  if (c.pane.host()) c.pane.host()->RepaintNow();
}

}  // namespace

void FrameTool::Press(ToolContext& c, const MouseEvent& e) {
  active_ = true;
  lastX_ = pressX_ = e.x;
  lastY_ = pressY_ = e.y;
  MappingFrame& f = c.app.editor.mappingFrame;
  float s = 0, t = 0;
  c.view->ClientToSkin(e.x, e.y, s, t);
  const float d = kFrameTolerance;
  if (s < f.left - d || s > f.right + d || t < f.top - d || t > f.bottom + d) {
    part_ = Part::New;
    f.left = f.right = s;
    f.top = f.bottom = t;
    RedrawNow(c);
  } else if (s > f.left + d && s < f.right - d && t > f.top + d && t < f.bottom - d) {
    part_ = Part::Whole;
  } else if (std::fabs(std::trunc(s - f.left)) <= d) {
    part_ = Part::Left;
  } else if (std::fabs(std::trunc(s - f.right)) <= d) {
    part_ = Part::Right;
  } else if (std::fabs(std::trunc(t - f.top)) <= d) {
    part_ = Part::Top;
  } else {
    part_ = Part::Bottom;
  }
}

void FrameTool::Move(ToolContext& c, const MouseEvent& e) {
  MappingFrame& f = c.app.editor.mappingFrame;
  const bool lockX = c.app.editor.lockX, lockY = c.app.editor.lockY;
  const SkinViewTransform& view = *c.view;
  float s = 0, t = 0;
  view.ClientToSkin(e.x, e.y, s, t);
  switch (part_) {
    case Part::New:
      view.ClientToSkin(pressX_, pressY_, f.right, f.bottom);
      f.left = s;
      f.top = t;
      break;
    case Part::Whole: {
      const auto ds = static_cast<float>((e.x - lastX_) / view.zoom);
      const auto dt = static_cast<float>((e.y - lastY_) / view.zoom);
      if (!lockX) {
        f.left += ds;
        f.right += ds;
      }
      if (!lockY) {
        f.top += dt;
        f.bottom += dt;
      }
      break;
    }
    case Part::Left:
      if (!lockX) f.left = s;
      break;
    case Part::Right:
      if (!lockX) f.right = s;
      break;
    case Part::Top:
      if (!lockY) f.top = t;
      break;
    case Part::Bottom:
      if (!lockY) f.bottom = t;
      break;
  }
  lastX_ = e.x;
  lastY_ = e.y;
  RedrawNow(c);
}

ToolEnd FrameTool::Release(ToolContext&, const MouseEvent& e) {
  if (e.button != MouseButton::Left) return ToolEnd::Continue;
  active_ = false;
  return ToolEnd::Hold;
}

void FrameTool::CaptureLost(ToolContext&) { active_ = false; }
