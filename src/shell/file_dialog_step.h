#pragma once
// The one way a command asks for a file: the dialog starts in the load or
// save folder, the chosen file's folder is remembered for the next dialog
// and the next run, and a name typed without any '.' gets the extension of
// the filter it was chosen under.

#include <functional>
#include <optional>
#include <string>

#include "platform/ui.h"

class App;

enum class DialogFolder {
  Load,  // starts in and remembers the load folder ("LoadDir")
  Save,  // starts in and remembers the save folder ("SaveDir")
  Fixed, // starts in request.initialFolder and remembers nothing
};

struct ChosenFile {
  std::string path;  // with the extension added where it had no '.'
  int filterIndex = 1;
};

// The extension (with its dot) for a 1-based filter index.
using ExtensionForFilter = std::function<std::string(int filterIndex)>;
ExtensionForFilter AlwaysExtension(std::string extension);

// Nothing when the user cancels.
std::optional<ChosenFile> AskForFile(App& app, FileDialogRequest request, DialogFolder folder,
                                     const ExtensionForFilter& extensionFor);
