#pragma once
// Colour arithmetic shared by painting, the palette operations and the skin
// effects: HSV conversion and the nearest palette entry.

#include "image/skin.h"

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
