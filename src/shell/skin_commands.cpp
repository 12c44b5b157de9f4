#include "shell/skin_commands.h"

#include <cmath>
#include <string>
#include <utility>

#include "editor/settle_skins.h"
#include "editor/skin_list_ops.h"
#include "image/image_files.h"
#include "image/new_skin.h"
#include "image/png_write.h"
#include "image/skin_resize.h"
#include "image/skin_set.h"
#include "model/default_palette.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/show_file_error.h"
#include "render/rasterizer.h"
#include "shell/app.h"
#include "shell/file_dialog_step.h"
#include "shell/show_op_result.h"
#include "shell/skin_dialogs.h"

namespace {

constexpr int kFilterSupported = 1;
constexpr int kFilterMeshSkin = 2;
constexpr int kFilterBitmap = 3;
constexpr int kFilterPng = 5;  // Save As only; in the open filter 5 is All Files

// A message about a file, with the file on a line of its own.
void TellAbout(App& app, const char* text, const std::string& path) {
  app.ui.Message(std::string(text) + "\n" + HostSkinPath(path));
}

bool Yes(App& app, const char* question) {
  return app.ui.Message(question, MsgButtons::YesNo) == MsgAnswer::Yes;
}

bool HasSkinSize(const App& app) { return app.model.skinWidth > 0 && app.model.skinHeight > 0; }

void SyncCurrentSkin(App& app) {
  Model& m = app.model;
  if (m.skins.empty()) {
    m.currentSkinIndex = -1;
  } else if (m.currentSkinIndex < 0 || m.currentSkinIndex >= static_cast<int>(m.skins.size())) {
    m.currentSkinIndex = 0;
  }
}

Skin* CurrentSkin(App& app) {
  SyncCurrentSkin(app);
  return app.model.CurrentSkin();
}

std::optional<ChosenFile> AskForSkinFile(App& app, bool save, const char* filter, const std::string& initialName,
                                         const std::string& title = {}) {
  FileDialogRequest request;
  request.save = save;
  request.title = title;
  request.filter = filter;
  request.initialName = initialName;
  const bool link = filter == kLinkFilter;
  const bool saveAs = filter == kSkinFilter;
  return AskForFile(app, request, save ? DialogFolder::Save : DialogFolder::Load, [link, saveAs](int filterIndex) {
    if (link) return std::string(".pcx");
    if (saveAs && filterIndex == kFilterPng) return std::string(".png");
    return EnsureExtension("", filterIndex);
  });
}

bool Write(Skin& skin, std::uint8_t format, const std::string& path, Ui& ui) {
  const std::string file = HostSkinPath(path);
  WriteResult written = format == FORMAT_BMP   ? WriteBmp(skin, file)
                        : format == FORMAT_PNG ? WritePng(skin, file)
                                               : WritePcx(skin, file);
  if (!written) {
    ShowFileError(ui, written.error());
    return false;
  }
  if (format == FORMAT_PNG) skin.format = FORMAT_PNG;
  return true;
}

// ".bmp" anywhere in the path, in any case, so "X.BMP" is not written as
// PCX data under a bitmap name.
bool ContainsBmpName(const std::string& path) {
  for (std::size_t i = 0; i + 4 <= path.size(); ++i) {
    if (path[i] == '.' && (path[i + 1] | 0x20) == 'b' && (path[i + 2] | 0x20) == 'm' &&
        (path[i + 3] | 0x20) == 'p')
      return true;
  }
  return false;
}

// Save As picks the writer by the filter the user chose, not by the name:
// with "Mesh Skin" a name ending in .bmp still gets PCX data.
std::uint8_t FormatForFilter(int filterIndex, const std::string& path, const Skin& skin) {
  switch (filterIndex) {
    case kFilterSupported:
      if (ExtensionOf(path) == "png") return FORMAT_PNG;
      return ContainsBmpName(path) ? FORMAT_BMP : FORMAT_PCX;
    case kFilterMeshSkin:
      return FORMAT_PCX;
    case kFilterBitmap:
      return FORMAT_BMP;
    case kFilterPng:
      return FORMAT_PNG;
    default:
      return IsWritableSkinFormat(skin.format) ? skin.format : FORMAT_PCX;
  }
}

// Asks the base-folder question for a linked target outside the base
// folder; false when the user says no.
bool AcceptTarget(App& app, const std::string& path) {
  if (IsBelowBaseFolder(path, app.baseFolder)) return true;
  return Yes(app, kOutsideBaseFolderText);
}

void AfterCurrentSkinChanged(App& app) {
  app.RebuildPaintTable();
  app.RebuildShadeRamps();
}

}  // namespace

