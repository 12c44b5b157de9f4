// Fill rate of the main triangle filler families on a 640 x 480 target over
// a jittered grid mesh, next to two ceilings. The argument is the number of
// grid columns (rows = 3/4 of it, two triangles per cell): 64 gives 6144
// triangles of ~50 pixels, 40 gives 2400 of ~130, 1 two screen halves, where
// the per-triangle set-up vanishes and only the per-pixel loop is left.
// BM_TexZAgainstCeilings also takes the jitter of the grid points (3: an
// irregular mesh, 0: the regular grid).
//
// Ceilings, each a plain loop copying exactly as many texels through a
// row-offset table as the fillers draw:
//  - BM_CeilingTexelCopy copies them in 640-pixel rows, as if the mesh were
//    one screen-wide span;
//  - BM_SpanTexelCopy copies them along the mesh's own spans (the rows the
//    walk finds), which no filler can avoid visiting one by one: the price
//    of the short rows alone, before any triangle set-up.
// BM_SpanTexelCopyZ adds the depth test to the latter: the floor of any
// depth-tested filler drawing these spans a pixel at a time.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <utility>
#include <random>
#include <vector>

#include "render/rasterizer.h"

namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr int kTex = 256;

struct MeshVertex {
  std::int32_t x, y, colour, u, v, level, mu, mv, depth;
};

struct Scene {
  Scene(int cellsX, int jitterPixels)
      : kCellsX(cellsX),
        kCellsY(cellsX * 3 / 4 > 0 ? cellsX * 3 / 4 : 1),
        r(std::make_unique<CRasterizer>()),
        frame(kWidth * kHeight),
        depth(kWidth * kHeight),
        tags(kWidth * kHeight),
        texture(kTex * kTex),
        shade(256 * 256),
        map(256 * 256) {
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> jitter(-jitterPixels, jitterPixels);
    for (int i = 0; i < kTex * kTex; ++i) texture[i] = static_cast<std::uint8_t>(rng());
    for (int i = 0; i < kTex; ++i) rows.push_back(i * kTex);
    for (int i = 0; i < 256 * 256; ++i) shade[i] = static_cast<std::uint8_t>(i * 3);
    for (int i = 0; i < 256 * 256; ++i) map[i] = static_cast<std::uint8_t>(i >> 10);
    for (int gy = 0; gy <= kCellsY; ++gy) {
      for (int gx = 0; gx <= kCellsX; ++gx) {
        const bool inner = gx > 0 && gx < kCellsX && gy > 0 && gy < kCellsY;
        const int x = std::clamp(gx * kWidth / kCellsX + (inner ? jitter(rng) : 0), 0, kWidth - 1);
        const int y = std::clamp(gy * kHeight / kCellsY + (inner ? jitter(rng) : 0), 0, kHeight - 1);
        MeshVertex v;
        v.x = x;
        v.y = y;
        v.colour = ((x + y) & 255) << 16;
        v.u = x * 0x6600;  // 0.4 texel per pixel, inside 256
        v.v = y * 0x8800;  // 0.53
        v.level = (y * 31 / kHeight) << 16;
        v.mu = (x * 255 / kWidth) << 16;
        v.mv = (y * 255 / kHeight) << 16;
        v.depth = (1000 + (x * 7 + y * 3) % 20000) << 16;
        grid.push_back(v);
      }
    }
    for (int gy = 0; gy < kCellsY; ++gy) {
      for (int gx = 0; gx < kCellsX; ++gx) {
        const int a = gy * (kCellsX + 1) + gx, b = a + 1, c = a + kCellsX + 1, d = c + 1;
        triangles.push_back({a, b, d});
        triangles.push_back({a, d, c});
      }
    }
    target = RasterTarget::Bytes(frame.data(), kWidth, kHeight);
    target.DepthBuffer = depth.data();
    target.PixelTagBuffer = tags.data();
    r->BindTexture(texture.data(), rows.data(), kTex, kTex);
    r->SetShadeTable(shade.data(), 0);
    r->SetShadeMap(map.data());
    r->BeginFrame();
    pixels = CountSpanPixels();
    CollectSpans();
  }

