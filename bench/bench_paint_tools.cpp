// The painting tools at full-screen size: a 640 x 480 skin at zoom 4 in a
// 1920 x 1080 skin view. A stroke of the size-32 round brush is a press, 100
// mouse moves of 24 pixels each and a release, every move followed by the
// pane's redraw of the painted pixels; the plain stroke against the same
// with the skin's and the model's mirror symmetry (the model's mirror kept
// from stroke to stroke, and found anew for each as on a model's first). The fill takes the whole
// skin (one colour) as one undo step.

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

#include "editor/paint_ops.h"
#include "editor/skin_view.h"
#include "editor/workspace.h"
#include "image/new_skin.h"
#include "render/render_context.h"

namespace {

// A 64 x 32 grid of quads over the skin whose model is the skin's plane
// centred on x = 0, so the model's x mirror is the skin's left-right one.
std::unique_ptr<Workspace> PaintWorkspace() {
  auto w = std::make_unique<Workspace>();
  Model& m = w->model;
  m.skinWidth = 640;
  m.skinHeight = 480;
  auto frame = std::make_unique<Frame>(kMaxVertices);
  int vertex = 0, tri = 0;
  m.SetTriangleCount(kMaxTriangles);  // room while building; cut to what was built
  for (int row = 0; row <= 32; ++row)
    for (int col = 0; col <= 64; ++col)
      frame->vertices[static_cast<std::size_t>(vertex++)] = {col * 10.0f - 320.0f, row * 15.0f, 0.0f};
  for (int row = 0; row < 32; ++row)
    for (int col = 0; col < 64; ++col) {
      const int v00 = row * 65 + col, v10 = v00 + 1, v01 = v00 + 65, v11 = v01 + 1;
      const int quad[2][3] = {{v00, v10, v11}, {v00, v11, v01}};
      for (const auto& corners : quad) {
        Triangle& t = m.triangles[static_cast<std::size_t>(tri++)];
        for (int k = 0; k < 3; ++k) {
          const Vec3& p = frame->vertices[static_cast<std::size_t>(corners[k])];
          t.vertexIndex[k] = static_cast<std::int16_t>(corners[k]);
          t.cornerMap[k] = {p.x + 320.0f, p.y};
        }
      }
    }
  m.SetTriangleCount(static_cast<std::int16_t>(tri));
  m.frames.push_back(std::move(frame));
  m.SetVertexCount(vertex);
  m.currentFrameIndex = 0;
  m.WeldMapVertices(0);
  auto skin = MakeBlankSkin("s", 640, 480, GreyRampPalette());
  for (std::size_t i = 0; i < skin->pixels.size(); ++i) skin->pixels[i] = static_cast<std::uint8_t>(i * 31);
  m.skins.push_back(std::move(skin));
  m.currentSkinIndex = 0;
  w->editor.editMode = EditMode::Paint;
  w->editor.cameraToggle = false;
  w->editor.brushSize = 32;
  w->editor.colourSlots[0] = 200;
  w->RebuildPaintTable();
  return w;
}

MouseEvent Mouse(int x, int y, bool down) {
  MouseEvent e;
  e.button = MouseButton::Left;
  e.leftDown = down;
  e.x = x;
  e.y = y;
  return e;
}

// `fresh`: the model-plane mirror is found anew for every stroke, as for the
// first stroke on a model; else it is kept from stroke to stroke.
void Stroke(benchmark::State& state, Symmetry symmetry, bool fresh = false) {
  auto w = PaintWorkspace();
  w->editor.symmetry = symmetry;
  SkinView view(*w);
  view.Resize(1920, 1080);
  view.SetView(320, 240, 4);
  view.Redraw(REDRAW_FULL, 0);
  int lap = 0;
  for (auto _ : state) {
    // Each stroke a zigzag over fresh texels of the view.
    const int y0 = 100 + (lap++ % 8) * 100;
    if (fresh) w->mirrorCache = {};
    view.MouseDown(Mouse(100, y0, true));
    for (int i = 1; i <= 100; ++i) {
      view.MouseMove(Mouse(100 + 17 * i, y0 + ((i / 5) % 2 ? 40 : 0) + 3 * (i % 5), true));
      view.Redraw(REDRAW_PIXELS, 0);
    }
    view.MouseUp(Mouse(1800, y0, false));
    benchmark::DoNotOptimize(view.frameBuffer().data());
  }
  state.counters["per_move"] =
      benchmark::Counter(100, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_BrushStroke32(benchmark::State& state) { Stroke(state, Symmetry::None); }
void BM_BrushStroke32SkinMirror(benchmark::State& state) { Stroke(state, Symmetry::SkinX); }
void BM_BrushStroke32ModelMirror(benchmark::State& state) { Stroke(state, Symmetry::ModelX); }
void BM_BrushStroke32ModelMirrorFirst(benchmark::State& state) { Stroke(state, Symmetry::ModelX, true); }

void BM_FillWholeSkin(benchmark::State& state) {
  auto w = PaintWorkspace();
  std::fill(w->model.CurrentSkin()->pixels.begin(), w->model.CurrentSkin()->pixels.end(), std::uint8_t{9});
  int lap = 0;
  for (auto _ : state) {
    w->editor.paintTable.fill(static_cast<std::uint8_t>(lap++ % 2 ? 9 : 10));
    benchmark::DoNotOptimize(FillAtTexel(w->document, w->editor, w->rasterizer, 320, 240).done);
  }
}

BENCHMARK(BM_BrushStroke32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BrushStroke32SkinMirror)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BrushStroke32ModelMirror)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BrushStroke32ModelMirrorFirst)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillWholeSkin)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
