#pragma once
// Placing the mapping frame in the skin view with the left button: a press
// outside it draws a new one from the press point, inside it moves it, and
// near a side moves that side. The frame is editor state, no undo step.

#include "editor/tools/tool.h"

class FrameTool : public Tool {
 public:
  enum class Part { New, Whole, Left, Right, Top, Bottom };

  void Press(ToolContext& c, const MouseEvent& e) override;
  void Move(ToolContext& c, const MouseEvent& e) override;
  ToolEnd Release(ToolContext& c, const MouseEvent& e) override;
  void CaptureLost(ToolContext& c) override;

  Part part() const { return part_; }

 private:
  Part part_ = Part::New;
  int pressX_ = 0, pressY_ = 0, lastX_ = 0, lastY_ = 0;
};
