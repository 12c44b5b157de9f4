#pragma once
// The File menu's Open, Save, Save As and Base Folder, and the Skins menu's
// Scan Folder.

#include <string>

class App;

void OpenCommand(App& app);
// File > Open for a path already chosen (a drop, a recent file): the same
// questions about unsaved work; true when the model loaded.
bool OpenModelFile(App& app, const std::string& path);
void SaveCommand(App& app);
void SaveAsCommand(App& app);
void BaseFolderCommand(App& app);
void ScanFolderCommand(App& app);