  // The rows every triangle fills, as the plain walk finds them, with the
  // texel and depth steps of the mesh's mapping across each.
  struct Span {
    std::int32_t offset, count;
    std::uint32_t u, du, v, dv;
    std::uint16_t z, dz;
  };
  void CollectSpans() {
    for (const auto& t : triangles) {
      std::int32_t corner[3][2];
      int top = kHeight, bottom = 0;
      for (int c = 0; c < 3; ++c) {
        corner[c][0] = grid[t[c]].x;
        corner[c][1] = grid[t[c]].y;
        top = std::min(top, grid[t[c]].y);
        bottom = std::max(bottom, grid[t[c]].y);
      }
      for (int c = 0; c < 3; ++c) r->ScanEdge(target, corner[c], corner[(c + 1) % 3], 0);
      for (int y = top; y <= bottom; ++y) {
        const std::int32_t xl = r->SpanLeft(y), xr = r->SpanRight(y);
        if (xl > xr) continue;
        const std::int32_t n = xr - xl + 1;
        Span span;
        span.offset = y * kWidth + xl;
        span.count = n;
        span.u = static_cast<std::uint32_t>(xl * 0x6600);
        span.du = 0x6600;
        span.v = static_cast<std::uint32_t>(y * 0x8800);
        span.dv = 0x20;
        span.z = static_cast<std::uint16_t>(1000 + (xl * 7 + y * 3) % 20000);
        span.dz = 7;
        spans.push_back(span);
      }
      r->BeginFrame();
    }
  }

  // Pixels the fillers visit per frame (shared edges count twice): each
  // triangle alone, counted inside its bounding box, which is then cleared.
  std::int64_t CountSpanPixels() {
    std::int64_t total = 0;
    std::fill(frame.begin(), frame.end(), 0);
    for (const auto& t : triangles) {
      V2 pts[4];
      int top = kHeight, bottom = 0, left = kWidth, right = 0;
      for (int c = 0; c < 4; ++c) {
        const MeshVertex& v = grid[t[c % 3]];
        pts[c][0] = v.x;
        pts[c][1] = v.y;
        top = std::min(top, v.y), bottom = std::max(bottom, v.y);
        left = std::min(left, v.x), right = std::max(right, v.x);
      }
      r->FillTriFlat(target, pts, 1);
      for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) {
          total += frame[y * kWidth + x];
          frame[y * kWidth + x] = 0;
        }
    }
    return total;
  }

  const int kCellsX, kCellsY;
  std::unique_ptr<CRasterizer> r;
  RasterTarget target;
  std::vector<std::uint8_t> frame;
  std::vector<std::uint16_t> depth;
  std::vector<std::int32_t> tags;
  std::vector<std::uint8_t> texture;
  std::vector<std::int32_t> rows;
  std::vector<std::uint8_t> shade, map;
  std::vector<MeshVertex> grid;
  std::vector<std::array<int, 3>> triangles;
  std::int64_t pixels = 0;
  std::vector<Span> spans;
};

// Inner grid points move by up to `jitter` pixels each way (3 unless given):
// an irregular mesh, whose spans vary in length from row to row as a model's
// do; 0 leaves the regular grid, whose span lengths repeat.
Scene& TheScene(int cellsX, int jitter = 3) {
  static std::map<std::pair<int, int>, std::unique_ptr<Scene>> scenes;
  auto& scene = scenes[{cellsX, jitter}];
  if (!scene) scene = std::make_unique<Scene>(cellsX, jitter);
  return *scene;
}

// Runs one frame per iteration; `fill` draws one triangle from its corners.
template <class Fill>
void RunFrames(benchmark::State& state, bool depthTest, Fill fill) {
  Scene& s = TheScene(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    if (depthTest) {
      state.PauseTiming();
      std::fill(s.depth.begin(), s.depth.end(), 0xFFFF);
      state.ResumeTiming();
    }
    for (const auto& t : s.triangles) fill(s, s.grid[t[0]], s.grid[t[1]], s.grid[t[2]]);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * s.pixels);
  state.counters["triangles"] = static_cast<double>(s.triangles.size());
  state.counters["ns_per_pixel"] = benchmark::Counter(
      static_cast<double>(s.pixels) * 1e-9, benchmark::Counter::kIsIterationInvariantRate |
                                                 benchmark::Counter::kInvert);
}

void BM_FillTriFlat(benchmark::State& state) {
  RunFrames(state, false, [](Scene& s, const MeshVertex& a, const MeshVertex& b,
                             const MeshVertex& c) {
    const V2 pts[4] = {{a.x, a.y}, {b.x, b.y}, {c.x, c.y}, {a.x, a.y}};
    s.r->FillTriFlat(s.target, pts, 7);
  });
}

