#pragma once
// Ctrl+Z is Skins > Revert here, while most editors give it to Undo. A user
// who presses it out of habit gets told what happened and how to get the
// strokes back, and is offered once a run to give the key to Undo.

#include <string>

class App;
struct Command;

inline constexpr char kCtrlZRevertedText[] =
    "Ctrl+Z reverted the skin to its stored state (Skins > Revert). Edit > Undo (Alt+Backspace) brings the "
    "strokes back.";
inline constexpr char kCtrlZOfferText[] =
    "Ctrl+Z has just reverted the skin to its stored state (Skins > Revert).\n"
    "Edit > Undo (Alt+Backspace) brings the strokes back.\n\n"
    "Give Ctrl+Z to Edit > Undo from now on?";

// Runs `command` as the key `key` would; a Revert that Ctrl+Z made and that
// changed the skin leaves its note in app.statusNote and, the first time in
// a run, asks whether Ctrl+Z should undo instead (a Yes is kept in the
// settings).
void ExecuteCommandFromKey(App& app, const Command& command, const std::string& key);
