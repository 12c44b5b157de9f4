// The mapping tools at full size: Pack Islands over a 4096-triangle torus
// cut into 2048 islands (one per quad, each laid out where the lattice put
// it, so they start overlapping nothing and fill the skin), and the stretch
// display drawn over a 1920 x 1080 skin view at zoom 3 (a 640 x 480 skin).
// The aims: packing under 50 ms, the overlay under 2 ms.

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "bench_torus.h"
#include "editor/mapping_islands.h"
#include "editor/mapping_stretch.h"
#include "image/new_skin.h"

namespace {

// The torus as the model, every triangle selected; with `cut` each quad
// gets its own mapping vertices (an island of its own).
std::unique_ptr<Model> TorusModel(bool cut) {
  const DemoMesh mesh = BenchTorus(64, 32, 640, 480);
  auto m = std::make_unique<Model>();
  auto frame = std::make_unique<Frame>(static_cast<int>(mesh.frames[0].positions.size()));
  for (std::size_t v = 0; v < mesh.frames[0].positions.size(); ++v) {
    const auto& p = mesh.frames[0].positions[v];
    frame->vertices[v] = {p[0], p[1], p[2]};
  }
  m->SetVertexCount(static_cast<std::int16_t>(mesh.frames[0].positions.size()));
  m->SetTriangleCount(static_cast<std::int16_t>(mesh.tris.size()));
  m->skinWidth = 640;
  m->skinHeight = 480;
  for (std::size_t i = 0; i < mesh.tris.size(); ++i) {
    Triangle& t = m->triangles[i];
    t.flags = TRI_SELECTED;
    for (int k = 0; k < 3; ++k) {
      t.vertexIndex[k] = mesh.tris[i].vertex[k];
      const auto& st = mesh.st[static_cast<std::size_t>(mesh.tris[i].map[k])];
      // Each quad moved half a texel per row and column of the lattice, so
      // no two share a corner: an island of its own.
      const int quad = static_cast<int>(i / 2);
      const float ds = cut ? 0.5f * static_cast<float>(quad / 32) : 0, dt = cut ? 0.5f * static_cast<float>(quad % 32) : 0;
      t.cornerMap[k] = {static_cast<float>(st[0]) + ds, static_cast<float>(st[1]) + dt};
    }
  }
  m->frames.push_back(std::move(frame));
  m->WeldMapVertices(0);
  return m;
}

void BM_PackIslands4096Triangles(benchmark::State& state) {
  auto m = TorusModel(true);
  const std::vector<MapVertex> mapping = m->mapVertices;
  const std::vector<Triangle> triangles = m->triangles;
  const MappingFrame frame{0, 0, 640, 480};
  PackIslandsReport report;
  for (auto _ : state) {
    m->mapVertices = mapping;
    m->triangles = triangles;
    PackIslands(*m, frame, PackIslandsOptions{2, state.range(0) != 0}, &report);
    benchmark::DoNotOptimize(m->mapVertices.data());
  }
  state.counters["islands"] = report.islands;
  state.counters["covered"] = report.covered;
}

void BM_StretchOverlay1920x1080(benchmark::State& state) {
  auto m = TorusModel(false);
  const Palette palette = GreyRampPalette();
  std::vector<std::uint8_t> frame(1920 * 1080);
  // As the skin view redraws it: the measurements kept while the mapping stays.
  StretchCache cache;
  for (auto _ : state) {
    DrawStretchOverlay(*m, palette, frame.data(), 1920, 1080, StretchView{320, 240, 3}, &cache);
    benchmark::DoNotOptimize(frame.data());
    benchmark::ClobberMemory();
  }
}

BENCHMARK(BM_PackIslands4096Triangles)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
// The first picture after a change to the mapping measures it all again.
void BM_StretchMeasure4096Triangles(benchmark::State& state) {
  auto m = TorusModel(false);
  for (auto _ : state) {
    benchmark::DoNotOptimize(MeasureStretch(*m).data());
    benchmark::DoNotOptimize(FindOverlaps(*m).data());
  }
}

BENCHMARK(BM_StretchOverlay1920x1080)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StretchMeasure4096Triangles)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
