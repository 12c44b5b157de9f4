#pragma once
// The bucket. On the skin view a click fills the texels matching the one
// under it (connected or all, within the tolerance); on the model it fills
// the mapping island of the triangle under the pointer. One click, one step.

#include "editor/document.h"
#include "editor/tools/tool.h"

class FillTool : public Tool {
 public:
  FillTool(Document& document, bool onModel) : document_(document), onModel_(onModel) {}

  void Press(ToolContext& c, const MouseEvent& e) override;
  void Move(ToolContext&, const MouseEvent&) override {}
  ToolEnd Release(ToolContext& c, const MouseEvent& e) override;
  void CaptureLost(ToolContext&) override { active_ = false; }

 private:
  Document& document_;
  bool onModel_;
};
