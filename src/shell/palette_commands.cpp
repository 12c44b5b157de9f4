#include "shell/palette_commands.h"

#include "editor/document_ops.h"
#include "image/skin_set.h"
#include "platform/profile.h"
#include "platform/profile_keys.h"
#include "shell/app.h"
#include "shell/file_dialog_step.h"
#include "shell/show_op_result.h"
#include "shell/skin_commands.h"

namespace {

constexpr int kFilterBitmap = 3;
constexpr int kFilterAct = 4;

bool HasCurrentSkin(App& app) {
  Model& m = app.model;
  return m.CurrentSkin() != nullptr;
}

// The panes and lists show the new colours, and everything coloured through
// the palette (the paint remap, the shade ramps) follows it.
void AfterPaletteChanged(App& app, const OpResult& result) {
  if (!ShowOpResult(app.ui, result)) return;
  RefreshSkinBar(app);
  app.RebuildPaintTable();
  app.RebuildShadeRamps();
}

}  // namespace

void OnRepalette(App& app) {
  if (!HasCurrentSkin(app)) return;
  FileDialogRequest request;
  request.filter = kPaletteFilter;
  request.initialName = "*.pcx;*.bmp;*.act";
  auto chosen = AskForFile(app, request, DialogFolder::Load, [](int filter) {
    return std::string(filter == kFilterBitmap ? ".bmp" : filter == kFilterAct ? ".act" : ".pcx");
  });
  if (!chosen) return;
  AfterPaletteChanged(app, Repalette(app.document, HostSkinPath(chosen->path)));
}

void OnReplaceColours(App& app) {
  // The palette is as it was: its tables stand.
  if (ShowOpResult(app.ui, ReplaceColours(app.document, app.editor.colourSlots))) RefreshSkinBar(app);
}

void OnSetDefaultPalette(App& app) {
  AfterPaletteChanged(app, SetDefaultPalette(app.document, app.profile.Get(kPalettePathSetting), app.baseFolder));
}

void OnInvertPalette(App& app) { AfterPaletteChanged(app, Invert(app.document, InvertWhat::Palette)); }
void OnInvertPixels(App& app) { AfterPaletteChanged(app, Invert(app.document, InvertWhat::Pixels)); }
void OnInvertBoth(App& app) { AfterPaletteChanged(app, Invert(app.document, InvertWhat::Both)); }
