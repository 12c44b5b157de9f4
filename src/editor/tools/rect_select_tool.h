#pragma once
// Selecting triangles with a rubber band on the skin view (Shift+Ctrl and
// the left button in Mapping Mode): the visible triangles whose three mapping
// corners lie inside the rectangle at the release join the selection, as
// one "Select Faces" step.

#include "editor/document.h"
#include "editor/tools/tool.h"

class RectSelectTool : public Tool {
 public:
  explicit RectSelectTool(Document& document) : document_(document) {}

  void Press(ToolContext& c, const MouseEvent& e) override;
  void Move(ToolContext& c, const MouseEvent& e) override;
  ToolEnd Release(ToolContext& c, const MouseEvent& e) override;
  void CaptureLost(ToolContext&) override { active_ = false; }

  // The band, corner to corner in client coordinates, while a drag is on.
  bool Band(int& x0, int& y0, int& x1, int& y1) const;

 private:
  Document& document_;
  int x0_ = 0, y0_ = 0, x1_ = 0, y1_ = 0;
};
