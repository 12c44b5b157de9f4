#include "cli/demo_images.h"

#include <algorithm>
#include <cmath>

namespace {

// Base colours of the sixteen ramps; ramp k holds indices 16k .. 16k+15.
// The grey ramp runs dark to bright, so index 0 is black; the colour ramps
// run bright to dark, so the editor's default colour slots (64, 128, 192)
// land on bright colours that show well against a dark background.
const int kRampColours[16][3] = {
    {255, 255, 255}, {150, 105, 60}, {90, 160, 70},  {200, 60, 50},  {70, 100, 200}, {230, 200, 70},
    {150, 80, 170},  {60, 170, 170}, {235, 130, 40}, {225, 170, 130}, {120, 130, 90}, {170, 150, 120},
    {110, 90, 60},   {190, 190, 220}, {255, 90, 140}, {255, 240, 200},
};

Skin MakeImage(int w, int h, const Palette& palette) {
  Skin s;
  s.width = static_cast<std::int16_t>(w);
  s.height = static_cast<std::int16_t>(h);
  s.pixels.assign(static_cast<size_t>(w) * h, 0);
  s.palette = palette;
  return s;
}

// A cheap repeatable noise in 0..1.
float Hash(int x, int y, int seed) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u +
                    static_cast<std::uint32_t>(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return static_cast<float>((h ^ (h >> 16)) & 0xffff) / 65535.0f;
}

// Position within a ramp of brightness step i (0 darkest .. 15 brightest).
int RampPosition(int ramp, int i) { return ramp == 0 ? i : 15 - i; }

std::uint8_t Shade(int ramp, float level) {
  int i = std::clamp(static_cast<int>(std::lround(level * 15)), 0, 15);
  return static_cast<std::uint8_t>(ramp * 16 + RampPosition(ramp, i));
}

}  // namespace

Palette DemoPalette() {
  Palette p{};
  for (int ramp = 0; ramp < 16; ++ramp)
    for (int i = 0; i < 16; ++i) {
      float f = 0.08f + 0.92f * i / 15.0f;
      for (int c = 0; c < 3; ++c)
        p[3 * (ramp * 16 + RampPosition(ramp, i)) + c] = static_cast<std::uint8_t>(std::clamp(kRampColours[ramp][c] * f, 0.0f, 255.0f));
    }
  return p;
}

std::uint8_t NearestColour(const Palette& palette, int r, int g, int b) {
  int best = 0, bestDist = 1 << 30;
  for (int i = 0; i < 256; ++i) {
    int dr = palette[3 * i] - r, dg = palette[3 * i + 1] - g, db = palette[3 * i + 2] - b;
    int d = dr * dr + dg * dg + db * db;
    if (d < bestDist) best = i, bestDist = d;
  }
  return static_cast<std::uint8_t>(best);
}

Skin PaintDemoSkin(const DemoMesh& mesh, const Palette& palette) {
  Skin skin = MakeImage(mesh.skinWidth, mesh.skinHeight, palette);
  const int w = mesh.skinWidth;
  // Unused space is a dark, plain grey so wasted room is easy to see.
  std::fill(skin.pixels.begin(), skin.pixels.end(), Shade(0, 0.15f));
  for (const auto& rg : mesh.regions) {
    for (int y = rg.y; y < rg.y + rg.h; ++y)
      for (int x = rg.x; x < rg.x + rg.w; ++x) {
        float u = float(x - rg.x) / rg.w, v = float(y - rg.y) / rg.h;  // around, top to bottom
        float n = Hash(x, y, rg.part);
        std::uint8_t c;
        switch (rg.part) {
          case 0: {  // torso: green scales, a pale belly
            bool belly = std::fabs(u - 0.0f) < 0.18f || std::fabs(u - 1.0f) < 0.18f;
            float scale = 0.55f + 0.25f * std::sin(x * 0.9f + (y % 6 < 3 ? 1.6f : 0.0f)) * std::sin(y * 1.05f);
            c = belly ? Shade(15, 0.55f + 0.15f * v + 0.1f * n) : Shade(2, scale + 0.15f * n - 0.2f * v);
            break;
          }
          case 1: {  // head: green, two round yellow eyes with pupils, a dark mouth
            // The face sits on the seam (u = 0 and u = 1 meet at the front).
            float fromSeam = static_cast<float>(std::min(x - rg.x, rg.x + rg.w - 1 - x));
            float ex = fromSeam - 9.0f, ey = (y - rg.y - 0.40f * rg.h) * 1.4f;
            float eye = std::sqrt(ex * ex + ey * ey);
            float mouth = std::fabs(v - 0.62f);
            if (eye < 2.2f)
              c = Shade(0, 0.02f);
            else if (eye < 5.5f)
              c = Shade(5, 0.95f - 0.05f * n);
            else if (fromSeam < 14.0f && mouth < 0.015f)
              c = Shade(3, 0.25f);
            else
              c = Shade(2, 0.7f - 0.3f * v + 0.12f * n);
            break;
          }
          case 2:
          case 3: {  // arms: banded, with claws at the hands
            bool band = static_cast<int>(v * 10) % 3 == 0;
            c = v > 0.88f ? Shade(15, 0.9f - 0.2f * n) : Shade(band ? 10 : 2, 0.6f + 0.15f * n);
            break;
          }
          case 4:
          case 5: {  // legs: brown hide, darker feet
            c = v > 0.85f ? Shade(12, 0.3f + 0.1f * n) : Shade(1, 0.55f + 0.2f * std::sin(u * 25.0f) * 0.5f + 0.1f * n);
            break;
          }
          default: {  // tail: orange and black stripes
            bool stripe = static_cast<int>(u * 9) % 2 == 0;
            c = stripe ? Shade(8, 0.75f + 0.1f * n) : Shade(0, 0.1f + 0.05f * n);
            break;
          }
        }
        // A thin seam line around each region, as a painter would leave it.
        if (x == rg.x || y == rg.y || x == rg.x + rg.w - 1 || y == rg.y + rg.h - 1) c = Shade(0, 0.05f);
        skin.pixels[static_cast<size_t>(y) * w + x] = c;
      }
  }
  skin.storedPixels = skin.pixels;
  ComputeRowOffsets(&skin);
  return skin;
}

