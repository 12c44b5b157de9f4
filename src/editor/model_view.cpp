#include "editor/model_view.h"

#include <algorithm>

#include "editor/workspace.h"
#include "render/camera.h"
#include "render/render_mode.h"

namespace {


}  // namespace

ModelView::ModelView(Workspace& workspace)
    : app_(workspace), paint_(workspace.document, true), brush_(workspace.document, true), fill_(workspace.document, true), select_(workspace.document) {
  snapshotPalette_ = GreyRampPalette();
  // This view redraws the same buffers picture after picture.
  app_.renderModes.kept.enabled = true;
}

void ModelView::RenderView(int kind, int flags) {
  if (clientWidth_ <= 0 || clientHeight_ <= 0) return;
  if (app_.viewport.width <= 0 || app_.viewport.height <= 0) return;
  if (const Skin* skin = app_.model.CurrentSkin()) {
    snapshotPalette_ = skin->palette;
  } else {
    snapshotPalette_ = GreyRampPalette();
  }
  RenderContext context = app_.MakeRenderContext();
  context.editMode = static_cast<int>(app_.editor.editMode);
  context.cameraToggle = app_.editor.cameraToggle;
  // The same picture without the tags, while nothing reads them.
  const bool defer = tagsDeferred_ && Idle() && (kind == REDRAW_FULL || kind == REDRAW_BACKGROUND);
  if (kind == REDRAW_PIXELS && tagsStale_) kind = REDRAW_FULL;  // recolouring reads the tags
  app_.renderModes.Render(context, defer ? REDRAW_QUICK : kind, flags);
  if (defer)
    tagsStale_ = true;
  else if (kind == REDRAW_FULL || kind == REDRAW_BACKGROUND)
    tagsStale_ = false;
  NoteChange();
}

void ModelView::NoteChange() {
  const KeptClear& kept = app_.renderModes.kept;
  const Palette& palette = app_.renderModes.Current().palette;
  if (kept.changedWhole || palette != shownPalette_) {
    changedWhole_ = true;
    shownPalette_ = palette;
  } else {
    changed_ = Union(changed_, kept.changed);
  }
}

bool ModelView::TakeChangedArea(int& x0, int& y0, int& x1, int& y1) {
  const bool whole = changedWhole_;
  const ViewArea area = changed_;
  changedWhole_ = false;
  changed_ = {};
  const int height = app_.viewport.height;
  if (whole || area.empty() || height <= 0) return false;
  // Buffer rows count from the bottom.
  x0 = area.left;
  x1 = std::min(area.right, clientWidth_ - 1);
  y0 = height - 1 - area.bottom;
  y1 = height - 1 - area.top;
  return x0 <= x1;
}

void ModelView::SetTagsDeferred(bool on) {
  if (tagsDeferred_ == on) return;
  tagsDeferred_ = on;
  // Paused: hovering and painting read the tags of the picture shown.
  if (!on) DrawTags();
}

void ModelView::DrawTags() {
  if (!tagsStale_) return;
  const bool deferred = tagsDeferred_;
  tagsDeferred_ = false;
  RenderView(REDRAW_FULL, 0);
  tagsDeferred_ = deferred;
}

void ModelView::Redraw(int kind, int flags) { RenderView(kind, flags); }

void ModelView::Resize(int clientWidth, int clientHeight) {
  clientWidth_ = std::max(clientWidth, 0);
  clientHeight_ = std::max(clientHeight, 0);
  const int width = (clientWidth_ + 3) & ~3;
  Viewport& v = app_.viewport;
  if (width == v.width && clientHeight_ == v.height) return;
  ResizeViewport(v, clientWidth_, clientHeight_, IsLitTexturedIndex(app_.renderModes.renderModeIndex));
  app_.renderModes.kept.Forget();  // fresh buffers hold no background yet
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

void ModelView::MouseDown(const MouseEvent& e) {
  if (!Idle()) return;
  if (host()) host()->CaptureMouse();
  // Picking and painting read the tags of the picture under the mouse.
  DrawTags();
  tool_ = ToolFor(e);
  held_ = !tool_;
  if (!tool_) return;
  ToolContext c = Context();
  tool_->Press(c, e);
}

// The tool as the Camera Toggle, the edit mode and the button choose it;
// null for a press that only holds the mouse.
Tool* ModelView::ToolFor(const MouseEvent& e) {
  if (app_.editor.cameraToggle) return &camera_;
  if (e.button == MouseButton::Middle) return nullptr;
  if (app_.editor.editMode != EditMode::Paint) return &select_;
  if (!app_.renderModes.Current().IsTextured()) return nullptr;
  if (e.button != MouseButton::Left) return &pick_;
  // Lines and shapes are drawn on the skin view; on the model they paint
  // with the brush.
  switch (app_.editor.skinTool) {
    case SkinTool::Fill:
      return &fill_;
    case SkinTool::Eyedropper:
      return &eyedropper_;
    default:
      return BrushTool::Wanted(app_.editor, true) ? static_cast<Tool*>(&brush_) : &paint_;
  }
}

void ModelView::MouseMove(const MouseEvent& e) {
  const bool captured = host() ? host()->HasCapture() : !Idle();
  if (!captured || !tool_) return;
  ToolContext c = Context();
  tool_->Move(c, e);
}

// Every release counts as an action; the pane takes the next press once
// every button is up.
void ModelView::MouseUp(const MouseEvent& e) {
  const bool captured = host() ? host()->HasCapture() : !Idle();
  if (!captured) return;
  if (tool_) {
    ToolContext c = Context();
    if (tool_->Release(c, e) != ToolEnd::Continue) {
      tool_ = nullptr;
      held_ = true;
    }
  }
  if (held_ && !e.leftDown && !e.rightDown && !e.middleDown) ToIdle();
  app_.ActionEnded();
}

void ModelView::ToIdle() {
  tool_ = nullptr;
  held_ = false;
  if (host()) host()->ReleaseMouse();
}

void ModelView::CaptureLost() {
  if (tool_) {
    ToolContext c = Context();
    tool_->CaptureLost(c);
  }
  tool_ = nullptr;
  held_ = false;
  app_.ActionEnded();
}

ModelView::DragState ModelView::dragState() const {
  if (tool_ == &camera_) {
    static constexpr DragState kCamera[] = {DragState::OrbitDrag, DragState::PanDrag, DragState::FovDrag,
                                            DragState::LightDrag, DragState::ZoomDrag};
    return kCamera[static_cast<int>(camera_.kind())];
  }
  if (tool_ == &paint_) return DragState::PaintDrag;
  if (tool_ == &pick_) return DragState::PickDrag;
  if (tool_ == &select_) return select_.selecting() ? DragState::SelectDrag : DragState::DeselectDrag;
  return held_ ? DragState::Held : DragState::Idle;
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
