#pragma once
// Showing the failures the readers and writers hand back, for the shell and
// the command line.

#include "platform/file_error.h"
#include "platform/ui.h"

inline void ShowFileError(Ui& ui, const FileError& error) { ui.Message(ShownText(error)); }

// A reader's failure, except one whose file could not be read at all: the
// callers that use this say nothing then, or say it in their own words.
inline void ShowContentError(Ui& ui, const FileError& error) {
  if (error.cause == 0) ShowFileError(ui, error);
}

inline void ShowNotices(Ui& ui, const FileNotices& notices) {
  for (const FileError& notice : notices) ShowFileError(ui, notice);
}