void SettleSkinList(App& app) {
  if (SettleSkins(app.model)) app.recovery.SkinsSettled();
}

void RefreshSkinBar(App& app) {
  SettleSkinList(app);
  app.RefreshAll();
}

void AppendSkin(App& app, std::unique_ptr<Skin> skin) {
  AppendSkinToList(app.model.skins, app.model.currentSkinIndex, std::move(skin));
  RefreshSkinBar(app);
  AfterCurrentSkinChanged(app);
}

void DrawMeshOutline(App& app, Skin& skin, std::uint8_t colour) { DrawMeshOutline(app.model, skin, colour); }

// After an operation on the list: the bar shows it in order, and the tables
// follow the current skin.
void AfterListOp(App& app, const OpResult& result) {
  if (!ShowOpResult(app.ui, result)) return;
  RefreshSkinBar(app);
  AfterCurrentSkinChanged(app);
}

void OnSkinNew(App& app) {
  if (!HasSkinSize(app)) return;
  Palette palette{};
  if (Skin* current = CurrentSkin(app))
    palette = current->palette;
  else
    LoadDefaultPalette(app.profile.Get(kPalettePathSetting), app.baseFolder, palette);
  NewSkinLook look;
  look.checkerboard = Yes(app, kCheckerboardQuestion);
  look.gridDots = Yes(app, kGridQuestion);
  look.meshOutline = Yes(app, kMeshOutlineQuestion);
  AfterListOp(app, NewSkin(app.document, app.editor, palette, look));
}

void OnSkinDuplicate(App& app) {
  if (!HasSkinSize(app)) return;
  NewSkinLook look;
  if (!CurrentSkin(app)) {
    app.ui.Message(kNothingToDuplicateText);
    look.checkerboard = Yes(app, kCheckerboardQuestion);
    look.meshOutline = Yes(app, kMeshOutlineQuestion);
  }
  AfterListOp(app, DuplicateCurrentSkin(app.document, app.editor, look));
}

void OnSkinOpen(App& app) {
  auto chosen = AskForSkinFile(app, false, kSkinOpenFilter, "*.pcx;*.bmp");
  if (!chosen) return;
  OpenSkinFile(app, chosen->path);
}

bool OpenSkinFile(App& app, const std::string& path) {
  auto skin = LoadPictureAsSkin(app, path);
  if (!skin) return false;
  if (skin->width != app.model.skinWidth || skin->height != app.model.skinHeight) {
    TellAbout(app, kSkinWrongSizeText, path);
    return false;
  }
  skin->name = skin->path;
  skin->flags |= SKIN_EXTERNAL;
  AppendSkin(app, std::move(skin));
  return true;
}

void OnSkinClose(App& app) {
  Model& m = app.model;
  if (!CurrentSkin(app)) return;
  if (!OfferToSaveChangedSkins(app, {m.currentSkinIndex})) return;
  AfterListOp(app, CloseCurrentSkin(app.document));
}

std::unique_ptr<Skin> LoadPictureAsSkin(App& app, const std::string& path) {
  Palette palette = GreyRampPalette();
  if (const Skin* current = CurrentSkin(app))
    palette = current->palette;
  else
    LoadDefaultPalette(app.profile.Get(kPalettePathSetting), app.baseFolder, palette);
  auto loaded = LoadSkinImage(HostSkinPath(PathIn(app.baseFolder, path)), palette, app.ditherTrueColour);
  if (!loaded) {
    ShowContentError(app.ui, loaded.error());
    return nullptr;
  }
  return std::move(*loaded);
}

