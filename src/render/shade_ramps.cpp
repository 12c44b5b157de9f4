#include <cmath>

#include "render/lighting.h"

namespace {

struct Hsv {
  double h = 0, s = 0, v = 0;
};

// Hue in degrees (0 for a grey, where it is undefined). The saturation is
// never 0, so a grey keeps going through the coloured branch of the way back.
Hsv ToHsv(double r, double g, double b) {
  double mx = std::fmax(r, std::fmax(g, b));
  double mn = std::fmin(r, std::fmin(g, b));
  Hsv out;
  out.v = mx;
  out.s = mx > 0 ? (mx - mn) / mx : 0.0;
  if (out.s == 0) out.s = 0.000001;
  double d = mx - mn;
  if (d > 0) {
    if (mx == r)
      out.h = 60.0 * (g - b) / d;
    else if (mx == g)
      out.h = 60.0 * (2.0 + (b - r) / d);
    else
      out.h = 60.0 * (4.0 + (r - g) / d);
    if (out.h < 0) out.h += 360.0;
  }
  return out;
}

void ToRgb(const Hsv& c, double out[3]) {
  double h = c.h / 60.0;
  int i = static_cast<int>(std::floor(h));
  double f = h - i;
  double p = c.v * (1 - c.s);
  double q = c.v * (1 - c.s * f);
  double t = c.v * (1 - c.s * (1 - f));
  double r, g, b;
  switch (((i % 6) + 6) % 6) {
    case 0: r = c.v; g = t; b = p; break;
    case 1: r = q; g = c.v; b = p; break;
    case 2: r = p; g = c.v; b = t; break;
    case 3: r = p; g = q; b = c.v; break;
    case 4: r = t; g = p; b = c.v; break;
    default: r = c.v; g = p; b = q; break;
  }
  out[0] = r;
  out[1] = g;
  out[2] = b;
}

std::uint8_t ToByte(double x) {
  double v = x * 256.0;
  if (!(v > 0)) return 0;
  if (v > 255) return 255;
  return static_cast<std::uint8_t>(v);
}

}  // namespace

void BuildShadeRamps(Lighting& lighting, const Palette* palette, const std::uint8_t slots[3]) {
  for (int r = 0; r < 3; ++r) {
    int idx = slots[r];
    double rgb[3];
    for (int k = 0; k < 3; ++k)
      rgb[k] = (palette ? (*palette)[idx * 3 + k] : idx) / 256.0;
    Hsv base = ToHsv(rgb[0], rgb[1], rgb[2]);
    for (int j = 0; j < 64; ++j) {
      Hsv lit = base;
      lit.v = base.v * lighting.lightCurve[4 * j] / 256.0;
      double out[3];
      ToRgb(lit, out);
      for (int k = 0; k < 3; ++k) lighting.shadeRamps[r][j][k] = ToByte(out[k]);
    }
  }
}
