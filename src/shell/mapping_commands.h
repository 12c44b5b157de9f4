#pragma once
// The Mapping menu's whole-selection commands (the mapping files are in
// mapping_file_commands.h).

class App;

void OnMapFrom3DView(App& app);  // asks through app.services.mappingDialogs
void OnFlipSelectedMapping(App& app);
void OnMirrorSelectedMapping(App& app);
void OnRotateSelectedMapping(App& app);
void OnSnapSelectedToGrid(App& app);
void OnStoreMapping(App& app);
void OnRevertMapping(App& app);
void OnDeleteSelectedMapping(App& app);
void OnRetroMap(App& app);

// The projections, island packing and scaling, and the stretch display.
void OnCylinderProjection(App& app);  // each asks through app.services.mappingDialogs
void OnSphereProjection(App& app);
void OnBoxProjection(App& app);
void OnPackIslands(App& app);
void OnAverageIslandScale(App& app);
void OnToggleStretchDisplay(App& app);
