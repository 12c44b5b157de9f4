#pragma once
// The Skins menu's operations on the skin list, each one named undo step
// on the document. What they ask the user (the questions of New and
// Duplicate, Close's offer to save) is the caller's to ask first; the list
// is put in order (linked skins first) by the caller, as the skin bar does
// before it shows it.

#include <cstdint>

#include "editor/document_ops.h"
#include "editor/editor_state.h"
#include "image/skin.h"

// The questions New and Duplicate ask, in this order (Duplicate without a
// current skin tells the last text first and asks no grid question).
inline constexpr char kCheckerboardQuestion[] = "Would you like a checkerboard background skin? (This box is temp)";
inline constexpr char kGridQuestion[] = "Would you like a gridded skin? (This box is temp)";
inline constexpr char kMeshOutlineQuestion[] = "Would you like a mesh outlined skin? (This box is temp)";
inline constexpr char kNothingToDuplicateText[] = "There's nothing to duplicate...making a new skin.";

// How a new skin is filled: the questions New and Duplicate ask.
struct NewSkinLook {
  bool checkerboard = false;  // else the background slot's colour
  bool gridDots = false;      // New only
  bool meshOutline = false;   // the mapping's edges in the active slot's colour
};

// The triangles' mapping edges drawn into the skin's pixels.
void DrawMeshOutline(const Model& model, Skin& skin, std::uint8_t colour);

// "New Skin": a skin of the model's skin size in `palette` (the current
// skin's, else the default), made current. Nothing without a skin size.
OpResult NewSkin(Document& document, const EditorState& editor, const Palette& palette, const NewSkinLook& look);
// "Duplicate Skin": a copy of the current skin (its stored state too), or
// without one a new skin in the grey ramp filled as `look` says.
OpResult DuplicateCurrentSkin(Document& document, const EditorState& editor, const NewSkinLook& look);
// "Close Skin": the current skin leaves the list; the one after it (or the
// last) becomes current.
OpResult CloseCurrentSkin(Document& document);
// "Unlink Skin": a linked skin becomes external (kept by its file name, not
// in the model).
OpResult UnlinkCurrentSkin(Document& document);
// "Move Skin Up" (-1) and "Move Skin Down" (+1) in the list.
OpResult MoveCurrentSkin(Document& document, int step);
// "Store Skin" keeps the pixels for Revert; "Revert Skin" puts them back.
OpResult StoreCurrentSkin(Document& document);
OpResult RevertCurrentSkin(Document& document);
