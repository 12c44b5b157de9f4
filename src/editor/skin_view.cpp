// The skin view's buffers, coordinates and zoom, and the mouse: which drag a
// press starts, the camera, painting, colour picking and selection drags,
// and how each drag ends.

#include "editor/skin_view.h"

#include <algorithm>
#include <cmath>

#include "editor/paint_table.h"
#include "editor/workspace.h"
#include "platform/refresh.h"
#include "render/render_mode.h"

namespace {

using namespace refresh;
constexpr int kSkinShow = kSkinView | kShowNow;                           // 0x21
constexpr int kBothViewsDragging = kSkinView | kModelView | kDragging;  // 0x13
constexpr int kBothViewsShow = kSkinView | kModelView | kShowNow;       // 0x23
constexpr int kPaletteDragging = kPalette | kDragging;                  // 0x18

constexpr double kWheelUp = 1.00125;
constexpr double kWheelDown = 0.9987515;
constexpr double kDragUp = 1.001;
constexpr double kDragDown = 0.999001;


bool IsFrameState(SkinView::DragState s) {
  using S = SkinView::DragState;
  return s == S::FrameNew || s == S::FrameMove || s == S::FrameLeft || s == S::FrameRight || s == S::FrameTop ||
         s == S::FrameBottom;
}

}  // namespace

SkinView::SkinView(Workspace& workspace) : app_(workspace), frame_(1024), tags_(1024), step_(workspace.document) {
  palette_ = GreyRampPalette();
}

void SkinView::Resize(int clientWidth, int clientHeight) {
  clientWidth_ = std::max(clientWidth, 0);
  const int width = (clientWidth_ + 3) & ~3;
  const int height = std::max(clientHeight, 0);
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  const std::size_t size = static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_);
  frame_.assign(size, 0);
  tags_.assign(size, -1);
  Redraw(REDRAW_FULL, kShowNow);
}

PaneImage SkinView::Image() const {
  PaneImage image;
  if (width_ <= 0 || height_ <= 0) return image;
  image.pixels = frame_.data();
  image.width = std::min(clientWidth_, width_);
  image.height = height_;
  image.stride = width_;
  image.bitsPerPixel = 8;
  image.bottomUp = true;
  image.palette = &palette_;
  return image;
}

void SkinView::ClientToSkin(int x, int y, float& s, float& t) const {
  s = static_cast<float>((x - width_ / 2) / viewZoom_ + centreS_);
  t = static_cast<float>((y - height_ / 2) / viewZoom_ + centreT_);
}

bool SkinView::VertexToClient(const MapVertex& v, double& x, double& y) const {
  x = width_ / 2 + (static_cast<double>(v.s) - centreS_ + 0.5) * viewZoom_;
  y = height_ / 2 + (static_cast<double>(v.t) - centreT_ + 0.5) * viewZoom_;
  return std::isfinite(x) && std::isfinite(y) && std::fabs(x) < 1e9 && std::fabs(y) < 1e9;
}

void SkinView::SetView(float centreS, float centreT, float zoom) {
  centreS_ = centreS;
  centreT_ = centreT;
  viewZoom_ = std::clamp(zoom, kMinZoom, kMaxZoom);
}

bool SkinView::ZoomExtents() {
  const Model& m = app_.model;
  if (!m.currentSkin || m.skinWidth <= 0 || m.skinHeight <= 0) return false;
  centreS_ = static_cast<float>(m.skinWidth / 2);
  centreT_ = static_cast<float>(m.skinHeight / 2);
  const double zoom = std::min(0.9 * width_ / m.skinWidth, 0.9 * height_ / m.skinHeight);
  viewZoom_ = std::clamp(static_cast<float>(zoom), kMinZoom, kMaxZoom);
  return true;
}

// Repeated steps, as each notch or pixel multiplies once; past a bound the
// clamp decides, so the loop stops there however large the count.
void SkinView::ZoomBy(int steps, double up, double down) {
  const double factor = steps > 0 ? up : down;
  for (long n = std::labs(static_cast<long>(steps)); n > 0; --n) {
    viewZoom_ = static_cast<float>(viewZoom_ * factor);
    if (viewZoom_ > kMaxZoom || viewZoom_ < kMinZoom) break;
  }
  viewZoom_ = std::clamp(viewZoom_, kMinZoom, kMaxZoom);
}

void SkinView::Wheel(int delta, int, int) {
  ZoomBy(delta, kWheelUp, kWheelDown);
  Redraw(REDRAW_FULL, kShowNow);
  ShowNow();
}

