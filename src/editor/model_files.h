#pragma once
// Reading and writing the model of a workspace that has no windows (the
// command line, tests): the loader's and writer's steps with nobody to ask
// and nothing to refresh.

#include <string>

#include "editor/workspace.h"
#include "model/md2_load.h"

// The loader's context over the workspace: names below `baseFolder`. A model that names no skins is
// not scanned for any (there is nobody to ask) and stand-in skins keep the
// grey ramp unless `palettePath` names a palette.
Md2Context HeadlessMd2Files(Workspace& workspace, const std::string& baseFolder, const std::string& palettePath = {});

// LoadMd2 into the workspace; on success the workspace's tables follow the
// new skins, the undo history starts anew and the mesh counts as saved.
FileResult<FileNotices> OpenModel(Workspace& workspace, const std::string& baseFolder, const std::string& path);
// SaveMd2 of the workspace's model; a written model counts as saved.
FileResult<bool> WriteModel(Workspace& workspace, const std::string& baseFolder, const std::string& path);
