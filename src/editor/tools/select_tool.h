#pragma once
// Selecting triangles by sweeping over them: in the skin view with the left
// button, Shift selecting and Ctrl deselecting the triangles whose mapping
// lies under the pointer; in the 3D view the left button selects and the
// right deselects the triangle drawn under it. One undo step, "Select Faces"
// or "Deselect Faces".

#include "editor/document.h"
#include "editor/tools/tool.h"

class SkinSelectTool : public Tool {
 public:
  explicit SkinSelectTool(Document& document) : step_(document) {}

  void Press(ToolContext& c, const MouseEvent& e) override;
  void Move(ToolContext& c, const MouseEvent& e) override;
  ToolEnd Release(ToolContext& c, const MouseEvent& e) override;
  void CaptureLost(ToolContext& c) override;

 private:
  void SelectAt(ToolContext& c, int x, int y);
  void End(ToolContext& c);
  DragStep step_;
  bool select_ = true;
};

class ModelSelectTool : public Tool {
 public:
  explicit ModelSelectTool(Document& document) : step_(document) {}

  void Press(ToolContext& c, const MouseEvent& e) override;
  void Move(ToolContext& c, const MouseEvent& e) override;
  ToolEnd Release(ToolContext& c, const MouseEvent& e) override;
  void CaptureLost(ToolContext& c) override;

  bool selecting() const { return select_; }

 private:
  void SelectAt(ToolContext& c, int x, int y);
  DragStep step_;
  bool select_ = true;
};
