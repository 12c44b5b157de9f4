#include "editor/tools/pan_zoom_tool.h"

#include <algorithm>
#include <cstdlib>

#include "editor/tools/skin_view_transform.h"
#include "editor/workspace.h"
#include "render/camera.h"
#include "render/render_context.h"

namespace {

constexpr double kDragUp = 1.001;
constexpr double kDragDown = 0.999001;

}  // namespace

void SkinPanZoomTool::Press(ToolContext& c, const MouseEvent& e) {
  active_ = true;
  pressX_ = e.x;
  pressY_ = e.y;
  HidePointer(c, true);
}

void SkinPanZoomTool::Move(ToolContext& c, const MouseEvent& e) {
  const int dx = e.x - pressX_, dy = e.y - pressY_;
  // The pointer is put back on the press point after each step; the move
  // that reports is no move.
  if (dx == 0 && dy == 0) return;
  if (c.pane.host()) c.pane.host()->SetCursorPos(pressX_, pressY_);
  SkinViewTransform& v = *c.view;
  if (e.rightDown) {
    v.ZoomBy(-dy, kDragUp, kDragDown);
  } else {
    // Far beyond any skin: keeps the screen arithmetic exact however long
    // the pan goes on.
    v.centreS = std::clamp(v.centreS - static_cast<float>(dx / v.zoom), -1.0e6f, 1.0e6f);
    v.centreT = std::clamp(v.centreT - static_cast<float>(dy / v.zoom), -1.0e6f, 1.0e6f);
  }
  Announce(c.app, kSkinViewChanged, REDRAW_QUICK, kShowNow);
}

// Both buttons may share the drag; it lasts until the last is up.
ToolEnd SkinPanZoomTool::Release(ToolContext& c, const MouseEvent& e) {
  if (e.button == MouseButton::Left ? e.rightDown : e.leftDown) return ToolEnd::Continue;
  End(c);
  return ToolEnd::Free;
}

void SkinPanZoomTool::CaptureLost(ToolContext& c) { End(c); }

void SkinPanZoomTool::End(ToolContext& c) {
  Announce(c.app, kSkinViewChanged, REDRAW_FULL, kShowNow);
  HidePointer(c, false);
  active_ = false;
}

void ModelCameraTool::Press(ToolContext& c, const MouseEvent& e) {
  active_ = true;
  lastX_ = pressX_ = e.x;
  lastY_ = pressY_ = e.y;
  axis_ = TrackballAxis::Free;
  switch (e.button) {
    case MouseButton::Left:
      kind_ = e.shift ? Kind::FieldOfView : Kind::Orbit;
      break;
    case MouseButton::Right:
      kind_ = e.shift ? Kind::Light : Kind::Pan;
      break;
    case MouseButton::Middle:
      kind_ = Kind::Zoom;
      break;
  }
  if (kind_ != Kind::Orbit && kind_ != Kind::Light) return;
  // The four square handles of the trackball guide pin the turn to one axis.
  const Viewport& v = c.app.viewport;
  const int dx = e.x - v.width / 2;
  const int dy = e.y - v.height / 2;
  const float r = static_cast<float>(std::min<int>(v.width, v.height) * 0.45);
  const auto near = [r](int along) {
    const float a = static_cast<float>(std::abs(along));
    return r - 10 < a && a < r + 10;
  };
  if (std::abs(dx) < 10 && near(dy))
    axis_ = TrackballAxis::Horizontal;
  else if (std::abs(dy) < 10 && near(dx))
    axis_ = TrackballAxis::Vertical;
}

void ModelCameraTool::Move(ToolContext& c, const MouseEvent& e) {
  Viewport& v = c.app.viewport;
  const int x = e.x, y = e.y;
  switch (kind_) {
    case Kind::Orbit:
      if (e.rightDown)
        ::Zoom(v, y - lastY_);
      else
        Rotate(v, c.app.lighting, NormaliseTrackballPointers(lastX_, lastY_, x, y, v.width, v.height, axis_));
      break;
    case Kind::Pan:
      if (e.leftDown)
        MovePivot(v, y - lastY_);
      else
        Pan(v, x - lastX_, y - lastY_);
      break;
    case Kind::FieldOfView:
      // The pointer is put back at the press point after every step, so the
      // move that putting back reports is no move at all.
      if (x == pressX_ && y == pressY_) return;
      ChangeFieldOfView(v, x - pressX_);
      if (c.pane.host()) c.pane.host()->SetCursorPos(pressX_, pressY_);
      break;
    case Kind::Zoom:
      ::Zoom(v, y - lastY_);
      break;
    case Kind::Light:
      RotateLight(v, c.app.lighting, NormaliseTrackballPointers(lastX_, lastY_, x, y, v.width, v.height, axis_));
      break;
  }
  Announce(c.app, kCameraChanged, REDRAW_QUICK, kDragging);
  // A watching instance follows the camera; the light is this one's own.
  if (kind_ != Kind::Light && c.app.cameraDragged) c.app.cameraDragged();
  lastX_ = x;
  lastY_ = y;
}

ToolEnd ModelCameraTool::Release(ToolContext& c, const MouseEvent& e) {
  const MouseButton own = kind_ == Kind::Orbit || kind_ == Kind::FieldOfView ? MouseButton::Left
                          : kind_ == Kind::Zoom                              ? MouseButton::Middle
                                                                             : MouseButton::Right;
  if (e.button != own) return ToolEnd::Continue;
  CaptureLost(c);
  return ToolEnd::Hold;
}

void ModelCameraTool::CaptureLost(ToolContext& c) {
  Announce(c.app, kCameraChanged, REDRAW_FULL, kShowNow);
  active_ = false;
}
