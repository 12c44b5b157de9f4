#pragma once
// What a reader or writer answers when it fails. Readers and writers never
// show anything themselves: they hand back the text, the cause and the file,
// and the shell or the command line decides how (and whether) the user sees
// it, so the same reader serves a message box, stderr and a test alike.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/files.h"

struct FileError {
  explicit FileError(std::string text, int cause = 0, std::string path = {})
      : text(std::move(text)), cause(cause), path(std::move(path)) {}

  std::string text;  // the message's first line(s), without the file
  // The errno of the call that failed (or one of files.h's own causes); 0
  // when the file was read and its content was refused. A reader's error
  // with a cause means the file could not be read at all, which some
  // callers report in their own words or not at all.
  int cause = 0;
  std::string path;  // the file, shown on a line of its own; empty for bytes that came from no file
};

// The message as the user sees it: the text, then the path on its own line
// when there is one.
inline std::string ShownText(const FileError& error) {
  return error.path.empty() ? error.text : error.text + "\n" + error.path;
}

// A file that could not be read or written: "Error Loading: " (or "Error
// Saving: ") and the cause, the words LoadErrorText and SaveErrorText use.
inline FileError LoadFailure(const std::string& path, int cause) {
  return FileError{"Error Loading: " + CauseText(cause), cause, path};
}
inline FileError SaveFailure(const std::string& path, int cause) {
  return FileError{"Error Saving: " + CauseText(cause), cause, path};
}

// Failures met on the way to a result that still stands (a file skipped, a
// skin replaced by a stand-in), in the order they arose.
using FileNotices = std::vector<FileError>;

// A value, or the failure that stopped it.
template <typename T>
class [[nodiscard]] FileResult {
 public:
  FileResult(T value) : value_(std::move(value)) {}
  FileResult(FileError error) : error_(std::move(error)) {}

  explicit operator bool() const { return !error_.has_value(); }
  T& operator*() { return *value_; }
  const T& operator*() const { return *value_; }
  T* operator->() { return &*value_; }
  const T* operator->() const { return &*value_; }
  const FileError& error() const { return *error_; }

 private:
  std::optional<T> value_;
  std::optional<FileError> error_;
};

// What a writer gives back on success: nothing but the fact.
struct Written {};
using WriteResult = FileResult<Written>;
