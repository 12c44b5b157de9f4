#pragma once
// Colour picking with the right button: the colour under the pointer goes
// into the active slot as the drag goes, and the paint table follows at the
// end.

#include "editor/tools/tool.h"

class PickTool : public Tool {
 public:
  void Press(ToolContext& c, const MouseEvent& e) override;
  void Move(ToolContext& c, const MouseEvent& e) override;
  ToolEnd Release(ToolContext& c, const MouseEvent& e) override;
  void CaptureLost(ToolContext& c) override;

 private:
  void End(ToolContext& c);
};
