#pragma once
// The paint remap: every palette entry's colour moved towards the paint
// colour by the strength, under the Colour or Tint rule, and snapped back to
// the nearest entry of the skin's own palette.

#include <array>
#include <cstdint>

#include "editor/editor_state.h"
#include "image/colour.h"
#include "image/skin.h"

class Workspace;

// The table for paint colour `paintIndex` of `palette`.
std::array<std::uint8_t, 256> ComputePaintTable(const Palette& palette, std::uint8_t paintIndex,
                                                double strength, PaintBlendMode mode);

// The workspace's paint table from the current skin's palette, the active
// colour slot, the strength and the blend rule; the old table stays without
// a current skin.
void BuildPaintTable(Workspace& workspace);
