#pragma once
// The user's own keys for the commands of the command table, kept in the
// settings; a key that another command already answers to is refused with
// that command's name.

#include <string>
#include <vector>

class App;

inline constexpr char kShortcutsSection[] = "Shortcuts";

// The command (by name) other than `commandName` whose keys in force
// include `key`; empty when none does.
std::string ShortcutConflict(const App& app, const std::string& commandName, const std::string& key);
// "Ctrl+D is already the key of \"Skins > Duplicate\"."
std::string ShortcutTakenText(const std::string& key, const std::string& other);

// Gives the command these keys (none: no key at all); refused, with the
// text to show, when one of them belongs to another command. Kept in the
// settings at once.
std::string SetCommandKeys(App& app, const std::string& commandName, const std::vector<std::string>& keys);
// Back to the keys the command comes with.
void ResetCommandKeys(App& app, const std::string& commandName);
// Reads the user's keys at start-up.
void LoadShortcutKeys(App& app);
