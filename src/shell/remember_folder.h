#pragma once
// The folder a file dialog starts in, remembered between dialogs and runs.

#include <string>

class App;
class Profile;

// After a dialog: the chosen file's folder (a root keeps its separator) when
// it is usable; when not, the profile's "Project"/`key` (kLoadDirSetting's
// or kSaveDirSetting's key), and when that is "Unknown" or unusable too, the
// base folder. The result goes into `folder` and back to the profile. The
// current folder is not touched: every dialog is told its folder.
void RememberFolder(const std::string& chosenPath, std::string& folder, const std::string& key,
                    Profile& profile, const std::string& baseFolder);
void RememberFolder(App& app, const std::string& chosenPath, std::string& folder, const std::string& key);
