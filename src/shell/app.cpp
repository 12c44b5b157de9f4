#include "shell/app.h"

#include "model/companion.h"
#include "platform/profile.h"
#include "platform/show_file_error.h"
#include "shell/preferences.h"
#include "shell/view_commands.h"

App::App(Ui& u, Profile& p) : ui(u), profile(p) {
  recovery.Attach(document.history);
  rebuildShadeRamps = [this] { RebuildShadeRamps(); };
  cameraDragged = [this] { link.SendCameraToWatcher(); };
  link.refreshAll = [this] { RefreshAll(); };
}

App::~App() = default;

Md2Context App::Md2Files() {
  return Md2Context{model,
                    baseFolder,
                    document.md2Image,
                    [this] { RebuildPaintTable(); },
                    [this] { RebuildShadeRamps(); },
                    [this] { RefreshAll(); },
                    SkinScanPreference(profile),
                    profile.Get(kPalettePathSetting),
                    [this](const std::string& question) {
                      return ui.Message(question, MsgButtons::YesNo) == MsgAnswer::Yes;
                    }};
}

int App::LoadMd2(const std::string& path) {
  Md2Context context = Md2Files();
  auto loaded = ::LoadMd2(context, path);
  if (!loaded) {
    ShowFileError(ui, loaded.error());
    return 0;
  }
  ShowNotices(ui, *loaded);
  document.history.Clear();
  document.MarkMeshSaved();
  // A new model may be any size: both views start on the whole of it.
  ZoomToFit(*this);
  return 1;
}

int App::SaveMd2(const std::string& path) {
  Md2Context context = Md2Files();
  auto saved = ::SaveMd2(context, path);
  if (!saved) {
    ShowFileError(ui, saved.error());
    return 0;
  }
  if (!*saved) return 0;
  document.MarkMeshSaved();
  return 1;
}

void App::ScanFolderForSkins(const std::string& folder) {
  Md2Context context = Md2Files();
  ShowNotices(ui, ::ScanFolderForSkins(context, folder));
}
