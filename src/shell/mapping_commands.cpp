#include "shell/mapping_commands.h"

#include <string>

#include "editor/mapping_ops.h"
#include "image/image_files.h"
#include "image/skin_set.h"
#include "model/mapping_file.h"
#include "platform/files.h"
#include "platform/ui.h"
#include "shell/app.h"
#include "shell/file_dialog_step.h"
#include "shell/mapping_dialogs.h"
#include "shell/skin_commands.h"

void OnMapFrom3DView(App& app) {
  if (!app.mappingDialogs) return;
  auto options = app.mappingDialogs->AskMapFrom3DView();
  if (!options) return;
  const MappingFrame frame = NormalisedFrame(app.editor.mappingFrame, app.model.skinWidth, app.model.skinHeight);
  MapFrom3DView(app.model, app.viewport, frame, *options, app.editor.snapToGrid);
  app.RefreshAll();
}

void OnFlipSelectedMapping(App& app) {
  FlipSelectedMapping(app.model);
  app.RefreshAll();
}

void OnMirrorSelectedMapping(App& app) {
  MirrorSelectedMapping(app.model);
  app.RefreshAll();
}

void OnRotateSelectedMapping(App& app) {
  const std::string refused = RotateSelectedMapping(app.model);
  if (!refused.empty()) app.ui.Message(refused);
  app.RefreshAll();
}

void OnSnapSelectedToGrid(App& app) {
  SnapSelectedToGrid(app.model);
  app.RefreshAll();
}

void OnStoreMapping(App& app) { app.model.StoreMapping(); }

void OnRevertMapping(App& app) {
  app.model.RevertMapping();
  app.RefreshAll();
}

void OnDeleteSelectedMapping(App& app) {
  DeleteSelectedMapping(app.model);
  app.RefreshAll();
}

void OnRetroMap(App& app) {
  FileDialogRequest pictureRequest;
  pictureRequest.filter = kSkinOpenFilter;
  pictureRequest.initialName = "*.pcx;*.bmp";
  pictureRequest.fileMustExist = true;
  pictureRequest.hideReadOnly = true;
  auto pictureFile = AskForFile(app, pictureRequest, DialogFolder::Load,
                                [](int filter) { return EnsureExtension("", filter); });
  if (!pictureFile) return;
  auto picture = LoadPictureAsSkin(app, pictureFile->path);
  if (!picture) return;

  FileDialogRequest vmapRequest;
  vmapRequest.filter = kVmapFilter;
  vmapRequest.initialName = "*.vmp";
  vmapRequest.fileMustExist = true;
  vmapRequest.hideReadOnly = true;
  auto vmapFile = AskForFile(app, vmapRequest, DialogFolder::Load, AlwaysExtension(".vmp"));
  if (!vmapFile) return;
  int cause = 0;
  auto bytes = ReadVmapFile(PathIn(app.baseFolder, vmapFile->path), &cause);
  if (!bytes) {
    app.ui.Message(LoadErrorText(PathIn(app.baseFolder, vmapFile->path), cause));
    return;
  }
  // The count has its own message here; the indices are not used.
  std::string refused;
  auto data = ReadVmap(*bytes, app.model, false, &refused);
  if (!data) {
    app.ui.Message((refused == kVmapCountText ? kRetroMapCountText : refused) + "\n" +
                   PathIn(app.baseFolder, vmapFile->path));
    return;
  }
  auto skin = RetroMap(app.model, *picture, *data, app.editor.colourSlots[7], &refused);
  if (!skin) {
    if (!refused.empty()) app.ui.Message(refused + "\n" + PathIn(app.baseFolder, vmapFile->path));
    return;
  }
  // A name of its own beside the picture's: the list, the changed-skins
  // question and its Save As must tell the two apart.
  skin->name = skin->path = UnusedSkinPath(picture->path, "_retro", app.model.skins, app.baseFolder);
  skin->format = SkinFormatForExtension(skin->path);
  skin->modified = true;  // a picture of its own that no file holds yet
  AppendSkin(app, std::move(skin));
}
