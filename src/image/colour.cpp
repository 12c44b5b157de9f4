#include "image/colour.h"

#include <algorithm>
#include <cmath>

Hsv RgbToHsv(double r, double g, double b) {
  Hsv out;
  const double mx = std::max({r, g, b});
  const double mn = std::min({r, g, b});
  out.v = mx;
  out.s = mx == 0 ? 0 : (mx - mn) / mx;
  if (out.s == 0) {
    out.h = -1;
    return out;
  }
  const double d = mx - mn;
  double h;
  if (r == mx)
    h = (g - b) / d;
  else if (g == mx)
    h = 2 + (b - r) / d;
  else
    h = 4 + (r - g) / d;
  h *= 60;
  if (h < 0) h += 360;
  out.h = h;
  return out;
}

void HsvToRgb(const Hsv& hsv, double& r, double& g, double& b) {
  const double v = hsv.v;
  if (hsv.h < 0) {
    r = g = b = v;
    return;
  }
  // A zero saturation still goes through the sector arithmetic so that a
  // colour keeps its hue; only exact grey (no hue) short-cuts above.
  const double s = hsv.s == 0 ? 0.000001 : hsv.s;
  double h = hsv.h >= 360 ? 0 : hsv.h;
  h /= 60;
  const int sector = static_cast<int>(std::floor(h));
  const double f = h - sector;
  const double p = v * (1 - s);
  const double q = v * (1 - s * f);
  const double t = v * (1 - s * (1 - f));
  switch (sector) {
    case 0: r = v, g = t, b = p; break;
    case 1: r = q, g = v, b = p; break;
    case 2: r = p, g = v, b = t; break;
    case 3: r = p, g = q, b = v; break;
    case 4: r = t, g = p, b = v; break;
    default: r = v, g = p, b = q; break;
  }
}

std::uint8_t NearestPaletteEntry(const Palette& palette, double r, double g, double b) {
  int best = 0;
  double bestDistance = -1;
  for (int i = 0; i < 256; ++i) {
    const double dr = palette[static_cast<std::size_t>(i * 3)] - r;
    const double dg = palette[static_cast<std::size_t>(i * 3 + 1)] - g;
    const double db = palette[static_cast<std::size_t>(i * 3 + 2)] - b;
    const double distance = dr * dr + dg * dg + db * db;
    if (bestDistance < 0 || distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  return static_cast<std::uint8_t>(best);
}
