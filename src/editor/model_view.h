#pragma once
// The 3D view pane ("ISO Box"): renders the model through the current render
// mode into the App's viewport. The mouse drags (camera, light and pivot
// moves, painting on the model, colour picking, triangle selection) belong
// to the tools in editor/tools/; the pane picks one for each press.

#include <cstdint>

#include "editor/tools/brush_tool.h"
#include "editor/tools/fill_tool.h"
#include "editor/tools/paint_tool.h"
#include "editor/tools/pan_zoom_tool.h"
#include "editor/tools/pick_tool.h"
#include "editor/tools/select_tool.h"
#include "image/skin.h"
#include "platform/pane.h"
#include "render/render_mode.h"
#include "render/trackball.h"

class Workspace;

class ModelView : public Pane {
 public:
  // What the mouse is doing, as the tools under way say it.
  enum class DragState {
    Idle,
    OrbitDrag,
    PanDrag,
    FovDrag,
    LightDrag,
    ZoomDrag,
    PaintDrag,
    PickDrag,
    SelectDrag,
    DeselectDrag,
    Held,  // a press that does nothing until every button is up
  };

  explicit ModelView(Workspace& workspace);

  const char* WindowName() const override { return "ISO Box"; }
  // RenderView.
  void Redraw(int kind, int flags) override;
  // Buffers for the new size (width rounded up to a multiple of 4), then a
  // Full render; nothing when the size did not change.
  void Resize(int clientWidth, int clientHeight) override;
  // The frame buffer with the current render mode's palette.
  PaneImage Image() const override;
  bool TakeChangedArea(int& x0, int& y0, int& x1, int& y1) override;

  // While on (an animation playing), Full redraws leave the per-pixel tags
  // out: nothing reads them until a press, which draws them first, as
  // turning this off does.
  void SetTagsDeferred(bool on);
  bool tagsStale() const { return tagsStale_; }

  void MouseDown(const MouseEvent& e) override;
  void MouseUp(const MouseEvent& e) override;
  void MouseMove(const MouseEvent& e) override;
  void Wheel(int delta, int x, int y) override;
  void CaptureLost() override;
  // Camera, Mapping or Paint while custom cursors are on; else Arrow.
  CursorKind Cursor() const override;

  // Nothing before the first resize; else the current mode draws.
  void RenderView(int kind, int flags);
  // The wheel: zoom by `delta` steps, render and show at once.
  void Zoom(int delta);

  DragState dragState() const;
  TrackballAxis orbitAxis() const { return camera_.axis(); }
  // The current skin's palette (grey without a skin) as of the last render;
  // what a snapshot is written with.
  const Palette& snapshotPalette() const { return snapshotPalette_; }
  int clientWidth() const { return clientWidth_; }
  int clientHeight() const { return clientHeight_; }

 private:
  TagView Tags() const;
  ToolContext Context() { return ToolContext{app_, *this, Tags()}; }
  bool Idle() const { return !tool_ && !held_; }
  Tool* ToolFor(const MouseEvent& e);
  void ToIdle();

  Workspace& app_;
  int clientWidth_ = -1;
  int clientHeight_ = -1;
  Palette snapshotPalette_{};
  ModelCameraTool camera_;
  PaintTool paint_;
  BrushTool brush_;
  FillTool fill_;
  PickTool pick_;
  PickTool eyedropper_{MouseButton::Left};
  ModelSelectTool select_;
  Tool* tool_ = nullptr;  // the drag under way
  bool held_ = false;     // a press (or a drag's end) waiting for every button to come up
  bool tagsDeferred_ = false;
  bool tagsStale_ = false;  // the picture was drawn without its tags
  // What the renders changed since TakeChangedArea: all of it, or `changed_`.
  bool changedWhole_ = true;
  ViewArea changed_;
  Palette shownPalette_{};
  void NoteChange();
  void DrawTags();  // a Full redraw when the picture lacks its tags
};
