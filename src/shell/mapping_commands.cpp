#include "shell/mapping_commands.h"

#include <string>

#include "editor/mapping_islands.h"
#include "editor/mapping_projection.h"
#include "image/skin_set.h"
#include "model/mapping_file.h"
#include "platform/files.h"
#include "shell/app.h"
#include "shell/file_dialog_step.h"
#include "shell/mapping_dialogs.h"
#include "shell/show_op_result.h"
#include "shell/skin_commands.h"

namespace {

// The mapping operations change what every pane shows.
void ShowAndRefresh(App& app, const OpResult& result) {
  ShowOpResult(app.ui, result);
  app.RefreshAll();
}

}  // namespace

void OnMapFrom3DView(App& app) {
  if (!app.services.mappingDialogs) return;
  auto options = app.services.mappingDialogs->AskMapFrom3DView();
  if (!options) return;
  ShowAndRefresh(app, MapFrom3DView(app.document, app.viewport, app.editor, *options));
}

void OnFlipSelectedMapping(App& app) { ShowAndRefresh(app, FlipSelectedMapping(app.document)); }
void OnMirrorSelectedMapping(App& app) { ShowAndRefresh(app, MirrorSelectedMapping(app.document)); }
void OnRotateSelectedMapping(App& app) { ShowAndRefresh(app, RotateSelectedMapping(app.document)); }
void OnSnapSelectedToGrid(App& app) { ShowAndRefresh(app, SnapSelectedToGrid(app.document)); }
void OnStoreMapping(App& app) { StoreMapping(app.document); }
void OnRevertMapping(App& app) { ShowAndRefresh(app, RevertMapping(app.document)); }
void OnDeleteSelectedMapping(App& app) { ShowAndRefresh(app, DeleteSelectedMapping(app.document)); }

void OnRetroMap(App& app) {
  FileDialogRequest pictureRequest;
  pictureRequest.filter = kSkinOpenFilter;
  pictureRequest.initialName = "*.pcx;*.bmp";
  pictureRequest.fileMustExist = true;
  auto pictureFile = AskForFile(app, pictureRequest, DialogFolder::Load,
                                [](int filter) { return EnsureExtension("", filter); });
  if (!pictureFile) return;
  auto picture = LoadPictureAsSkin(app, pictureFile->path);
  if (!picture) return;

  FileDialogRequest vmapRequest;
  vmapRequest.filter = kVmapFilter;
  vmapRequest.initialName = "*.vmp";
  vmapRequest.fileMustExist = true;
  auto vmapFile = AskForFile(app, vmapRequest, DialogFolder::Load, AlwaysExtension(".vmp"));
  if (!vmapFile) return;
  const OpResult result = RetroMapToNewSkin(app.document, *picture, PathIn(app.baseFolder, vmapFile->path),
                                            app.editor.colourSlots[7], app.baseFolder);
  if (!ShowOpResult(app.ui, result)) return;
  RefreshSkinBar(app);
  app.RebuildPaintTable();
  app.RebuildShadeRamps();
}

namespace {

void Project(App& app, ProjectionShape shape) {
  if (!app.services.mappingDialogs) return;
  auto options = app.services.mappingDialogs->AskProjection(shape);
  if (!options) return;
  options->shape = shape;
  ShowAndRefresh(app, ProjectSelectedMapping(app.document, app.viewport, app.editor, *options));
}

}  // namespace

void OnCylinderProjection(App& app) { Project(app, ProjectionShape::Cylinder); }
void OnSphereProjection(App& app) { Project(app, ProjectionShape::Sphere); }
void OnBoxProjection(App& app) { Project(app, ProjectionShape::Box); }

void OnPackIslands(App& app) {
  if (!app.services.mappingDialogs) return;
  auto options = app.services.mappingDialogs->AskPackIslands();
  if (!options) return;
  ShowAndRefresh(app, PackIslands(app.document, app.editor, *options));
}

void OnAverageIslandScale(App& app) { ShowAndRefresh(app, AverageIslandScale(app.document)); }

void OnToggleStretchDisplay(App& app) {
  app.editor.showStretch = !app.editor.showStretch;
  app.document.changes.Announce(kSkinViewChanged);
}
