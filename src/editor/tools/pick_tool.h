#pragma once
// Colour picking with the right button: the colour under the pointer goes
// into the active slot as the drag goes, and the paint table follows at the
// end.

#include "editor/tools/tool.h"

class PickTool : public Tool {
 public:
  // The button whose drag picks: the right one, or the left for the
  // eyedropper tool.
  explicit PickTool(MouseButton button = MouseButton::Right) : button_(button) {}

  void Press(ToolContext& c, const MouseEvent& e) override;
  void Move(ToolContext& c, const MouseEvent& e) override;
  ToolEnd Release(ToolContext& c, const MouseEvent& e) override;
  void CaptureLost(ToolContext& c) override;

 private:
  void End(ToolContext& c);
  MouseButton button_;
};
