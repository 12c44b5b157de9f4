#pragma once
// The user's Ui, with the file a reader is reading added on a line of its
// own under every message. The readers judge bytes and know no file name;
// whoever hands them a file's bytes puts one of these between, so no message
// about a damaged or unusable file leaves the user guessing which one.

#include <string>
#include <utility>

#include "platform/ui.h"

class FileMessageUi : public Ui {
 public:
  FileMessageUi(Ui& ui, std::string path) : ui_(ui), path_(std::move(path)) {}
  MsgAnswer Message(const std::string& text, MsgButtons buttons = MsgButtons::Ok) override {
    return ui_.Message(text + "\n" + path_, buttons);
  }
  std::optional<FileDialogResult> FileDialog(const FileDialogRequest& request) override {
    return ui_.FileDialog(request);
  }
  std::optional<std::string> BrowseFolder(const std::string& title) override { return ui_.BrowseFolder(title); }

 private:
  Ui& ui_;
  std::string path_;
};
