#pragma once
// The demo's pictures: a 256-colour palette of sixteen ramps, the creature's
// skin painted in it, a 64-row colormap for that palette, and a few phong and
// environment maps.

#include <cstdint>
#include <string>
#include <vector>

#include "cli/demo_mesh.h"
#include "image/skin.h"

Palette DemoPalette();
// Nearest palette entry by squared RGB distance; the lower index on a tie.
std::uint8_t NearestColour(const Palette& palette, int r, int g, int b);

Skin PaintDemoSkin(const DemoMesh& mesh, const Palette& palette);
// Row r (0..63) maps each colour to its shade at light row r, row 0 brightest.
Skin BuildDemoColormap(const Palette& palette);

struct DemoMap {
  std::string fileName;
  Skin image;
};
std::vector<DemoMap> BuildDemoPhongMaps();
std::vector<DemoMap> BuildDemoEnvMaps();
