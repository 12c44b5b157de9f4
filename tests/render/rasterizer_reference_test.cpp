// Whole pictures of random overlapping triangles against a plain, slow
// reading of the fill rules: walk the edges of the edge list (the end of
// each edge, closed by the first), keep per row the first point reaching
// the smallest and largest x, then interpolate each row with truncated steps.
// Corners stay inside the clip rectangle, away from its border, so the
// clippers leave the edges alone.

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <map>
#include <random>

#include "render/rasterizer_fixture.h"

namespace {

struct RefRow {
  int xl = INT_MAX, xr = INT_MIN;
  std::vector<std::int64_t> left, right;
};

using Vertex = std::vector<std::int64_t>;  // x, y, attributes
// (x, y, attributes at x, depth integer part) -> written or not
using RefPixel = std::function<void(int x, int y, const std::vector<std::int64_t>& attrs)>;

void RefWalk(std::map<int, RefRow>& rows, const Vertex& a, const Vertex& b) {
  const int n = static_cast<int>(a.size()) - 2;
  const std::int64_t dx = std::llabs(b[0] - a[0]), dy = std::llabs(b[1] - a[1]);
  const int sx = b[0] >= a[0] ? 1 : -1, sy = b[1] >= a[1] ? 1 : -1;
  const bool xMajor = dy < dx;
  const std::int64_t major = xMajor ? dx : dy, minor = xMajor ? dy : dx;
  std::int64_t err = 2 * minor - major;
  std::int64_t x = a[0], y = a[1];
  for (std::int64_t i = 0; i <= major; ++i) {
    std::vector<std::int64_t> attrs(n);
    for (int k = 0; k < n; ++k)
      attrs[k] = a[2 + k] + (major ? i * ((b[2 + k] - a[2 + k]) / major) : 0);
    RefRow& row = rows[static_cast<int>(y)];
    if (x < row.xl) row.xl = static_cast<int>(x), row.left = attrs;
    if (x > row.xr) row.xr = static_cast<int>(x), row.right = attrs;
    if (err < 0) {
      (xMajor ? x : y) += xMajor ? sx : sy;
      err += 2 * minor;
    } else {
      x += sx, y += sy;
      err += 2 * (minor - major);
    }
  }
}

// depthIndex: attribute holding depth, or -1. roundedUV: u, v steps rounded.
void RefFill(const std::vector<Vertex>& tri, int depthIndex, bool roundedUV,
             std::vector<std::uint16_t>& depth, int pitch,
             const std::function<void(int, int, const std::vector<std::int64_t>&)>& pixel) {
  std::map<int, RefRow> rows;
  const std::vector<Vertex> edgeList = {tri[1], tri[2], tri[3], tri[1]};
  for (int i = 0; i < 3; ++i) RefWalk(rows, edgeList[i], edgeList[i + 1]);
  for (auto& [y, row] : rows) {
    const int n = row.xr - row.xl + 1;
    const int count = static_cast<int>(row.left.size());
    for (int i = 0; i < n; ++i) {
      std::vector<std::int64_t> attrs(count);
      for (int k = 0; k < count; ++k) {
        const std::int64_t diff = row.right[k] - row.left[k] + (roundedUV && k < 2 ? 0x8000 : 0);
        attrs[k] = row.left[k] + (n > 1 ? i * (diff / n) : 0);
      }
      const int x = row.xl + i;
      if (depthIndex >= 0) {
        const std::int64_t zl = row.left[depthIndex] >> 16, zr = row.right[depthIndex] >> 16;
        const std::int64_t z = (zl + i * ((zr - zl) / n)) & 0xFFFF;
        std::uint16_t& stored = depth[static_cast<std::size_t>(y) * pitch + x];
        if (z >= stored) continue;
        stored = static_cast<std::uint16_t>(z);
      }
      pixel(x, y, attrs);
    }
  }
}

struct Scene {
  static constexpr int kW = 48, kH = 40;
  Scene() : fast(kW, kH), ref(kW, kH), tex(13, 9), shade(256 * 256), map(256 * 256) {
    for (std::size_t i = 0; i < shade.size(); ++i) shade[i] = static_cast<std::uint8_t>(i * 7 + (i >> 8));
    for (std::size_t i = 0; i < map.size(); ++i) map[i] = static_cast<std::uint8_t>(i * 13 + (i >> 9));
    tex.AttachTo(*fast.r);
    fast.r->SetShadeTable(shade.data(), 0);
    fast.r->SetShadeMap(map.data());
  }
  std::uint8_t Texel(std::int64_t u, std::int64_t v) const {
    return tex.pixels[static_cast<std::size_t>(v >> 16) * tex.width + (u >> 16)];
  }
  RasterCanvas fast, ref;
  TestTexture tex;
  std::vector<std::uint8_t> shade, map;
};

// attributeCells: cells of each attribute's range (its integer part stays
// below it); the last one, when depth is used, is the depth range.
std::vector<Vertex> RandomTriangle(std::mt19937& rng, const std::vector<int>& attributeCells,
                                   bool rounded) {
  std::uniform_int_distribution<int> px(1, Scene::kW - 2), py(1, Scene::kH - 2);
  std::vector<Vertex> tri(4);
  for (int c = 0; c < 3; ++c) {
    tri[c] = {px(rng), py(rng)};
    for (std::size_t k = 0; k < attributeCells.size(); ++k) {
      const std::int64_t top = rounded && k < 2 ? (std::int64_t{attributeCells[k] - 1} << 16) + 0x7FFF
                                                : (std::int64_t{attributeCells[k]} << 16) - 1;
      tri[c].push_back(std::uniform_int_distribution<std::int64_t>(0, top)(rng));
    }
  }
  tri[3] = tri[0];
  return tri;
}

template <int S>
void ToVertices(const std::vector<Vertex>& tri, std::int32_t (*out)[S]) {
  for (int c = 0; c < 4; ++c)
    for (int k = 0; k < S; ++k) out[c][k] = static_cast<std::int32_t>(tri[c][k]);
}

TEST(RasterReference, RandomPicturesMatchTheRules) {
  std::mt19937 rng(1234);
  for (int round = 0; round < 6; ++round) {
    Scene s;
    for (int i = 0; i < 40; ++i) {
      const int kind = i % 6;
      auto& refFrame = s.ref.frame;
      auto& refTags = s.ref.tags;
      const auto put = [&](int x, int y, std::uint8_t c) {
        refFrame[static_cast<std::size_t>(y) * Scene::kW + x] = c;
      };
      const auto tag = [&](int x, int y, std::int32_t value) {
        refTags[static_cast<std::size_t>(y) * Scene::kW + x] = value;
      };
      if (kind == 0) {  // gouraud with depth
        const auto tri = RandomTriangle(rng, {256, 30000}, false);
        V4 v[4];
        ToVertices(tri, v);
        s.fast.r->FillTriGouraudZTag(s.fast.target, v, i);
        RefFill(tri, 1, false, s.ref.depth, Scene::kW, [&](int x, int y, const auto& a) {
          put(x, y, static_cast<std::uint8_t>(a[0] >> 16));
          tag(x, y, i);
        });
      } else if (kind == 1) {  // texture with depth
        const auto tri = RandomTriangle(rng, {13, 9, 30000}, false);
        V5 v[4];
        ToVertices(tri, v);
        s.fast.r->FillTriTexZ(s.fast.target, v);
        RefFill(tri, 2, false, s.ref.depth, Scene::kW,
                [&](int x, int y, const auto& a) { put(x, y, s.Texel(a[0], a[1])); });
      } else if (kind == 2) {  // lit texture, texel offsets
        const auto tri = RandomTriangle(rng, {13, 9, 256, 30000}, false);
        V6 v[4];
        ToVertices(tri, v);
        s.fast.r->FillTriTexLitZOfsTag(s.fast.target, v);
        RefFill(tri, 3, false, s.ref.depth, Scene::kW, [&](int x, int y, const auto& a) {
          put(x, y, s.shade[(a[2] >> 16) * 256 + s.Texel(a[0], a[1])]);
          tag(x, y, static_cast<std::int32_t>((a[1] >> 16) * 13 + (a[0] >> 16)));
        });
      } else if (kind == 3) {  // texture lit through the map
        const auto tri = RandomTriangle(rng, {13, 9, 256, 256, 30000}, false);
        V7 v[4];
        ToVertices(tri, v);
        s.fast.r->FillTriTexMapLitZ(s.fast.target, v);
        RefFill(tri, 4, false, s.ref.depth, Scene::kW, [&](int x, int y, const auto& a) {
          const int level = s.map[(a[3] >> 16) * 256 + (a[2] >> 16)];
          put(x, y, s.shade[level * 256 + s.Texel(a[0], a[1])]);
        });
      } else if (kind == 4) {  // map over a base, with depth
        const auto tri = RandomTriangle(rng, {256, 256, 30000}, false);
        V5 v[4];
        ToVertices(tri, v);
        s.fast.r->FillTriMapBaseZ(s.fast.target, v, 90);
        RefFill(tri, 2, false, s.ref.depth, Scene::kW, [&](int x, int y, const auto& a) {
          put(x, y, static_cast<std::uint8_t>(90 + s.map[(a[1] >> 16) * 256 + (a[0] >> 16)]));
        });
      } else {  // rounded texture, no depth
        const auto tri = RandomTriangle(rng, {13, 9}, true);
        V4 v[4];
        ToVertices(tri, v);
        s.fast.r->FillTriTexRounded(s.fast.target, v);
        RefFill(tri, -1, true, s.ref.depth, Scene::kW,
                [&](int x, int y, const auto& a) { put(x, y, s.Texel(a[0], a[1])); });
      }
    }
    int drawn = 0;
    for (std::uint8_t b : s.ref.frame) drawn += b != 0;
    EXPECT_GT(drawn, Scene::kW * Scene::kH / 2);
    ASSERT_EQ(s.fast.frame, s.ref.frame) << "round " << round;
    ASSERT_EQ(s.fast.depth, s.ref.depth) << "round " << round;
    ASSERT_EQ(s.fast.tags, s.ref.tags) << "round " << round;
  }
}

}  // namespace
