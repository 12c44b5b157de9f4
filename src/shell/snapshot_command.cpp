#include "shell/snapshot_command.h"

#include "editor/model_view.h"
#include "editor/snapshot.h"
#include "image/image_files.h"
#include "image/png_write.h"
#include "platform/files.h"
#include "platform/show_file_error.h"
#include "shell/app.h"
#include "shell/file_dialog_step.h"
#include "shell/shell_layout.h"

namespace {

constexpr int kSmallest = 16;
constexpr int kLargest = 2048;

bool EndsWithPng(const std::string& path) {
  if (path.size() < 4) return false;
  std::string end = path.substr(path.size() - 4);
  for (char& c : end) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return end == ".png";
}

}  // namespace

void OnSnapshot(App& app) {
  ModelView* pane = app.services.shellLayout ? app.services.shellLayout->modelViewPane() : nullptr;
  if (!app.services.snapshotDialog || !pane) return;
  ModelView& view = *pane;
  SnapshotChoice initial;
  initial.customWidth = app.viewport.width;
  initial.customHeight = app.viewport.height;
  auto choice = app.services.snapshotDialog->Ask(initial);
  if (!choice) return;
  const bool custom = choice->sizeChoice == 1;
  if (custom && (choice->customWidth < kSmallest || choice->customWidth > kLargest ||
                 choice->customHeight < kSmallest || choice->customHeight > kLargest)) {
    app.ui.Message(kSnapshotSizeText);
    return;
  }
  FileDialogRequest request;
  request.save = true;
  request.filter = kSnapshotFilter;
  request.initialName = "*.bmp";
  auto chosen = AskForFile(app, request, DialogFolder::Save,
                           [](int filter) { return std::string(filter == 2 ? ".png" : ".bmp"); });
  if (!chosen) return;
  auto picture = custom ? TakeSnapshot(app, view, true, choice->customWidth, choice->customHeight)
                        : TakeSnapshot(app, view, false, app.viewport.width, app.viewport.height);
  if (!picture) return;
  const std::string path = PathIn(app.baseFolder, chosen->path);
  WriteResult written = EndsWithPng(path) ? WritePng(*picture, path) : WriteBmp(*picture, path);
  if (!written) ShowFileError(app.ui, written.error());
}
