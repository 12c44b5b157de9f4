#include "support/scripted_ui.h"

MsgAnswer ScriptedUi::Message(const std::string& text, MsgButtons buttons) {
  shown_.push_back({text, buttons});
  if (buttons == MsgButtons::Ok) return MsgAnswer::Ok;
  if (answers_.empty()) return MsgAnswer::Cancel;
  MsgAnswer a = answers_.front();
  answers_.pop_front();
  return a;
}

std::optional<FileDialogResult> ScriptedUi::FileDialog(const FileDialogRequest& request) {
  dialogs_.push_back(request);
  if (files_.empty()) return std::nullopt;
  auto r = files_.front();
  files_.pop_front();
  return r;
}

std::optional<std::string> ScriptedUi::BrowseFolder(const std::string& title) {
  folderTitles_.push_back(title);
  if (folders_.empty()) return std::nullopt;
  auto r = folders_.front();
  folders_.pop_front();
  return r;
}

std::vector<std::string> ScriptedUi::texts() const {
  std::vector<std::string> out;
  for (const auto& s : shown_) out.push_back(s.text);
  return out;
}

void ScriptedUi::Clear() {
  answers_.clear();
  files_.clear();
  folders_.clear();
  shown_.clear();
  dialogs_.clear();
  folderTitles_.clear();
}
