#include "shell/file_commands.h"

#include <string>

#include "platform/files.h"
#include "platform/profile.h"
#include "platform/show_file_error.h"
#include "platform/ui.h"
#include "shell/app.h"
#include "shell/file_dialog_step.h"
#include "shell/show_op_result.h"
#include "shell/skin_commands.h"

namespace {

constexpr char kOpenFilter[] = "Quake2 Model (*.md2)|*.md2|All Files (*.*)|*.*||";
constexpr char kSaveFilter[] = "Quake2 MD2 (*.md2)|*.md2|All Files (*.*)|*.*||";
constexpr char kSaveChangesText[] = "Save changes to the current Mesh?";
constexpr char kSaveFailedText[] = "An error occured while trying to save =[";
constexpr char kSaveAsFailedText[] = "An error occured while attempting to save!";
constexpr char kLoadErrorText[] = "There was an error loading the specified file!";
constexpr char kOutsideBaseText[] =
    "You are not saving below your base folder,\nare you sure you want to continue??";
constexpr char kBaseFolderTitle[] = "Please locate the 'baseq2' folder under Quake2";
constexpr char kRestartText[] = "You must restart VRK before the change will take effect.";
constexpr char kScanFolderTitle[] = "Select the folder you wish to browse...";

// Only a path without any '.' gets the extension: a dotted folder name
// counts, as it always has.
std::optional<ChosenFile> AskForMd2(App& app, bool save) {
  FileDialogRequest request;
  request.save = save;
  request.filter = save ? kSaveFilter : kOpenFilter;
  request.initialName = "*.md2";
  return AskForFile(app, request, save ? DialogFolder::Save : DialogFolder::Load, AlwaysExtension(".md2"));
}

}  // namespace

void OpenCommand(App& app) {
  auto chosen = AskForMd2(app, false);
  if (!chosen) return;
  OpenModelFile(app, chosen->path);
}

bool OpenModelFile(App& app, const std::string& path) {
  if (app.model.modelLoaded) {
    MsgAnswer answer = app.ui.Message(kSaveChangesText, MsgButtons::YesNoCancel);
    if (answer == MsgAnswer::Cancel) return false;
    // The old model is about to go: when its save fails, it stays.
    if (answer == MsgAnswer::Yes && !app.SaveMd2(app.document.currentFile)) {
      app.ui.Message(kSaveFailedText);
      return false;
    }
    if (!OfferToSaveChangedSkins(app, app.document.ChangedSkins())) return false;
  }
  if (const std::string file = ResolvePath(path); !IsReadableFile(file)) {
    app.ui.Message(std::string(kLoadErrorText) + "\n" + file);
    return false;
  }
  const bool loaded = app.LoadMd2(path) != 0;
  if (loaded) {
    app.document.currentFile = path;
    app.profile.Write(kCurFileSetting, path);
    LeaveTexturedModeWithoutSkins(app);
  }
  app.RefreshAll();
  return loaded;
}

void SaveCommand(App& app) {
  if (!app.model.modelLoaded) return;
  if (!app.SaveMd2(app.document.currentFile)) {
    app.ui.Message(kSaveFailedText);
    return;
  }
  app.recovery.AfterSave(app.document);
}

void SaveAsCommand(App& app) {
  if (!app.model.modelLoaded) return;
  auto chosen = AskForMd2(app, true);
  if (!chosen) return;
  const std::string& path = chosen->path;

  std::string below = app.baseFolder + "/";
  if (path.compare(0, below.size(), below) != 0 &&
      app.ui.Message(kOutsideBaseText, MsgButtons::YesNo) != MsgAnswer::Yes)
    return;
  if (!app.SaveMd2(path)) {
    // The model still belongs to the file it came from.
    app.ui.Message(kSaveAsFailedText);
    return;
  }
  app.document.currentFile = path;
  app.profile.Write(kCurFileSetting, path);
  app.recovery.AfterSave(app.document);
}

void BaseFolderCommand(App& app) {
  auto folder = app.ui.BrowseFolder(kBaseFolderTitle);
  if (!folder || !FolderUsable(*folder)) {
    app.ui.Message(folder ? std::string(kFolderInvalidText) + "\n" + *folder : kFolderInvalidText);
    return;
  }
  // The running program keeps its base folder; the new one counts from the
  // next start.
  app.profile.Write(kBaseDirSetting, *folder);
  app.ui.Message(kRestartText);
}

void ScanFolderCommand(App& app) {
  auto folder = app.ui.BrowseFolder(kScanFolderTitle);
  if (!folder) return;  // cancelled: nothing to say
  const SkinFileResult scanned = ScanFolderIntoSkins(app.document, *folder, app.baseFolder);
  if (scanned.result.done) SettleSkinList(app);
  ShowNotices(app.ui, scanned.notices);
  ShowOpResult(app.ui, scanned.result);
}
