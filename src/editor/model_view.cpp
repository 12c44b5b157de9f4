#include "editor/model_view.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "editor/paint_table.h"
#include "editor/workspace.h"
#include "platform/refresh.h"
#include "render/camera.h"
#include "render/render_mode.h"

namespace {

using namespace refresh;
constexpr int kSkinAndModelDragging = kSkinView | kModelView | kDragging;
constexpr int kModelDragging = kModelView | kDragging;
constexpr int kModelShow = kModelView | kShowNow;
constexpr int kBothViewsShow = kSkinView | kModelView | kShowNow;
constexpr int kPaletteDragging = kPalette | kDragging;


}  // namespace

ModelView::ModelView(Workspace& workspace) : app_(workspace), step_(workspace.document) {
  snapshotPalette_ = GreyRampPalette();
}

void ModelView::Send(int kind, int bits) {
  app_.messages.Send(refresh::Message(WndTarget::ShellWnd, kind, bits));
}

void ModelView::RenderView(int kind, int flags) {
  if (clientWidth_ <= 0 || clientHeight_ <= 0) return;
  if (app_.viewport.width <= 0 || app_.viewport.height <= 0) return;
  if (const Skin* skin = app_.model.currentSkin) {
    snapshotPalette_ = skin->palette;
  } else {
    snapshotPalette_ = GreyRampPalette();
  }
  RenderContext context = app_.MakeRenderContext();
  context.editMode = static_cast<int>(app_.editor.editMode);
  context.cameraToggle = app_.editor.cameraToggle;
  app_.renderModes.Render(context, kind, flags);
}

void ModelView::Redraw(int kind, int flags) { RenderView(kind, flags); }

void ModelView::Resize(int clientWidth, int clientHeight) {
  clientWidth_ = std::max(clientWidth, 0);
  clientHeight_ = std::max(clientHeight, 0);
  const int width = (clientWidth_ + 3) & ~3;
  Viewport& v = app_.viewport;
  if (width == v.width && clientHeight_ == v.height) return;
  ResizeViewport(v, clientWidth_, clientHeight_, IsLitTexturedIndex(app_.renderModes.renderModeIndex));
  RenderView(REDRAW_FULL, kShowNow);
}

PaneImage ModelView::Image() const {
  const Viewport& v = app_.viewport;
  PaneImage image;
  const std::size_t needed =
      static_cast<std::size_t>(std::max<int>(v.width, 0)) * static_cast<std::size_t>(std::max<int>(v.height, 0));
  if (v.width <= 0 || v.height <= 0 || v.frameBuffer.size() < needed) return image;
  image.pixels = v.frameBuffer.data();
  image.width = std::min<int>(clientWidth_, v.width);
  image.height = v.height;
  image.stride = v.width;
  image.bitsPerPixel = 8;
  image.bottomUp = true;
  image.palette = &app_.renderModes.Current().palette;
  return image;
}

TagView ModelView::Tags() const {
  const Viewport& v = app_.viewport;
  TagView view;
  if (v.width <= 0 || v.height <= 0 ||
      v.tagBuffer.size() < static_cast<std::size_t>(v.width) * static_cast<std::size_t>(v.height))
    return view;
  view.tags = v.tagBuffer.data();
  view.width = v.width;
  view.clientWidth = std::min<int>(clientWidth_, v.width);
  view.height = v.height;
  return view;
}

bool ModelView::InClient(int x, int y) const {
  return x >= 0 && y >= 0 && x < clientWidth_ && y < clientHeight_;
}

bool ModelView::CurrentModeTextured() const { return app_.renderModes.Current().IsTextured() != 0; }

