// A 640 x 480 true-colour picture brought into a 256-colour palette: a
// photograph-like picture (smooth gradients with some grain), a worst case
// of noise that touches every cell of the lookup grid, both with the grid
// built afresh each time, and the same with dithering; and for scale the
// plain search of all entries per pixel.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>

#include "image/colour.h"
#include "image/true_colour.h"

namespace {

constexpr int kW = 640, kH = 480;

Palette RandomPalette() {
  std::mt19937 rng(5);
  Palette p{};
  for (auto& v : p) v = static_cast<std::uint8_t>(rng());
  return p;
}

TrueColourPicture Smooth() {
  std::mt19937 rng(9);
  TrueColourPicture p{kW, kH, std::vector<std::uint8_t>(kW * kH * 4)};
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      std::uint8_t* px = p.rgba.data() + (y * kW + x) * 4;
      const int grain = static_cast<int>(rng() % 9) - 4;
      px[0] = static_cast<std::uint8_t>(std::clamp(x * 255 / kW + grain, 0, 255));
      px[1] = static_cast<std::uint8_t>(std::clamp(y * 255 / kH + grain, 0, 255));
      px[2] = static_cast<std::uint8_t>(std::clamp((x + y) * 255 / (kW + kH) - grain, 0, 255));
      px[3] = 255;
    }
  return p;
}

TrueColourPicture Noise() {
  std::mt19937 rng(13);
  TrueColourPicture p{kW, kH, std::vector<std::uint8_t>(kW * kH * 4)};
  for (auto& v : p.rgba) v = static_cast<std::uint8_t>(rng());
  for (std::size_t i = 3; i < p.rgba.size(); i += 4) p.rgba[i] = 255;
  return p;
}

void MapPicture(benchmark::State& state, const TrueColourPicture& picture, bool dither) {
  const Palette palette = RandomPalette();
  for (auto _ : state) {
    auto out = MapToPalette(picture, palette, dither);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * kW * kH);
}

void BM_MapSmooth(benchmark::State& state) { MapPicture(state, Smooth(), false); }
void BM_MapNoise(benchmark::State& state) { MapPicture(state, Noise(), false); }
void BM_MapSmoothDithered(benchmark::State& state) { MapPicture(state, Smooth(), true); }

void BM_PlainSearchSmooth(benchmark::State& state) {
  const Palette palette = RandomPalette();
  const TrueColourPicture picture = Smooth();
  std::vector<std::uint8_t> out(kW * kH);
  for (auto _ : state) {
    for (std::size_t i = 0; i < out.size(); ++i)
      out[i] = NearestPaletteEntry(palette, picture.rgba[i * 4], picture.rgba[i * 4 + 1], picture.rgba[i * 4 + 2]);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * kW * kH);
}

BENCHMARK(BM_MapSmooth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapNoise)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MapSmoothDithered)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainSearchSmooth)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