// A save writes a file; it is no step to undo. It does give the skin what
// the file now holds (the stored pixels, under a new name its name, file and
// format, perhaps a new place among the linked skins), and the history is
// carried over that, so Undo still takes back the last edit and finds the
// skins as its steps left them. Opened before the write, since writing sets
// the format.
class SaveStep {
 public:
  SaveStep(App& app, Skin& skin) : app_(app), save_(app.document, skin) {}
  // The list is settled while the save is open, so a skin that moves among
  // the linked ones is carried to its new place.
  void Saved(Skin& skin) {
    SettleSkinList(app_);
    save_.Written(skin);
  }

 private:
  App& app_;
  SkinSave save_;
};

bool SaveSkin(App& app, Skin& skin) {
  if (!skin.hasFile) return SaveSkinAs(app, skin);
  // The program writes neither: the skin is offered a PCX beside its file
  // rather than PCX data under the old name.
  if (skin.format == FORMAT_TGA || skin.format == FORMAT_JPEG)
    return SaveSkinAs(app, skin, WithExtension(HostSkinPath(skin.path), ".pcx"));
  if (!IsWritableSkinFormat(skin.format)) {
    TellAbout(app, kSkinSaveFailedText, skin.path);
    return false;
  }
  SaveStep step(app, skin);
  if (!Write(skin, skin.format, skin.path, app.ui)) {
    TellAbout(app, kSkinSaveFailedText, skin.path);
    return false;
  }
  skin.storedPixels = skin.pixels;
  step.Saved(skin);
  return true;
}

bool SaveSkinAs(App& app, Skin& skin, const std::string& initialName) {
  // A skin made from another one (Retro-Map) already has the name it is
  // shown under; no file holds it yet.
  const std::string offered = !initialName.empty()              ? initialName
                              : !skin.hasFile && !skin.path.empty() ? HostSkinPath(skin.path)
                                                                    : std::string("*.pcx;*.bmp");
  // Asked from a question or a plain Save, the dialog has to say which skin
  // it wants a name for.
  auto chosen = AskForSkinFile(app, true, kSkinFilter, offered,
                               std::string(kSaveSkinAsTitle) + SkinListLabel(skin, app.baseFolder));
  if (!chosen) return false;
  const std::string& path = chosen->path;
  std::uint8_t format = FormatForFilter(chosen->filterIndex, path, skin);

  const bool linked = !IsExternalSkin(skin);
  if (linked && !AcceptTarget(app, path)) return false;
  // A failed write keeps the skin as it was: its name and file still describe
  // what is on disk.
  SaveStep step(app, skin);
  if (!Write(skin, format, path, app.ui)) {
    TellAbout(app, kSkinSaveFailedText, path);
    return false;
  }
  skin.path = path;
  skin.name = linked ? LinkedSkinName(path, app.baseFolder) : path;
  skin.hasFile = 1;
  skin.format = format;
  skin.storedPixels = skin.pixels;
  step.Saved(skin);
  RefreshSkinBar(app);
  return true;
}

bool OfferToSaveChangedSkins(App& app, const std::vector<int>& indices) {
  std::vector<Skin*> changed;
  for (int i : indices)
    if (Skin* skin = SkinAt(app.model.skins, i); skin && SkinChanged(*skin)) changed.push_back(skin);
  if (changed.empty()) return true;
  std::string question = changed.size() == 1 ? kSaveChangedSkinText : kSaveChangedSkinsText;
  for (const Skin* skin : changed) {
    question += '\n';
    question += SkinListLabel(*skin, app.baseFolder);
  }
  switch (app.ui.Message(question, MsgButtons::YesNoCancel)) {
    case MsgAnswer::Cancel:
      return false;
    case MsgAnswer::No:
      return true;
    default:
      break;
  }
  for (Skin* skin : changed)
    if (!SaveSkin(app, *skin)) return false;
  return true;
}

void OnSkinSave(App& app) {
  if (Skin* skin = CurrentSkin(app)) SaveSkin(app, *skin);
}

void OnSkinSaveAs(App& app) {
  if (Skin* skin = CurrentSkin(app)) SaveSkinAs(app, *skin);
}

