#pragma once
// The Mapping menu's Export, Import and Import to Selected, and the steps
// after the file dialog that the command line shares.

#include <string>

class App;

void OnMappingExport(App& app);
void OnMappingImport(App& app);
void OnMappingImportToSelected(App& app);

// Welds the mapping and writes it to `path`; false after "Error Saving: ".
bool ExportMappingTo(App& app, const std::string& path);
// Stores the mapping, then takes the file's (whole, or for the selected
// triangles); false after the message that refused it.
bool ImportMappingFrom(App& app, const std::string& path, bool toSelected);
