#pragma once
// A Ui for tests: answers come from queues filled by the test, and every text
// shown and every dialog asked for is recorded. An empty queue answers Cancel
// (or Ok for an OK box), so a test that forgot an answer fails visibly rather
// than hanging.

#include <deque>
#include <vector>
#include "platform/ui.h"

class ScriptedUi : public Ui {
 public:
  struct Shown {
    std::string text;
    MsgButtons buttons;
  };

  void QueueAnswer(MsgAnswer a) { answers_.push_back(a); }
  void QueueFile(std::string path, int filterIndex = 1) {
    files_.push_back(FileDialogResult{std::move(path), filterIndex});
  }
  void QueueFileCancel() { files_.push_back(std::nullopt); }
  void QueueFolder(std::optional<std::string> folder) { folders_.push_back(std::move(folder)); }

  MsgAnswer Message(const std::string& text, MsgButtons buttons = MsgButtons::Ok) override;
  std::optional<FileDialogResult> FileDialog(const FileDialogRequest& request) override;
  std::optional<std::string> BrowseFolder(const std::string& title) override;

  const std::vector<Shown>& shown() const { return shown_; }
  std::vector<std::string> texts() const;
  const std::vector<FileDialogRequest>& dialogs() const { return dialogs_; }
  const std::vector<std::string>& folderTitles() const { return folderTitles_; }
  void Clear();

 private:
  std::deque<MsgAnswer> answers_;
  std::deque<std::optional<FileDialogResult>> files_;
  std::deque<std::optional<std::string>> folders_;
  std::vector<Shown> shown_;
  std::vector<FileDialogRequest> dialogs_;
  std::vector<std::string> folderTitles_;
};
