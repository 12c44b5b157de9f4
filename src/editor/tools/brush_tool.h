#pragma once
// The sized brush: a footprint of texels on the skin view, a disc of pixels
// on the model projected through the mapping, with the ink, symmetry, mask
// and wrap of the editor's settings. Every mouse move paints the whole way
// from the last one, and a texel is painted once per stroke. One stroke is
// one undo step.

#include <optional>

#include "editor/document.h"
#include "editor/paint_ops.h"
#include "editor/tools/tool.h"

class BrushTool : public Tool {
 public:
  BrushTool(Document& document, bool onModel) : step_(document), onModel_(onModel) {}

  void Press(ToolContext& c, const MouseEvent& e) override;
  void Move(ToolContext& c, const MouseEvent& e) override;
  ToolEnd Release(ToolContext& c, const MouseEvent& e) override;
  void CaptureLost(ToolContext& c) override;

  // Whether a left press in paint mode takes this brush rather than the
  // one-texel Point, Pencil and Line brushes.
  static bool Wanted(const EditorState& editor, bool onModel);

 private:
  int PaintTo(ToolContext& c, int x, int y);
  int Disc(ToolContext& c, int x, int y);
  void End();

  DragStep step_;
  bool onModel_;
  std::optional<SkinPainter> painter_;
  PaintSetup setup_;
  std::vector<std::uint8_t> backup_;  // the skin at the press, for the Line brush
  std::vector<TexelOffset> disc_;
  int pressX_ = 0, pressY_ = 0, lastX_ = 0, lastY_ = 0;  // client pixels on the model, texels on the skin
};

// The texel under a skin-view client pixel.
void ClientToTexel(const ToolContext& c, int x, int y, int& tx, int& ty);
