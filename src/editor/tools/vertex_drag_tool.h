#pragma once
// Dragging one mapping vertex in the skin view: the vertex nearest the press
// (within 6 pixels) is split off into the slot past the last one for the
// selected triangles using it (or for all of them when none is selected),
// follows the pointer, and is welded back at the release. One undo step,
// "Move Mapping Vertex", with the skin's pixels when they are dragged along.

#include <cstdint>
#include <vector>

#include "editor/document.h"
#include "editor/tools/tool.h"
#include "model/model.h"

class VertexDragTool : public Tool {
 public:
  explicit VertexDragTool(Document& document) : step_(document) {}

  // No drag begins away from every vertex, off the skin, or with no free slot.
  void Press(ToolContext& c, const MouseEvent& e) override;
  void Move(ToolContext& c, const MouseEvent& e) override;
  ToolEnd Release(ToolContext& c, const MouseEvent& e) override;
  void CaptureLost(ToolContext& c) override;

  // The temporary slot while a drag goes on, else -1.
  int grabSlot() const { return grabSlot_; }

 private:
  void End(ToolContext& c);
  DragStep step_;
  int grabSlot_ = -1;
  std::vector<std::uint8_t> savedSkin_;
  std::vector<MapVertex> savedMapping_;
};
