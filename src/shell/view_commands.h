#pragma once
// The Views menu's camera commands and Options' "Lock Light".

class App;

void OnCenterOnSelected(App& app);
void OnCenterOnScene(App& app);
// Zoom to fit: the skin view shows the whole skin, the 3D view the model's
// bounds over all its frames. False when neither view changed; the caller
// refreshes.
bool ZoomToFit(App& app);
void OnZoomToFit(App& app);  // and refreshes
void OnAlignLeft(App& app);
void OnAlignRight(App& app);
void OnAlignFront(App& app);
void OnAlignBack(App& app);
void OnAlignTop(App& app);
void OnAlignBottom(App& app);
void OnLockLight(App& app);

// "Lock Light" is checked while the light is locked to the camera.
bool IsLockLightChecked(const App& app);

// BuildShadeRamps from the current skin's palette (grey without one) and
// colour slots 1, 2 and 3: the body of App::RebuildShadeRamps.
void BuildShadeRampsFor(App& app);