void ModelView::MouseDown(const MouseEvent& e) {
  if (dragState_ != DragState::Idle) return;
  lastX_ = pressX_ = e.x;
  lastY_ = pressY_ = e.y;
  shiftAtPress_ = e.shift;
  axis_ = TrackballAxis::Free;
  const bool camera = app_.editor.cameraToggle;
  const bool painting = app_.editor.editMode == EditMode::Paint;
  switch (e.button) {
    case MouseButton::Left:
      if (camera)
        dragState_ = e.shift ? DragState::FovDrag : DragState::OrbitDrag;
      else if (painting)
        dragState_ = CurrentModeTextured() ? DragState::PaintDrag : DragState::Held;
      else
        dragState_ = DragState::SelectDrag;
      break;
    case MouseButton::Right:
      if (camera)
        dragState_ = e.shift ? DragState::LightDrag : DragState::PanDrag;
      else if (painting)
        dragState_ = CurrentModeTextured() ? DragState::PickDrag : DragState::Held;
      else
        dragState_ = DragState::DeselectDrag;
      break;
    case MouseButton::Middle:
      dragState_ = camera ? DragState::ZoomDrag : DragState::Held;
      break;
  }
  if (host()) host()->CaptureMouse();
  StartDrag(e);
}

void ModelView::StartDrag(const MouseEvent& e) {
  const Viewport& v = app_.viewport;
  switch (dragState_) {
    case DragState::OrbitDrag:
    case DragState::LightDrag: {
      // The four square handles of the trackball guide pin the turn to one axis.
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
      break;
    }
    case DragState::PaintDrag: {
      Skin* skin = app_.model.currentSkin;
      if (!skin) break;
      step_.Begin(StrokeStepName(app_.editor.brushKind), STEP_CURRENT_SKIN);
      stroke_.Begin(*skin, app_.editor.brushKind == BrushKind::Line);
      if (app_.editor.brushKind == BrushKind::Point) {
        if (PaintAt(app_, stroke_, Tags(), e.x, e.y)) Send(REDRAW_PIXELS, kSkinAndModelDragging);
      } else if (PaintSegment(app_, stroke_, Tags(), e.x, e.y, e.x, e.y) >= 0) {
        Send(REDRAW_PIXELS, kSkinAndModelDragging);
      }
      break;
    }
    case DragState::PickDrag:
      PickAt(e.x, e.y);
      break;
    case DragState::SelectDrag:
      step_.Begin("Select Faces", STEP_MESH);
      SelectAt(e.x, e.y, true);
      break;
    case DragState::DeselectDrag:
      step_.Begin("Deselect Faces", STEP_MESH);
      SelectAt(e.x, e.y, false);
      break;
    default:
      break;
  }
}


void ModelView::MouseMove(const MouseEvent& e) {
  const bool captured = host() ? host()->HasCapture() : dragState_ != DragState::Idle;
  if (!captured) return;
  Viewport& v = app_.viewport;
  const int x = e.x, y = e.y;
  bool cameraMoved = false;
  switch (dragState_) {
    case DragState::Idle:
    case DragState::Held:
      return;
    case DragState::OrbitDrag:
      if (e.rightDown)
        ::Zoom(v, y - lastY_);
      else
        Rotate(v, app_.lighting, NormaliseTrackballPointers(lastX_, lastY_, x, y, v.width, v.height, axis_));
      cameraMoved = true;
      break;
    case DragState::PanDrag:
      if (e.leftDown)
        MovePivot(v, y - lastY_);
      else
        Pan(v, x - lastX_, y - lastY_);
      cameraMoved = true;
      break;
    case DragState::FovDrag:
      // The pointer is put back at the press point after every step, so the
      // move that putting back reports is no move at all.
      if (x == pressX_ && y == pressY_) return;
      ChangeFieldOfView(v, x - pressX_);
      if (host()) host()->SetCursorPos(pressX_, pressY_);
      cameraMoved = true;
      break;
    case DragState::ZoomDrag:
      ::Zoom(v, y - lastY_);
      cameraMoved = true;
      break;
    case DragState::LightDrag:
      RotateLight(v, app_.lighting, NormaliseTrackballPointers(lastX_, lastY_, x, y, v.width, v.height, axis_));
      Send(REDRAW_QUICK, kModelDragging);
      break;
    case DragState::PaintDrag:
      PaintMove(x, y);
      break;
    case DragState::PickDrag:
      PickAt(x, y);
      break;
    case DragState::SelectDrag:
      SelectAt(x, y, true);
      break;
    case DragState::DeselectDrag:
      SelectAt(x, y, false);
      break;
  }
  if (cameraMoved) {
    Send(REDRAW_QUICK, kModelDragging);
    if (app_.cameraDragged) app_.cameraDragged();
  }
  lastX_ = x;
  lastY_ = y;
}

