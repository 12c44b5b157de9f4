#include "cli/load_model.h"

#include <ostream>

#include "model/md2_load.h"
#include "platform/files.h"
#include "platform/show_file_error.h"
#include "shell/app.h"

bool LoadModelForCli(App& app, const CliArgs& args, std::ostream& err) {
  const std::string model = AbsolutePath(args.positional.at(0));
  app.baseFolder = AbsolutePath(args.Get("--base").value_or(DefaultBaseFolder(model)));
  if (!FolderExists(app.baseFolder)) {
    err << "That folder is not valid: " << app.baseFolder << '\n';
    return false;
  }
  Md2Context context = app.Md2Files();
  context.skinScan = SkinScan::Never;
  context.palettePath.clear();
  auto loaded = LoadMd2(context, model);
  if (!loaded) {
    ShowFileError(app.ui, loaded.error());
    return false;
  }
  ShowNotices(app.ui, *loaded);
  return true;
}
