#include "shell/file_dialog_step.h"

#include "image/skin_set.h"
#include "platform/profile_keys.h"
#include "shell/app.h"
#include "shell/remember_folder.h"

ExtensionForFilter AlwaysExtension(std::string extension) {
  return [extension = std::move(extension)](int) { return extension; };
}

std::optional<ChosenFile> AskForFile(App& app, FileDialogRequest request, DialogFolder folder,
                                     const ExtensionForFilter& extensionFor) {
  if (folder == DialogFolder::Load) request.initialFolder = app.loadFolder;
  if (folder == DialogFolder::Save) request.initialFolder = app.saveFolder;
  auto chosen = app.ui.FileDialog(request);
  if (!chosen) return std::nullopt;
  if (folder == DialogFolder::Load) RememberFolder(app, chosen->path, app.loadFolder, kLoadDirSetting.key);
  if (folder == DialogFolder::Save) RememberFolder(app, chosen->path, app.saveFolder, kSaveDirSetting.key);
  return ChosenFile{AppendExtensionIfNoDot(chosen->path, extensionFor(chosen->filterIndex)), chosen->filterIndex};
}
