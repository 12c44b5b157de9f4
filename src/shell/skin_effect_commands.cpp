#include "shell/skin_effect_commands.h"

#include "editor/document_ops.h"
#include "image/image_files.h"
#include "image/skin_set.h"
#include "shell/app.h"
#include "shell/file_dialog_step.h"
#include "shell/show_op_result.h"
#include "shell/skin_commands.h"

namespace {

bool HasCurrentSkin(App& app) {
  Model& m = app.model;
  return m.CurrentSkin() != nullptr;
}

bool AfterEffect(App& app, const OpResult& result) {
  if (!ShowOpResult(app.ui, result)) return false;
  RefreshSkinBar(app);
  app.RebuildPaintTable();
  return true;
}

}  // namespace

void OnOutlineSelected(App& app) { AfterEffect(app, OutlineSelected(app.document, app.editor, app.rasterizer)); }

void OnFillSelected(App& app) {
  AfterEffect(app, FillSelected(app.document, app.lighting, app.editor, app.rasterizer));
}

void OnShadeSelected(App& app) {
  AfterEffect(app, ShadeSelected(app.document, app.lighting, app.editor, app.rasterizer));
}

void OnLoadToSelected(App& app) {
  if (!HasCurrentSkin(app)) return;
  FileDialogRequest request;
  request.filter = kSkinOpenFilter;
  request.initialName = "*.pcx;*.bmp";
  auto chosen = AskForFile(app, request, DialogFolder::Load, [](int filter) { return EnsureExtension("", filter); });
  if (!chosen) return;
  auto picture = LoadPictureAsSkin(app, chosen->path);
  if (!picture) return;
  if (AfterEffect(app, LoadToSelected(app.document, *picture, app.editor, app.rasterizer))) app.RebuildShadeRamps();
}
