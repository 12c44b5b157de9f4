#include "cli/load_model.h"

#include <ostream>

#include "editor/model_files.h"
#include "platform/files.h"
#include "platform/show_file_error.h"

bool LoadModelForCli(CliWorkspace& ws, const CliArgs& args, std::ostream& err) {
  const std::string model = AbsolutePath(args.positional.at(0));
  ws.baseFolder = AbsolutePath(args.Get("--base").value_or(DefaultBaseFolder(model)));
  if (!FolderExists(ws.baseFolder)) {
    err << "That folder is not valid: " << ws.baseFolder << '\n';
    return false;
  }
  auto loaded = OpenModel(ws, ws.baseFolder, model);
  if (!loaded) {
    ShowFileError(ws.ui, loaded.error());
    return false;
  }
  ShowNotices(ws.ui, *loaded);
  return true;
}

bool SaveModelForCli(CliWorkspace& ws, const std::string& path) {
  auto saved = WriteModel(ws, ws.baseFolder, path);
  if (!saved) {
    ShowFileError(ws.ui, saved.error());
    return false;
  }
  return *saved;
}
