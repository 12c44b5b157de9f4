#include "shell/recent_files.h"

#include "editor/document.h"
#include "image/skin_set.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "shell/app.h"
#include "shell/file_commands.h"
#include "shell/skin_commands.h"

namespace {

std::string ModelKey(int i) { return "File-" + std::to_string(i); }
std::string SkinsKey(int i) { return "File-" + std::to_string(i) + " Skins"; }

}  // namespace

std::vector<RecentFile> LoadRecentFiles(const Profile& profile) {
  std::vector<RecentFile> files;
  for (int i = 0; i < kMaxRecentFiles; ++i) {
    RecentFile file;
    file.model = profile.GetString(kRecentSection, ModelKey(i), "");
    if (file.model.empty()) break;
    const std::string skins = profile.GetString(kRecentSection, SkinsKey(i), "");
    std::size_t from = 0;
    while (from < skins.size()) {
      const std::size_t end = std::min(skins.find('\n', from), skins.size());
      if (end > from) file.skins.push_back(skins.substr(from, end - from));
      from = end + 1;
    }
    files.push_back(std::move(file));
  }
  return files;
}

void SaveRecentFiles(Profile& profile, const std::vector<RecentFile>& files) {
  for (int i = 0; i < kMaxRecentFiles; ++i) {
    const bool used = i < static_cast<int>(files.size());
    std::string skins;
    if (used)
      for (const std::string& skin : files[static_cast<std::size_t>(i)].skins) skins += (skins.empty() ? "" : "\n") + skin;
    profile.WriteString(kRecentSection, ModelKey(i), used ? files[static_cast<std::size_t>(i)].model : "");
    profile.WriteString(kRecentSection, SkinsKey(i), skins);
  }
}

void ClearRecentFiles(Profile& profile) { SaveRecentFiles(profile, {}); }

bool NoteRecentFile(App& app) {
  if (!app.model.modelLoaded || app.document.currentFile.empty()) return false;
  RecentFile now;
  now.model = ResolvePath(app.document.currentFile);
  for (const auto& skin : app.model.skins)
    if ((skin->flags & SKIN_EXTERNAL) && skin->hasFile && !skin->path.empty()) now.skins.push_back(HostSkinPath(skin->path));
  std::vector<RecentFile> files = LoadRecentFiles(app.profile);
  if (!files.empty() && files.front() == now) return false;
  std::erase_if(files, [&](const RecentFile& f) { return f.model == now.model; });
  files.insert(files.begin(), std::move(now));
  if (files.size() > static_cast<std::size_t>(kMaxRecentFiles)) files.resize(kMaxRecentFiles);
  SaveRecentFiles(app.profile, files);
  return true;
}

bool RecentFileExists(const RecentFile& file) { return IsReadableFile(file.model); }

void OpenRecentFile(App& app, const RecentFile& file) {
  if (!OpenModelFile(app, file.model)) return;
  bool any = false;
  for (const std::string& skin : file.skins) any = any || IsReadableFile(skin);
  if (!any) return;
  {
    DocumentStep step(app.document, "Open Skin", STEP_SKINS);
    for (const std::string& skin : file.skins)
      if (IsReadableFile(skin)) OpenSkinFile(app, skin);
  }
  app.ActionEnded();
}
