#include "editor/pixel_ops.h"

#include "image/skin_set.h"

namespace {

std::uint8_t BackgroundColour(const EditorState& editor) { return editor.colourSlots[7]; }

bool SelectionFits(const PixelSelection& s, const Skin& skin) {
  return !s.empty() && s.x >= 0 && s.y >= 0 && s.x + s.width <= skin.width && s.y + s.height <= skin.height;
}

OpResult Erase(Document& document, const EditorState& editor, PixelTools& tools, const char* name, bool copy) {
  Skin* skin = document.model.CurrentSkin();
  if (!skin || !SelectionFits(tools.selection, *skin)) return OpResult::Refused(kNoPixelSelectionText);
  if (copy) tools.clipboard = CopyPixels(*skin, tools.selection);
  DocumentStep step(document, name, STEP_CURRENT_SKIN);
  ErasePixels(*skin, tools.selection, BackgroundColour(editor), editor);
  return OpResult::Done();
}

}  // namespace

OpResult CopyPixelSelection(Document& document, PixelTools& tools) {
  Skin* skin = document.model.CurrentSkin();
  if (!skin || !SelectionFits(tools.selection, *skin)) return OpResult::Refused(kNoPixelSelectionText);
  tools.clipboard = CopyPixels(*skin, tools.selection);
  return OpResult::Done();
}

OpResult CutPixelSelection(Document& document, const EditorState& editor, PixelTools& tools) {
  return Erase(document, editor, tools, "Cut Pixels", true);
}

OpResult DeletePixelSelection(Document& document, const EditorState& editor, PixelTools& tools) {
  return Erase(document, editor, tools, "Delete Pixels", false);
}

OpResult PastePiece(Document& document, const EditorState& editor, PixelTools& tools,
                    const std::optional<SkinPiece>& piece, int x, int y) {
  const SkinPiece& chosen = piece ? *piece : tools.clipboard;
  if (chosen.empty()) return OpResult::Refused(kNothingToPasteText);
  const Skin* skin = document.model.CurrentSkin();
  if (!skin) return OpResult::Nothing();
  if (tools.floating) PlaceFloatingPiece(document, editor, tools);
  // A piece from another palette floats in the skin's, as it will land.
  tools.floating = chosen.palette == skin->palette
                       ? chosen
                       : PieceFromPicture(PieceToPicture(chosen), skin->palette, editor, false);
  tools.floatX = x;
  tools.floatY = y;
  tools.selection = {};
  return OpResult::Done();
}

OpResult PlaceFloatingPiece(Document& document, const EditorState& editor, PixelTools& tools) {
  if (!tools.floating) return OpResult::Nothing();
  Skin* skin = document.model.CurrentSkin();
  if (skin) {
    DocumentStep step(document, "Paste", STEP_CURRENT_SKIN);
    PlacePiece(*skin, *tools.floating, tools.floatX, tools.floatY, editor);
  }
  tools.floating.reset();
  return OpResult::Done();
}

OpResult FlipPixelPiece(PixelTools& tools, bool horizontal) {
  SkinPiece& piece = tools.floating ? *tools.floating : tools.clipboard;
  if (piece.empty()) return OpResult::Refused(kNothingToPasteText);
  piece = FlipPiece(static_cast<const SkinPiece&>(piece), horizontal);
  return OpResult::Done();
}
