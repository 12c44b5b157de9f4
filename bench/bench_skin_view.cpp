// The skin view's redraws at full-screen size: a 640 x 480 skin at zoom 3
// filling a 1920 x 1080 pane, with the overlay of a 4096-triangle mapping
// (a 64 x 32 grid of quads over the skin, every tenth triangle selected).
// Full writes the per-pixel tags as well; Quick, drawn during drags, does not.

#include <benchmark/benchmark.h>

#include <memory>

#include "editor/skin_view.h"
#include "editor/workspace.h"
#include "image/new_skin.h"
#include "render/render_context.h"

namespace {

std::unique_ptr<Workspace> GridWorkspace() {
  auto w = std::make_unique<Workspace>();
  Model& m = w->model;
  m.skinWidth = 640;
  m.skinHeight = 480;
  int tri = 0;
  m.SetTriangleCount(kMaxTriangles);  // room while building; cut to what was built
  for (int row = 0; row < 32; ++row)
    for (int col = 0; col < 64; ++col) {
      const float s0 = col * 10.0f, s1 = s0 + 9.5f, t0 = row * 15.0f, t1 = t0 + 14.5f;
      const MapVertex quad[2][3] = {{{s0, t0}, {s1, t0}, {s1, t1}}, {{s0, t0}, {s1, t1}, {s0, t1}}};
      for (const auto& corners : quad) {
        Triangle& t = m.triangles[static_cast<std::size_t>(tri)];
        for (int k = 0; k < 3; ++k) t.cornerMap[k] = corners[k];
        t.flags = tri % 10 == 0 ? TRI_SELECTED : 0;
        ++tri;
      }
    }
  m.SetTriangleCount(static_cast<std::int16_t>(tri));
  m.WeldMapVertices(0);
  auto skin = MakeBlankSkin("s", 640, 480, GreyRampPalette());
  for (std::size_t i = 0; i < skin->pixels.size(); ++i) skin->pixels[i] = static_cast<std::uint8_t>(i * 31);
  m.skins.push_back(std::move(skin));
  m.currentSkinIndex = 0;
  w->editor.editMode = EditMode::Mapping;
  return w;
}

void Redraw(benchmark::State& state, int kind) {
  auto w = GridWorkspace();
  SkinView view(*w);
  view.Resize(1920, 1080);
  int i = 0;
  for (auto _ : state) {
    // A redraw of an unchanged view changes no pixel and is skipped; the
    // zoom goes back and forth so that every redraw draws.
    view.SetView(320, 240, i++ % 2 ? 3.0f : 3.01f);
    view.Redraw(kind, 0);
    benchmark::DoNotOptimize(view.frameBuffer().data());
    benchmark::ClobberMemory();
  }
}

void BM_SkinViewFullWithOverlay(benchmark::State& state) { Redraw(state, REDRAW_FULL); }
void BM_SkinViewQuickWithOverlay(benchmark::State& state) { Redraw(state, REDRAW_QUICK); }

BENCHMARK(BM_SkinViewFullWithOverlay)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SkinViewQuickWithOverlay)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
