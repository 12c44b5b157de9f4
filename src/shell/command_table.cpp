#include "shell/command_table.h"

#include <new>
#include <string>

#include "editor/mesh_ops.h"
#include "editor/paint_table.h"
#include "editor/selection_ops.h"
#include "editor/skin_view.h"
#include "platform/ui.h"
#include "shell/animation_commands.h"
#include "render/benchmark.h"
#include "shell/app.h"
#include "shell/companion_commands.h"
#include "shell/file_commands.h"
#include "shell/map_commands.h"
#include "shell/mapping_commands.h"
#include "shell/mapping_file_commands.h"
#include "shell/paint_tool_commands.h"
#include "shell/palette_commands.h"
#include "shell/preferences.h"
#include "shell/shell_layout.h"
#include "shell/skin_commands.h"
#include "shell/skin_effect_commands.h"
#include "shell/skin_file_watch.h"
#include "shell/snapshot_command.h"
#include "shell/view_commands.h"

namespace {

using Run = std::function<void(App&)>;
using Rule = std::function<bool(const App&)>;

const std::vector<std::string> kFile{"&File"};
const std::vector<std::string> kCompanion{"&File", "&Companion"};
const std::vector<std::string> kEdit{"&Edit"};
const std::vector<std::string> kOptions{"&Options"};
const std::vector<std::string> kPhong{"&Options", "Phong Maps"};
const std::vector<std::string> kEnv{"&Options", "Environment Maps"};
const std::vector<std::string> kSkins{"&Skins"};
const std::vector<std::string> kPalette{"&Skins", "Palette"};
const std::vector<std::string> kInvert{"&Skins", "Invert..."};
const std::vector<std::string> kSkinFx{"&Skins", "Skin F/X..."};
const std::vector<std::string> kMapping{"&Mapping"};
const std::vector<std::string> kVLink{"&Mapping", "&V-Link"};
const std::vector<std::string> kMesh{"M&esh"};
const std::vector<std::string> kSelection{"Se&lection"};
const std::vector<std::string> kViews{"&Views"};
const std::vector<std::string> kAbout{"&About/Stats"};
const std::vector<std::string> kHelp{"&Help"};
const std::vector<std::string> kNoMenu{};

void SetEditMode(App& app, EditMode mode) {
  if (app.editor.editMode == mode) return;
  app.editor.editMode = mode;
  app.RefreshAll();
}

void SetBlend(App& app, PaintBlendMode mode) {
  // A blend is the paint ink's: choosing one leaves the ramp inks.
  app.editor.ink = PaintInk::Paint;
  if (app.editor.blendMode == mode) return;
  app.editor.blendMode = mode;
  BuildPaintTable(app);
}

void StepActiveColour(App& app, int step) {
  const int slot = app.editor.activeSlot;
  if (slot < 0 || slot > 7) return;
  auto& value = app.editor.colourSlots[static_cast<std::size_t>(slot)];
  value = static_cast<std::uint8_t>((value + step) & 0xff);
  if (slot >= 1 && slot <= 3) app.RebuildShadeRamps();
  app.document.changes.Announce(kActiveColourChanged);
}

// A hundred Quick renders of the 3D view, each shown at once, and the rate.
void RunViewBenchmark(App& app) {
  if (app.viewport.width <= 0 || app.viewport.height <= 0) return;
  RenderContext context = app.MakeRenderContext();
  context.editMode = static_cast<int>(app.editor.editMode);
  context.cameraToggle = app.editor.cameraToggle;
  PaneHost* host = app.services.shellLayout ? app.services.shellLayout->modelView().host() : nullptr;
  const BenchmarkResult result = RunBenchmark(app.renderModes, context, [host] {
    if (host) host->RepaintNow();
  });
  app.ui.Message(result.text);
}

// "&Undo Pencil Stroke" while there is a step to name, "&Undo" when not.
std::string StepLabel(const std::string& verb, const std::string& step) {
  return step.empty() ? verb : verb + " " + step;
}

// The document moved under every pane and list (the step announced what it
// moved; the lists follow everything).
void AfterHistoryMove(App& app) { app.RefreshAll(); }

void OnUndo(App& app) {
  if (!app.document.Undo()) return;
  AfterHistoryMove(app);
}

void OnRedo(App& app) {
  if (!app.document.Redo()) return;
  AfterHistoryMove(app);
}

// A model operation as a command: the operation, then the full refresh.
Run MeshCommand(void (*operation)(Model&)) {
  return [operation](App& app) {
    operation(app.model);
    app.RefreshAll();
  };
}

void OnDeleteSelectedFaces(App& app) {
  const std::string refused = DeleteSelectedFaces(app.model);
  if (!refused.empty()) {
    app.ui.Message(refused);
    return;
  }
  app.RefreshAll();
}

void OnEdgeTurn(App& app) {
  const std::string refused = EdgeTurn(app.model, [](void* a) {
    App& self = *static_cast<App*>(a);
    self.RebuildPaintTable();
    self.RebuildShadeRamps();
  }, &app);
  if (!refused.empty()) {
    app.ui.Message(refused);
    return;
  }
  app.RefreshAll();
}

Command& Stepped(Command& c, const char* name, unsigned parts) {
  c.stepName = name;
  c.stepParts = parts;
  return c;
}

// A menu title or label as the user reads it: no '&' marks, no key text.
std::string PlainText(const std::string& text) {
  std::string plain = text.substr(0, text.find('\t'));
  std::erase(plain, '&');
  return plain;
}

std::string NameOf(const std::vector<std::string>& menu, const std::string& label) {
  std::string name;
  for (const std::string& title : menu) name += PlainText(title) + " > ";
  return name + PlainText(label);
}

class TableBuilder {
 public:
  Command& Add(const std::vector<std::string>& menu, std::string label, std::string key, Run run) {
    Command c;
    c.name = NameOf(menu, label);
    c.menu = menu;
    c.label = std::move(label);
    c.key = std::move(key);
    c.run = std::move(run);
    commands_.push_back(std::move(c));
    return commands_.back();
  }
  // Commands made elsewhere, named here as Add names them.
  void Append(std::vector<Command> commands) {
    for (Command& c : commands) {
      c.name = NameOf(c.menu, c.label);
      commands_.push_back(std::move(c));
    }
  }
  std::vector<Command> Take() { return std::move(commands_); }

