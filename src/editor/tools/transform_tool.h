#pragma once
// Moving (right button), scaling (with Ctrl) or rotating (with Shift) the
// mapping of the selected triangles in the skin view, with the skin's pixels
// in tow when asked. The pointer is hidden and put back on the press point
// after every step; the drag is one undo step.

#include <cstdint>
#include <vector>

#include "editor/document.h"
#include "editor/mapping_transform.h"
#include "editor/tools/tool.h"

class TransformTool : public Tool {
 public:
  enum class Kind { Move, Scale, Rotate };

  explicit TransformTool(Document& document) : step_(document) {}

  void Press(ToolContext& c, const MouseEvent& e) override;
  void Move(ToolContext& c, const MouseEvent& e) override;
  ToolEnd Release(ToolContext& c, const MouseEvent& e) override;
  void CaptureLost(ToolContext& c) override;

  Kind kind() const { return kind_; }

 private:
  void End(ToolContext& c);
  DragStep step_;
  Kind kind_ = Kind::Move;
  int pressX_ = 0, pressY_ = 0;
  float pivotS_ = 0, pivotT_ = 0;
  double angle_ = 0, scaleS_ = 1, scaleT_ = 1;
  MappingBox box_;
  std::vector<std::uint8_t> savedSkin_;
  std::vector<MapVertex> savedMapping_;
};
