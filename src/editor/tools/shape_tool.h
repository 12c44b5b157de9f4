#pragma once
// Lines, rectangles and ellipses dragged out on the skin view: the shape is
// redrawn from the skin as it was at the press at every move, Shift keeping
// it to 45 degrees or square, and the release leaves it as one step.

#include <optional>

#include "editor/document.h"
#include "editor/paint_ops.h"
#include "editor/tools/tool.h"

class ShapeTool : public Tool {
 public:
  explicit ShapeTool(Document& document) : step_(document) {}

  void Press(ToolContext& c, const MouseEvent& e) override;
  void Move(ToolContext& c, const MouseEvent& e) override;
  ToolEnd Release(ToolContext& c, const MouseEvent& e) override;
  void CaptureLost(ToolContext& c) override;

 private:
  void Draw(ToolContext& c, const MouseEvent& e);
  void End();

  DragStep step_;
  std::optional<SkinPainter> painter_;
  PaintSetup setup_;
  std::vector<std::uint8_t> backup_;
  SkinTool kind_ = SkinTool::Line;
  int x0_ = 0, y0_ = 0;
};