void BM_FillTriGouraudZ(benchmark::State& state) {
  RunFrames(state, true, [](Scene& s, const MeshVertex& a, const MeshVertex& b,
                            const MeshVertex& c) {
    const V4 pts[4] = {{a.x, a.y, a.colour, a.depth},
                       {b.x, b.y, b.colour, b.depth},
                       {c.x, c.y, c.colour, c.depth},
                       {a.x, a.y, a.colour, a.depth}};
    s.r->FillTriGouraudZ(s.target, pts);
  });
}

void TexZ(Scene& s, const MeshVertex& a, const MeshVertex& b, const MeshVertex& c) {
  const V5 pts[4] = {{a.x, a.y, a.u, a.v, a.depth},
                     {b.x, b.y, b.u, b.v, b.depth},
                     {c.x, c.y, c.u, c.v, c.depth},
                     {a.x, a.y, a.u, a.v, a.depth}};
  s.r->FillTriTexZ(s.target, pts);
}

void BM_FillTriTexZ(benchmark::State& state) { RunFrames(state, true, TexZ); }

void BM_FillTriTexLitZ(benchmark::State& state) {
  RunFrames(state, true, [](Scene& s, const MeshVertex& a, const MeshVertex& b,
                            const MeshVertex& c) {
    const V6 pts[4] = {{a.x, a.y, a.u, a.v, a.level, a.depth},
                       {b.x, b.y, b.u, b.v, b.level, b.depth},
                       {c.x, c.y, c.u, c.v, c.level, c.depth},
                       {a.x, a.y, a.u, a.v, a.level, a.depth}};
    s.r->FillTriTexLitZ(s.target, pts);
  });
}

void BM_FillTriTexMapLitZ(benchmark::State& state) {
  RunFrames(state, true, [](Scene& s, const MeshVertex& a, const MeshVertex& b,
                            const MeshVertex& c) {
    const V7 pts[4] = {{a.x, a.y, a.u, a.v, a.mu, a.mv, a.depth},
                       {b.x, b.y, b.u, b.v, b.mu, b.mv, b.depth},
                       {c.x, c.y, c.u, c.v, c.mu, c.mv, c.depth},
                       {a.x, a.y, a.u, a.v, a.mu, a.mv, a.depth}};
    s.r->FillTriTexMapLitZ(s.target, pts);
  });
}

void BM_FillTriTexZOfsTag(benchmark::State& state) {
  RunFrames(state, true, [](Scene& s, const MeshVertex& a, const MeshVertex& b,
                            const MeshVertex& c) {
    const V5 pts[4] = {{a.x, a.y, a.u, a.v, a.depth},
                       {b.x, b.y, b.u, b.v, b.depth},
                       {c.x, c.y, c.u, c.v, c.depth},
                       {a.x, a.y, a.u, a.v, a.depth}};
    s.r->FillTriTexZOfsTag(s.target, pts);
  });
}

void BM_FillTriTexOfsTag(benchmark::State& state) {
  // The four-corner form over each cell of the grid.
  Scene& s = TheScene(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    for (std::size_t i = 0; i < s.triangles.size(); i += 2) {
      const auto& t = s.triangles[i];
      const auto& t2 = s.triangles[i + 1];
      const MeshVertex* c[4] = {&s.grid[t[0]], &s.grid[t[1]], &s.grid[t[2]], &s.grid[t2[2]]};
      V4 pts[5];
      for (int k = 0; k < 5; ++k) {
        const MeshVertex& v = *c[k % 4];
        pts[k][0] = v.x, pts[k][1] = v.y, pts[k][2] = v.u, pts[k][3] = v.v;
      }
      s.r->FillTriTexOfsTag(s.target, pts);
    }
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * s.pixels);
  state.counters["ns_per_pixel"] = benchmark::Counter(
      static_cast<double>(s.pixels) * 1e-9, benchmark::Counter::kIsIterationInvariantRate |
                                                 benchmark::Counter::kInvert);
}

