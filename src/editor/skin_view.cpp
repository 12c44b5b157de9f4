// The skin view's buffers, coordinates and zoom, and the mouse: which tool
// a press hands its drag to, and how the pane waits for the buttons after.

#include "editor/skin_view.h"

#include <algorithm>
#include <cmath>

#include "editor/workspace.h"
#include "render/render_mode.h"

namespace {

constexpr double kWheelUp = 1.00125;
constexpr double kWheelDown = 0.9987515;

}  // namespace

SkinView::SkinView(Workspace& workspace)
    : app_(workspace),
      paint_(workspace.document, false),
      brush_(workspace.document, false),
      fill_(workspace.document, false),
      shape_(workspace.document),
      vertexDrag_(workspace.document),
      transform_(workspace.document),
      select_(workspace.document),
      rectSelect_(workspace.document) {}

void SkinView::Redraw(int kind, int) { picture_.Draw(kind); }

void SkinView::Resize(int clientWidth, int clientHeight) {
  clientWidth_ = std::max(clientWidth, 0);
  const int width = (clientWidth_ + 3) & ~3;
  const int height = std::max(clientHeight, 0);
  if (width == view_.width && height == view_.height) return;
  view_.width = width;
  view_.height = height;
  const std::size_t size = static_cast<std::size_t>(view_.width) * static_cast<std::size_t>(view_.height);
  picture_.Allocate(size);
  Redraw(REDRAW_FULL, kShowNow);
}

PaneImage SkinView::Image() const {
  PaneImage image;
  if (view_.width <= 0 || view_.height <= 0) return image;
  image.pixels = picture_.frame().data();
  image.width = std::min(clientWidth_, view_.width);
  image.height = view_.height;
  image.stride = view_.width;
  image.bitsPerPixel = 8;
  image.bottomUp = true;
  image.palette = &picture_.palette();
  return image;
}

void SkinView::SetView(float centreS, float centreT, float zoom) {
  view_.centreS = centreS;
  view_.centreT = centreT;
  view_.zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
}

bool SkinView::ZoomExtents() {
  const Model& m = app_.model;
  if (!m.CurrentSkin() || m.skinWidth <= 0 || m.skinHeight <= 0) return false;
  view_.centreS = static_cast<float>(m.skinWidth / 2);
  view_.centreT = static_cast<float>(m.skinHeight / 2);
  const double zoom = std::min(0.9 * view_.width / m.skinWidth, 0.9 * view_.height / m.skinHeight);
  view_.zoom = std::clamp(static_cast<float>(zoom), kMinZoom, kMaxZoom);
  return true;
}

void SkinView::Wheel(int delta, int, int) {
  view_.ZoomBy(delta, kWheelUp, kWheelDown);
  Redraw(REDRAW_FULL, kShowNow);
  if (host()) host()->RepaintNow();
}

CursorKind SkinView::Cursor() const {
  if (!app_.editor.customCursors) return CursorKind::Arrow;
  if (app_.editor.cameraToggle) return CursorKind::Camera;
  return app_.editor.editMode == EditMode::Mapping ? CursorKind::Mapping : CursorKind::Paint;
}

bool SkinView::RubberBand(int& x0, int& y0, int& x1, int& y1) const {
  return tool_ == &rectSelect_ && rectSelect_.Band(x0, y0, x1, y1);
}

TagView SkinView::Tags() const {
  TagView view;
  if (view_.width <= 0 || view_.height <= 0) return view;
  view.tags = picture_.tags().data();
  view.width = view_.width;
  view.clientWidth = std::min(clientWidth_, view_.width);
  view.height = view_.height;
  return view;
}

void SkinView::MouseDown(const MouseEvent& e) {
  if (!Idle() || e.button == MouseButton::Middle) return;
  if (Tool* tool = ToolFor(e)) {
    ToolContext c = Context();
    tool->Press(c, e);
    if (tool->Active()) {
      tool_ = tool;
      if (host()) host()->CaptureMouse();
      return;
    }
  }
  if (!held_) ToIdle();
}

// The tool as the Camera Toggle, the edit mode, the button and the
// modifiers choose it; null for a press that does nothing (held_ set when it
// still waits for its button).
Tool* SkinView::ToolFor(const MouseEvent& e) {
  const bool left = e.button == MouseButton::Left;
  if (app_.editor.cameraToggle) return &panZoom_;
  if (app_.editor.editMode == EditMode::Paint) {
    if (!app_.renderModes.Current().IsTextured()) {
      held_ = left;
      return nullptr;
    }
    if (!left) return &pick_;
    switch (app_.editor.skinTool) {
      case SkinTool::Fill:
        return &fill_;
      case SkinTool::Line:
      case SkinTool::Rectangle:
      case SkinTool::Ellipse:
        return &shape_;
      case SkinTool::Eyedropper:
        return &eyedropper_;
      case SkinTool::SelectPixels:
      case SkinTool::LassoPixels:
        return &pixelSelect_;
      default:
        return BrushTool::Wanted(app_.editor, false) ? static_cast<Tool*>(&brush_) : &paint_;
    }
  }
  if (!left) return &transform_;
  if (app_.editor.showMappingFrame) return &frameTool_;
  if (e.shift && e.ctrl) return &rectSelect_;
  if (e.shift || e.ctrl) return &select_;
  return &vertexDrag_;
}

void SkinView::MouseMove(const MouseEvent& e) {
  const bool captured = host() ? host()->HasCapture() : !Idle();
  if (!captured || !tool_) return;
  ToolContext c = Context();
  tool_->Move(c, e);
}

// Every ending but the camera's counts as an action; a drag that holds
// takes no press until the other button is up too.
void SkinView::MouseUp(const MouseEvent& e) {
  if (Idle() || e.button == MouseButton::Middle) return;
  const bool otherDown = e.button == MouseButton::Left ? e.rightDown : e.leftDown;
  ToolEnd end = ToolEnd::Hold;
  if (tool_) {
    ToolContext c = Context();
    end = tool_->Release(c, e);
    if (end == ToolEnd::Continue) return;
  }
  const bool camera = tool_ == &panZoom_;
  tool_ = nullptr;
  held_ = true;
  if (!camera) app_.ActionEnded();
  if (end == ToolEnd::Free || !otherDown) ToIdle();
}

void SkinView::ToIdle() {
  tool_ = nullptr;
  held_ = false;
  if (host() && host()->HasCapture()) host()->ReleaseMouse();
}

void SkinView::CaptureLost() {
  if (Idle()) return;
  if (tool_) {
    ToolContext c = Context();
    tool_->CaptureLost(c);
  }
  app_.ActionEnded();
  tool_ = nullptr;
  held_ = false;
}
