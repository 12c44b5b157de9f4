#pragma once
// The one application object: owns the model with its lists, the editor
// state and the services the program talks to the outside world through.
//
// Several modules add their state here; keep additions grouped under the
// heading of the module that owns them.

#include <cstdint>
#include <string>
#include <vector>

#include "model/model.h"

class Ui;
class Profile;

class App {
 public:
  App(Ui& ui, Profile& profile);
  ~App();
  App(const App&) = delete;
  App& operator=(const App&) = delete;

  Ui& ui;
  Profile& profile;

  // --- model and model files ---
  Model model;
  std::string baseFolder;
  std::string loadFolder;
  std::string saveFolder;
  std::string currentFile;
  std::vector<std::uint8_t> md2Image;  // the MD2 as last loaded

  // --- hooks filled by later modules; they do nothing until then ---
  void RebuildPaintTable() {}
  void RebuildShadeRamps() {}
  void RefreshAll() { ++refreshCount; }
  int refreshCount = 0;  // lets tests see that a command asked for a refresh
};
