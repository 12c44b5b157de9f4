#include "editor/skin_effects.h"

#include <algorithm>
#include <cmath>

#include "image/colour.h"
#include "render/rasterizer.h"

namespace {

// Every effect goes through here for its palette colour, so a faster exact
// lookup can replace the search in one place.
std::uint8_t NearestColour(const Palette& palette, double r, double g, double b) {
  return NearestPaletteEntry(palette, r, g, b);
}

// A texel's result depends only on its own index and one byte of the
// effect (light level, outline colour, picture index), so each pair is
// worked out once per command; a whole skin has few distinct pairs.
class PairCache {
 public:
  template <class Compute>
  std::uint8_t Get(std::uint8_t a, std::uint8_t b, Compute&& compute) {
    std::int16_t& slot = table_[static_cast<std::size_t>(a) << 8 | b];
    if (slot < 0) slot = compute(a, b);
    return static_cast<std::uint8_t>(slot);
  }

 private:
  std::vector<std::int16_t> table_ = std::vector<std::int16_t>(65536, -1);
};

bool HasPixels(const Skin& skin) {
  return skin.width > 0 && skin.height > 0 &&
         skin.pixels.size() == static_cast<std::size_t>(skin.width) * static_cast<std::size_t>(skin.height);
}

// One work buffer of the skin's size as the fillers' target, the row tables
// emptied for it.
RasterTarget WorkTarget(CRasterizer& raster, std::vector<std::uint8_t>& buffer, int width, int height) {
  raster.BeginFrame();
  return RasterTarget::Bytes(buffer.data(), width, height);
}

// A selected triangle's corners on the skin, truncated toward zero; far-off
// values are pulled in to a range the rasterizer's clippers can take.
struct MappedCorners {
  std::int32_t x[3], y[3];
};

std::int32_t TruncCoord(float v) {
  return static_cast<std::int32_t>(std::clamp(static_cast<double>(v), -1.0e9, 1.0e9));
}

template <class Chosen, class Visit>
void ForEachMapped(const Model& model, Chosen&& chosen, Visit&& visit) {
  const int count = model.TriangleCount();
  const int mapCount = model.MapVertexCount();
  for (int i = 0; i < count; ++i) {
    const Triangle& tri = model.triangles[static_cast<std::size_t>(i)];
    if (!chosen(i, tri)) continue;
    MappedCorners c;
    bool usable = true;
    for (int k = 0; k < 3 && usable; ++k) {
      const int index = tri.mapIndex[k];
      if (index < 0 || index >= mapCount) {
        usable = false;
        break;
      }
      const MapVertex& v = model.mapVertices[static_cast<std::size_t>(index)];
      usable = !std::isnan(v.s) && !std::isnan(v.t);
      c.x[k] = usable ? TruncCoord(v.s) : 0;
      c.y[k] = usable ? TruncCoord(v.t) : 0;
    }
    if (usable) visit(i, tri, c);
  }
}

template <class Visit>
void ForEachSelected(const Model& model, Visit&& visit) {
  ForEachMapped(model, [](int, const Triangle& tri) { return (tri.flags & TRI_SELECTED) != 0; }, visit);
}

void FillFlat(CRasterizer& raster, const RasterTarget& target, const MappedCorners& c, std::uint8_t value) {
  V2 pts[4];
  for (int k = 0; k < 4; ++k) {
    pts[k][0] = c.x[k % 3];
    pts[k][1] = c.y[k % 3];
  }
  raster.FillTriFlat(target, pts, value);
}

Hsv HsvOf(const Palette& palette, std::uint8_t index) {
  const std::size_t at = static_cast<std::size_t>(index) * 3;
  return RgbToHsv(palette[at] / 255.0, palette[at + 1] / 255.0, palette[at + 2] / 255.0);
}

// target = c + strength x (o - c) per component, c and o palette colours.
std::uint8_t BlendRgb(const Palette& to, const std::uint8_t* c, const std::uint8_t* o, double strength) {
  double rgb[3];
  for (int k = 0; k < 3; ++k) rgb[k] = c[k] + strength * (o[k] - c[k]);
  return NearestColour(to, rgb[0], rgb[1], rgb[2]);
}

// Where the mask is set, each texel becomes result(its index, effect byte).
template <class Result>
void ApplyMasked(Skin& skin, const std::vector<std::uint8_t>& mask, const std::vector<std::uint8_t>& effect,
                 Result&& result) {
  PairCache cache;
  for (std::size_t i = 0; i < skin.pixels.size(); ++i) {
    if (!mask[i]) continue;
    skin.pixels[i] = cache.Get(skin.pixels[i], effect[i], result);
  }
}

void Light(const Model& model, const std::vector<TriangleLight>& light, Skin& skin, CRasterizer& raster,
           double strength, bool smooth) {
  if (!HasPixels(skin)) return;
  const std::vector<std::uint8_t> mask = BuildSelectionMask(model, skin.width, skin.height, raster);
  std::vector<std::uint8_t> levels(skin.pixels.size(), 0);
  const RasterTarget target = WorkTarget(raster, levels, skin.width, skin.height);
  ForEachSelected(model, [&](int t, const Triangle&, const MappedCorners& c) {
    if (static_cast<std::size_t>(t) >= light.size()) return;
    const TriangleLight& lit = light[static_cast<std::size_t>(t)];
    if (!smooth) {
      FillFlat(raster, target, c, lit.shade[0]);
      return;
    }
    V3 pts[4];
    for (int k = 0; k < 4; ++k) {
      pts[k][0] = c.x[k % 3];
      pts[k][1] = c.y[k % 3];
      pts[k][2] = static_cast<std::int32_t>(lit.shade[k % 3]) << 16;
    }
    raster.FillTriGouraud(target, pts);
  });
  const Palette& palette = skin.palette;
  ApplyMasked(skin, mask, levels, [&](std::uint8_t index, std::uint8_t level) {
    Hsv hsv = HsvOf(palette, index);
    hsv.v += (level / 255.0 - hsv.v) * strength / 2;
    double r, g, b;
    HsvToRgb(hsv, r, g, b);
    return NearestColour(palette, r * 255, g * 255, b * 255);
  });
}

}  // namespace