// One frame of the 640-row ceiling: as many texels copied through the
// row-offset table, in 640-pixel rows with 16.16 steps, nothing else per pixel.
void RowCopyFrame(Scene& s) {
  const std::uint8_t* const tex = s.texture.data();
  const std::int32_t* const rows = s.rows.data();
  std::uint8_t* const out = s.frame.data();
  std::int64_t left = s.pixels;
  std::int32_t row = 0;
  while (left > 0) {
    const int n = static_cast<int>(std::min<std::int64_t>(left, kWidth));
    std::uint8_t* dst = out + (row % kHeight) * kWidth;
    std::uint32_t u = 0, v = static_cast<std::uint32_t>(row % kHeight) * 0x8800;
    const std::uint32_t du = 0x6600, dv = 0x20;  // stays on the 256 x 256 texture
    for (int i = 0; i < n; ++i) {
      dst[i] = tex[rows[v >> 16] + (u >> 16)];
      u += du;
      v += dv;
    }
    left -= n;
    ++row;
  }
  benchmark::ClobberMemory();
}

// One frame of the span ceiling: the same copy along the mesh's own spans.
void SpanCopyFrame(Scene& s) {
  const std::uint8_t* const tex = s.texture.data();
  const std::int32_t* const rows = s.rows.data();
  std::uint8_t* const out = s.frame.data();
  for (const Scene::Span& span : s.spans) {
    std::uint8_t* const dst = out + span.offset;
    std::uint32_t u = span.u, v = span.v;
    for (std::int32_t i = 0; i < span.count; ++i) {
      dst[i] = tex[rows[v >> 16] + (u >> 16)];
      u += span.du;
      v += span.dv;
    }
  }
  benchmark::ClobberMemory();
}

// One frame of the depth-tested copy along the spans, steps given.
void SpanCopyZFrame(Scene& s) {
  const std::uint8_t* const tex = s.texture.data();
  const std::int32_t* const rows = s.rows.data();
  std::uint8_t* const out = s.frame.data();
  std::uint16_t* const depth = s.depth.data();
  for (const Scene::Span& span : s.spans) {
    std::uint8_t* const dst = out + span.offset;
    std::uint16_t* const zp = depth + span.offset;
    std::uint32_t u = span.u, v = span.v;
    std::uint16_t z = span.z;
    for (std::int32_t i = 0; i < span.count; ++i) {
      if (z < zp[i]) {
        dst[i] = tex[rows[v >> 16] + (u >> 16)];
        zp[i] = z;
      }
      u += span.du;
      v += span.dv;
      z = static_cast<std::uint16_t>(z + span.dz);
    }
  }
  benchmark::ClobberMemory();
}

// One frame of FillTriTexZ over the mesh.
void TexZFrame(Scene& s) {
  for (const auto& t : s.triangles) TexZ(s, s.grid[t[0]], s.grid[t[1]], s.grid[t[2]]);
  benchmark::ClobberMemory();
}

void SetPixelCounters(benchmark::State& state, const Scene& s) {
  state.SetItemsProcessed(state.iterations() * s.pixels);
  state.counters["ns_per_pixel"] = benchmark::Counter(
      static_cast<double>(s.pixels) * 1e-9, benchmark::Counter::kIsIterationInvariantRate |
                                                 benchmark::Counter::kInvert);
}

void BM_CeilingTexelCopy(benchmark::State& state) {
  Scene& s = TheScene(static_cast<int>(state.range(0)));
  for (auto _ : state) RowCopyFrame(s);
  SetPixelCounters(state, s);
}

void BM_SpanTexelCopy(benchmark::State& state) {
  Scene& s = TheScene(static_cast<int>(state.range(0)));
  for (auto _ : state) SpanCopyFrame(s);
  SetPixelCounters(state, s);
}

void BM_SpanTexelCopyZ(benchmark::State& state) {
  Scene& s = TheScene(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    std::fill(s.depth.begin(), s.depth.end(), 0xFFFF);
    state.ResumeTiming();
    SpanCopyZFrame(s);
  }
  SetPixelCounters(state, s);
}

