#pragma once
// True-colour pictures (PNG, TGA, JPEG) brought into a 256-colour palette,
// so that every picture the program holds stays an 8-bit skin.

#include <cstdint>
#include <memory>
#include <vector>

#include "image/skin.h"

// The game draws index 255 as see-through, so a pixel at least half
// transparent (alpha below this) takes it instead of a colour.
inline constexpr std::uint8_t kTransparentIndex = 255;
inline constexpr std::uint8_t kOpaqueAlphaFrom = 128;

struct TrueColourPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;  // top row first, 4 bytes a pixel
};

// What a picture reader found: a palette picture keeps its own indices and
// palette (`indexed`, finished as a parsed record); any other is left in
// true colour for the caller to map into the palette it chooses.
struct DecodedPicture {
  std::unique_ptr<Skin> indexed;
  TrueColourPicture trueColour;
};

// Palette indices of `picture`, top row first: each pixel's nearest entry
// (as NearestPaletteEntry), or with `dither` the nearest after the errors of
// the pixels before it are spread Floyd-Steinberg fashion.
std::vector<std::uint8_t> MapToPalette(const TrueColourPicture& picture, const Palette& palette, bool dither);

// The colours of an 8-bit record, all opaque.
TrueColourPicture ExpandToTrueColour(const Skin& skin);

// The finished record of a decoded picture: palette pictures as they are,
// true-colour ones mapped into `palette`. Records from PNG, TGA and JPEG
// files are marked PCX here; LoadSkinImage puts the file's own format in.
std::unique_ptr<Skin> SkinFromPicture(DecodedPicture picture, const Palette& palette, bool dither);
