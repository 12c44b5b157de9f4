#pragma once
// The one application object: owns the model with its lists, the editor
// state and the services the program talks to the outside world through.
//
// Several modules add their state here; keep additions grouped under the
// heading of the module that owns them.

#include <map>
#include <string>
#include <vector>

#include "editor/animation_player.h"
#include "editor/workspace.h"
#include "link/instance_link.h"
#include "model/md2_load.h"
#include "shell/list_bars.h"
#include "shell/recovery.h"
#include "shell/services.h"

class Ui;
class Profile;

// The workspace (document, editor state, views, rasterizer, render modes and
// messages) with the services and the window-level state around it.
class App : public Workspace {
 public:
  App(Ui& ui, Profile& profile);
  ~App() override;

  Ui& ui;
  Profile& profile;
  Services services;  // dialogs and the front end's windows; supplied by the front end

  // --- model and model files ---
  std::string baseFolder;
  std::string loadFolder;
  std::string saveFolder;

  // Loading and saving the model (see model/md2_load.h); 1 on success.
  // A load that succeeds starts a new undo history.
  int LoadMd2(const std::string& path);
  int SaveMd2(const std::string& path);

  // (defined with the application shell: shell/app_hooks.cpp)
  void RebuildShadeRamps();
  // Everything announced as changed, the list bars rebuilt at once.
  void RefreshAll();

  // --- camera and companions ---
  // The companion changed: the 3D view alone draws it.
  void RefreshModelView();

  // --- application shell ---
  ListBars listBars;      // what the six rebar lists show
  ListBarsWatch listBarsWatch{*this};  // rebuilds them when what they show changed
  double splitRatio = 0.65;  // share of the width the left pane gets
  bool ctrlZUndoes = false;  // Ctrl+Z given to Edit > Undo instead of Skins > Revert
  bool ditherTrueColour = false;  // true-colour pictures dithered into the palette

  // --- desktop ---
  std::string statusNote;     // a one-off line for the status bar; the front end takes it
  bool ctrlZOffered = false;  // the Ctrl+Z question has been asked this run
  // The user's own keys, by command name; a command missing here keeps its own.
  std::map<std::string, std::vector<std::string>> shortcutKeys;
  bool fullResolution = true;  // the big views at the screen's own pixels on high-density screens

  // --- animation ---
  AnimationPlayer player{*this};  // the frames played in the 3D view; its timer is the front end's

  // --- crash recovery ---
  CrashRecovery recovery;  // no copies until the front end names the state folder

  // --- instance link ---
  InstanceLink link{*this, ui};  // its transport and title supplied by the front end
};
