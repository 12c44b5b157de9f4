#pragma once
// What the program asks of its user: message boxes, file and folder dialogs.
// The GUI answers with real dialogs, the command line without asking, tests
// from a script.

#include <optional>
#include <string>

enum class MsgButtons { Ok, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Yes, No, Cancel };

// A file dialog as the program describes it. `filter` uses the
// "Name|*.x|Name2|*.y||" form; `filterIndex` is 1-based, as is the answer's.
struct FileDialogRequest {
  bool save = false;
  std::string title;
  std::string filter;
  std::string initialName;    // e.g. "*.md2"
  std::string initialFolder;  // where the dialog starts
  int filterIndex = 1;
  bool fileMustExist = false;
};

struct FileDialogResult {
  std::string path;
  int filterIndex = 1;
};

class Ui {
 public:
  virtual ~Ui() = default;
  virtual MsgAnswer Message(const std::string& text, MsgButtons buttons = MsgButtons::Ok) = 0;
  virtual std::optional<FileDialogResult> FileDialog(const FileDialogRequest& request) = 0;
  // A folder browser; nothing on Cancel.
  virtual std::optional<std::string> BrowseFolder(const std::string& title) = 0;
};
