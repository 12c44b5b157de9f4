#include <gtest/gtest.h>

#include "editor/model_view.h"
#include "editor/snapshot.h"
#include "platform/profile.h"
#include "shell/app.h"
#include "support/scripted_ui.h"

namespace {

// A flat-shaded board facing the camera, `across` x `up` model units at the
// orbit centre, in a view of the given client size. Background: index 255.
struct Board {
  ScriptedUi ui;
  MemoryProfile profile;
  App app{ui, profile};
  ModelView view{app};

  Board(float across, float up, int width, int height) {
    Model& m = app.model;
    auto frame = std::make_unique<Frame>(4);
    // Model (0, y, z) shows at screen x = -y, screen y = z.
    const float x = across / 2, y = up / 2;
    frame->vertices[0] = {0, x, -y};
    frame->vertices[1] = {0, -x, -y};
    frame->vertices[2] = {0, x, y};
    frame->vertices[3] = {0, -x, y};
    m.SetVertexCount(4);
    m.frames.push_back(std::move(frame));
    m.SetTriangleCount(2);
    const int corners[2][3] = {{0, 1, 2}, {1, 3, 2}};
    for (int t = 0; t < 2; ++t)
      for (int k = 0; k < 3; ++k) m.triangles[t].vertexIndex[k] = static_cast<std::int16_t>(corners[t][k]);
    m.ComputeFaceNormals();
    app.editor.cameraToggle = false;
    app.renderModes.renderModeIndex = 2;
    view.Resize(width, height);
  }
};

// The board's columns and rows in a top-first picture: left, right, top,
// bottom; and whether it touches the picture's edge.
struct Extent {
  int box[4] = {1 << 30, -1, 1 << 30, -1};
  bool touchesEdge = false;
};

Extent BoardIn(const std::vector<std::uint8_t>& pixels, int width, int height) {
  Extent e;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      if (pixels[static_cast<std::size_t>(y) * width + x] == 255) continue;
      e.box[0] = std::min(e.box[0], x);
      e.box[1] = std::max(e.box[1], x);
      e.box[2] = std::min(e.box[2], y);
      e.box[3] = std::max(e.box[3], y);
      e.touchesEdge = e.touchesEdge || x == 0 || y == 0 || x == width - 1 || y == height - 1;
    }
  return e;
}

double Aspect(const Extent& e) { return double(e.box[1] - e.box[0] + 1) / (e.box[3] - e.box[2] + 1); }

}  // namespace

// A 75-unit camera with 33 degrees across the smaller side sees about 44
// units there: a 20 x 60 board nearly fills a 100 x 152 view's height. An
// 160 x 120 picture of it must hold the whole board, as the view does, and
// the same the other way round.
TEST(SnapshotFit, ACustomSizeKeepsEverythingTheViewShows) {
  const struct {
    float across, up;
    int viewW, viewH, shotW, shotH;
  } cases[] = {{20, 60, 100, 152, 160, 120}, {60, 20, 152, 100, 120, 160}};
  for (const auto& c : cases) {
    Board b(c.across, c.up, c.viewW, c.viewH);
    auto onScreen = TakeSnapshot(b.app, b.view, false, c.viewW, c.viewH);
    ASSERT_TRUE(onScreen);
    const Extent seen = BoardIn(onScreen->pixels, c.viewW, c.viewH);
    ASSERT_FALSE(seen.touchesEdge);
    ASSERT_GT(std::max(seen.box[1] - seen.box[0], seen.box[3] - seen.box[2]),
              std::max(c.viewW, c.viewH) * 3 / 4);

    auto shot = TakeSnapshot(b.app, b.view, true, c.shotW, c.shotH);
    ASSERT_TRUE(shot);
    const Extent kept = BoardIn(shot->pixels, c.shotW, c.shotH);
    EXPECT_FALSE(kept.touchesEdge) << c.shotW << " x " << c.shotH;
    EXPECT_NEAR(Aspect(kept), Aspect(seen), 0.05) << c.shotW << " x " << c.shotH;
  }
}
