// Fill Selected and Shade Selected over a whole 640 x 480 skin: every texel
// selected, two triangles, a palette of many hues and a busy picture.

#include <benchmark/benchmark.h>

#include <memory>

#include "editor/skin_effects.h"
#include "image/new_skin.h"
#include "render/rasterizer.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

Palette ManyHues() {
  Palette p{};
  for (int i = 0; i < 256; ++i) {
    p[static_cast<std::size_t>(i * 3)] = static_cast<std::uint8_t>((i * 37) & 0xFF);
    p[static_cast<std::size_t>(i * 3 + 1)] = static_cast<std::uint8_t>((i * 91 + 40) & 0xFF);
    p[static_cast<std::size_t>(i * 3 + 2)] = static_cast<std::uint8_t>(255 - i);
  }
  return p;
}

struct Scene {
  Model model;
  std::unique_ptr<Skin> skin = MakeBlankSkin("bench", kWidth, kHeight, ManyHues());
  std::unique_ptr<CRasterizer> raster = std::make_unique<CRasterizer>();
  std::vector<std::uint8_t> original;
  std::vector<TriangleLight> light;

  Scene() {
    model.skinWidth = kWidth;
    model.skinHeight = kHeight;
    const MapVertex corners[6] = {{0, 0}, {kWidth, 0}, {0, kHeight}, {0, kHeight}, {kWidth, 0}, {kWidth, kHeight}};
    model.SetMapVertexCount(6);
    for (int i = 0; i < 6; ++i) model.mapVertices[static_cast<std::size_t>(i)] = corners[i];
    model.SetTriangleCount(2);
    light.resize(2);
    const std::uint8_t levels[2][3] = {{180, 20, 240}, {90, 255, 0}};
    for (int t = 0; t < 2; ++t) {
      Triangle& tri = model.triangles[static_cast<std::size_t>(t)];
      tri.flags = TRI_SELECTED;
      for (int k = 0; k < 3; ++k) {
        tri.mapIndex[k] = static_cast<std::int16_t>(t * 3 + k);
        light[static_cast<std::size_t>(t)].shade[k] = levels[t][k];
      }
    }
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        skin->pixels[static_cast<std::size_t>(y * kWidth + x)] = static_cast<std::uint8_t>((x * 7 + y * 3) & 0xFF);
    original = skin->pixels;
  }
};

void BM_FillSelectedWholeSkin(benchmark::State& state) {
  Scene scene;
  for (auto _ : state) {
    state.PauseTiming();
    scene.skin->pixels = scene.original;
    state.ResumeTiming();
    FillSelected(scene.model, scene.light, *scene.skin, *scene.raster, 0.8);
    benchmark::DoNotOptimize(scene.skin->pixels.data());
  }
}
BENCHMARK(BM_FillSelectedWholeSkin)->Unit(benchmark::kMillisecond);

// Levels vary across each triangle: far more (index, level) pairs to match.
void BM_ShadeSelectedWholeSkin(benchmark::State& state) {
  Scene scene;
  for (auto _ : state) {
    state.PauseTiming();
    scene.skin->pixels = scene.original;
    state.ResumeTiming();
    ShadeSelected(scene.model, scene.light, *scene.skin, *scene.raster, 0.8);
    benchmark::DoNotOptimize(scene.skin->pixels.data());
  }
}
BENCHMARK(BM_ShadeSelectedWholeSkin)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
