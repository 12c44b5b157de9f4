#pragma once
// The File menu's Open, Save, Save As and Base Folder, and the Skins menu's
// Scan Folder.

class App;

void OpenCommand(App& app);
void SaveCommand(App& app);
void SaveAsCommand(App& app);
void BaseFolderCommand(App& app);
void ScanFolderCommand(App& app);
