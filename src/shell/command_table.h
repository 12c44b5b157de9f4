#pragma once
// Every command of the program in one table: where it sits in the menu bar,
// its label and key, what it does and when it is enabled or checked. The
// window layer builds its menus, toolbar buttons and shortcuts from this
// table; tests run commands by name.

#include <functional>
#include <string>
#include <vector>

class App;

struct Command {
  // Stays the same while labels gain or lose keys and mnemonics: the menu
  // path and the label, without the '&' marks and the key text, joined by
  // " > " ("File > Open...", "Mapping > V-Link > Begin Watch"); the label
  // alone for commands outside the menus ("Next colour").
  std::string name;
  // Menu path from the menu bar down, e.g. {"&File", "&Companion"}; empty
  // for commands that only have a key or a toolbar button.
  std::vector<std::string> menu;
  // The item's text; the part after a tab shows the key ("&Open...\tCtrl+O").
  std::string label;
  // The bound key in Qt's portable text form ("Ctrl+O", "Shift+1", "Space",
  // "\\", "F12"); empty when no key is bound, even if the label shows one.
  std::string key;
  std::function<void(App&)> run;
  std::function<bool(const App&)> enabled;  // empty: always enabled
  std::function<bool(const App&)> checked;  // empty: never shows a check mark
  std::function<std::string(const App&)> dynamicLabel;  // empty: `label`
  // The keys in force, the first shown in the menu; empty: `key` alone.
  std::function<std::vector<std::string>(const App&)> keys;
  // A command that changes the document runs as one undo step of this name
  // over these parts (StepPart bits); an empty name: no step.
  std::string stepName;
  unsigned stepParts = 0;
  bool separatorBefore = false;
  bool toolbar = false;  // also a toolbar button
};

const std::vector<Command>& CommandTable();
// Runs the command as a user would: nothing when it is not enabled, else
// its handler, inside its undo step when it has one.
void ExecuteCommand(App& app, const Command& command);
// The keys in force for the command, and the menu text with the first of
// them after the tab (none when no key is in force).
std::vector<std::string> CommandKeys(const App& app, const Command& command);
std::string CommandLabel(const App& app, const Command& command);
const Command* FindCommand(const std::string& name);
const Command* FindCommandByLabel(const std::string& label);  // exact label
