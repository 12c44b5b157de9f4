#pragma once
// The checksum scene: thousands of random triangles from one pixel to larger
// than the target, many partly or wholly off it, corners now and then
// exactly on the clip bounds, over every filler kind, with depth and tags.
// The same seed draws the same triangles, so a scene drawn band by band on
// several rasterizers can be held against the scene drawn whole.

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "render/rasterizer_fixture.h"

struct Fnv {
  std::uint64_t h = 1469598103934665603ull;
  void Byte(std::uint8_t b) {
    h ^= b;
    h *= 1099511628211ull;
  }
  void U32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) Byte(static_cast<std::uint8_t>(v >> (8 * i)));
  }
};

// Raw engine output only: the distributions' algorithms differ between
// standard libraries, the engine's sequence does not.
struct Dice {
  explicit Dice(std::uint32_t seed) : rng(seed) {}
  // 0 .. n-1
  std::int64_t Below(std::int64_t n) {
    const std::uint64_t wide = (std::uint64_t{rng()} << 32) | rng();
    return static_cast<std::int64_t>(wide % static_cast<std::uint64_t>(n));
  }
  std::int64_t Between(std::int64_t lo, std::int64_t hi) { return lo + Below(hi - lo + 1); }
  std::mt19937 rng;
};

struct ChecksumScene {
  static constexpr std::uint8_t kBackground = 3;
  ChecksumScene(int pitch, int rows, std::uint32_t seed)
      : t(pitch, rows, kBackground), tex(37, 23), shade(64 * 256), map(256 * 256), dice(seed) {
    for (std::size_t i = 0; i < shade.size(); ++i)
      shade[i] = static_cast<std::uint8_t>(i * 5 + (i >> 8) * 3);
    for (std::size_t i = 0; i < map.size(); ++i)
      map[i] = static_cast<std::uint8_t>((i * 11 + (i >> 8)) % 64);
    tex.AttachTo(*t.r);
    t.r->SetShadeTable(shade.data(), 64);
    t.r->SetShadeMap(map.data());
  }

  // A coordinate around a corner anchor, snapped to a clip bound now and then.
  std::int32_t Coord(std::int64_t anchor, std::int64_t size, std::int32_t bound) {
    const std::int64_t roll = dice.Below(16);
    if (roll == 0) return 0;
    if (roll == 1) return bound;
    return static_cast<std::int32_t>(anchor + dice.Between(-size, size));
  }

  // Three corners plus the copy of the first (five corners for the
  // four-corner fillers); `cells` gives each attribute's range, the last the
  // depth's when `depth`.
  std::vector<std::int32_t> Polygon(int corners, const std::vector<int>& cells, bool rounded) {
    const int w = t.target.Pitch, h = t.target.Rows;
    // Sizes spread over 1 pixel .. twice the target (or largestSide), on a
    // log scale.
    const int maxSide = largestSide > 0 ? largestSide : 2 * (w > h ? w : h);
    std::int64_t size = 1;
    const std::int64_t doublings = dice.Below(64);
    for (std::int64_t i = 0; i < doublings && size < maxSide; i += 6) size *= 2;
    size = dice.Between(size / 2, size);
    const std::int64_t cx = dice.Between(-w / 2, w + w / 2);
    const std::int64_t cy = dice.Between(-h / 2, h + h / 2);
    const int values = 2 + static_cast<int>(cells.size());
    std::vector<std::int32_t> v(static_cast<std::size_t>(corners + 1) * values);
    for (int c = 0; c < corners; ++c) {
      std::int32_t* p = &v[static_cast<std::size_t>(c) * values];
      p[0] = Coord(cx, size, t.target.ClipRight);
      p[1] = Coord(cy, size, t.target.ClipBottom);
      for (std::size_t k = 0; k < cells.size(); ++k) {
        const std::int64_t top = rounded && k < 2 ? (std::int64_t{cells[k] - 1} << 16) + 0x7FFF
                                                  : (std::int64_t{cells[k]} << 16) - 1;
        p[2 + k] = static_cast<std::int32_t>(dice.Between(0, top));
      }
    }
    for (int k = 0; k < values; ++k) v[static_cast<std::size_t>(corners) * values + k] = v[k];
    return v;
  }

  template <int S>
  const std::int32_t (*As(const std::vector<std::int32_t>& v))[S] {
    return reinterpret_cast<const std::int32_t(*)[S]>(v.data());
  }

