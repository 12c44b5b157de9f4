#pragma once
// The Skins menu's own modal dialog, as a plain struct, and the interface
// the front end answers it through.

#include <optional>

// "Resize Skins": Width and Height (numbers only) and "Enforce Limits".
struct ResizeSkinsDialog {
  int width = 0;
  int height = 0;
  bool enforceLimits = true;
};

class SkinDialogs {
 public:
  virtual ~SkinDialogs() = default;
  // Shows the dialog filled with `initial`; nothing on Cancel.
  virtual std::optional<ResizeSkinsDialog> AskResizeSkins(const ResizeSkinsDialog& initial) = 0;
};
