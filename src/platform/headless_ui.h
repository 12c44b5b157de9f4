#pragma once
// The command line's Ui: every message goes to stderr; questions take the
// answer given at construction (No by default, so nothing is overwritten or
// scanned unasked); dialogs are cancelled.

#include <iosfwd>
#include "platform/ui.h"

class HeadlessUi : public Ui {
 public:
  explicit HeadlessUi(std::ostream& out, MsgAnswer questionAnswer = MsgAnswer::No);
  MsgAnswer Message(const std::string& text, MsgButtons buttons = MsgButtons::Ok) override;
  std::optional<FileDialogResult> FileDialog(const FileDialogRequest& request) override;
  std::optional<std::string> BrowseFolder(const std::string& title) override;
  int messagesShown() const { return messagesShown_; }

 private:
  std::ostream& out_;
  MsgAnswer questionAnswer_;
  int messagesShown_ = 0;
};
