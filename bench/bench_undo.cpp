// Undo steps on a 4096-triangle model with a 640 x 480 skin: taking a step
// and undoing it for a one-texel stroke, for a change of the whole skin and
// for a selection change over the mesh; and the memory 1,000 one-texel
// strokes hold.

#include <benchmark/benchmark.h>

#include <memory>

#include "editor/document.h"
#include "image/new_skin.h"

namespace {

std::unique_ptr<Document> BigDocument() {
  auto d = std::make_unique<Document>();
  Model& m = d->model;
  m.SetTriangleCount(kMaxTriangles);
  m.SetVertexCount(kMaxVertices);
  m.SetMapVertexCount(kMaxMapVertices);
  m.skinWidth = 640;
  m.skinHeight = 480;
  for (int i = 0; i < kMaxTriangles; ++i)
    for (int k = 0; k < 3; ++k) {
      Triangle& t = m.triangles[static_cast<std::size_t>(i)];
      t.vertexIndex[k] = static_cast<std::int16_t>((i + k) % kMaxVertices);
      t.mapIndex[k] = static_cast<std::int16_t>((i * 3 + k) % kMaxMapVertices);
      t.cornerMap[k] = {static_cast<float>(i % 640), static_cast<float>(k * 100)};
    }
  auto skin = MakeBlankSkin("s", 640, 480, GreyRampPalette());
  FillSkin(*skin, 7);
  skin->storedPixels = skin->pixels;
  m.skins.push_back(std::move(skin));
  m.currentSkinIndex = 0;
  return d;
}

void BM_UndoOneTexelStroke(benchmark::State& state) {
  auto d = BigDocument();
  std::size_t texel = 0;
  for (auto _ : state) {
    {
      DocumentStep step(*d, "Pencil Stroke", STEP_CURRENT_SKIN);
      d->model.CurrentSkin()->pixels[texel] = 99;
    }
    d->Undo();
    texel = (texel + 4099) % d->model.CurrentSkin()->pixels.size();
  }
}
BENCHMARK(BM_UndoOneTexelStroke)->Unit(benchmark::kMicrosecond);

void BM_UndoWholeSkinChange(benchmark::State& state) {
  auto d = BigDocument();
  std::uint8_t colour = 0;
  for (auto _ : state) {
    {
      DocumentStep step(*d, "Fill Selected", STEP_CURRENT_SKIN);
      for (std::uint8_t& p : d->model.CurrentSkin()->pixels) p = static_cast<std::uint8_t>(p + 1 + colour);
    }
    d->Undo();
    ++colour;
  }
}
BENCHMARK(BM_UndoWholeSkinChange)->Unit(benchmark::kMicrosecond);

void BM_UndoSelectionOverTheMesh(benchmark::State& state) {
  auto d = BigDocument();
  for (auto _ : state) {
    {
      DocumentStep step(*d, "Select All", STEP_MESH);
      for (Triangle& t : d->model.triangles) t.flags ^= TRI_SELECTED;
    }
    d->Undo();
  }
}
BENCHMARK(BM_UndoSelectionOverTheMesh)->Unit(benchmark::kMicrosecond);

void BM_ThousandStrokesHeld(benchmark::State& state) {
  for (auto _ : state) {
    auto d = BigDocument();
    for (std::size_t i = 0; i < 1000; ++i) {
      DocumentStep step(*d, "Pencil Stroke", STEP_CURRENT_SKIN);
      d->model.CurrentSkin()->pixels[i * 301] = 1;
    }
    state.counters["history_KiB"] = static_cast<double>(d->history.bytes()) / 1024.0;
  }
}
BENCHMARK(BM_ThousandStrokesHeld)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
