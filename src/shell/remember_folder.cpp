#include "shell/remember_folder.h"

#include "platform/files.h"
#include "platform/profile.h"
#include "shell/app.h"

void RememberFolder(const std::string& chosenPath, std::string& folder, const std::string& key,
                    Profile& profile, const std::string& baseFolder) {
  std::string chosen = FolderPart(chosenPath);
  if (!FolderUsable(chosen)) {
    // "LoadDir" and "SaveDir" share their section and their default.
    chosen = profile.GetString(kProjectSection, key, kUnknownSetting);
    if (chosen == kUnknownSetting || !FolderUsable(chosen)) chosen = baseFolder;
  }
  folder = chosen;
  profile.WriteString(kProjectSection, key, folder);
}

void RememberFolder(App& app, const std::string& chosenPath, std::string& folder, const std::string& key) {
  RememberFolder(chosenPath, folder, key, app.profile, app.baseFolder);
}
