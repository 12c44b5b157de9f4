#include "editor/skin_file_ops.h"

#include <utility>

#include "editor/document.h"
#include "editor/settle_skins.h"
#include "editor/skin_fingerprint.h"
#include "image/image_files.h"
#include "image/skin_resize.h"
#include "image/skin_set.h"
#include "model/md2_load.h"
#include "platform/files.h"

namespace {

bool HasSkinSize(const Model& m) { return m.skinWidth > 0 && m.skinHeight > 0; }

// A message about a file, with the file on a line of its own.
OpResult RefusedAbout(const char* text, const std::string& path) {
  return OpResult::Refused(std::string(text) + "\n" + HostSkinPath(path));
}

SkinFileResult Only(OpResult result) { return {std::move(result), std::nullopt, {}}; }

}  // namespace

SkinFileResult OpenSkinFile(Document& document, const std::string& path, const std::string& baseFolder,
                            const Palette& palette, bool dither) {
  Model& m = document.model;
  auto loaded = LoadSkinImage(HostSkinPath(PathIn(baseFolder, path)), palette, dither);
  if (!loaded) return {OpResult::Nothing(), loaded.error(), {}};
  std::unique_ptr<Skin> skin = std::move(*loaded);
  if (skin->width != m.skinWidth || skin->height != m.skinHeight) return Only(RefusedAbout(kSkinWrongSizeText, path));
  DocumentStep step(document, "Open Skin", STEP_SKINS);
  skin->name = skin->path;
  skin->flags |= SKIN_EXTERNAL;
  AppendSkinToList(m.skins, m.currentSkinIndex, std::move(skin));
  return Only(OpResult::Done());
}

SkinFileResult LinkCurrentSkin(Document& document, const std::string& path, const std::string& baseFolder,
                               const std::function<void()>& settled) {
  Skin* skin = document.model.SettleCurrentSkin();
  if (!skin || !IsExternalSkin(*skin)) return Only(OpResult::Nothing());
  DocumentStep step(document, "Link Skin", STEP_SKINS);
  // Opened before the write: the history is carried over what the file
  // now makes of the skin.
  SkinSave save(document, *skin);
  WriteResult written = WritePcx(*skin, HostSkinPath(path));
  if (!written) return {RefusedAbout(kSkinSaveFailedText, path), written.error(), {}};
  skin->path = path;
  skin->name = LinkedSkinName(path, baseFolder);
  skin->hasFile = 1;
  skin->flags = 0;
  skin->storedPixels = skin->pixels;
  // Settled while the save is open, so the skin is carried to its place
  // among the linked ones.
  if (SettleSkins(document.model) && settled) settled();
  save.Written(*skin);
  // A save is no step: the list's new name is told here.
  document.changes.Announce(kSkinListChanged);
  return Only(OpResult::Done());
}

SkinFileResult ReloadCurrentSkin(Document& document, bool dither) {
  Model& m = document.model;
  Skin* skin = m.SettleCurrentSkin();
  if (!skin || !skin->hasFile) return Only(OpResult::Nothing());
  auto read = LoadSkinImage(HostSkinPath(skin->path), skin->palette, dither);
  if (!read) return {RefusedAbout(kReloadFailedText, skin->path), read.error(), {}};
  std::unique_ptr<Skin> loaded = std::move(*read);
  if (loaded->width != m.skinWidth || loaded->height != m.skinHeight)
    return Only(RefusedAbout(kReloadWrongSizeText, skin->path));
  DocumentStep step(document, "Reload Skin", STEP_CURRENT_SKIN);
  skin->pixels = std::move(loaded->pixels);
  skin->storedPixels = std::move(loaded->storedPixels);
  skin->palette = loaded->palette;
  skin->width = loaded->width;
  skin->height = loaded->height;
  ComputeRowOffsets(skin);
  MarkSkinSaved(*skin);  // it is what its file holds again
  return Only(OpResult::Done());
}

SkinFileResult ScanFolderIntoSkins(Document& document, const std::string& folder, const std::string& baseFolder) {
  if (!FolderUsable(folder)) return Only(OpResult::Refused(std::string(kFolderInvalidText) + "\n" + folder));
  Model& m = document.model;
  DocumentStep step(document, "Scan Folder for Skins", STEP_SKINS);
  const std::size_t before = m.skins.size();
  SkinFileResult result{OpResult::Nothing(), std::nullopt, ScanFolderForSkins(m, baseFolder, folder)};
  if (m.skins.size() > before) result.result = OpResult::Done();
  return result;
}

OpResult ResizeAllSkins(Document& document, EditorState& editor, int width, int height, bool enforceLimits) {
  Model& m = document.model;
  if (!HasSkinSize(m)) return OpResult::Nothing();
  const int oldW = m.skinWidth, oldH = m.skinHeight;
  std::string refused = CheckSkinResize(oldW, oldH, width, height, enforceLimits);
  if (!refused.empty()) return OpResult::Refused(refused);
  DocumentStep step(document, "Re-size All Skins", STEP_SKINS | STEP_MESH);
  for (auto& skin : m.skins) ResampleSkin(*skin, width, height);
  for (int i = 0; i < m.MapVertexCount(); ++i) {
    MapVertex& v = m.mapVertices[static_cast<std::size_t>(i)];
    v.s = ScaleMapCoordinate(v.s, oldW, width);
    v.t = ScaleMapCoordinate(v.t, oldH, height);
  }
  m.skinWidth = static_cast<std::int16_t>(width);
  m.skinHeight = static_cast<std::int16_t>(height);
  // The frame keeps covering the same part of the picture, as the mapping
  // does; left in old-size coordinates a grown skin's frame would cover only
  // part of what it covered before.
  MappingFrame& frame = editor.mappingFrame;
  frame = NormalisedFrame(frame, oldW, oldH);
  const float sx = static_cast<float>(width) / static_cast<float>(oldW);
  const float sy = static_cast<float>(height) / static_cast<float>(oldH);
  frame = {frame.left * sx, frame.top * sy, frame.right * sx, frame.bottom * sy};
  m.WeldMapVertices(1);
  return OpResult::Done();
}
