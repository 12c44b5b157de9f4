#include "shell/skin_commands.h"

#include <string>
#include <utility>

#include "editor/settle_skins.h"
#include "editor/skin_list_ops.h"
#include "image/image_files.h"
#include "image/new_skin.h"
#include "image/png_write.h"
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

Skin* CurrentSkin(App& app) { return app.model.SettleCurrentSkin(); }

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

// What a true-colour picture is brought into: the current skin's palette,
// the default one without a skin.
Palette PicturePalette(App& app) {
  Palette palette = GreyRampPalette();
  if (const Skin* current = CurrentSkin(app))
    palette = current->palette;
  else
    LoadDefaultPalette(app.profile.Get(kPalettePathSetting), app.baseFolder, palette);
  return palette;
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
  SettleSkinList(app);
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
  const SkinFileResult opened =
      ::OpenSkinFile(app.document, path, app.baseFolder, PicturePalette(app), app.ditherTrueColour);
  if (opened.fileError) ShowContentError(app.ui, *opened.fileError);
  if (!ShowOpResult(app.ui, opened.result)) return false;
  SettleSkinList(app);
  AfterCurrentSkinChanged(app);
  return true;
}

void OnSkinClose(App& app) {
  Model& m = app.model;
  if (!CurrentSkin(app)) return;
  if (!OfferToSaveChangedSkins(app, {m.currentSkinIndex})) return;
  AfterListOp(app, CloseCurrentSkin(app.document));
}

std::unique_ptr<Skin> LoadPictureAsSkin(App& app, const std::string& path) {
  auto loaded = LoadSkinImage(HostSkinPath(PathIn(app.baseFolder, path)), PicturePalette(app), app.ditherTrueColour);
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
  const SkinFileResult linked =
      LinkCurrentSkin(app.document, path, app.baseFolder, [&app] { app.recovery.SkinsSettled(); });
  if (linked.fileError) ShowFileError(app.ui, *linked.fileError);
  ShowOpResult(app.ui, linked.result);
}

void OnSkinUnlink(App& app) {
  if (ShowOpResult(app.ui, UnlinkCurrentSkin(app.document))) SettleSkinList(app);
}

// The bar's re-partition undoes a move across the linked/external border.
void OnSkinMoveUp(App& app) { AfterListOp(app, MoveCurrentSkin(app.document, -1)); }
void OnSkinMoveDown(App& app) { AfterListOp(app, MoveCurrentSkin(app.document, +1)); }

void OnSkinStore(App& app) { StoreCurrentSkin(app.document); }

void OnSkinRevert(App& app) { ShowOpResult(app.ui, RevertCurrentSkin(app.document)); }

void OnSkinReload(App& app) {
  const SkinFileResult reloaded = ReloadCurrentSkin(app.document, app.ditherTrueColour);
  if (reloaded.fileError) ShowContentError(app.ui, *reloaded.fileError);
  if (ShowOpResult(app.ui, reloaded.result)) AfterCurrentSkinChanged(app);
}

void OnSkinResizeAll(App& app) {
  Model& m = app.model;
  if (!app.services.skinDialogs || !HasSkinSize(app)) return;
  auto answer = app.services.skinDialogs->AskResizeSkins(ResizeSkinsDialog{m.skinWidth, m.skinHeight, true});
  if (!answer) return;
  if (ShowOpResult(app.ui, ResizeAllSkins(app.document, app.editor, answer->width, answer->height,
                                          answer->enforceLimits)))
    SettleSkinList(app);
}
