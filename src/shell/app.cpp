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

namespace {

// The loader's context over the app: names below the base folder, the
// user's scan preference and palette, questions through the Ui.
Md2Context Md2Files(App& app) {
  return Md2Context{app.model,
                    app.baseFolder,
                    app.document.md2Image,
                    SkinScanPreference(app.profile),
                    app.profile.Get(kPalettePathSetting),
                    [&app](const std::string& question) {
                      return app.ui.Message(question, MsgButtons::YesNo) == MsgAnswer::Yes;
                    }};
}

}  // namespace

int App::LoadMd2(const std::string& path) {
  Md2Context context = Md2Files(*this);
  auto loaded = ::LoadMd2(context, path);
  if (!loaded) {
    ShowFileError(ui, loaded.error());
    return 0;
  }
  // The tables follow the new skins before anything is shown.
  RebuildPaintTable();
  RebuildShadeRamps();
  ShowNotices(ui, *loaded);
  document.history.Clear();
  document.MarkMeshSaved();
  // A new model may be any size: both views start on the whole of it.
  ZoomToFit(*this);
  return 1;
}

int App::SaveMd2(const std::string& path) {
  Md2Context context = Md2Files(*this);
  auto saved = ::SaveMd2(context, path);
  if (!saved) {
    ShowFileError(ui, saved.error());
    return 0;
  }
  if (!*saved) return 0;
  document.MarkMeshSaved();
  return 1;
}
