#pragma once
// The palette's colour ramps: runs of neighbouring entries that step from
// dark to bright (or back) in one hue. Shading moves a texel one entry along
// its ramp, so an artist shades without picking colours. The ramps are read
// from the palette itself; a game palette comes out as its runs of 16.

#include <array>
#include <cstdint>

#include "image/skin.h"

struct PaletteRamps {
  std::array<std::uint8_t, 256> first{};  // the first entry of each entry's ramp
  std::array<std::uint8_t, 256> last{};
  // One step brighter or darker along the ramp; an entry at the end of its
  // ramp stays where it is.
  std::array<std::uint8_t, 256> brighter{};
  std::array<std::uint8_t, 256> darker{};
};

// A ramp ends where the next entry jumps in colour (more than a quarter of
// the RGB cube's side away) or where the brightness turns back.
PaletteRamps FindPaletteRamps(const Palette& palette);
