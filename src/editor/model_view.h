#pragma once
// The 3D view pane ("ISO Box"): renders the model through the current render
// mode into the App's viewport and turns the mouse into camera, light and
// pivot moves, painting on the model, colour picking and triangle selection.

#include <cstdint>

#include "editor/document.h"
#include "editor/paint_on_model.h"
#include "image/skin.h"
#include "platform/pane.h"
#include "render/trackball.h"

class Workspace;

class ModelView : public Pane {
 public:
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

  DragState dragState() const { return dragState_; }
  TrackballAxis orbitAxis() const { return axis_; }
  // The current skin's palette (grey without a skin) as of the last render;
  // what a snapshot is written with.
  const Palette& snapshotPalette() const { return snapshotPalette_; }
  int clientWidth() const { return clientWidth_; }
  int clientHeight() const { return clientHeight_; }

 private:
  void Send(int kind, int bits);
  TagView Tags() const;
  bool InClient(int x, int y) const;
  bool CurrentModeTextured() const;
  void StartDrag(const MouseEvent& e);
  void PaintMove(int x, int y);
  void PickAt(int x, int y);
  void SelectAt(int x, int y, bool select);
  void EndCameraDrag();
  void EndPickDrag();
  void ToIdle();

  Workspace& app_;
  int clientWidth_ = -1;
  int clientHeight_ = -1;
  Palette snapshotPalette_{};
  DragState dragState_ = DragState::Idle;
  int lastX_ = 0, lastY_ = 0;
  int pressX_ = 0, pressY_ = 0;
  bool shiftAtPress_ = false;
  TrackballAxis axis_ = TrackballAxis::Free;
  PaintStroke stroke_;
  DragStep step_;  // a drag that changes the document is one undo step
};