CursorKind SkinView::Cursor() const {
  if (!app_.editor.customCursors) return CursorKind::Arrow;
  if (app_.editor.cameraToggle) return CursorKind::Camera;
  return app_.editor.editMode == EditMode::Mapping ? CursorKind::Mapping : CursorKind::Paint;
}

void SkinView::Send(int kind, int bits) { app_.messages.Send(refresh::Message(WndTarget::ShellWnd, kind, bits)); }

void SkinView::ShowNow() {
  if (host()) host()->RepaintNow();
}

TagView SkinView::Tags() const {
  TagView view;
  if (width_ <= 0 || height_ <= 0) return view;
  view.tags = tags_.data();
  view.width = width_;
  view.clientWidth = std::min(clientWidth_, width_);
  view.height = height_;
  return view;
}

bool SkinView::InClient(int x, int y) const { return x >= 0 && y >= 0 && x < clientWidth_ && y < height_; }

bool SkinView::CurrentModeTextured() const { return app_.renderModes.Current().IsTextured() != 0; }

int SkinView::TriangleCount() const {
  return std::clamp<int>(app_.model.numTriangles, 0, static_cast<int>(app_.model.triangles.size()));
}

int SkinView::MapVertexCount() const {
  return std::clamp<int>(app_.model.numMapVertices, 0, static_cast<int>(app_.model.mapVertices.size()));
}

void SkinView::HideCursor() {
  if (cursorHidden_ || !host()) return;
  host()->ShowCursor(false);
  cursorHidden_ = true;
}

void SkinView::RestoreCursor() {
  if (!cursorHidden_) return;
  cursorHidden_ = false;
  if (host()) host()->ShowCursor(true);
}


void SkinView::MouseDown(const MouseEvent& e) {
  if (dragState_ != DragState::Idle || e.button == MouseButton::Middle) return;
  lastX_ = pressX_ = e.x;
  lastY_ = pressY_ = e.y;
  rightFlag_ = e.button == MouseButton::Right;
  ctrlFlag_ = e.ctrl;
  shiftFlag_ = e.shift;
  StartPress(e);
  if (dragState_ != DragState::Idle && dragState_ != DragState::Done && host()) host()->CaptureMouse();
  if (dragState_ == DragState::Idle) ToIdle();
}

void SkinView::StartPress(const MouseEvent& e) {
  const bool left = e.button == MouseButton::Left;
  if (app_.editor.cameraToggle) {
    dragState_ = DragState::CameraDrag;
    HideCursor();
    return;
  }
  if (app_.editor.editMode == EditMode::Paint) {
    if (!CurrentModeTextured()) {
      if (left) dragState_ = DragState::Done;
      return;
    }
    if (!left) {
      dragState_ = DragState::ColourPick;
      PickAt(e.x, e.y);
      return;
    }
    dragState_ = DragState::Painting;
    Skin* skin = app_.model.currentSkin;
    if (!skin) return;
    step_.Begin(StrokeStepName(app_.editor.brushKind), STEP_CURRENT_SKIN);
    stroke_.Begin(*skin, app_.editor.brushKind == BrushKind::Line);
    if (PaintAt(app_, stroke_, Tags(), e.x, e.y)) Send(REDRAW_PIXELS, kBothViewsDragging);
    return;
  }
  if (!left) {
    BeginTransform(e.x, e.y);
    return;
  }
  if (app_.editor.showMappingFrame) {
    BeginFrameEdit(e.x, e.y);
  } else if (e.shift || e.ctrl) {
    dragState_ = e.shift ? DragState::SelectDrag : DragState::DeselectDrag;
    step_.Begin(e.shift ? "Select Faces" : "Deselect Faces", STEP_MESH);
    SelectAt(e.x, e.y, e.shift);
  } else if (GrabVertex(e.x, e.y)) {
    dragState_ = DragState::VertexDrag;
  }
}

void SkinView::MouseMove(const MouseEvent& e) {
  const bool captured = host() ? host()->HasCapture() : dragState_ != DragState::Idle;
  if (!captured) return;
  switch (dragState_) {
    case DragState::CameraDrag:
      CameraMove(e);
      break;
    case DragState::Painting:
      PaintMove(e.x, e.y);
      break;
    case DragState::ColourPick:
      PickAt(e.x, e.y);
      break;
    case DragState::VertexDrag:
      VertexMove(e.x, e.y);
      break;
    case DragState::SelectionTransform:
      TransformMove(e.x, e.y);
      break;
    case DragState::SelectDrag:
    case DragState::DeselectDrag:
      SelectAt(e.x, e.y, dragState_ == DragState::SelectDrag);
      break;
    default:
      if (IsFrameState(dragState_)) FrameEditMove(e.x, e.y);
      break;
  }
  lastX_ = e.x;
  lastY_ = e.y;
}

