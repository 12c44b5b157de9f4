#include "shell/list_bars.h"

#include "image/skin_set.h"
#include "model/companion.h"
#include "platform/profile.h"
#include "render/render_mode.h"
#include "shell/animation_commands.h"
#include "shell/app.h"
#include "shell/map_commands.h"
#include "shell/skin_commands.h"

namespace {

// The entry at `index` of a list of `count`, or -1 when there is none.
int Checked(int index, std::size_t count) {
  return index >= 0 && static_cast<std::size_t>(index) < count ? index : -1;
}

}  // namespace

ListBarsWatch::ListBarsWatch(App& app) : app_(app) { app_.document.changes.Subscribe(*this); }

ListBarsWatch::~ListBarsWatch() { app_.document.changes.Unsubscribe(*this); }

void ListBarsWatch::Changed(const ChangeNotice& notice) {
  if (notice.changes & kListBarChanges) app_.listBars.stale = true;
  if (notice.changes & kFrameChanged) frameMoved_ = true;
}

void ListBarsWatch::Settle() {
  if (app_.listBars.stale) {
    RebuildListBars(app_);
  } else if (frameMoved_) {
    app_.listBars.frames.selection = Checked(app_.model.currentFrameIndex, app_.listBars.frames.items.size());
  }
  frameMoved_ = false;
}

void RebuildListBars(App& app) {
  Model& m = app.model;
  ListBars& bars = app.listBars;
  bars.frames = {};
  bars.skins = {};
  bars.modes = {};
  bars.phongMaps = {};
  bars.envMaps = {};
  bars.companions = {};

  SettleSkinList(app);

  for (const auto& frame : m.frames) bars.frames.items.push_back(frame->name);
  FillAnimationBar(app, bars.animations);
  for (const auto& companion : m.companions)
    bars.companions.items.push_back((companion->hidden ? "* " : "  ") + companion->name);
  for (const auto& map : m.phongMaps) bars.phongMaps.items.push_back(map->name);
  for (const auto& map : m.envMaps) bars.envMaps.items.push_back(map->name);
  for (const auto& skin : m.skins) {
    bars.skins.items.push_back(SkinListLabel(*skin, app.baseFolder));
    bars.skins.tooltips.push_back(SkinListTooltip(*skin));
    bars.skins.images.push_back(IsExternalSkin(*skin) ? kExternalSkinImage : kLinkedSkinImage);
  }
  for (int i = 0; i < kNumRenderModes; ++i) bars.modes.items.push_back(RenderModeName(i));

  bars.frames.selection = Checked(m.currentFrameIndex, bars.frames.items.size());
  bars.skins.selection = Checked(m.currentSkinIndex < 0 ? 0 : m.currentSkinIndex, bars.skins.items.size());
  bars.companions.selection = Checked(m.currentCompanionIndex, bars.companions.items.size());
  bars.phongMaps.selection = Checked(m.currentPhongMapIndex, bars.phongMaps.items.size());
  bars.envMaps.selection = Checked(m.currentEnvMapIndex, bars.envMaps.items.size());
  bars.modes.selection = app.renderModes.renderModeIndex;
  bars.stale = false;
  ++bars.version;
}

void SelectSkinEntry(App& app, int index) {
  Model& m = app.model;
  if (Checked(index, m.skins.size()) < 0) return;
  m.currentSkinIndex = static_cast<std::int16_t>(index);
  app.listBars.skins.selection = index;
  app.document.changes.Announce(kSkinListChanged);
}

void SelectCompanionEntry(App& app, int index) {
  Model& m = app.model;
  if (Checked(index, m.companions.size()) < 0) return;
  m.currentCompanionIndex = static_cast<std::int16_t>(index);
  app.listBars.companions.selection = index;
  // The palette strip and the paint table follow it as they follow a skin.
  app.document.changes.Announce(kCompanionChanged | kLookChanged | kPaletteChanged);
}

void SelectFrameEntry(App& app, int index) {
  Model& m = app.model;
  if (Checked(index, m.frames.size()) < 0) return;
  m.currentFrameIndex = static_cast<std::int16_t>(index);
  app.listBars.frames.selection = index;
  m.ComputeFaceNormals();
  app.document.changes.Announce(kFrameChanged);
}

void SelectPhongMapEntry(App& app, int index) {
  Model& m = app.model;
  if (Checked(index, m.phongMaps.size()) < 0) return;
  m.currentPhongMapIndex = static_cast<std::int16_t>(index);
  app.listBars.phongMaps.selection = index;
  RebuildLightCurve(app);
  app.document.changes.Announce(kLookChanged | kPaletteChanged);
}

void SelectEnvMapEntry(App& app, int index) {
  Model& m = app.model;
  if (Checked(index, m.envMaps.size()) < 0) return;
  m.currentEnvMapIndex = static_cast<std::int16_t>(index);
  app.listBars.envMaps.selection = index;
  app.document.changes.Announce(kLookChanged | kPaletteChanged);
}

bool SelectModeEntry(App& app, int index) {
  if (index < 0 || index >= kNumRenderModes) return false;
  RenderModes& modes = app.renderModes;
  const int old = modes.renderModeIndex;
  bool changed = false;
  if (index != old) {
    if (CheckRenderMode(modes, app.model, app.viewport, app.ui, app.profile.Get(kPalettePathSetting), app.baseFolder,
                        old, index)) {
      modes.renderModeIndex = index;
      RebuildLightCurve(app);
      app.RefreshAll();
      changed = true;
    } else {
      app.listBars.modes.selection = old;
      ++app.listBars.version;
    }
  }
  app.document.changes.Announce(kLookChanged);
  return changed;
}

void LeaveTexturedModeWithoutSkins(App& app) {
  constexpr int kSmoothShaded = 3;
  RenderModes& modes = app.renderModes;
  if (!app.model.modelLoaded || !app.model.skins.empty() || !modes.Current().IsTextured()) return;
  // The caller's full refresh brings the Modes list along.
  if (CheckRenderMode(modes, app.model, app.viewport, app.ui, app.profile.Get(kPalettePathSetting), app.baseFolder,
                      modes.renderModeIndex, kSmoothShaded)) {
    modes.renderModeIndex = kSmoothShaded;
    RebuildLightCurve(app);
  }
}
