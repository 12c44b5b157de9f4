#include "shell/app.h"

#include "model/companion.h"
#include "platform/profile.h"
#include "shell/preferences.h"

App::App(Ui& u, Profile& p) : ui(u), profile(p) {
  recovery.Attach(document.history);
  rebuildShadeRamps = [this] { RebuildShadeRamps(); };
  cameraDragged = [this] { link.SendCameraToWatcher(); };
  link.refreshAll = [this] { RefreshAll(); };
  link.redrawModelViewNow = [this] { RefreshModelView(); };
}

App::~App() = default;

Md2Context App::Md2Files() {
  return Md2Context{model,
                    ui,
                    baseFolder,
                    document.md2Image,
                    [this] { RebuildPaintTable(); },
                    [this] { RebuildShadeRamps(); },
                    [this] { RefreshAll(); },
                    SkinScanPreference(profile),
                    profile.Get(kPalettePathSetting)};
}

int App::LoadMd2(const std::string& path) {
  Md2Context context = Md2Files();
  const int loaded = ::LoadMd2(context, path);
  if (loaded) {
    document.history.Clear();
    document.MarkMeshSaved();
  }
  return loaded;
}

int App::SaveMd2(const std::string& path) {
  Md2Context context = Md2Files();
  const int saved = ::SaveMd2(context, path);
  if (saved) document.MarkMeshSaved();
  return saved;
}

void App::ScanFolderForSkins(const std::string& folder) {
  Md2Context context = Md2Files();
  ::ScanFolderForSkins(context, folder);
}
