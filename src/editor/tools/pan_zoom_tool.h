#pragma once
// Camera drags. In the skin view the left button pans and the right zooms,
// the pointer hidden and put back on the press point after every step. In
// the 3D view the left button orbits (Shift: field of view), the right pans
// (Shift: turns the light) and the middle zooms.

#include "editor/tools/tool.h"
#include "render/trackball.h"

class SkinPanZoomTool : public Tool {
 public:
  void Press(ToolContext& c, const MouseEvent& e) override;
  void Move(ToolContext& c, const MouseEvent& e) override;
  ToolEnd Release(ToolContext& c, const MouseEvent& e) override;
  void CaptureLost(ToolContext& c) override;

 private:
  void End(ToolContext& c);
  int pressX_ = 0, pressY_ = 0;
};

class ModelCameraTool : public Tool {
 public:
  enum class Kind { Orbit, Pan, FieldOfView, Light, Zoom };

  void Press(ToolContext& c, const MouseEvent& e) override;
  void Move(ToolContext& c, const MouseEvent& e) override;
  // Only the button that started the drag ends it.
  ToolEnd Release(ToolContext& c, const MouseEvent& e) override;
  void CaptureLost(ToolContext& c) override;

  Kind kind() const { return kind_; }
  // The axis a trackball handle under the press pinned the turn to.
  TrackballAxis axis() const { return active_ ? axis_ : TrackballAxis::Free; }

 private:
  Kind kind_ = Kind::Orbit;
  TrackballAxis axis_ = TrackballAxis::Free;
  int pressX_ = 0, pressY_ = 0, lastX_ = 0, lastY_ = 0;
};
