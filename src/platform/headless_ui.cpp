#include "platform/headless_ui.h"

#include <ostream>

HeadlessUi::HeadlessUi(std::ostream& out, MsgAnswer questionAnswer)
    : out_(out), questionAnswer_(questionAnswer) {}

MsgAnswer HeadlessUi::Message(const std::string& text, MsgButtons buttons) {
  ++messagesShown_;
  out_ << text << '\n';
  if (buttons == MsgButtons::Ok) return MsgAnswer::Ok;
  if (buttons == MsgButtons::YesNo && questionAnswer_ == MsgAnswer::Cancel) return MsgAnswer::No;
  return questionAnswer_;
}

std::optional<FileDialogResult> HeadlessUi::FileDialog(const FileDialogRequest&) { return std::nullopt; }

std::optional<std::string> HeadlessUi::BrowseFolder(const std::string&) { return std::nullopt; }
