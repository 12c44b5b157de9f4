#pragma once
// Options > Phong Maps and Environment Maps: Open, Close, Scan Folder; the
// start-up scan of the preferred map folders; and the light curve with the
// current phong map's light rows.

class App;

inline constexpr char kPhongMapFilter[] =
    "Supported Formats (*.bmp;*.pcx)|*.bmp;*.pcx|Greyscale Bitmap (*.bmp)|*.bmp|"
    "Greyscale PCX (*.pcx)|*.pcx|All Files (*.*)|*.*||";
inline constexpr char kEnvMapFilter[] =
    "Supported Formats (*.bmp;*.pcx)|*.bmp;*.pcx|Bitmap (*.bmp)|*.bmp|"
    "ZSoft PCX (*.pcx)|*.pcx|All Files (*.*)|*.*||";
inline constexpr char kMapFolderTitle[] = "Select the folder you wish to browse...";
inline constexpr char kMapFolderInvalidText[] = "That folder is not valid";

void OnPhongMapOpen(App& app);
void OnPhongMapClose(App& app);
void OnPhongMapScanFolder(App& app);
void OnEnvMapOpen(App& app);
void OnEnvMapClose(App& app);
void OnEnvMapScanFolder(App& app);

// From the main frame's creation: scans "Preferences"/"Phong Path" and
// "Env Path" unless "Unknown", makes the entry at each list's current index
// (0 when it has none) current, rebuilds the light curve and refreshes.
void ScanPreferredMapFolders(App& app);

// The light curve from the exponent, and the light rows of the current
// phong map (entry currentPhongMapIndex, taken afresh) from it. Call after
// a phong map is opened, closed or selected, on a change of render mode and
// when the exponent changes. The rows are kept up to date whatever the
// mode: only "Textured, P-Shade" reads them, and building them costs less
// than tracking when it starts to.
void RebuildLightCurve(App& app);
