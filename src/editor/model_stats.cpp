#include "editor/model_stats.h"

#include <cmath>
#include <cstdint>
#include <memory>

#include "model/model.h"
#include "render/rasterizer.h"

namespace {

// Mapping coordinates come from files; keep the truncated value well inside
// the range the clipper's midpoints work in.
std::int32_t TruncateCoordinate(float value) {
  if (std::isnan(value)) return 0;
  constexpr float kLimit = 1073741824.0f;  // 2^30
  if (value <= -kLimit) return -(1 << 30);
  if (value >= kLimit) return 1 << 30;
  return static_cast<std::int32_t>(value);
}

}  // namespace

int LinkedSkinCount(const Model& model) {
  int count = 0;
  for (const auto& skin : model.skins)
    if (skin && !(skin->flags & SKIN_EXTERNAL)) ++count;
  return count;
}

int ExternalSkinCount(const Model& model) {
  int count = 0;
  for (const auto& skin : model.skins)
    if (skin && (skin->flags & SKIN_EXTERNAL)) ++count;
  return count;
}

int WastedSpacePercent(const Model& model) {
  auto rasterizer = std::make_unique<CRasterizer>();
  return WastedSpacePercent(model, *rasterizer);
}

int WastedSpacePercent(const Model& model, CRasterizer& rasterizer) {
  const int width = model.skinWidth;
  const int height = model.skinHeight;
  if (width <= 0 || height <= 0) return 0;
  std::vector<std::uint8_t> covered(static_cast<std::size_t>(width) * height, 0);

  const int triangles = model.TriangleCount();
  const int mapVertices = model.MapVertexCount();

  // The row tables hold 2048 rows; a taller skin is measured in bands.
  for (int top = 0; top < height; top += kRasterMaxRows) {
    const int rows = height - top < kRasterMaxRows ? height - top : kRasterMaxRows;
    const RasterTarget band = RasterTarget::Bytes(covered.data() + static_cast<std::size_t>(top) * width, width, rows);
    rasterizer.BeginFrame();
    for (int i = 0; i < triangles; ++i) {
      const Triangle& tri = model.triangles[i];
      V2 pts[4];
      bool valid = true;
      for (int c = 0; c < 3; ++c) {
        const int index = tri.mapIndex[c];
        if (index < 0 || index >= mapVertices) {
          valid = false;
          break;
        }
        pts[c][0] = TruncateCoordinate(model.mapVertices[index].s);
        pts[c][1] = TruncateCoordinate(model.mapVertices[index].t) - top;
      }
      if (!valid) continue;
      pts[3][0] = pts[0][0];
      pts[3][1] = pts[0][1];
      rasterizer.FillTriFlat(band, pts, 255);
    }
  }

  std::size_t empty = 0;
  for (std::uint8_t b : covered)
    if (b == 0) ++empty;
  const double percent = static_cast<double>(empty) * 100.0 /
                         (static_cast<double>(width) * static_cast<double>(height));
  return static_cast<int>(percent);
}

std::vector<ModelStatRow> ModelStatRows(const Model& model) {
  const auto number = [](long value) { return std::to_string(value); };
  return {
      {"Vertices", number(model.VertexCount()), "2048"},
      {"Mapping Verts", number(model.MapVertexCount()), "2048"},
      {"Triangles", number(model.TriangleCount()), "4096"},
      {"Frames", number(static_cast<long>(model.frames.size())), "512"},
      {"Linked Skins", number(LinkedSkinCount(model)), "32"},
      {"External Skins", number(ExternalSkinCount(model)), "Unlimited"},
      {"Skin Width", number(model.skinWidth), "640"},
      {"Skin Height", number(model.skinHeight), "480"},
      {"Wasted Space", number(WastedSpacePercent(model)) + "%", "Undecided"},
  };
}
