#include "editor/document_ops.h"

#include <utility>

#include "editor/skin_effects.h"
#include "image/image_files.h"
#include "image/palette_ops.h"
#include "image/skin_set.h"
#include "model/default_palette.h"
#include "model/mapping_file.h"
#include "platform/files.h"
#include "render/lighting.h"
#include "render/viewport.h"

namespace {

constexpr int kShadingFlat = 0;
constexpr int kShadingSmooth = 1;

std::uint8_t ActiveColour(const EditorState& editor) {
  const int slot = editor.activeSlot >= 0 && editor.activeSlot < 8 ? editor.activeSlot : 0;
  return editor.colourSlots[static_cast<std::size_t>(slot)];
}

// A change of the current skin alone, as one step; nothing without a skin.
template <class Change>
OpResult OnCurrentSkin(Document& document, const char* name, Change&& change) {
  DocumentStep step(document, name, STEP_CURRENT_SKIN);
  Skin* skin = document.model.CurrentSkin();
  if (!skin) return OpResult::Nothing();
  return change(*skin);
}

template <class Change>
OpResult OnMesh(Document& document, const char* name, Change&& change) {
  DocumentStep step(document, name, STEP_MESH);
  change(document.model);
  return OpResult::Done();
}

OpResult Light(Document& document, const char* name, int kind, const Lighting& lighting, const EditorState& editor,
               CRasterizer& rasterizer) {
  return OnCurrentSkin(document, name, [&](Skin& skin) {
    SceneLight light;
    light.Fit(document.model);  // without a frame every level stays 0
    ComputeShading(document.model, lighting, kind, light);
    if (kind == kShadingFlat)
      FillSelected(document.model, light.model, skin, rasterizer, editor.paintStrength);
    else
      ShadeSelected(document.model, light.model, skin, rasterizer, editor.paintStrength);
    return OpResult::Done();
  });
}

}  // namespace

OpResult ExportMapping(Document& document, const std::string& file) {
  // The weld changes the mapping, so even a write is a step.
  DocumentStep step(document, "Export Mapping", STEP_MESH);
  document.model.WeldMapVertices(1);
  const int cause = WriteFileAtomic(file, EncodeVmap(document.model));
  if (cause != 0) return OpResult::Refused(SaveErrorText(file, cause));
  return OpResult::Done();
}

OpResult ImportMapping(Document& document, const std::string& file, bool toSelected) {
  DocumentStep step(document, toSelected ? "Import Mapping to Selected" : "Import Mapping", STEP_MESH);
  int cause = 0;
  auto bytes = ReadVmapFile(file, &cause);
  if (!bytes) return OpResult::Refused(LoadErrorText(file, cause));
  Model& m = document.model;
  if (toSelected) m.WeldMapVertices(1);
  // The stored mapping takes the old one first, so Revert undoes the import
  // (and is replaced even when the file is then refused).
  m.StoreMapping();
  std::string refused;
  auto data = ReadVmap(*bytes, m, !toSelected, &refused);
  if (!data) return OpResult::Refused(refused + "\n" + file);
  if (toSelected)
    ApplyVmapToSelected(m, *data);
  else
    ApplyVmap(m, *data);
  return OpResult::Done();
}

OpResult MapFrom3DView(Document& document, const Viewport& view, const EditorState& editor,
                       const MapFrom3DViewOptions& options) {
  return OnMesh(document, "Map from 3D View", [&](Model& m) {
    const MappingFrame frame = NormalisedFrame(editor.mappingFrame, m.skinWidth, m.skinHeight);
    MapFrom3DView(m, view, frame, options, editor.snapToGrid);
  });
}

OpResult FlipSelectedMapping(Document& document) {
  return OnMesh(document, "Flip Selected", [](Model& m) { FlipSelectedMapping(m); });
}

OpResult MirrorSelectedMapping(Document& document) {
  return OnMesh(document, "Mirror Selected", [](Model& m) { MirrorSelectedMapping(m); });
}

OpResult RotateSelectedMapping(Document& document) {
  DocumentStep step(document, "Rotate Selected", STEP_MESH);
  return {true, RotateSelectedMapping(document.model)};
}

OpResult SnapSelectedToGrid(Document& document) {
  return OnMesh(document, "Snap Selected to Grid", [](Model& m) { SnapSelectedToGrid(m); });
}

OpResult StoreMapping(Document& document) {
  return OnMesh(document, "Store Mapping", [](Model& m) { m.StoreMapping(); });
}