std::vector<std::uint8_t> BuildSelectionMask(const Model& model, int width, int height, CRasterizer& raster) {
  if (width <= 0 || height <= 0) return {};
  std::vector<std::uint8_t> mask(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
  const RasterTarget target = WorkTarget(raster, mask, width, height);
  ForEachSelected(model, [&](int, const Triangle&, const MappedCorners& c) { FillFlat(raster, target, c, 255); });
  return mask;
}

std::vector<std::uint8_t> BuildTriangleMask(const Model& model, const std::vector<int>& triangles, int width,
                                            int height, CRasterizer& raster) {
  if (width <= 0 || height <= 0) return {};
  std::vector<std::uint8_t> chosen(model.triangles.size(), 0);
  for (int t : triangles)
    if (t >= 0 && static_cast<std::size_t>(t) < chosen.size()) chosen[static_cast<std::size_t>(t)] = 1;
  std::vector<std::uint8_t> mask(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
  const RasterTarget target = WorkTarget(raster, mask, width, height);
  ForEachMapped(
      model, [&](int i, const Triangle&) { return chosen[static_cast<std::size_t>(i)] != 0; },
      [&](int, const Triangle&, const MappedCorners& c) { FillFlat(raster, target, c, 255); });
  return mask;
}

void OutlineSelected(const Model& model, Skin& skin, CRasterizer& raster, std::uint8_t colour, double strength) {
  if (!HasPixels(skin)) return;
  std::vector<std::uint8_t> mask(skin.pixels.size(), 0);
  std::vector<std::uint8_t> drawn(skin.pixels.size(), 0);
  // The line drawer takes end points on the target only: a corner on the
  // far border (s = width) is clipped like one far off the skin.
  const RasterTarget ink = WorkTarget(raster, drawn, skin.width, skin.height);
  const RasterTarget covered = RasterTarget::Bytes(mask.data(), skin.width, skin.height);
  ForEachSelected(model, [&](int, const Triangle&, const MappedCorners& c) {
    for (int k = 0; k < 3; ++k) {
      std::int32_t x0 = c.x[k], y0 = c.y[k], x1 = c.x[(k + 1) % 3], y1 = c.y[(k + 1) % 3];
      if (!CRasterizer::ClipLine(ink, x0, y0, x1, y1)) continue;
      CRasterizer::DrawLine(ink, x0, y0, x1, y1, colour);
      CRasterizer::DrawLine(covered, x0, y0, x1, y1, 255);
    }
  });
  const Palette& palette = skin.palette;
  ApplyMasked(skin, mask, drawn, [&](std::uint8_t index, std::uint8_t ink) {
    return BlendRgb(palette, &palette[index * 3u], &palette[ink * 3u], strength);
  });
}

void FillSelected(const Model& model, const std::vector<TriangleLight>& light, Skin& skin, CRasterizer& raster,
                  double strength) {
  Light(model, light, skin, raster, strength, false);
}

void ShadeSelected(const Model& model, const std::vector<TriangleLight>& light, Skin& skin, CRasterizer& raster,
                   double strength) {
  Light(model, light, skin, raster, strength, true);
}

bool LoadToSelected(const Model& model, Skin& skin, const Skin& picture, CRasterizer& raster, double strength) {
  if (!HasPixels(skin) || !HasPixels(picture) || picture.width != skin.width || picture.height != skin.height)
    return false;
  const std::vector<std::uint8_t> mask = BuildSelectionMask(model, skin.width, skin.height, raster);
  const Palette& palette = skin.palette;
  ApplyMasked(skin, mask, picture.pixels, [&](std::uint8_t index, std::uint8_t source) {
    return BlendRgb(palette, &palette[index * 3u], &picture.palette[source * 3u], strength);
  });
  return true;
}
