#pragma once
// The one application object: owns the model with its lists, the editor
// state and the services the program talks to the outside world through.
//
// Several modules add their state here; keep additions grouped under the
// heading of the module that owns them.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/md2_load.h"
#include "model/model.h"
#include "render/lighting.h"
#include "render/viewport.h"

class Ui;
class Profile;
class CompanionOffsetDialog;
class SkinDialogs;

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

  // Loading and saving the model (see model/md2_load.h); 1 on success.
  int LoadMd2(const std::string& path);
  int SaveMd2(const std::string& path);
  void ScanFolderForSkins(const std::string& folder);
  Md2Context Md2Files();

  // --- hooks filled by later modules; they do nothing until then ---
  void RebuildPaintTable() {}
  void RebuildShadeRamps() {}
  void RefreshAll() { ++refreshCount; }
  int refreshCount = 0;  // lets tests see that a command asked for a refresh

  // --- camera and companions ---
  Viewport viewport;  // the 3D view's camera and buffers
  Lighting lighting;  // light direction, lockLight, light curve, shade ramps
  CompanionOffsetDialog* companionOffsetDialog = nullptr;  // supplied by the front end
  // "VRK-Refresh" Full for the 3D view alone (0x22).
  void RefreshModelView() { ++modelViewRefreshCount; }
  int modelViewRefreshCount = 0;

  // --- skins and maps ---
  SkinDialogs* skinDialogs = nullptr;  // "Resize Skins"; supplied by the front end
  // "VRK-Refresh" (0, 0x2B) to the main frame after the skin's pixels changed.
  void RefreshSkinPanes() { ++skinPaneRefreshCount; }
  int skinPaneRefreshCount = 0;
  // The palette box's colour slots (palette indices) and the active one;
  // here until the palette box brings its own section.
  std::array<std::uint8_t, 8> colourSlots{248, 64, 128, 192, 15, 10, 5, 0};
  int activeSlot = 0;
};