// FillTriTexZ and both ceilings timed in turn within each iteration, so that
// the ratios come from the same stretch of machine time: the figures the
// speed target is read from.
void BM_TexZAgainstCeilings(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  Scene& s = TheScene(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  double filler = 0, rowCopy = 0, spanCopy = 0;
  for (auto _ : state) {
    std::fill(s.depth.begin(), s.depth.end(), 0xFFFF);
    const auto t0 = Clock::now();
    TexZFrame(s);
    const auto t1 = Clock::now();
    RowCopyFrame(s);
    const auto t2 = Clock::now();
    SpanCopyFrame(s);
    const auto t3 = Clock::now();
    filler += std::chrono::duration<double>(t1 - t0).count();
    rowCopy += std::chrono::duration<double>(t2 - t1).count();
    spanCopy += std::chrono::duration<double>(t3 - t2).count();
  }
  const double frames = static_cast<double>(state.iterations());
  const double pixels = static_cast<double>(s.pixels) * frames;
  state.counters["filler_ns_px"] = filler * 1e9 / pixels;
  state.counters["rows_ceiling_ns_px"] = rowCopy * 1e9 / pixels;
  state.counters["span_ceiling_ns_px"] = spanCopy * 1e9 / pixels;
  state.counters["x_rows_ceiling"] = filler / rowCopy;
  state.counters["x_span_ceiling"] = filler / spanCopy;
  state.counters["triangles"] = static_cast<double>(s.triangles.size());
}

// Small triangles scanned straight from their corners against the same
// triangles walked into the row tables, timed in turn within each iteration:
// FillTriFlat (range(1) 0) or FillTriTexZ (1) over grids of 10 (64 cells),
// 12.3 (52) and 16 (40) pixel cells, the last mostly too tall to scan.
void BM_ShortTrianglesScannedAgainstWalked(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  Scene& s = TheScene(static_cast<int>(state.range(0)));
  const bool textured = state.range(1) != 0;
  const auto frame = [&s, textured] {
    std::fill(s.depth.begin(), s.depth.end(), 0xFFFF);
    const auto t0 = Clock::now();
    if (textured) {
      TexZFrame(s);
    } else {
      for (const auto& t : s.triangles) {
        const MeshVertex &a = s.grid[t[0]], &b = s.grid[t[1]], &c = s.grid[t[2]];
        const V2 pts[4] = {{a.x, a.y}, {b.x, b.y}, {c.x, c.y}, {a.x, a.y}};
        s.r->FillTriFlat(s.target, pts, 7);
      }
      benchmark::ClobberMemory();
    }
    return std::chrono::duration<double>(Clock::now() - t0).count();
  };
  double scanned = 0, walked = 0;
  for (auto _ : state) {
    scanned += frame();
    s.r->ScanShortTrianglesDirectly(false);
    walked += frame();
    s.r->ScanShortTrianglesDirectly(true);
  }
  const double triangles = static_cast<double>(s.triangles.size()) * static_cast<double>(state.iterations());
  state.counters["scanned_ns_tri"] = scanned * 1e9 / triangles;
  state.counters["walked_ns_tri"] = walked * 1e9 / triangles;
  state.counters["x_walked"] = walked / scanned;
  state.counters["triangles"] = static_cast<double>(s.triangles.size());
}

}  // namespace

BENCHMARK(BM_ShortTrianglesScannedAgainstWalked)
    ->ArgNames({"cells", "textured"})
    ->ArgsProduct({{64, 52, 40}, {0, 1}});
BENCHMARK(BM_TexZAgainstCeilings)
    ->ArgNames({"cells", "jitter"})
    ->ArgsProduct({{64, 52, 40, 1}, {3, 0}});
BENCHMARK(BM_CeilingTexelCopy)->Arg(64)->Arg(40)->Arg(1);
BENCHMARK(BM_SpanTexelCopy)->Arg(64)->Arg(40)->Arg(1);
BENCHMARK(BM_SpanTexelCopyZ)->Arg(64)->Arg(40)->Arg(1);
BENCHMARK(BM_FillTriFlat)->Arg(64)->Arg(40)->Arg(1);
BENCHMARK(BM_FillTriGouraudZ)->Arg(64)->Arg(40)->Arg(1);
BENCHMARK(BM_FillTriTexZ)->Arg(64)->Arg(40)->Arg(1);
BENCHMARK(BM_FillTriTexLitZ)->Arg(64)->Arg(40)->Arg(1);
BENCHMARK(BM_FillTriTexMapLitZ)->Arg(64)->Arg(40)->Arg(1);
BENCHMARK(BM_FillTriTexZOfsTag)->Arg(64)->Arg(40)->Arg(1);
BENCHMARK(BM_FillTriTexOfsTag)->Arg(64)->Arg(40)->Arg(1);

BENCHMARK_MAIN();
