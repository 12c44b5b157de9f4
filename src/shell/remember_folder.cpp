#include "shell/remember_folder.h"

#include "platform/files.h"
#include "platform/profile.h"
#include "shell/app.h"

void RememberFolder(const std::string& chosenPath, std::string& folder, const std::string& key,
                    Profile& profile, const std::string& baseFolder) {
  std::string chosen = FolderPart(chosenPath);
  if (!ChangeFolder(chosen)) {
    chosen = profile.GetString("Project", key, "Unknown");
    if (chosen == "Unknown" || !ChangeFolder(chosen)) {
      chosen = baseFolder;
      ChangeFolder(chosen);
    }
  }
  folder = chosen;
  profile.WriteString("Project", key, folder);
}

void RememberFolder(App& app, const std::string& chosenPath, std::string& folder, const std::string& key) {
  RememberFolder(chosenPath, folder, key, app.profile, app.baseFolder);
}

void EnterDialogFolder(const std::string& folder) { ChangeFolder(folder); }
