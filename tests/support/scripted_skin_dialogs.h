#pragma once
// The "Resize Skins" dialog for tests: answers come from a queue (an empty
// queue cancels) and every dialog shown is recorded.

#include <deque>
#include <optional>
#include <vector>

#include "shell/skin_dialogs.h"

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
