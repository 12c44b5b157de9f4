#pragma once
// The palette new and stand-in skins start with.

#include <string>

#include "image/skin.h"

// The palette of the file `path` (PCX, BMP or ACT; a relative path is below
// `baseFolder`); the grey ramp when no path is given or the file cannot be
// read.
void LoadDefaultPalette(const std::string& path, const std::string& baseFolder, Palette& out);