Skin BuildDemoColormap(const Palette& palette) {
  Skin map = MakeImage(256, 64, palette);
  for (int row = 0; row < 64; ++row) {
    // Row 32 is the colour itself; row 0 twice as bright, row 63 near black.
    float f = (64 - row) / 32.0f;
    for (int c = 0; c < 256; ++c) {
      int r = std::min(255, static_cast<int>(palette[3 * c] * f));
      int g = std::min(255, static_cast<int>(palette[3 * c + 1] * f));
      int b = std::min(255, static_cast<int>(palette[3 * c + 2] * f));
      map.pixels[static_cast<size_t>(row) * 256 + c] = NearestColour(palette, r, g, b);
    }
  }
  map.storedPixels = map.pixels;
  ComputeRowOffsets(&map);
  return map;
}

std::vector<DemoMap> BuildDemoPhongMaps() {
  // A phong map is a highlight seen head-on: brightness by distance from the
  // centre, sharper for shinier surfaces.
  struct Recipe {
    const char* name;
    float exponent;
    float rings;
  };
  const Recipe recipes[] = {{"soft.pcx", 1.0f, 0}, {"shiny.pcx", 4.0f, 0}, {"metal.pcx", 2.0f, 6.0f}};
  std::vector<DemoMap> out;
  for (const auto& r : recipes) {
    Skin img = MakeImage(256, 256, GreyRampPalette());
    for (int y = 0; y < 256; ++y)
      for (int x = 0; x < 256; ++x) {
        float dx = (x - 127.5f) / 128.0f, dy = (y - 127.5f) / 128.0f;
        float d = std::min(1.0f, std::sqrt(dx * dx + dy * dy));
        float v = std::pow(1.0f - d, r.exponent);
        if (r.rings > 0) v = std::clamp(v * (0.8f + 0.2f * std::cos(d * r.rings * 6.2832f)), 0.0f, 1.0f);
        img.pixels[static_cast<size_t>(y) * 256 + x] = static_cast<std::uint8_t>(std::lround(v * 255));
      }
    img.storedPixels = img.pixels;
    ComputeRowOffsets(&img);
    out.push_back({r.name, std::move(img)});
  }
  return out;
}

std::vector<DemoMap> BuildDemoEnvMaps() {
  std::vector<DemoMap> out;
  // Sky over ground, the horizon across the middle.
  {
    Palette p{};
    for (int i = 0; i < 128; ++i) {  // sky: deep blue to pale
      p[3 * i] = static_cast<std::uint8_t>(40 + i);
      p[3 * i + 1] = static_cast<std::uint8_t>(80 + i);
      p[3 * i + 2] = static_cast<std::uint8_t>(160 + i * 95 / 127);
    }
    for (int i = 128; i < 256; ++i) {  // ground: warm earth, darker below
      int k = 255 - i;
      p[3 * i] = static_cast<std::uint8_t>(60 + k);
      p[3 * i + 1] = static_cast<std::uint8_t>(45 + k * 3 / 4);
      p[3 * i + 2] = static_cast<std::uint8_t>(25 + k / 3);
    }
    Skin img = MakeImage(256, 256, p);
    for (int y = 0; y < 256; ++y)
      for (int x = 0; x < 256; ++x) {
        float n = Hash(x / 4, y / 4, 7);
        int v = y < 128 ? std::clamp(y + static_cast<int>(n * 6), 0, 127)
                        : std::clamp(128 + (y - 128) + static_cast<int>(n * 10), 128, 255);
        img.pixels[static_cast<size_t>(y) * 256 + x] = static_cast<std::uint8_t>(v);
      }
    img.storedPixels = img.pixels;
    ComputeRowOffsets(&img);
    out.push_back({"sky.pcx", std::move(img)});
  }
  // A chrome look: bright and dark bands with a hot spot.
  {
    Skin img = MakeImage(256, 256, GreyRampPalette());
    for (int y = 0; y < 256; ++y)
      for (int x = 0; x < 256; ++x) {
        float dx = (x - 100) / 128.0f, dy = (y - 90) / 128.0f;
        float band = 0.5f + 0.5f * std::sin(y * 0.05f + std::sin(x * 0.03f) * 2.0f);
        float spot = std::exp(-(dx * dx + dy * dy) * 12.0f);
        img.pixels[static_cast<size_t>(y) * 256 + x] =
            static_cast<std::uint8_t>(std::clamp(40.0f + 150.0f * band + 120.0f * spot, 0.0f, 255.0f));
      }
    img.storedPixels = img.pixels;
    ComputeRowOffsets(&img);
    out.push_back({"chrome.pcx", std::move(img)});
  }
  return out;
}
