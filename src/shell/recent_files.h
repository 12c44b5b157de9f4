#pragma once
// File > Open Recent: the last models opened, each with the external skins
// it had open beside it, newest first, kept in the settings.

#include <string>
#include <vector>

class App;
class Profile;

inline constexpr char kRecentSection[] = "Recent Files";
inline constexpr int kMaxRecentFiles = 8;

struct RecentFile {
  std::string model;
  std::vector<std::string> skins;  // external skins, in the order they were open
  bool operator==(const RecentFile&) const = default;
};

std::vector<RecentFile> LoadRecentFiles(const Profile& profile);
void SaveRecentFiles(Profile& profile, const std::vector<RecentFile>& files);
void ClearRecentFiles(Profile& profile);

// Puts the open model, with its external skins as they stand, at the head
// of the list; nothing without a model. True when the list changed.
bool NoteRecentFile(App& app);
// Whether the model file is still there (a gone one shows disabled).
bool RecentFileExists(const RecentFile& file);
// Opens the model through File > Open's questions, then its skins as
// Skins > Open would (one undo step); a skin gone since is passed over.
void OpenRecentFile(App& app, const RecentFile& file);
