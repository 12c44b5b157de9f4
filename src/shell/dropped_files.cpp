#include "shell/dropped_files.h"

#include <fstream>

#include "editor/document.h"
#include "platform/files.h"
#include "shell/app.h"
#include "shell/file_commands.h"
#include "shell/skin_commands.h"

bool IsMd2File(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char magic[4] = {};
  if (in.read(magic, 4)) return std::string(magic, 4) == "IDP2";
  return ExtensionOf(path) == "md2";
}

void OpenDroppedFiles(App& app, const std::vector<std::string>& paths) {
  for (const std::string& path : paths) {
    if (IsMd2File(path)) {
      OpenModelFile(app, path);
      continue;
    }
    // A skin needs a model to go with.
    if (!app.model.modelLoaded) continue;
    {
      DocumentStep step(app.document, "Open Skin", STEP_SKINS);
      OpenSkinFile(app, path);
    }
    app.ActionEnded();
  }
}
