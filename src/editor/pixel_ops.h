#pragma once
// The pixel selection's commands over the document: the selected texels and
// the piece floating over the skin are the editor's (no undo step); cutting,
// deleting and placing change the skin, each as one step.

#include <optional>
#include <string>

#include "editor/document.h"
#include "editor/document_ops.h"
#include "editor/pixel_selection.h"

// What the pixel tools hold between commands.
struct PixelTools {
  PixelSelection selection;    // on the current skin; empty: none
  SkinPiece clipboard;         // the last piece copied or cut here
  std::optional<SkinPiece> floating;  // a pasted piece not placed yet
  int floatX = 0, floatY = 0;         // its top-left texel on the skin
};

inline constexpr char kNoPixelSelectionText[] = "Select some pixels of the skin first";
inline constexpr char kNothingToPasteText[] = "There is nothing to paste";
// Pictures from other programs are pasted up to this size a side.
inline constexpr int kMaxPastedSide = 4096;
inline constexpr char kPastedPictureTooLargeText[] = "The picture on the clipboard is too large to paste";

// The selection's texels as the clipboard piece; refused without a selection.
OpResult CopyPixelSelection(Document& document, PixelTools& tools);
// Copied, then put to colour slot 7 ("Cut Pixels").
OpResult CutPixelSelection(Document& document, const EditorState& editor, PixelTools& tools);
// Put to colour slot 7 ("Delete Pixels").
OpResult DeletePixelSelection(Document& document, const EditorState& editor, PixelTools& tools);
// `piece` (or the clipboard piece) floats with its top-left at (x, y); a
// piece already floating is placed first.
OpResult PastePiece(Document& document, const EditorState& editor, PixelTools& tools,
                    const std::optional<SkinPiece>& piece, int x, int y);
// The floating piece written into the skin ("Paste"); nothing without one.
OpResult PlaceFloatingPiece(Document& document, const EditorState& editor, PixelTools& tools);
// The floating piece, or else the clipboard piece, mirrored.
OpResult FlipPixelPiece(PixelTools& tools, bool horizontal);
