// A picture drawn in horizontal bands on several threads is the picture
// drawn whole, byte for byte: every filler's scene and every render mode;
// and so is one whose triangles behind the depth buffer were passed over.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "platform/thread_pool.h"
#include "render/checksum_scene.h"
#include "render/pipeline_scene.h"
#include "render/render_bands.h"
#include "render/render_context.h"
#include "render/render_mode.h"

namespace {

constexpr int kThreadCounts[] = {1, 2, 3, 8};

TEST(BandedRaster, ChecksumScenesMatchTheSceneDrawnWhole) {
  struct Case {
    int pitch, rows, clipRight, clipBottom, triangles;
    std::uint32_t seed;
  };
  const Case cases[] = {{203, 157, 202, 156, 3000, 11}, {160, 120, 131, 97, 1500, 12}, {5003, 6, 5002, 5, 300, 13}};
  for (const Case& c : cases) {
    const auto scene = [&] {
      auto s = std::make_unique<ChecksumScene>(c.pitch, c.rows, c.seed);
      s->t.target.ClipRight = c.clipRight;
      s->t.target.ClipBottom = c.clipBottom;
      return s;
    };
    auto whole = scene();
    Fnv ignored;
    whole->Draw(c.triangles, ignored);
    for (int threads : kThreadCounts) {
      // Every band replays the same triangles on its own rasterizer into
      // its rows of the shared buffers.
      RasterCanvas shared(c.pitch, c.rows, ChecksumScene::kBackground);
      std::vector<std::unique_ptr<ChecksumScene>> bands;
      for (int b = 0; b < threads; ++b) bands.push_back(scene());
      for (int b = 0; b < threads; ++b) {
        RasterTarget& target = bands[static_cast<std::size_t>(b)]->t.target;
        target.FrameBuffer = shared.frame.data();
        target.DepthBuffer = shared.depth.data();
        target.PixelTagBuffer = shared.tags.data();
        target.SkipHidden = true;
        RenderBands::BandRows(c.rows, threads, b, target.BandTop, target.BandBottom);
      }
      ThreadPool pool(threads);
      pool.Run(threads, [&](int b) {
        Fnv unused;
        bands[static_cast<std::size_t>(b)]->Draw(c.triangles, unused);
      });
      EXPECT_TRUE(shared.frame == whole->t.frame) << c.pitch << " x " << c.rows << ", " << threads;
      EXPECT_TRUE(shared.depth == whole->t.depth) << c.pitch << " x " << c.rows << ", " << threads;
      EXPECT_TRUE(shared.tags == whole->t.tags) << c.pitch << " x " << c.rows << ", " << threads;
    }
  }
}

// A ball of 480 triangles filling most of a view, a companion ball beside
// it, a skin, phong and environment maps and a colormap: every mode has
// what it needs.
struct BallWorld {
  BallWorld() {
    const auto ball = [](float cx, float radius, std::vector<Vec3>& v, std::vector<std::array<int, 3>>& t) {
      constexpr int kRings = 12, kSlices = 20;
      constexpr float kPi = 3.14159265f;
      for (int j = 0; j <= kRings; ++j)
        for (int i = 0; i < kSlices; ++i) {
          const float th = kPi * static_cast<float>(j) / kRings, ph = 2 * kPi * static_cast<float>(i) / kSlices;
          v.push_back(Vec3{cx + radius * std::cos(th), radius * std::sin(th) * std::cos(ph),
                           radius * std::sin(th) * std::sin(ph)});
        }
      const auto at = [](int j, int i) { return j * kSlices + i % kSlices; };
      for (int j = 0; j < kRings; ++j)
        for (int i = 0; i < kSlices; ++i) {
          t.push_back({at(j, i), at(j + 1, i), at(j, i + 1)});
          t.push_back({at(j, i + 1), at(j + 1, i), at(j + 1, i + 1)});
        }
    };
    std::vector<Vec3> v;
    std::vector<std::array<int, 3>> t;
    ball(0, 22, v, t);
    SetUpModel(model, v, t);
    for (int i = 0; i < model.TriangleCount(); ++i)
      for (int k = 0; k < 3; ++k) model.triangles[i].mapIndex[k] = model.triangles[i].vertexIndex[k];
    model.SetMapVertexCount(model.VertexCount());
    for (int i = 0; i < model.VertexCount(); ++i)
      model.mapVertices[i] = MapVertex{static_cast<float>(i % 20) * 3.1f, static_cast<float>(i / 20) * 4.7f};
    model.triangles[3].flags = TRI_SELECTED;
    model.triangles[40].flags = TRI_MARKED;
    model.ComputeFaceNormals();
    std::vector<Vec3> cv;
    std::vector<std::array<int, 3>> ct;
    ball(-30, 8, cv, ct);
    auto companion = MakeCompanion(cv, ct, 1);
    for (CompanionVertex& c : companion->frameVertices) c.y += 20;  // beside the model
    companion->skinPixels.assign(64, 9);
    for (int row = 0; row < 8; ++row) companion->rowOffset.push_back(row * 8);
    model.companions.push_back(std::move(companion));
    // And one inside the model, hidden from every side.
    std::vector<Vec3> iv;
    std::vector<std::array<int, 3>> it;
    ball(0, 12, iv, it);
    auto inside = MakeCompanion(iv, it, 1);
    inside->skinPixels.assign(64, 5);
    for (int row = 0; row < 8; ++row) inside->rowOffset.push_back(row * 8);
    model.companions.push_back(std::move(inside));

    const auto image = [](int w, int h, int seed) {
      auto skin = std::make_unique<Skin>();
      skin->width = w;
      skin->height = h;
      skin->pixels.resize(static_cast<std::size_t>(w) * h);
      for (std::size_t i = 0; i < skin->pixels.size(); ++i)
        skin->pixels[i] = static_cast<std::uint8_t>((i * seed + i / static_cast<std::size_t>(w)) % 64);
      skin->storedPixels = skin->pixels;
      ComputeRowOffsets(skin.get());
      return skin;
    };
    model.skins.push_back(image(64, 80, 7));
    model.currentSkinIndex = static_cast<std::int16_t>(model.skins.size() - 1);
    model.skinWidth = 64;
    model.skinHeight = 80;
    model.phongMaps.push_back(image(256, 256, 3));
    model.currentPhongMapIndex = static_cast<std::int16_t>(model.phongMaps.size() - 1);
    model.envMaps.push_back(image(256, 256, 5));
    model.currentEnvMapIndex = static_cast<std::int16_t>(model.envMaps.size() - 1);
    BuildPhongLightRows(lighting, *model.CurrentPhongMap());
    colormap.resize(kColormapRows * kColormapRowLength);
    for (std::size_t i = 0; i < colormap.size(); ++i) colormap[i] = static_cast<std::uint8_t>(i * 3);
  }