void SkinView::CameraMove(const MouseEvent& e) {
  const int dx = e.x - pressX_, dy = e.y - pressY_;
  // The pointer is put back on the press point after each step; the move
  // that reports is no move.
  if (dx == 0 && dy == 0) return;
  if (host()) host()->SetCursorPos(pressX_, pressY_);
  if (e.rightDown) {
    ZoomBy(-dy, kDragUp, kDragDown);
  } else {
    centreS_ -= static_cast<float>(dx / viewZoom_);
    centreT_ -= static_cast<float>(dy / viewZoom_);
    // Far beyond any skin: keeps the screen arithmetic exact however long
    // the pan goes on.
    centreS_ = std::clamp(centreS_, -1.0e6f, 1.0e6f);
    centreT_ = std::clamp(centreT_, -1.0e6f, 1.0e6f);
  }
  Send(REDRAW_QUICK, kSkinShow);
}

void SkinView::PaintMove(int x, int y) {
  if (ContinueStroke(app_, stroke_, Tags(), pressX_, pressY_, lastX_, lastY_, x, y)) Send(REDRAW_PIXELS, kBothViewsDragging);
}

void SkinView::PickAt(int x, int y) {
  if (PickColourAt(app_, Tags(), x, y)) Send(REDRAW_FULL, kPaletteDragging);
}

void SkinView::SelectAt(int x, int y, bool select) {
  Model& m = app_.model;
  const int vertices = MapVertexCount();
  const float px = static_cast<float>(x), py = static_cast<float>(y);
  for (int i = 0, n = TriangleCount(); i < n; ++i) {
    Triangle& tri = m.triangles[static_cast<std::size_t>(i)];
    float corners[6];
    bool ok = true;
    for (int k = 0; k < 3 && ok; ++k) {
      const int index = tri.mapIndex[k];
      double cx = 0, cy = 0;
      ok = index >= 0 && index < vertices && VertexToClient(m.mapVertices[static_cast<std::size_t>(index)], cx, cy);
      corners[2 * k] = static_cast<float>(cx);
      corners[2 * k + 1] = static_cast<float>(cy);
    }
    if (!ok || !CRasterizer::PointInPolygon(px, py, corners, 3)) continue;
    tri.flags = select ? (tri.flags | TRI_SELECTED) : (tri.flags & ~TRI_SELECTED);
  }
  Send(REDRAW_QUICK, kBothViewsShow);
}

void SkinView::MouseUp(const MouseEvent& e) {
  if (dragState_ == DragState::Idle) return;
  const bool left = e.button == MouseButton::Left;
  if (e.button == MouseButton::Middle) return;
  if (dragState_ == DragState::CameraDrag) {
    if (left ? e.rightDown : e.leftDown) return;
    Send(REDRAW_FULL, kSkinShow);
    RestoreCursor();
    ToIdle();
    return;
  }
  const bool rightState = dragState_ == DragState::ColourPick || dragState_ == DragState::SelectionTransform;
  if (dragState_ != DragState::Done && rightState != !left) return;
  if (dragState_ == DragState::SelectionTransform) {
    EndDrag();
    RestoreCursor();
    ToIdle();
    return;
  }
  EndDrag();
  if (!(left ? e.rightDown : e.leftDown)) ToIdle();
}

// What every ending shares, by release or by losing the capture.
void SkinView::EndDrag() {
  switch (dragState_) {
    case DragState::CameraDrag:
      Send(REDRAW_FULL, kSkinShow);
      break;
    case DragState::Painting:
      stroke_.End();
      break;
    case DragState::ColourPick:
      BuildPaintTable(app_);
      Send(REDRAW_FULL, kBothViewsShow);
      break;
    case DragState::VertexDrag:
    case DragState::SelectionTransform:
      EndMappingDrag();
      break;
    case DragState::SelectDrag:
    case DragState::DeselectDrag:
      Send(REDRAW_FULL, kBothViewsShow);
      break;
    default:
      break;
  }
  step_.End();
  dragState_ = DragState::Done;
  app_.ActionEnded();
}

void SkinView::ToIdle() {
  dragState_ = DragState::Idle;
  rightFlag_ = ctrlFlag_ = shiftFlag_ = false;
  if (host() && host()->HasCapture()) host()->ReleaseMouse();
}

void SkinView::CaptureLost() {
  if (dragState_ == DragState::Idle) return;
  EndDrag();
  RestoreCursor();
  dragState_ = DragState::Idle;
  rightFlag_ = ctrlFlag_ = shiftFlag_ = false;
}