 private:
  std::vector<Command> commands_;
};

std::vector<Command> BuildTable() {
  TableBuilder t;
  const Rule hasCompanion = [](const App& a) { return HasCurrentCompanion(a); };

  // File
  t.Add(kFile, "&Open...\tCtrl+O", "Ctrl+O", OpenCommand).toolbar = true;
  t.Add(kFile, "&Save\tCtrl+S", "Ctrl+S", SaveCommand).toolbar = true;
  t.Add(kFile, "Save &As...\tCtrl+A", "Ctrl+A", SaveAsCommand);
  t.Add(kCompanion, "&Open", "", OnCompanionOpen);
  t.Add(kCompanion, "&Close", "", OnCompanionClose).enabled = hasCompanion;
  t.Add(kCompanion, "&Load Skin", "", OnCompanionLoadSkin).enabled = hasCompanion;
  {
    Command& c = t.Add(kCompanion, "&Hide\tH", "H", OnCompanionHideShow);
    c.enabled = hasCompanion;
    c.dynamicLabel = [](const App& a) { return CompanionHideItemText(a); };
  }
  t.Add(kCompanion, "&Offset", "", OnCompanionOffset).enabled = hasCompanion;
  t.Add(kFile, "&Base Folder...", "", BaseFolderCommand).separatorBefore = true;
  t.Add(kFile, "Preferences", "", OnPreferences);
  t.Add(kFile, "E&xit", "", [](App& a) {
     if (a.services.requestClose) a.services.requestClose();
   }).separatorBefore = true;

  // Edit
  {
    Command& c = t.Add(kEdit, "&Undo\tAlt+Backspace", "Alt+Backspace", OnUndo);
    c.enabled = [](const App& a) { return a.document.history.CanUndo(); };
    c.dynamicLabel = [](const App& a) { return StepLabel("&Undo", a.document.history.UndoName()); };
    c.keys = [](const App& a) {
      return a.ctrlZUndoes ? std::vector<std::string>{"Ctrl+Z", "Alt+Backspace"}
                           : std::vector<std::string>{"Alt+Backspace"};
    };
  }
  {
    Command& c = t.Add(kEdit, "&Redo\tCtrl+Y", "Ctrl+Y", OnRedo);
    c.enabled = [](const App& a) { return a.document.history.CanRedo(); };
    c.dynamicLabel = [](const App& a) { return StepLabel("&Redo", a.document.history.RedoName()); };
    c.keys = [](const App&) { return std::vector<std::string>{"Ctrl+Y", "Ctrl+Shift+Z"}; };
  }

  // Options
  {
    Command& c = t.Add(kOptions, "&Camera Toggle\tSpace", "Space", [](App& a) {
      a.editor.cameraToggle = !a.editor.cameraToggle;
      a.RefreshAll();
    });
    c.checked = [](const App& a) { return a.editor.cameraToggle; };
    c.toolbar = true;
  }
  {
    Command& c = t.Add(kOptions, "&Paint Mode\t1", "1", [](App& a) { SetEditMode(a, EditMode::Paint); });
    c.checked = [](const App& a) { return a.editor.editMode == EditMode::Paint; };
    c.separatorBefore = c.toolbar = true;
  }
  {
    Command& c = t.Add(kOptions, "M&apping Mode\t2", "2", [](App& a) { SetEditMode(a, EditMode::Mapping); });
    c.checked = [](const App& a) { return a.editor.editMode == EditMode::Mapping; };
    c.toolbar = true;
  }
  const struct {
    const char* label;
    const char* key;
    BrushKind kind;
  } brushes[] = {{"Point Brush\tShift+1", "Shift+1", BrushKind::Point},
                 {"Pencil Brush\tShift+2", "Shift+2", BrushKind::Pencil},
                 {"Line Brush\tShift+3", "Shift+3", BrushKind::Line}};
  for (const auto& b : brushes) {
    const BrushKind kind = b.kind;
    Command& c = t.Add(kOptions, b.label, b.key, [kind](App& a) { a.editor.brushKind = kind; });
    c.checked = [kind](const App& a) { return a.editor.brushKind == kind; };
    c.toolbar = true;
    c.separatorBefore = kind == BrushKind::Point;
  }
  t.Append(PaintToolCommands());
  const struct {
    const char* label;
    bool EditorState::*flag;
  } toggles[] = {{"Lock X Axis", &EditorState::lockX},
                 {"Lock Y Axis", &EditorState::lockY},
                 {"Uniform Scales", &EditorState::uniformScales}};
  for (const auto& tg : toggles) {
    bool EditorState::*flag = tg.flag;
    Command& c = t.Add(kOptions, tg.label, "", [flag](App& a) { a.editor.*flag = !(a.editor.*flag); });
    c.checked = [flag](const App& a) { return a.editor.*flag; };
    c.separatorBefore = flag == &EditorState::lockX;
  }
  {
    Command& c = t.Add(kOptions, "Lock Light", "", OnLockLight);
    c.checked = [](const App& a) { return IsLockLightChecked(a); };
  }
  t.Add(kOptions, "&Swap Displays", "", [](App& a) {
     if (a.services.shellLayout) a.services.shellLayout->SwapDisplays();
   }).separatorBefore = true;
  t.Add(kOptions, "Snapshot\tF12", "F12", OnSnapshot);
  t.Add(kOptions, "&Benchmark\tF11", "F11", RunViewBenchmark);
  t.Add(kPhong, "&Open", "", OnPhongMapOpen);
  t.Add(kPhong, "&Close", "", OnPhongMapClose);
  t.Add(kPhong, "&Scan Folder", "", OnPhongMapScanFolder);
  t.Add(kEnv, "&Open", "", OnEnvMapOpen);
  t.Add(kEnv, "&Close", "", OnEnvMapClose);
  t.Add(kEnv, "&Scan Folder", "", OnEnvMapScanFolder);

  // Skins
  Stepped(t.Add(kSkins, "&New\tShift+N", "Shift+N", OnSkinNew), "New Skin", STEP_SKINS | STEP_MESH);
  Stepped(t.Add(kSkins, "&Open\tShift+O", "Shift+O", OnSkinOpen), "Open Skin", STEP_SKINS);
  Stepped(t.Add(kSkins, "&Close/Delete\tShift+D", "Shift+D", OnSkinClose), "Close Skin", STEP_SKINS);
  Stepped(t.Add(kSkins, "Dupl&icate\tCtrl+D", "Ctrl+D", OnSkinDuplicate), "Duplicate Skin", STEP_SKINS);
  t.Add(kSkins, "&Save\tShift+S", "Shift+S", OnSkinSave).separatorBefore = true;
  t.Add(kSkins, "Save &As\tShift+A", "Shift+A", OnSkinSaveAs);
  Stepped(t.Add(kSkins, "&Link\tShift+L", "Shift+L", OnSkinLink), "Link Skin", STEP_SKINS).separatorBefore = true;
  Stepped(t.Add(kSkins, "&Unlink\tCtrl+L", "Ctrl+L", OnSkinUnlink), "Unlink Skin", STEP_SKINS);
  Stepped(t.Add(kSkins, "&Move Up\tCtrl+Up", "Ctrl+Up", OnSkinMoveUp), "Move Skin Up", STEP_SKINS);
  Stepped(t.Add(kSkins, "Move &Down\tCtrl+Down", "Ctrl+Down", OnSkinMoveDown), "Move Skin Down", STEP_SKINS);
  Stepped(t.Add(kSkins, "&Store\tShift+Z", "Shift+Z", OnSkinStore), "Store Skin", STEP_CURRENT_SKIN).separatorBefore = true;
  // Ctrl+Z stays Revert's unless the user gives it to Undo.
  Stepped(t.Add(kSkins, "&Revert\tCtrl+Z", "Ctrl+Z", OnSkinRevert), "Revert Skin", STEP_CURRENT_SKIN).keys =
      [](const App& a) { return a.ctrlZUndoes ? std::vector<std::string>{} : std::vector<std::string>{"Ctrl+Z"}; };
  Stepped(t.Add(kSkins, "R&eload\tF5", "F5", OnSkinReload), "Reload Skin", STEP_CURRENT_SKIN);
  t.Add(kSkins, "Edit E&xternally", "", OnEditExternally);
  Stepped(t.Add(kSkins, "&Scan Folder...", "", ScanFolderCommand), "Scan Folder for Skins", STEP_SKINS).separatorBefore = true;
  Stepped(t.Add(kSkins, "Re-size &All...", "", OnSkinResizeAll), "Re-size All Skins", STEP_SKINS | STEP_MESH);
  Stepped(t.Add(kPalette, "Re-&Palette", "", OnRepalette), "Re-Palette", STEP_CURRENT_SKIN);
  Stepped(t.Add(kPalette, "Replace colors", "", OnReplaceColours), "Replace Colors", STEP_CURRENT_SKIN);
  Stepped(t.Add(kPalette, "Set to Default", "", OnSetDefaultPalette), "Set Default Palette", STEP_CURRENT_SKIN);
  Stepped(t.Add(kInvert, "&Palette", "", OnInvertPalette), "Invert Palette", STEP_CURRENT_SKIN);
  Stepped(t.Add(kInvert, "P&ixels", "", OnInvertPixels), "Invert Pixels", STEP_CURRENT_SKIN);
  Stepped(t.Add(kInvert, "&Both", "", OnInvertBoth), "Invert Both", STEP_CURRENT_SKIN);
  Stepped(t.Add(kSkinFx, "&Outline Selected", "", OnOutlineSelected), "Outline Selected", STEP_CURRENT_SKIN);
  Stepped(t.Add(kSkinFx, "&Fill Selected", "", OnFillSelected), "Fill Selected", STEP_CURRENT_SKIN);
  Stepped(t.Add(kSkinFx, "Fill Selected With &Colour", "", OnFillSelectedWithColour), "Fill Selected With Colour",
          STEP_CURRENT_SKIN);
  Stepped(t.Add(kSkinFx, "&Shade Selected", "", OnShadeSelected), "Shade Selected", STEP_CURRENT_SKIN);
  Stepped(t.Add(kSkinFx, "Load To Selected", "", OnLoadToSelected), "Load To Selected", STEP_CURRENT_SKIN);

  // Mapping
  Stepped(t.Add(kMapping, "&Map from 3D View...", "", OnMapFrom3DView), "Map from 3D View", STEP_MESH);
  Stepped(t.Add(kMapping, "&Flip Selected", "", OnFlipSelectedMapping), "Flip Selected", STEP_MESH);
  Stepped(t.Add(kMapping, "Mirror Selected", "", OnMirrorSelectedMapping), "Mirror Selected", STEP_MESH);
  Stepped(t.Add(kMapping, "90\xC2\xB0 Rotate Selected", "", OnRotateSelectedMapping), "Rotate Selected", STEP_MESH);
  Stepped(t.Add(kMapping, "I&mport", "", OnMappingImport), "Import Mapping", STEP_MESH);
  Stepped(t.Add(kMapping, "&Export", "", OnMappingExport), "Export Mapping", STEP_MESH);
  Stepped(t.Add(kMapping, "Import to Selected", "", OnMappingImportToSelected), "Import Mapping to Selected",
          STEP_MESH);
  {
    Command& c = t.Add(kMapping, "Snap to Grid", "", [](App& a) { a.editor.snapToGrid = !a.editor.snapToGrid; });
    c.checked = [](const App& a) { return a.editor.snapToGrid; };
    c.separatorBefore = true;
  }
  Stepped(t.Add(kMapping, "Snap Selected to Grid", "", OnSnapSelectedToGrid), "Snap Selected to Grid", STEP_MESH);
  Stepped(t.Add(kMapping, "S&tore", "", OnStoreMapping), "Store Mapping", STEP_MESH);
  Stepped(t.Add(kMapping, "R&evert", "", OnRevertMapping), "Revert Mapping", STEP_MESH);
  Stepped(t.Add(kMapping, "Delete Selected", "", OnDeleteSelectedMapping), "Delete Selected Mapping", STEP_MESH);
  Stepped(t.Add(kMapping, "Retro-Map", "", OnRetroMap), "Retro-Map", STEP_SKINS);
  Stepped(t.Add(kMapping, "&Cylinder Projection...", "", OnCylinderProjection), "Cylinder Projection", STEP_MESH)
      .separatorBefore = true;
  Stepped(t.Add(kMapping, "S&phere Projection...", "", OnSphereProjection), "Sphere Projection", STEP_MESH);
  Stepped(t.Add(kMapping, "&Box Projection...", "", OnBoxProjection), "Box Projection", STEP_MESH);
  Stepped(t.Add(kMapping, "Pack &Islands...", "", OnPackIslands), "Pack Islands", STEP_MESH);
  Stepped(t.Add(kMapping, "Average Island Scale", "", OnAverageIslandScale), "Average Island Scale", STEP_MESH);
  {
    Command& c = t.Add(kMapping, "Stretch Display", "", OnToggleStretchDisplay);
    c.checked = [](const App& a) { return a.editor.showStretch; };
    c.toolbar = true;
  }
  t.Add(kVLink, "Begin Watch\tW", "W", [](App& a) { a.link.ToggleWatch(); }).dynamicLabel = [](const App& a) {
    return a.link.WatchLabel();
  };
  // The sender's model does not change; the watcher opens its own step.
  t.Add(kVLink, "Transfer Mapping\tX", "X", [](App& a) { a.link.TransferMapping(); });
  t.Add(kVLink, "Sync Cameras", "", [](App& a) { a.link.ToggleSyncCameras(); }).checked = [](const App& a) {
    return a.editor.syncCameras;
  };

  // Mesh
  Stepped(t.Add(kMesh, "&Hide Selected Faces\tCtrl+H", "Ctrl+H", MeshCommand(HideSelectedFaces)),
          "Hide Selected Faces", STEP_MESH);
  Stepped(t.Add(kMesh, "&Unhide All\tShift+H", "Shift+H", MeshCommand(UnhideAll)), "Unhide All", STEP_MESH);
  Stepped(t.Add(kMesh, "Delete Selected Faces", "", OnDeleteSelectedFaces), "Delete Selected Faces", STEP_MESH);
  Stepped(t.Add(kMesh, "Flip Selected Faces", "", MeshCommand(FlipSelectedFaces)), "Flip Selected Faces",
          STEP_MESH);
  Stepped(t.Add(kMesh, "Edge Turn", "", OnEdgeTurn), "Edge Turn", STEP_MESH);

  // Selection
  Stepped(t.Add(kSelection, "&Select All\tShift+C", "Shift+C", MeshCommand(SelectAll)), "Select All", STEP_MESH);
  Stepped(t.Add(kSelection, "Select &None\tC", "C", MeshCommand(SelectNone)), "Select None", STEP_MESH);
  Stepped(t.Add(kSelection, "&Invert Selection\tI", "I", MeshCommand(InvertSelection)), "Invert Selection",
          STEP_MESH);
  Stepped(t.Add(kSelection, "Select &Connected\t\\", "\\", MeshCommand(SelectConnected)), "Select Connected",
          STEP_MESH);
  Stepped(t.Add(kSelection, "&Grow Selection\t]", "]", MeshCommand(GrowSelection)), "Grow Selection", STEP_MESH);
  Stepped(t.Add(kSelection, "Sh&rink Selection\t[", "[", MeshCommand(ShrinkSelection)), "Shrink Selection",
          STEP_MESH);

  // Views
  t.Add(kViews, "&Zoom 2D Extents\tShift+F1", "Shift+F1", [](App& a) {
    SkinView* view = a.services.shellLayout ? a.services.shellLayout->skinViewPane() : nullptr;
    if (view && view->ZoomExtents()) a.RefreshAll();
  });
  t.Add(kViews, "Zoom to &Fit\tHome", "Home", OnZoomToFit);
  t.Add(kViews, "Center on &Selected\tShift+F2", "Shift+F2", OnCenterOnSelected);
  t.Add(kViews, "Center on Sc&ene\tShift+F3", "Shift+F3", OnCenterOnScene);
  t.Add(kViews, "Align &Left\tShift+F4", "Shift+F4", OnAlignLeft).separatorBefore = true;
  t.Add(kViews, "Align &Right\tShift+F5", "Shift+F5", OnAlignRight);
  t.Add(kViews, "Align &Front\tShift+F6", "Shift+F6", OnAlignFront);
  t.Add(kViews, "Align B&ack\tShift+F7", "Shift+F7", OnAlignBack);
  t.Add(kViews, "Align &Top\tShift+F8", "Shift+F8", OnAlignTop);
  t.Add(kViews, "Align &Bottom\tShift+F9", "Shift+F9", OnAlignBottom);
  t.Append(AnimationCommands());

  // About/Stats
  t.Add(kAbout, "&About VRKv1.0...", "", [](App& a) {
    if (a.services.showAbout) a.services.showAbout();
  });
  t.Add(kAbout, "Model Stats...", "", [](App& a) {
    if (a.services.showModelStats) a.services.showModelStats();
  });

  // Help
  t.Add(kHelp, "&Mouse and Keys\tF1", "F1", [](App& a) {
    if (a.services.showMouseAndKeys) a.services.showMouseAndKeys();
  });
  t.Add(kHelp, "&About VRKv1.0...", "", [](App& a) {
    if (a.services.showAbout) a.services.showAbout();
  });

  // Toolbar buttons without a menu item.
  {
    Command& c = t.Add(kNoMenu, "Colour blend", "", [](App& a) { SetBlend(a, PaintBlendMode::Colour); });
    c.checked = [](const App& a) {
      return a.editor.blendMode == PaintBlendMode::Colour && a.editor.ink == PaintInk::Paint;
    };
    c.toolbar = c.separatorBefore = true;
  }
  {
    Command& c = t.Add(kNoMenu, "Tint blend", "", [](App& a) { SetBlend(a, PaintBlendMode::Tint); });
    c.checked = [](const App& a) {
      return a.editor.blendMode == PaintBlendMode::Tint && a.editor.ink == PaintInk::Paint;
    };
    c.toolbar = true;
  }
  {
    Command& c = t.Add(kNoMenu, "Show mapping in Paint Mode", "", [](App& a) {
      a.editor.showMappingInPaint = !a.editor.showMappingInPaint;
      a.RefreshAll();
    });
    c.checked = [](const App& a) { return a.editor.showMappingInPaint; };
    c.toolbar = c.separatorBefore = true;
  }
  {
    Command& c = t.Add(kNoMenu, "Show mapping frame", "", [](App& a) {
      a.editor.showMappingFrame = !a.editor.showMappingFrame;
      a.document.changes.Announce(kSkinViewChanged);
    });
    c.checked = [](const App& a) { return a.editor.showMappingFrame; };
    c.toolbar = true;
  }
  {
    Command& c = t.Add(kNoMenu, "Drag pixels with mapping", "",
                       [](App& a) { a.editor.dragPixelsWithMapping = !a.editor.dragPixelsWithMapping; });
    c.checked = [](const App& a) { return a.editor.dragPixelsWithMapping; };
    c.toolbar = true;
  }

  // Keys without a menu item: step the active slot's palette index.
  t.Add(kNoMenu, "Next colour", ".", [](App& a) { StepActiveColour(a, 1); });
  t.Add(kNoMenu, "Previous colour", ",", [](App& a) { StepActiveColour(a, -1); });
  t.Add(kNoMenu, "Next colour row", "'", [](App& a) { StepActiveColour(a, 16); });
  t.Add(kNoMenu, "Previous colour row", ";", [](App& a) { StepActiveColour(a, -16); });
  return t.Take();
}

}  // namespace