void OnSkinLink(App& app) {
  Skin* skin = CurrentSkin(app);
  if (!skin || !IsExternalSkin(*skin)) return;
  auto chosen = AskForSkinFile(app, true, kLinkFilter, "*.pcx");
  if (!chosen) return;
  const std::string& path = chosen->path;
  if (!AcceptTarget(app, path)) return;
  SaveStep step(app, *skin);
  if (!Write(*skin, FORMAT_PCX, path, app.ui)) {
    TellAbout(app, kSkinSaveFailedText, path);
    return;
  }
  skin->path = path;
  skin->name = LinkedSkinName(path, app.baseFolder);
  skin->hasFile = 1;
  skin->flags = 0;
  skin->storedPixels = skin->pixels;
  step.Saved(*skin);
  RefreshSkinBar(app);
}

void OnSkinUnlink(App& app) {
  if (ShowOpResult(app.ui, UnlinkCurrentSkin(app.document))) RefreshSkinBar(app);
}

// The bar's re-partition undoes a move across the linked/external border.
void OnSkinMoveUp(App& app) { AfterListOp(app, MoveCurrentSkin(app.document, -1)); }
void OnSkinMoveDown(App& app) { AfterListOp(app, MoveCurrentSkin(app.document, +1)); }

void OnSkinStore(App& app) { StoreCurrentSkin(app.document); }

void OnSkinRevert(App& app) { ShowOpResult(app.ui, RevertCurrentSkin(app.document)); }

void OnSkinReload(App& app) {
  Skin* skin = CurrentSkin(app);
  if (!skin || !skin->hasFile) return;
  // A skin read from a true-colour picture is read again through its own palette.
  auto read = LoadSkinImage(HostSkinPath(skin->path), skin->palette, app.ditherTrueColour);
  if (!read) {
    ShowContentError(app.ui, read.error());
    TellAbout(app, kReloadFailedText, skin->path);
    return;
  }
  std::unique_ptr<Skin> loaded = std::move(*read);
  if (loaded->width != app.model.skinWidth || loaded->height != app.model.skinHeight) {
    TellAbout(app, kReloadWrongSizeText, skin->path);
    return;
  }
  skin->pixels = std::move(loaded->pixels);
  skin->storedPixels = std::move(loaded->storedPixels);
  skin->palette = loaded->palette;
  skin->width = loaded->width;
  skin->height = loaded->height;
  ComputeRowOffsets(skin);
  MarkSkinSaved(*skin);  // it is what its file holds again
  RefreshSkinBar(app);
  AfterCurrentSkinChanged(app);
}

void OnSkinResizeAll(App& app) {
  Model& m = app.model;
  if (!app.skinDialogs || !HasSkinSize(app)) return;
  auto answer = app.skinDialogs->AskResizeSkins(ResizeSkinsDialog{m.skinWidth, m.skinHeight, true});
  if (!answer) return;
  const int oldW = m.skinWidth, oldH = m.skinHeight;
  const int w = answer->width, h = answer->height;
  std::string refused = CheckSkinResize(oldW, oldH, w, h, answer->enforceLimits);
  if (!refused.empty()) {
    app.ui.Message(refused);
    return;
  }
  for (auto& skin : m.skins) ResampleSkin(*skin, w, h);
  for (int i = 0; i < m.MapVertexCount(); ++i) {
    MapVertex& v = m.mapVertices[static_cast<std::size_t>(i)];
    v.s = ScaleMapCoordinate(v.s, oldW, w);
    v.t = ScaleMapCoordinate(v.t, oldH, h);
  }
  m.skinWidth = static_cast<std::int16_t>(w);
  m.skinHeight = static_cast<std::int16_t>(h);
  // The frame keeps covering the same part of the picture, as the mapping
  // does; left in old-size coordinates a grown skin's frame would cover only
  // part of what it covered before.
  MappingFrame& frame = app.editor.mappingFrame;
  frame = NormalisedFrame(frame, oldW, oldH);
  const float sx = static_cast<float>(w) / static_cast<float>(oldW);
  const float sy = static_cast<float>(h) / static_cast<float>(oldH);
  frame = {frame.left * sx, frame.top * sy, frame.right * sx, frame.bottom * sy};
  m.WeldMapVertices(1);
  RefreshSkinBar(app);
}
