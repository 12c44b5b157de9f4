#pragma once
// The paint remap: every palette entry's colour moved towards the paint
// colour by the strength, under the Colour or Tint rule, and snapped back to
// the nearest entry of the skin's own palette.

#include <array>
#include <cstdint>

#include "editor/editor_state.h"
#include "image/skin.h"

class Workspace;

struct Hsv {
  double h = -1;  // degrees 0..360, -1 for grey
  double s = 0;   // 0..1
  double v = 0;   // 0..255
};

Hsv RgbToHsv(double r, double g, double b);
void HsvToRgb(const Hsv& hsv, double& r, double& g, double& b);

// The palette entry nearest (squared RGB distance) to the colour; the
// lowest index wins a tie.
std::uint8_t NearestPaletteEntry(const Palette& palette, double r, double g, double b);

// The table for paint colour `paintIndex` of `palette`.
std::array<std::uint8_t, 256> ComputePaintTable(const Palette& palette, std::uint8_t paintIndex,
                                                double strength, PaintBlendMode mode);

// The workspace's paint table from the current skin's palette, the active
// colour slot, the strength and the blend rule; the old table stays without
// a current skin.
void BuildPaintTable(Workspace& workspace);
