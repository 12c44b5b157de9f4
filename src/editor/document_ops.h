#pragma once
// The editing operations of the Mapping and Skins menus as functions on the
// document: each opens its own undo step (named as the menu's), changes the
// model and says what happened. They ask nothing and show nothing; the
// window layer asks for the inputs and shows the message, the command line
// takes them from its arguments.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "editor/document.h"
#include "editor/editor_state.h"
#include "editor/mapping_ops.h"

class CRasterizer;
struct Lighting;
struct Viewport;

// What an operation did. `done` false with an empty message: there was
// nothing to work on (no current skin) and nothing to say. A message is the
// program's own words for a refusal, shown as it stands.
struct OpResult {
  bool done = false;
  std::string message;

  static OpResult Done() { return {true, {}}; }
  static OpResult Refused(std::string text) { return {false, std::move(text)}; }
  static OpResult Nothing() { return {}; }
};

// The picture a skin effect or the palette took was not the skin's size.
inline constexpr char kPictureWrongSizeText[] = "Error loading skin: Incorrect dimensions!";
inline constexpr char kNoPaletteText[] =
    "There was an error loading the specified file,\nit does no appear to contain a palette";

// --- Mapping files (`file` is the path to read or write) ---
// Welds the mapping and writes it; refused with "Error Saving: ...".
OpResult ExportMapping(Document& document, const std::string& file);
// Stores the mapping (so Revert undoes the import, even one the file then
// refuses) and takes the file's, whole or for the selected triangles.
OpResult ImportMapping(Document& document, const std::string& file, bool toSelected);

// --- Mapping menu, on the selected triangles ---
OpResult MapFrom3DView(Document& document, const Viewport& view, const EditorState& editor,
                       const MapFrom3DViewOptions& options);
OpResult FlipSelectedMapping(Document& document);
OpResult MirrorSelectedMapping(Document& document);
// Done even when some triangles were refused: the message then names them.
OpResult RotateSelectedMapping(Document& document);
OpResult SnapSelectedToGrid(Document& document);
OpResult StoreMapping(Document& document);
OpResult RevertMapping(Document& document);
OpResult DeleteSelectedMapping(Document& document);
// The picture re-projected from the mapping file's onto the current mapping
// as a new skin after the others, named beside the picture (see
// UnusedSkinPath) below `baseFolder`; `vmapFile` names the mapping file in
// the messages.
OpResult RetroMapToNewSkin(Document& document, const Skin& picture, const std::string& vmapFile,
                           std::uint8_t background, const std::string& baseFolder);

// --- Skins > Palette and Invert..., on the current skin ---
OpResult Repalette(Document& document, const std::string& paletteFile);
// Slots 3 and 2 name the run of indices to replace, slots 5 and 4 the run
// they become.
OpResult ReplaceColours(Document& document, const std::array<std::uint8_t, 8>& slots);
OpResult SetDefaultPalette(Document& document, const std::string& palettePath, const std::string& baseFolder);
enum class InvertWhat { Palette, Pixels, Both };
OpResult Invert(Document& document, InvertWhat what);

// --- Skins > Skin F/X..., on the skin area the selection's mapping covers ---
OpResult OutlineSelected(Document& document, const EditorState& editor, CRasterizer& rasterizer);
OpResult FillSelected(Document& document, const Lighting& lighting, const EditorState& editor,
                      CRasterizer& rasterizer);
OpResult ShadeSelected(Document& document, const Lighting& lighting, const EditorState& editor,
                       CRasterizer& rasterizer);
// `picture` must be the skin's size.
OpResult LoadToSelected(Document& document, const Skin& picture, const EditorState& editor, CRasterizer& rasterizer);
