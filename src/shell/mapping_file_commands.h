#pragma once
// The Mapping menu's Export, Import and Import to Selected: the file dialog,
// then the operation on the document (editor/document_ops.h).

class App;

void OnMappingExport(App& app);
void OnMappingImport(App& app);
void OnMappingImportToSelected(App& app);
