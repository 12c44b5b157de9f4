#include "shell/shortcut_keys.h"

#include <algorithm>

#include "platform/profile.h"
#include "shell/app.h"
#include "shell/command_table.h"

namespace {

// A command whose keys were never changed is stored as this (or not at all),
// so an empty value can mean "no key".
constexpr char kOwnKeys[] = "*";

std::string JoinKeys(const std::vector<std::string>& keys) {
  std::string joined;
  for (const std::string& key : keys) joined += (joined.empty() ? "" : "\t") + key;
  return joined;
}

std::vector<std::string> SplitKeys(const std::string& joined) {
  std::vector<std::string> keys;
  std::size_t from = 0;
  while (from < joined.size()) {
    const std::size_t tab = std::min(joined.find('\t', from), joined.size());
    if (tab > from) keys.push_back(joined.substr(from, tab - from));
    from = tab + 1;
  }
  return keys;
}

}  // namespace

std::string ShortcutConflict(const App& app, const std::string& commandName, const std::string& key) {
  if (key.empty()) return {};
  for (const Command& c : CommandTable()) {
    if (c.name == commandName) continue;
    const std::vector<std::string> keys = CommandKeys(app, c);
    if (std::find(keys.begin(), keys.end(), key) != keys.end()) return c.name;
  }
  return {};
}

std::string ShortcutTakenText(const std::string& key, const std::string& other) {
  return key + " is already the key of \"" + other + "\".";
}

std::string SetCommandKeys(App& app, const std::string& commandName, const std::vector<std::string>& keys) {
  if (!FindCommand(commandName)) return {};
  for (const std::string& key : keys)
    if (const std::string other = ShortcutConflict(app, commandName, key); !other.empty())
      return ShortcutTakenText(key, other);
  app.shortcutKeys[commandName] = keys;
  app.profile.WriteString(kShortcutsSection, commandName, JoinKeys(keys));
  return {};
}

void ResetCommandKeys(App& app, const std::string& commandName) {
  if (app.shortcutKeys.erase(commandName)) app.profile.WriteString(kShortcutsSection, commandName, kOwnKeys);
}

void LoadShortcutKeys(App& app) {
  app.shortcutKeys.clear();
  for (const Command& c : CommandTable()) {
    const std::string stored = app.profile.GetString(kShortcutsSection, c.name, kOwnKeys);
    if (stored != kOwnKeys) app.shortcutKeys[c.name] = SplitKeys(stored);
  }
}
