// Welding and GL command building on a 4096-triangle model: the grid weld
// against the full search it replaces, and the indexed strip/fan builder.

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "model/gl_commands.h"
#include "model/model.h"
#include "model/weld.h"

namespace {

// A 64 x 32 grid of quads, two triangles each, mapped onto a 256 x 128 skin
// with a seam down the middle so that some corners do not share.
std::unique_ptr<Model> GridModel() {
  auto m = std::make_unique<Model>();
  const int cols = 64, rows = 32;
  m->skinWidth = 256;
  m->skinHeight = 128;
  m->SetVertexCount(static_cast<std::int16_t>((cols + 1) * (rows + 1)));
  int t = 0;
  m->SetTriangleCount(kMaxTriangles);  // room while building; cut to what was built
  auto vertex = [&](int x, int y) { return static_cast<std::int16_t>(y * (cols + 1) + x); };
  auto corner = [&](int x, int y, int side) {
    return MapVertex{x * 3.7f + (x >= cols / 2 ? 7.0f * side : 0.0f), y * 3.9f};
  };
  for (int y = 0; y < rows; ++y) {
    for (int x = 0; x < cols; ++x) {
      int side = x >= cols / 2 ? 1 : 0;
      int quad[4][2] = {{x, y}, {x + 1, y}, {x + 1, y + 1}, {x, y + 1}};
      int order[2][3] = {{0, 1, 2}, {0, 2, 3}};
      for (auto& o : order) {
        Triangle& tri = m->triangles[t++];
        for (int k = 0; k < 3; ++k) {
          tri.vertexIndex[k] = vertex(quad[o[k]][0], quad[o[k]][1]);
          tri.cornerMap[k] = corner(quad[o[k]][0], quad[o[k]][1], side);
        }
      }
    }
  }
  m->SetTriangleCount(static_cast<std::int16_t>(t));
  return m;
}

void BM_WeldGrid(benchmark::State& state) {
  auto m = GridModel();
  for (auto _ : state) {
    m->WeldMapVertices(0);
    benchmark::DoNotOptimize(m->MapVertexCount());
  }
  state.counters["mapVertices"] = m->MapVertexCount();
}
BENCHMARK(BM_WeldGrid)->Unit(benchmark::kMicrosecond);

void BM_WeldDirect(benchmark::State& state) {
  auto m = GridModel();
  for (auto _ : state) {
    WeldMapVerticesDirect(*m, 0);
    benchmark::DoNotOptimize(m->MapVertexCount());
  }
  state.counters["mapVertices"] = m->MapVertexCount();
}
BENCHMARK(BM_WeldDirect)->Unit(benchmark::kMicrosecond);

void BM_BuildGlCommands(benchmark::State& state) {
  auto m = GridModel();
  m->WeldMapVertices(0);
  std::vector<std::int32_t> words;
  for (auto _ : state) {
    BuildGlCommands(*m, words);
    benchmark::DoNotOptimize(words.data());
  }
  state.counters["words"] = static_cast<double>(words.size());
}
BENCHMARK(BM_BuildGlCommands)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
