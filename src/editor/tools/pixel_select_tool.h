#pragma once
// Selecting texels on the skin view: a rectangle dragged out, or a lasso
// drawn around them; a click without a drag selects nothing. A press on the
// floating piece drags it; a press beside it places it first.

#include <utility>
#include <vector>

#include "editor/tools/tool.h"

class PixelSelectTool : public Tool {
 public:
  void Press(ToolContext& c, const MouseEvent& e) override;
  void Move(ToolContext& c, const MouseEvent& e) override;
  ToolEnd Release(ToolContext& c, const MouseEvent& e) override;
  void CaptureLost(ToolContext&) override { active_ = false; }

 private:
  void Select(ToolContext& c, int x, int y);

  bool moving_ = false;
  bool moved_ = false;
  int startX_ = 0, startY_ = 0;  // texels
  int grabX_ = 0, grabY_ = 0;    // the press within the floating piece
  std::vector<std::pair<int, int>> lasso_;
};
