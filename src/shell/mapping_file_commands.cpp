#include "shell/mapping_file_commands.h"

#include <string>

#include "model/mapping_file.h"
#include "platform/files.h"
#include "shell/app.h"
#include "shell/file_dialog_step.h"
#include "shell/show_op_result.h"

namespace {

std::optional<ChosenFile> AskForVmap(App& app, bool save) {
  FileDialogRequest request;
  request.save = save;
  request.filter = kVmapFilter;
  request.initialName = "*.vmp";
  request.fileMustExist = !save;
  return AskForFile(app, request, save ? DialogFolder::Save : DialogFolder::Load, AlwaysExtension(".vmp"));
}

void Import(App& app, bool toSelected) {
  auto chosen = AskForVmap(app, false);
  if (!chosen) return;
  const OpResult result = ImportMapping(app.document, PathIn(app.baseFolder, chosen->path), toSelected);
  if (ShowOpResult(app.ui, result)) app.RefreshAll();
}

}  // namespace

void OnMappingExport(App& app) {
  auto chosen = AskForVmap(app, true);
  if (!chosen) return;
  ShowOpResult(app.ui, ExportMapping(app.document, PathIn(app.baseFolder, chosen->path)));
}

void OnMappingImport(App& app) { Import(app, false); }
void OnMappingImportToSelected(App& app) { Import(app, true); }
