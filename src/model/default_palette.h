#pragma once
// The palette new and stand-in skins start with.

#include <string>

#include "image/skin.h"

// Where the game keeps its palette image below the base folder; the lit
// textured modes read their light rows from the same file.
inline constexpr char kBaseColormapName[] = "pics/colormap.pcx";

// The palette of the file `path` (PCX, BMP or ACT; a relative path is below
// `baseFolder`); failing that, the palette of the base folder's
// pics/colormap.pcx; the grey ramp when neither can be read.
void LoadDefaultPalette(const std::string& path, const std::string& baseFolder, Palette& out);
