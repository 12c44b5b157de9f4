#include "shell/map_commands.h"

#include <string>
#include <utility>

#include "image/image_files.h"
#include "image/maps.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/show_file_error.h"
#include "render/lighting.h"
#include "shell/app.h"
#include "shell/file_dialog_step.h"

namespace {

struct MapList {
  SkinList& maps;
  std::int16_t& index;
};

MapList ListOf(App& app, MapKind kind) {
  Model& m = app.model;
  if (kind == MapKind::Phong) return {m.phongMaps, m.currentPhongMapIndex};
  return {m.envMaps, m.currentEnvMapIndex};
}

void OpenMap(App& app, MapKind kind) {
  const bool phong = kind == MapKind::Phong;
  FileDialogRequest request;
  request.filter = phong ? kPhongMapFilter : kEnvMapFilter;
  request.initialName = "*.bmp;*.pcx";
  // Maps default to bitmaps, unlike skins; only the PCX filter says otherwise.
  auto chosen = AskForFile(app, request, DialogFolder::Load,
                           [](int filter) { return std::string(filter == 3 ? ".pcx" : ".bmp"); });
  if (!chosen) return;
  const std::string file = ResolvePath(chosen->path);
  auto loaded = LoadSkinImage(file);
  if (!loaded) {
    ShowContentError(app.ui, loaded.error());
    return;
  }
  std::unique_ptr<Skin> image = std::move(*loaded);
  if (!IsMapSized(*image)) {
    app.ui.Message(std::string(phong ? kPhongWrongSizeText : kEnvWrongSizeText) + "\n" + file);
    return;
  }
  PrepareMap(*image, kind);
  MapList list = ListOf(app, kind);
  AppendSkinToList(list.maps, list.index, std::move(image));
  if (phong) RebuildLightCurve(app);
  app.RefreshAll();
}

void CloseMap(App& app, MapKind kind) {
  MapList list = ListOf(app, kind);
  if (!SkinAt(list.maps, list.index)) return;
  int removed = list.index;
  list.maps.erase(list.maps.begin() + removed);
  list.index = static_cast<std::int16_t>(IndexAfterRemoval(removed, static_cast<int>(list.maps.size())));
  if (kind == MapKind::Phong) RebuildLightCurve(app);
  app.RefreshAll();
}

void ScanMapFolderCommand(App& app, MapKind kind) {
  auto folder = app.ui.BrowseFolder(kMapFolderTitle);
  if (!folder) return;  // cancelled: nothing to say
  if (!FolderUsable(*folder)) {
    app.ui.Message(std::string(kMapFolderInvalidText) + "\n" + *folder);
    return;
  }
  MapList list = ListOf(app, kind);
  ShowNotices(app.ui, ScanMapFolder(kind, *folder, list.maps, [&app] { app.RefreshAll(); }).notices);
  // A list that was empty starts at its first map, as at start-up.
  if (!list.maps.empty() && !SkinAt(list.maps, list.index)) list.index = 0;
  if (kind == MapKind::Phong) RebuildLightCurve(app);
  app.RefreshAll();
}

void ScanPreferredFolder(App& app, MapKind kind, const StringSetting& setting) {
  std::string folder = app.profile.Get(setting);
  if (folder.empty()) return;
  MapList list = ListOf(app, kind);
  ShowNotices(app.ui,
              ScanMapFolder(kind, ResolvePathIn(app.baseFolder, folder), list.maps, [&app] { app.RefreshAll(); })
                  .notices);
  if (!list.maps.empty() && !SkinAt(list.maps, list.index)) list.index = 0;
}

}  // namespace

void OnPhongMapOpen(App& app) { OpenMap(app, MapKind::Phong); }
void OnPhongMapClose(App& app) { CloseMap(app, MapKind::Phong); }
void OnPhongMapScanFolder(App& app) { ScanMapFolderCommand(app, MapKind::Phong); }
void OnEnvMapOpen(App& app) { OpenMap(app, MapKind::Environment); }
void OnEnvMapClose(App& app) { CloseMap(app, MapKind::Environment); }
void OnEnvMapScanFolder(App& app) { ScanMapFolderCommand(app, MapKind::Environment); }

void ScanPreferredMapFolders(App& app) {
  ScanPreferredFolder(app, MapKind::Phong, kPhongPathSetting);
  ScanPreferredFolder(app, MapKind::Environment, kEnvPathSetting);
  RebuildLightCurve(app);
  app.RefreshAll();
}

void RebuildLightCurve(App& app) {
  BuildLightCurve(app.lighting);
  Model& m = app.model;
  if (m.CurrentPhongMap()) BuildPhongLightRows(app.lighting, *m.CurrentPhongMap());
}
