#pragma once
// What the commands reach beyond the document and the window-level state:
// the modal dialogs and the front end's own windows and clipboard. The front
// end fills it; a test fills it with scripted stand-ins. Empty: the command
// that needs it does nothing.

#include <functional>
#include <optional>
#include <string>

#include "image/true_colour.h"

class CompanionOffsetDialog;
class SkinDialogs;
class PreferencesDialog;
class ShellLayout;
class MappingDialogs;
class SnapshotDialog;

struct Services {
  // --- dialogs ---
  CompanionOffsetDialog* companionOffsetDialog = nullptr;
  SkinDialogs* skinDialogs = nullptr;        // "Resize Skins"
  MappingDialogs* mappingDialogs = nullptr;  // "Map from 3D View"
  SnapshotDialog* snapshotDialog = nullptr;  // "Snapshots"
  PreferencesDialog* preferencesDialog = nullptr;
  ShellLayout* shellLayout = nullptr;  // ShellWnd's logic

  // --- the front end's windows ---
  std::function<void()> showAbout;         // the About box
  std::function<void()> showModelStats;    // the "Model Stats" dialog
  std::function<void()> showMouseAndKeys;  // Help > Mouse and Keys
  std::function<void()> requestClose;      // File "E&xit": close the main window
  // Opens a file in the user's image editor; false when none could start.
  std::function<bool(const std::string& path)> openInImageEditor;

  // The system clipboard's pictures (empty: the program's own clipboard
  // alone). The taker answers only for a picture another program put there,
  // and refuses one too large with its reason.
  std::function<void(const TrueColourPicture&)> putClipboardPicture;
  std::function<std::optional<TrueColourPicture>(std::string& refusal)> takeClipboardPicture;
};
