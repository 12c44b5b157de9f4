#include "shell/app.h"

#include "model/companion.h"
#include "platform/profile.h"
#include "shell/preferences.h"

App::App(Ui& u, Profile& p) : ui(u), profile(p) {}

App::~App() = default;

Md2Context App::Md2Files() {
  return Md2Context{model,
                    ui,
                    baseFolder,
                    md2Image,
                    [this] { RebuildPaintTable(); },
                    [this] { RebuildShadeRamps(); },
                    [this] { RefreshAll(); },
                    SkinScanPreference(profile),
                    profile.Get(kPalettePathSetting)};
}

int App::LoadMd2(const std::string& path) {
  Md2Context context = Md2Files();
  return ::LoadMd2(context, path);
}

int App::SaveMd2(const std::string& path) {
  Md2Context context = Md2Files();
  return ::SaveMd2(context, path);
}

void App::ScanFolderForSkins(const std::string& folder) {
  Md2Context context = Md2Files();
  ::ScanFolderForSkins(context, folder);
}