void ModelView::PaintMove(int x, int y) {
  if (ContinueStroke(app_, stroke_, Tags(), pressX_, pressY_, lastX_, lastY_, x, y)) Send(REDRAW_PIXELS, kSkinAndModelDragging);
}

void ModelView::PickAt(int x, int y) {
  if (PickColourAt(app_, Tags(), x, y)) Send(REDRAW_FULL, kPaletteDragging);
}

void ModelView::SelectAt(int x, int y, bool select) {
  if (!InClient(x, y)) return;
  const std::int32_t t = Tags().TagAt(x, y);
  Model& m = app_.model;
  if (t < 0 || t >= m.numTriangles || static_cast<std::size_t>(t) >= m.triangles.size()) return;
  std::uint32_t& flags = m.triangles[static_cast<std::size_t>(t)].flags;
  const bool selected = (flags & TRI_SELECTED) != 0;
  if (selected == select) return;
  flags = select ? (flags | TRI_SELECTED) : (flags & ~TRI_SELECTED);
  Send(REDRAW_QUICK, kSkinAndModelDragging);
}

void ModelView::MouseUp(const MouseEvent& e) {
  const bool captured = host() ? host()->HasCapture() : dragState_ != DragState::Idle;
  if (!captured) return;
  switch (e.button) {
    case MouseButton::Left:
      if (dragState_ == DragState::OrbitDrag || dragState_ == DragState::FovDrag) {
        Send(REDRAW_FULL, kModelShow);
        dragState_ = DragState::Held;
      } else if (dragState_ == DragState::SelectDrag) {
        step_.End();
        dragState_ = DragState::Held;
      } else if (dragState_ == DragState::PaintDrag) {
        stroke_.End();
        step_.End();
        dragState_ = DragState::Held;
      }
      break;
    case MouseButton::Right:
      if (dragState_ == DragState::PanDrag || dragState_ == DragState::LightDrag) {
        Send(REDRAW_FULL, kModelShow);
        dragState_ = DragState::Held;
      } else if (dragState_ == DragState::PickDrag) {
        EndPickDrag();
        dragState_ = DragState::Held;
      } else if (dragState_ == DragState::DeselectDrag) {
        step_.End();
        dragState_ = DragState::Held;
      }
      break;
    case MouseButton::Middle:
      if (dragState_ == DragState::ZoomDrag) {
        Send(REDRAW_FULL, kModelShow);
        dragState_ = DragState::Held;
      }
      break;
  }
  if (dragState_ == DragState::Held && !e.leftDown && !e.rightDown && !e.middleDown) ToIdle();
  app_.ActionEnded();
}

void ModelView::EndPickDrag() {
  Send(REDRAW_FULL, kBothViewsShow);
  BuildPaintTable(app_);
}

void ModelView::ToIdle() {
  dragState_ = DragState::Idle;
  shiftAtPress_ = false;
  axis_ = TrackballAxis::Free;
  if (host()) host()->ReleaseMouse();
}

void ModelView::CaptureLost() {
  switch (dragState_) {
    case DragState::OrbitDrag:
    case DragState::PanDrag:
    case DragState::FovDrag:
    case DragState::ZoomDrag:
    case DragState::LightDrag:
      Send(REDRAW_FULL, kModelShow);
      break;
    case DragState::PaintDrag:
      stroke_.End();
      break;
    case DragState::PickDrag:
      EndPickDrag();
      break;
    default:
      break;
  }
  step_.End();
  dragState_ = DragState::Idle;
  shiftAtPress_ = false;
  axis_ = TrackballAxis::Free;
  app_.ActionEnded();
}

void ModelView::Wheel(int delta, int, int) { Zoom(delta); }

void ModelView::Zoom(int delta) {
  ::Zoom(app_.viewport, delta);
  RenderView(REDRAW_FULL, kShowNow);
  if (host()) host()->RepaintNow();
}

CursorKind ModelView::Cursor() const {
  if (!app_.editor.customCursors) return CursorKind::Arrow;
  if (app_.editor.cameraToggle) return CursorKind::Camera;
  return app_.editor.editMode == EditMode::Mapping ? CursorKind::Mapping : CursorKind::Paint;
}