OpResult RevertMapping(Document& document) {
  return OnMesh(document, "Revert Mapping", [](Model& m) { m.RevertMapping(); });
}

OpResult DeleteSelectedMapping(Document& document) {
  return OnMesh(document, "Delete Selected Mapping", [](Model& m) { DeleteSelectedMapping(m); });
}

OpResult RetroMapToNewSkin(Document& document, const Skin& picture, const std::string& vmapFile,
                           std::uint8_t background, const std::string& baseFolder) {
  DocumentStep step(document, "Retro-Map", STEP_SKINS);
  Model& m = document.model;
  int cause = 0;
  auto bytes = ReadVmapFile(vmapFile, &cause);
  if (!bytes) return OpResult::Refused(LoadErrorText(vmapFile, cause));
  // The count has its own message here; the indices are not used.
  std::string refused;
  auto data = ReadVmap(*bytes, m, false, &refused);
  if (!data) return OpResult::Refused((refused == kVmapCountText ? kRetroMapCountText : refused) + "\n" + vmapFile);
  auto skin = RetroMap(m, picture, *data, background, &refused);
  if (!skin) return refused.empty() ? OpResult::Nothing() : OpResult::Refused(refused + "\n" + vmapFile);
  // A name of its own beside the picture's: the list, the changed-skins
  // question and its Save As must tell the two apart.
  skin->name = skin->path = UnusedSkinPath(picture.path, "_retro", m.skins, baseFolder);
  skin->format = SkinFormatForExtension(skin->path);
  skin->modified = true;  // a picture of its own that no file holds yet
  AppendSkinToList(m.skins, m.currentSkinIndex, std::move(skin));
  return OpResult::Done();
}

OpResult Repalette(Document& document, const std::string& paletteFile) {
  return OnCurrentSkin(document, "Re-Palette", [&](Skin& skin) {
    return RepaletteSkin(skin, paletteFile) ? OpResult::Done() : OpResult::Refused(kNoPaletteText);
  });
}

OpResult ReplaceColours(Document& document, const std::array<std::uint8_t, 8>& slots) {
  return OnCurrentSkin(document, "Replace Colors", [&](Skin& skin) {
    ReplaceColours(skin, slots[3], slots[2], slots[5], slots[4]);
    return OpResult::Done();
  });
}

OpResult SetDefaultPalette(Document& document, const std::string& palettePath, const std::string& baseFolder) {
  return OnCurrentSkin(document, "Set Default Palette", [&](Skin& skin) {
    LoadDefaultPalette(palettePath, baseFolder, skin.palette);
    return OpResult::Done();
  });
}

OpResult Invert(Document& document, InvertWhat what) {
  const char* name = what == InvertWhat::Palette  ? "Invert Palette"
                     : what == InvertWhat::Pixels ? "Invert Pixels"
                                                  : "Invert Both";
  return OnCurrentSkin(document, name, [what](Skin& skin) {
    if (what == InvertWhat::Palette)
      InvertPalette(skin);
    else if (what == InvertWhat::Pixels)
      InvertPixels(skin);
    else
      InvertBoth(skin);
    return OpResult::Done();
  });
}

OpResult OutlineSelected(Document& document, const EditorState& editor, CRasterizer& rasterizer) {
  return OnCurrentSkin(document, "Outline Selected", [&](Skin& skin) {
    OutlineSelected(document.model, skin, rasterizer, ActiveColour(editor), editor.paintStrength);
    return OpResult::Done();
  });
}

OpResult FillSelected(Document& document, const Lighting& lighting, const EditorState& editor,
                      CRasterizer& rasterizer) {
  return Light(document, "Fill Selected", kShadingFlat, lighting, editor, rasterizer);
}

OpResult ShadeSelected(Document& document, const Lighting& lighting, const EditorState& editor,
                       CRasterizer& rasterizer) {
  return Light(document, "Shade Selected", kShadingSmooth, lighting, editor, rasterizer);
}

OpResult LoadToSelected(Document& document, const Skin& picture, const EditorState& editor, CRasterizer& rasterizer) {
  return OnCurrentSkin(document, "Load To Selected", [&](Skin& skin) {
    const Model& m = document.model;
    const bool modelSize = picture.width == m.skinWidth && picture.height == m.skinHeight;
    if (!modelSize || !LoadToSelected(m, skin, picture, rasterizer, editor.paintStrength))
      return OpResult::Refused(kPictureWrongSizeText);
    return OpResult::Done();
  });
}
