#pragma once
// The one application object: owns the model with its lists, the editor
// state and the services the program talks to the outside world through.
//
// Several modules add their state here; keep additions grouped under the
// heading of the module that owns them.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "editor/paint_state.h"
#include "model/md2_load.h"
#include "model/model.h"
#include "render/lighting.h"
#include "render/rasterizer.h"
#include "render/render_mode.h"
#include "render/viewport.h"
#include "platform/message_queue.h"
#include "shell/list_bars.h"

class Ui;
class Profile;
class CompanionOffsetDialog;
class SkinDialogs;
class PreferencesDialog;
class ShellLayout;

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
  // (defined with the application shell: shell/app_hooks.cpp)
  void RebuildPaintTable();
  void RebuildShadeRamps();
  // List bars rebuilt, then "VRK-Refresh" (0, 0x2f) posted to MainWnd.
  void RefreshAll();
  int refreshCount = 0;  // lets tests see that a command asked for a refresh

  // --- camera and companions ---
  Viewport viewport;  // the 3D view's camera and buffers
  Lighting lighting;  // light direction, lockLight, light curve, shade ramps
  CompanionOffsetDialog* companionOffsetDialog = nullptr;  // supplied by the front end
  // "VRK-Refresh" Full for the 3D view alone (0x22).
  void RefreshModelView() {
    ++modelViewRefreshCount;
    messages.Post(WndMessage{WndTarget::MainWnd, "VRK-Refresh", 0, 0x22});
  }
  int modelViewRefreshCount = 0;

  // --- skins and maps ---
  SkinDialogs* skinDialogs = nullptr;  // "Resize Skins"; supplied by the front end
  // "VRK-Refresh" (0, 0x2B) to the main frame after the skin's pixels changed.
  void RefreshSkinPanes() {
    ++skinPaneRefreshCount;
    messages.Post(WndMessage{WndTarget::MainWnd, "VRK-Refresh", 0, 0x2B});
  }
  int skinPaneRefreshCount = 0;
  // The palette box's colour slots (palette indices) and the active one;
  // here until the palette box brings its own section.
  std::array<std::uint8_t, 8> colourSlots{248, 64, 128, 192, 15, 10, 5, 0};
  int activeSlot = 0;

  // --- render modes ---
  CRasterizer rasterizer;    // the one rasterizer every picture goes through
  RenderModes renderModes;   // the ten modes, renderModeIndex, colormap
  // A render context over this App's model, 3D view, light, colour slots
  // and edit state, for renderModes.Render.
  RenderContext MakeRenderContext() {
    RenderContext context;
    context.model = &model;
    context.viewport = &viewport;
    context.rasterizer = &rasterizer;
    context.lighting = &lighting;
    for (int i = 0; i < 8; ++i) context.colourSlots[i] = colourSlots[static_cast<std::size_t>(i)];
    context.colormap = renderModes.colormap.empty() ? nullptr : renderModes.colormap.data();
    context.priority = &renderModes.priority;
    context.editMode = static_cast<int>(paint.editMode);
    context.cameraToggle = paint.cameraToggle;
    return context;
  }

  // --- application shell ---
  MessageQueue messages;  // "VRK-Refresh" and "VRK-BarAdjust" between the windows
  ListBars listBars;      // what the six rebar lists show
  PaintState paint;       // edit mode, brush, blend, strength, protected colours, paint table
  double splitRatio = 0.65;  // share of the width the left pane gets
  bool customCursors = true;  // "Preferences"/"CustomCursors"
  ShellLayout* shellLayout = nullptr;  // ShellWnd's logic; supplied by the front end
  PreferencesDialog* preferencesDialog = nullptr;  // supplied by the front end
  std::function<void()> showAbout;       // the About box; supplied by the front end
  std::function<void()> showModelStats;  // the "Model Stats" dialog; supplied by the front end
  std::function<void()> requestClose;    // File "E&xit": close the main window
};