  void Draw(int triangles, Fnv& fnv) {
    CRasterizer& r = *t.r;
    const RasterTarget& target = t.target;
    const std::vector<int> uv = {tex.width, tex.height};
    const int kDepth = depthCells;
    for (int i = 0; i < triangles; ++i) {
      const std::int32_t tag = i * 7 + 1;
      const auto colour = static_cast<std::uint8_t>(i * 13 + 5);
      switch (i % 22) {
        case 0: r.FillTriFlat(target, As<2>(Polygon(3, {}, false)), colour); break;
        case 1: r.FillTriGouraud(target, As<3>(Polygon(3, {256}, false))); break;
        case 2: r.FillTriFlatZ(target, As<3>(Polygon(3, {kDepth}, false)), colour); break;
        case 3: r.FillTriFlatZTag(target, As<3>(Polygon(3, {kDepth}, false)), colour, tag); break;
        case 4: r.FillTriGouraudZ(target, As<4>(Polygon(3, {256, kDepth}, false))); break;
        case 5: r.FillTriGouraudZTag(target, As<4>(Polygon(3, {256, kDepth}, false)), tag); break;
        case 6: r.FillTriTex(target, As<4>(Polygon(4, uv, false))); break;
        case 7: r.FillTriTexRounded(target, As<4>(Polygon(3, uv, true))); break;
        case 8: r.FillTriTexOfsTag(target, As<4>(Polygon(4, uv, false))); break;
        case 9: r.FillTriMapZ(target, As<5>(Polygon(3, {256, 256, kDepth}, false))); break;
        case 10: r.FillTriMapZTag(target, As<5>(Polygon(3, {256, 256, kDepth}, false)), tag); break;
        case 11: r.FillTriMapBaseZ(target, As<5>(Polygon(3, {256, 256, kDepth}, false)), colour); break;
        case 12:
          r.FillTriMapBaseZTag(target, As<5>(Polygon(3, {256, 256, kDepth}, false)), tag, colour);
          break;
        case 13: r.FillTriTexZ(target, As<5>(Polygon(3, {uv[0], uv[1], kDepth}, false))); break;
        case 14: r.FillTriTexZTag(target, As<5>(Polygon(3, {uv[0], uv[1], kDepth}, false)), tag); break;
        case 15: r.FillTriTexZOfsTag(target, As<5>(Polygon(3, {uv[0], uv[1], kDepth}, false))); break;
        case 16: r.FillTriTexLitZ(target, As<6>(Polygon(3, {uv[0], uv[1], 64, kDepth}, false))); break;
        case 17:
          r.FillTriTexLitZTag(target, As<6>(Polygon(3, {uv[0], uv[1], 64, kDepth}, false)), tag);
          break;
        case 18: r.FillTriTexLitZOfsTag(target, As<6>(Polygon(3, {uv[0], uv[1], 64, kDepth}, false))); break;
        case 19:
          r.FillTriTexMapLitZ(target, As<7>(Polygon(3, {uv[0], uv[1], 256, 256, kDepth}, false)));
          break;
        case 20:
          r.FillTriTexMapLitZTag(target, As<7>(Polygon(3, {uv[0], uv[1], 256, 256, kDepth}, false)), tag);
          break;
        default:
          r.FillTriTexMapLitZOfsTag(target, As<7>(Polygon(3, {uv[0], uv[1], 256, 256, kDepth}, false)));
          break;
      }
      // The carried-over row range is part of the contract too.
      fnv.U32(static_cast<std::uint32_t>(r.SpanTop()));
      fnv.U32(static_cast<std::uint32_t>(r.SpanBottom()));
    }
    for (std::uint8_t b : t.frame) fnv.Byte(b);
    for (std::uint16_t d : t.depth) fnv.U32(d);
    for (std::int32_t g : t.tags) fnv.U32(static_cast<std::uint32_t>(g));
    // Every row must be empty again after the last triangle.
    for (int y = 0; y < t.target.Rows; ++y) {
      EXPECT_EQ(r.SpanLeft(y), 2147483647) << y;
      EXPECT_EQ(r.SpanRight(y), -2147483647 - 1) << y;
    }
  }

  int largestSide = 0;      // 0: twice the target
  int depthCells = 30000;   // depths from 0 to this, in whole units
  RasterCanvas t;
  TestTexture tex;
  std::vector<std::uint8_t> shade, map;
  Dice dice;
};

