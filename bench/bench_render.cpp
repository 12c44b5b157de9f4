// Whole quick renders of a generated ball of triangles in each render mode,
// the work the 3D view does per mouse move while the camera is dragged.

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "model/model.h"
#include "render/lighting.h"
#include "render/rasterizer.h"
#include "render/render_mode.h"
#include "render/viewport.h"

namespace {

struct BallScene {
  BallScene() {
    constexpr int kRings = 24, kSlices = 32;
    constexpr float kPi = 3.14159265f;
    auto frame = std::make_unique<Frame>(kMaxVertices);
    int n = 0;
    for (int j = 0; j <= kRings; ++j)
      for (int i = 0; i < kSlices; ++i, ++n) {
        float th = kPi * j / kRings, ph = 2 * kPi * i / kSlices;
        frame->vertices[n] = Vec3{18 * std::sin(th) * std::cos(ph), 18 * std::sin(th) * std::sin(ph), 18 * std::cos(th)};
      }
    model.frames.push_back(std::move(frame));
    model.SetVertexCount(n);
    int t = 0, m = 0;
    model.SetTriangleCount(kMaxTriangles);  // room while building; cut to what was built
    model.SetMapVertexCount(kMaxMapVertices);
    for (int j = 0; j <= kRings; ++j)
      for (int i = 0; i < kSlices; ++i, ++m) model.mapVertices[m] = MapVertex{i * 7.9f, j * 7.9f};
    model.SetMapVertexCount(static_cast<std::int16_t>(m));
    auto at = [&](int j, int i) { return static_cast<std::int16_t>(j * kSlices + i % kSlices); };
    for (int j = 0; j < kRings; ++j)
      for (int i = 0; i < kSlices; ++i) {
        const std::int16_t quad[2][3] = {{at(j, i), at(j, i + 1), at(j + 1, i)}, {at(j, i + 1), at(j + 1, i + 1), at(j + 1, i)}};
        for (const auto& c : quad) {
          Triangle& tri = model.triangles[t++];
          for (int k = 0; k < 3; ++k) tri.vertexIndex[k] = tri.mapIndex[k] = c[k];
        }
      }
    model.SetTriangleCount(static_cast<std::int16_t>(t));
    model.ComputeFaceNormals();

    auto skin = std::make_unique<Skin>();
    skin->width = skin->height = 256;
    skin->pixels.resize(256 * 256);
    for (int i = 0; i < 256 * 256; ++i) skin->pixels[i] = static_cast<std::uint8_t>(i ^ (i >> 8));
    ComputeRowOffsets(skin.get());
    model.skins.push_back(std::move(skin));
    model.currentSkinIndex = static_cast<std::int16_t>(model.skins.size() - 1);
    for (auto* list : {&model.phongMaps, &model.envMaps}) {
      auto map = std::make_unique<Skin>();
      map->width = map->height = 256;
      map->pixels.resize(256 * 256);
      for (int i = 0; i < 256 * 256; ++i) map->pixels[i] = static_cast<std::uint8_t>((i & 255) / 4);
      list->push_back(std::move(map));
    }
    model.currentPhongMapIndex = static_cast<std::int16_t>(model.phongMaps.size() - 1);
    model.currentEnvMapIndex = static_cast<std::int16_t>(model.envMaps.size() - 1);
    BuildPhongLightRows(lighting, *model.CurrentPhongMap());
    modes.colormap.resize(kColormapRows * kColormapRowLength);
    for (std::size_t i = 0; i < modes.colormap.size(); ++i) modes.colormap[i] = static_cast<std::uint8_t>(i);

    ResizeViewport(viewport, 640, 480, true);
    context.model = &model;
    context.viewport = &viewport;
    context.rasterizer = &rasterizer;
    context.lighting = &lighting;
  }

  Model model;
  Viewport viewport;
  CRasterizer rasterizer;
  Lighting lighting;
  RenderModes modes;
  RenderContext context;
};

void BM_QuickRender(benchmark::State& state) {
  static BallScene scene;
  scene.modes.renderModeIndex = static_cast<int>(state.range(0));
  for (auto _ : state) {
    scene.modes.Render(scene.context, REDRAW_QUICK, 32);
    benchmark::DoNotOptimize(scene.viewport.frameBuffer.data());
  }
  state.SetLabel(RenderModeName(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_QuickRender)->DenseRange(0, 9);

}  // namespace

BENCHMARK_MAIN();
