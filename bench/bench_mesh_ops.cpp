// Selection, mesh and mapping-file operations on a 4096-triangle model: a
// grid of quads mapped as one island, half of it selected.

#include <benchmark/benchmark.h>

#include <memory>

#include "editor/mesh_ops.h"
#include "editor/selection_ops.h"
#include "model/mapping_file.h"

namespace {

std::unique_ptr<Model> Grid() {
  auto m = std::make_unique<Model>();
  const int cols = 64, rows = 32;
  m->skinWidth = 256;
  m->skinHeight = 256;
  m->SetVertexCount(static_cast<std::int16_t>((cols + 1) * (rows + 1)));
  int t = 0;
  m->SetTriangleCount(kMaxTriangles);  // room while building; cut to what was built
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < cols; ++x) {
      const int q[4] = {y * (cols + 1) + x, y * (cols + 1) + x + 1, (y + 1) * (cols + 1) + x + 1,
                        (y + 1) * (cols + 1) + x};
      const int order[2][3] = {{0, 1, 2}, {0, 2, 3}};
      for (const auto& o : order) {
        Triangle& tri = m->triangles[static_cast<std::size_t>(t)];
        for (int k = 0; k < 3; ++k) {
          const int v = q[o[k]];
          tri.vertexIndex[k] = static_cast<std::int16_t>(v);
          tri.cornerMap[k] = {static_cast<float>(v % (cols + 1)) * 3.5f, static_cast<float>(v / (cols + 1)) * 7.0f};
        }
        tri.flags = x < cols / 2 ? TRI_SELECTED : 0;
        ++t;
      }
    }
  m->SetTriangleCount(static_cast<std::int16_t>(t));
  m->WeldMapVertices(0);
  return m;
}

template <void (*Op)(Model&)>
void BM_Selection(benchmark::State& state) {
  auto base = Grid();
  auto m = Grid();
  for (auto _ : state) {
    state.PauseTiming();
    for (int i = 0; i < base->TriangleCount(); ++i) m->triangles[static_cast<std::size_t>(i)].flags = base->triangles[static_cast<std::size_t>(i)].flags;
    state.ResumeTiming();
    Op(*m);
  }
}
BENCHMARK(BM_Selection<SelectConnected>)->Name("SelectConnected")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Selection<GrowSelection>)->Name("GrowSelection")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Selection<ShrinkSelection>)->Name("ShrinkSelection")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Selection<FlipSelectedFaces>)->Name("FlipSelectedFaces")->Unit(benchmark::kMicrosecond);

void BM_DeleteSelectedFaces(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto m = Grid();
    state.ResumeTiming();
    DeleteSelectedFaces(*m);
  }
}
BENCHMARK(BM_DeleteSelectedFaces)->Unit(benchmark::kMicrosecond);

void BM_ImportMapping(benchmark::State& state) {
  auto m = Grid();
  const std::vector<std::uint8_t> file = EncodeVmap(*m);
  for (auto _ : state) {
    auto data = ReadVmap(file, *m, true, nullptr);
    ApplyVmap(*m, *data);
  }
}
BENCHMARK(BM_ImportMapping)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
