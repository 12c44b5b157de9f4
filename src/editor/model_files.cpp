#include "editor/model_files.h"

Md2Context HeadlessMd2Files(Workspace& workspace, const std::string& baseFolder, const std::string& palettePath) {
  Md2Context context{workspace.model,
                     baseFolder,
                     workspace.document.md2Image,
                     SkinScan::Never,
                     palettePath,
                     {}};
  return context;
}

FileResult<FileNotices> OpenModel(Workspace& workspace, const std::string& baseFolder, const std::string& path) {
  Md2Context context = HeadlessMd2Files(workspace, baseFolder);
  auto loaded = LoadMd2(context, path);
  if (loaded) {
    workspace.RebuildPaintTable();
    if (workspace.rebuildShadeRamps) workspace.rebuildShadeRamps();
    workspace.document.history.Clear();
    workspace.document.MarkMeshSaved();
  }
  return loaded;
}

FileResult<bool> WriteModel(Workspace& workspace, const std::string& baseFolder, const std::string& path) {
  Md2Context context = HeadlessMd2Files(workspace, baseFolder);
  auto saved = SaveMd2(context, path);
  if (saved && *saved) workspace.document.MarkMeshSaved();
  return saved;
}
