#pragma once
// The one application object: owns the model with its lists, the editor
// state and the services the program talks to the outside world through.
//
// Several modules add their state here; keep additions grouped under the
// heading of the module that owns them.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "editor/animation_player.h"
#include "editor/workspace.h"
#include "image/true_colour.h"
#include "link/instance_link.h"
#include "model/md2_load.h"
#include "shell/list_bars.h"
#include "shell/recovery.h"

class Ui;
class Profile;
class CompanionOffsetDialog;
class SkinDialogs;
class PreferencesDialog;
class ShellLayout;
class MappingDialogs;
class SnapshotDialog;

// The workspace (document, editor state, views, rasterizer, render modes and
// messages) with the services and the window-level state around it.
class App : public Workspace {
 public:
  App(Ui& ui, Profile& profile);
  ~App() override;

  Ui& ui;
  Profile& profile;

  // --- model and model files ---
  std::string baseFolder;
  std::string loadFolder;
  std::string saveFolder;

  // Loading and saving the model (see model/md2_load.h); 1 on success.
  // A load that succeeds starts a new undo history.
  int LoadMd2(const std::string& path);
  int SaveMd2(const std::string& path);
  void ScanFolderForSkins(const std::string& folder);
  Md2Context Md2Files();

  // (defined with the application shell: shell/app_hooks.cpp)
  void RebuildShadeRamps();
  // List bars rebuilt, then everything announced as changed.
  void RefreshAll();

  // --- camera and companions ---
  CompanionOffsetDialog* companionOffsetDialog = nullptr;  // supplied by the front end
  // The companion changed: the 3D view alone draws it.
  void RefreshModelView();

  // --- skins and maps ---
  SkinDialogs* skinDialogs = nullptr;  // "Resize Skins"; supplied by the front end
  MappingDialogs* mappingDialogs = nullptr;  // "Map from 3D View"; supplied by the front end
  SnapshotDialog* snapshotDialog = nullptr;  // "Snapshots"; supplied by the front end

  // --- application shell ---
  ListBars listBars;      // what the six rebar lists show
  double splitRatio = 0.65;  // share of the width the left pane gets
  bool ctrlZUndoes = false;  // Ctrl+Z given to Edit > Undo instead of Skins > Revert
  bool ditherTrueColour = false;  // true-colour pictures dithered into the palette
  ShellLayout* shellLayout = nullptr;  // ShellWnd's logic; supplied by the front end
  PreferencesDialog* preferencesDialog = nullptr;  // supplied by the front end
  std::function<void()> showAbout;       // the About box; supplied by the front end
  std::function<void()> showModelStats;  // the "Model Stats" dialog; supplied by the front end
  // The system clipboard's pictures; supplied by the front end (empty: the
  // program's own clipboard alone). The taker answers only for a picture
  // another program put there, and refuses one too large with its reason.
  std::function<void(const TrueColourPicture&)> putClipboardPicture;
  std::function<std::optional<TrueColourPicture>(std::string& refusal)> takeClipboardPicture;
  std::function<void()> requestClose;    // File "E&xit": close the main window

  // --- desktop ---
  std::string statusNote;     // a one-off line for the status bar; the front end takes it
  bool ctrlZOffered = false;  // the Ctrl+Z question has been asked this run
  // The user's own keys, by command name; a command missing here keeps its own.
  std::map<std::string, std::vector<std::string>> shortcutKeys;
  // Opens a file in the user's image editor; false when none could start.
  std::function<bool(const std::string& path)> openInImageEditor;
  bool fullResolution = true;  // the big views at the screen's own pixels on high-density screens
  std::function<void()> showMouseAndKeys;  // Help > Mouse and Keys; supplied by the front end

  // --- animation ---
  AnimationPlayer player{*this};  // the frames played in the 3D view; its timer is the front end's

  // --- crash recovery ---
  CrashRecovery recovery;  // no copies until the front end names the state folder

  // --- instance link ---
  InstanceLink link{*this, ui};  // its transport and title supplied by the front end
};
