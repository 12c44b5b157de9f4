#include "shell/palette_commands.h"

#include "image/palette_ops.h"
#include "image/skin_set.h"
#include "model/default_palette.h"
#include "platform/profile.h"
#include "platform/profile_keys.h"
#include "platform/ui.h"
#include "shell/app.h"
#include "shell/file_dialog_step.h"
#include "shell/skin_commands.h"

namespace {

constexpr int kFilterBitmap = 3;
constexpr int kFilterAct = 4;

Skin* CurrentSkin(App& app) {
  Model& m = app.model;
  m.currentSkin = SkinAt(m.skins, m.currentSkinIndex);
  return m.currentSkin;
}

// The panes and lists show the new colours, and everything coloured through
// the palette (the paint remap, the shade ramps) follows it.
void AfterPaletteChanged(App& app) {
  RefreshSkinBar(app);
  app.RebuildPaintTable();
  app.RebuildShadeRamps();
}

template <class Operation>
void OnPaletteChange(App& app, Operation&& operation) {
  Skin* skin = CurrentSkin(app);
  if (!skin) return;
  operation(*skin);
  AfterPaletteChanged(app);
}

}  // namespace

void OnRepalette(App& app) {
  Skin* skin = CurrentSkin(app);
  if (!skin) return;
  FileDialogRequest request;
  request.filter = kPaletteFilter;
  request.initialName = "*.pcx;*.bmp;*.act";
  request.pathMustExist = true;
  request.hideReadOnly = true;
  auto chosen = AskForFile(app, request, DialogFolder::Load, [](int filter) {
    return std::string(filter == kFilterBitmap ? ".bmp" : filter == kFilterAct ? ".act" : ".pcx");
  });
  if (!chosen) return;
  if (!RepaletteSkin(*skin, HostSkinPath(chosen->path))) {
    app.ui.Message(kNoPaletteText);
    return;
  }
  AfterPaletteChanged(app);
}

void OnReplaceColours(App& app) {
  Skin* skin = CurrentSkin(app);
  if (!skin) return;
  const auto& slot = app.editor.colourSlots;
  ReplaceColours(*skin, slot[3], slot[2], slot[5], slot[4]);
  // The palette is as it was: its tables stand.
  RefreshSkinBar(app);
}

void OnSetDefaultPalette(App& app) {
  OnPaletteChange(app, [&app](Skin& skin) {
    LoadDefaultPalette(app.profile.Get(kPalettePathSetting), app.baseFolder, skin.palette);
  });
}

void OnInvertPalette(App& app) { OnPaletteChange(app, InvertPalette); }
void OnInvertPixels(App& app) { OnPaletteChange(app, InvertPixels); }
void OnInvertBoth(App& app) { OnPaletteChange(app, InvertBoth); }
