#pragma once
// Changing a skin's palette or remapping its palette indices: the picture's
// colours change while its size and pixel count stay.

#include <cstdint>
#include <string>

#include "image/skin.h"

// The palette the file (PCX, BMP or ACT) supplies becomes the skin's; the
// pixels keep their indices. False, and the palette untouched, when the file
// gives none.
bool RepaletteSkin(Skin& skin, const std::string& path);

// Entry i and entry 255 - i change places.
void InvertPalette(Skin& skin);

// Every index v of the pixels and of the stored pixels becomes 255 - v, so
// a later Revert keeps the inversion.
void InvertPixels(Skin& skin);

// The picture looks the same afterwards; its palette order and every index
// are reversed.
void InvertBoth(Skin& skin);

// Maps the run of indices from `s` to `e` (either may be the larger) onto the
// run from `t0` to `t1`, linearly: s becomes t0 and e becomes t1; results
// wrap modulo 256. With s = e that index becomes t0. Only the pixels change.
void ReplaceColours(Skin& skin, std::uint8_t s, std::uint8_t e, std::uint8_t t0, std::uint8_t t1);
