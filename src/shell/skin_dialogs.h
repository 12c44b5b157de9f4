#pragma once
// The Skins menu's own modal dialog, as a plain struct, and the interface
// the front end answers it through.

#include <deque>
#include <optional>
#include <vector>

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

// Answers from a queue (an empty queue cancels) and records what was shown.
class ScriptedSkinDialogs : public SkinDialogs {
 public:
  void QueueResize(int width, int height, bool enforceLimits = true) {
    answers_.push_back(ResizeSkinsDialog{width, height, enforceLimits});
  }
  void QueueCancel() { answers_.push_back(std::nullopt); }

  std::optional<ResizeSkinsDialog> AskResizeSkins(const ResizeSkinsDialog& initial) override {
    shown_.push_back(initial);
    if (answers_.empty()) return std::nullopt;
    auto a = answers_.front();
    answers_.pop_front();
    return a;
  }
  const std::vector<ResizeSkinsDialog>& shown() const { return shown_; }

 private:
  std::deque<std::optional<ResizeSkinsDialog>> answers_;
  std::vector<ResizeSkinsDialog> shown_;
};
