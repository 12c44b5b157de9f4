#include "shell/mapping_file_commands.h"

#include <string>

#include "model/mapping_file.h"
#include "platform/files.h"
#include "platform/ui.h"
#include "shell/app.h"
#include "shell/file_dialog_step.h"

namespace {

std::optional<ChosenFile> AskForVmap(App& app, bool save) {
  FileDialogRequest request;
  request.save = save;
  request.filter = kVmapFilter;
  request.initialName = "*.vmp";
  request.hideReadOnly = true;
  request.fileMustExist = !save;
  return AskForFile(app, request, save ? DialogFolder::Save : DialogFolder::Load, AlwaysExtension(".vmp"));
}

}  // namespace

bool ImportMappingFrom(App& app, const std::string& path, bool toSelected) {
  const std::string file = PathIn(app.baseFolder, path);
  int cause = 0;
  auto bytes = ReadVmapFile(file, &cause);
  if (!bytes) {
    app.ui.Message(LoadErrorText(file, cause));
    return false;
  }
  Model& m = app.model;
  if (toSelected) m.WeldMapVertices(1);
  // The stored mapping takes the old one first, so Revert undoes the import
  // (and is replaced even when the file is then refused).
  m.StoreMapping();
  std::string refused;
  auto data = ReadVmap(*bytes, m, !toSelected, &refused);
  if (!data) {
    app.ui.Message(refused + "\n" + file);
    return false;
  }
  if (toSelected)
    ApplyVmapToSelected(m, *data);
  else
    ApplyVmap(m, *data);
  app.RefreshAll();
  return true;
}

bool ExportMappingTo(App& app, const std::string& path) {
  app.model.WeldMapVertices(1);
  const int cause = WriteFileAtomic(PathIn(app.baseFolder, path), EncodeVmap(app.model));
  if (cause == 0) return true;
  app.ui.Message(SaveErrorText(PathIn(app.baseFolder, path), cause));
  return false;
}

void OnMappingExport(App& app) {
  if (auto chosen = AskForVmap(app, true)) ExportMappingTo(app, chosen->path);
}

void OnMappingImport(App& app) {
  if (auto chosen = AskForVmap(app, false)) ImportMappingFrom(app, chosen->path, false);
}

void OnMappingImportToSelected(App& app) {
  if (auto chosen = AskForVmap(app, false)) ImportMappingFrom(app, chosen->path, true);
}
