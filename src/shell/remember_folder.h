#pragma once
// The folder a file dialog starts in, remembered between dialogs and runs.

#include <string>

class App;
class Profile;

// After a dialog: the chosen file's folder (a root keeps its separator)
// becomes the current folder; when it cannot, the profile's "Project"/`key`
// does, and when that is "Unknown" or unusable too, the base folder. The
// result goes into `folder` and back to the profile.
void RememberFolder(const std::string& chosenPath, std::string& folder, const std::string& key,
                    Profile& profile, const std::string& baseFolder);
void RememberFolder(App& app, const std::string& chosenPath, std::string& folder, const std::string& key);

// Before a dialog: its folder becomes the current folder, so a dialog that
// starts in the current folder opens there too.
void EnterDialogFolder(const std::string& folder);
