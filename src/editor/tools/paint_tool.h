#pragma once
// Painting with the left button through the pane's tags, with the Point,
// Pencil or Line brush; the stroke is one undo step named after its brush.

#include "editor/document.h"
#include "editor/tools/tool.h"

class PaintTool : public Tool {
 public:
  // On the model a Pencil or Line press paints its first texel as a line of
  // one pixel.
  PaintTool(Document& document, bool onModel) : step_(document), onModel_(onModel) {}

  void Press(ToolContext& c, const MouseEvent& e) override;
  void Move(ToolContext& c, const MouseEvent& e) override;
  ToolEnd Release(ToolContext& c, const MouseEvent& e) override;
  void CaptureLost(ToolContext& c) override;

 private:
  void End();
  PaintStroke stroke_;
  DragStep step_;
  bool onModel_;
  int pressX_ = 0, pressY_ = 0, lastX_ = 0, lastY_ = 0;
};
