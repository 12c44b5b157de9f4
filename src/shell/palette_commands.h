#pragma once
// Skins > Palette and Skins > Invert...: the current skin's palette replaced
// or reversed, or its indices remapped. Each returns quietly without a
// current skin.

class App;

inline constexpr char kPaletteFilter[] =
    "Supported Formats (*.pcx;*.bmp;*.act)|*.pcx;*.bmp;*.act|Mesh Skin (*.pcx)|*.pcx|Bitmap (*.bmp)|*.bmp|"
    "Photoshop ACT (*.act)|*.act|All Files (*.*)|*.*||";
inline constexpr char kNoPaletteText[] =
    "There was an error loading the specified file,\nit does no appear to contain a palette";

void OnRepalette(App& app);
// Slots 3 and 2 name the run of indices to replace, slots 5 and 4 the run
// they become.
void OnReplaceColours(App& app);
void OnSetDefaultPalette(App& app);
void OnInvertPalette(App& app);
void OnInvertPixels(App& app);
void OnInvertBoth(App& app);
