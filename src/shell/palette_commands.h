#pragma once
// Skins > Palette and Skins > Invert...: the dialogs, then the operations on
// the current skin (editor/document_ops.h). Each returns quietly without a
// current skin.

class App;

inline constexpr char kPaletteFilter[] =
    "Supported Formats (*.pcx;*.bmp;*.act)|*.pcx;*.bmp;*.act|Mesh Skin (*.pcx)|*.pcx|Bitmap (*.bmp)|*.bmp|"
    "Photoshop ACT (*.act)|*.act|All Files (*.*)|*.*||";

void OnRepalette(App& app);
// Slots 3 and 2 name the run of indices to replace, slots 5 and 4 the run
// they become.
void OnReplaceColours(App& app);
void OnSetDefaultPalette(App& app);
void OnInvertPalette(App& app);
void OnInvertPixels(App& app);
void OnInvertBoth(App& app);
