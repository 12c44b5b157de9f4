#include "shell/skin_effect_commands.h"

#include "editor/skin_effects.h"
#include "image/image_files.h"
#include "image/skin_set.h"
#include "platform/ui.h"
#include "render/lighting.h"
#include "shell/app.h"
#include "shell/file_dialog_step.h"
#include "shell/skin_commands.h"

namespace {

constexpr int kShadingFlat = 0;
constexpr int kShadingSmooth = 1;

Skin* CurrentSkin(App& app) {
  Model& m = app.model;
  m.currentSkin = SkinAt(m.skins, m.currentSkinIndex);
  return m.currentSkin;
}

std::uint8_t ActiveColour(const App& app) {
  const int slot = app.editor.activeSlot >= 0 && app.editor.activeSlot < 8 ? app.editor.activeSlot : 0;
  return app.editor.colourSlots[static_cast<std::size_t>(slot)];
}

void AfterEffect(App& app) {
  RefreshSkinBar(app);
  app.RebuildPaintTable();
}

void OnLight(App& app, int kind) {
  Skin* skin = CurrentSkin(app);
  if (!skin) return;
  ComputeShading(app.model, app.lighting, kind);
  if (kind == kShadingFlat)
    FillSelected(app.model, *skin, app.rasterizer, app.editor.paintStrength);
  else
    ShadeSelected(app.model, *skin, app.rasterizer, app.editor.paintStrength);
  AfterEffect(app);
}

}  // namespace

void OnOutlineSelected(App& app) {
  Skin* skin = CurrentSkin(app);
  if (!skin) return;
  OutlineSelected(app.model, *skin, app.rasterizer, ActiveColour(app), app.editor.paintStrength);
  AfterEffect(app);
}

void OnFillSelected(App& app) { OnLight(app, kShadingFlat); }
void OnShadeSelected(App& app) { OnLight(app, kShadingSmooth); }

void OnLoadToSelected(App& app) {
  Skin* skin = CurrentSkin(app);
  if (!skin) return;
  FileDialogRequest request;
  request.filter = kSkinOpenFilter;
  request.initialName = "*.pcx;*.bmp";
  request.pathMustExist = true;
  request.hideReadOnly = true;
  auto chosen = AskForFile(app, request, DialogFolder::Load, [](int filter) { return EnsureExtension("", filter); });
  if (!chosen) return;
  auto picture = LoadPictureAsSkin(app, chosen->path);
  if (!picture) return;
  const bool modelSize = picture->width == app.model.skinWidth && picture->height == app.model.skinHeight;
  if (!modelSize || !LoadToSelected(app.model, *skin, *picture, app.rasterizer, app.editor.paintStrength)) {
    app.ui.Message(kSkinWrongSizeText);
    return;
  }
  AfterEffect(app);
  app.RebuildShadeRamps();
}
