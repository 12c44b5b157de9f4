#pragma once
// Preferences > Shortcuts: every command of the table with the keys in
// force, each changeable; a key another command has is refused with that
// command's name. Changes are kept at once.

class App;
class QWidget;

void ShowShortcutsDialog(QWidget* parent, App& app);