const std::vector<Command>& CommandTable() {
  static const std::vector<Command> table = BuildTable();
  return table;
}

const Command* FindCommand(const std::string& name) {
  for (const Command& c : CommandTable())
    if (c.name == name) return &c;
  return nullptr;
}

const Command* FindCommandByLabel(const std::string& label) {
  for (const Command& c : CommandTable())
    if (c.label == label) return &c;
  return nullptr;
}

namespace {

// A command that runs out of memory (a huge resize, say) ends with a message
// instead of ending the program; what it changed before that stays in its
// undo step, so the user can take it back.
void RunGuarded(App& app, const Command& command) {
  try {
    command.run(app);
  } catch (const std::bad_alloc&) {
    app.ui.Message("There is not enough memory to finish \"" + PlainText(command.label) + "\".");
  }
}

}  // namespace

void ExecuteCommand(App& app, const Command& command) {
  if (!command.run) return;
  if (command.enabled && !command.enabled(app)) return;
  if (command.stepName.empty()) {
    RunGuarded(app, command);
    return;
  }
  {
    DocumentStep step(app.document, command.stepName, command.stepParts);
    RunGuarded(app, command);
  }
  app.ActionEnded();
}

std::vector<std::string> CommandKeys(const App& app, const Command& command) {
  if (auto own = app.shortcutKeys.find(command.name); own != app.shortcutKeys.end()) return own->second;
  if (command.keys) return command.keys(app);
  if (command.key.empty()) return {};
  return {command.key};
}

std::string CommandLabel(const App& app, const Command& command) {
  std::string label = command.dynamicLabel ? command.dynamicLabel(app) : command.label;
  if (!command.keys && !app.shortcutKeys.contains(command.name)) return label;
  label = label.substr(0, label.find('\t'));
  const std::vector<std::string> keys = CommandKeys(app, command);
  if (!keys.empty()) label += "\t" + keys.front();
  return label;
}