  // The pictures of mode `index` in each kind and edit mode, drawn with
  // `threads` threads.
  std::vector<std::vector<std::uint8_t>> Pictures(int index, int threads, bool skipHidden) {
    RenderModes modes;
    modes.SetThreads(threads);
    modes.renderModeIndex = index;
    for (int i = 0; i < kNumRenderModes; ++i) modes[i].skipHidden = skipHidden;
    std::vector<std::vector<std::uint8_t>> out;
    for (int editMode : {0, 1})
      for (int kind : {REDRAW_FULL, REDRAW_QUICK, REDRAW_PIXELS}) {
        Viewport viewport;
        ResizeViewport(viewport, 150, 113, IsLitTexturedIndex(index));
        viewport.distance = 60;
        CRasterizer rasterizer;
        RenderContext context;
        context.model = &model;
        context.viewport = &viewport;
        context.rasterizer = &rasterizer;
        context.lighting = &lighting;
        context.colormap = colormap.data();
        context.editMode = editMode;
        if (kind == REDRAW_PIXELS) modes.Render(context, REDRAW_FULL, 0);
        modes.Render(context, kind, 0);
        out.push_back(viewport.frameBuffer);
        const auto* tags = reinterpret_cast<const std::uint8_t*>(viewport.tagBuffer.data());
        out.emplace_back(tags, tags + viewport.tagBuffer.size() * 4);
        const auto* depth = reinterpret_cast<const std::uint8_t*>(viewport.depthBuffer.data());
        out.emplace_back(depth, depth + viewport.depthBuffer.size() * 2);
        out.push_back(viewport.lightLevels);
      }
    return out;
  }

  Model model;
  Lighting lighting;
  std::vector<std::uint8_t> colormap;
};

TEST(BandedRender, EveryModeDrawsTheSamePictureOnAnyNumberOfThreadsWithHiddenTrianglesPassedOver) {
  BallWorld world;
  for (int index = 0; index < kNumRenderModes; ++index) {
    const auto whole = world.Pictures(index, 1, false);
    // The scene must reach every band for the comparison to mean anything.
    ASSERT_NE(std::count(whole[0].begin(), whole[0].end(), whole[0][0]), static_cast<long>(whole[0].size()))
        << RenderModeName(index);
    for (int threads : kThreadCounts) {
      const auto banded = world.Pictures(index, threads, true);
      ASSERT_EQ(banded.size(), whole.size());
      for (std::size_t i = 0; i < whole.size(); ++i)
        EXPECT_TRUE(banded[i] == whole[i]) << RenderModeName(index) << ", " << threads << " threads, picture " << i;
    }
  }
}

}  // namespace
