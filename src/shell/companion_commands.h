#pragma once
// The "&Companion" commands of the File menu: open, close, re-skin, hide or
// show and offset the current companion model.

#include <optional>
#include <string>

class App;

// The "Offset Companion Model" dialog: "X offset", "Y offset", "Z offset".
struct CompanionOffset {
  float x = 0, y = 0, z = 0;
};

// Asks for the offsets, starting from `initial`; nothing on Cancel. The GUI
// supplies a real dialog, tests a scripted one.
class CompanionOffsetDialog {
 public:
  virtual ~CompanionOffsetDialog() = default;
  virtual std::optional<CompanionOffset> Ask(const CompanionOffset& initial) = 0;
};

// Offsets shown in the dialog's fields (6 significant digits).
std::string FormatOffset(float value);

void OnCompanionOpen(App& app);
void OnCompanionClose(App& app);
void OnCompanionLoadSkin(App& app);
void OnCompanionHideShow(App& app);
void OnCompanionOffset(App& app);

// Close, Load Skin, Hide/Show and Offset need a current companion.
bool HasCurrentCompanion(const App& app);
// "&Show\tH" while the current companion is hidden, else "&Hide\tH".
std::string CompanionHideItemText(const App& app);
