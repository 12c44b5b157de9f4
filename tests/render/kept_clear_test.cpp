// A view that clears only where the model was and is draws the pictures,
// depths and tags of one that clears everything, frame after frame.

#include <gtest/gtest.h>

#include "render_mode_fixture.h"

namespace {

using KeptClearTest = RenderModeTest;

TEST_F(KeptClearTest, PartlyClearedPicturesMatchWholeClearsFrameAfterFrame) {
  AddSkin(0);
  for (int i = 0; i < kSkin * kSkin; ++i) model.CurrentSkin()->pixels[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 7);
  std::vector<std::uint8_t> colormap(kColormapRows * kColormapRowLength);
  for (std::size_t i = 0; i < colormap.size(); ++i) colormap[i] = static_cast<std::uint8_t>(i * 5);
  context.colormap = colormap.data();
  Frame& frame = *model.frames[0];
  const Frame rest = frame;
  // Each step moves and sizes the square (model y is camera -x, model z
  // camera y), with the kind, edit mode and guide of the redraw.
  struct Step {
    float dx, dz, scale;
    int kind, editMode;
    bool guide;
  };
  const Step steps[] = {
      {0, 0, 1, REDRAW_FULL, 0, false},     {8, 3, 0.5f, REDRAW_FULL, 0, false},  {-9, -6, 0.4f, REDRAW_QUICK, 0, false},
      {-9, 7, 0.3f, REDRAW_FULL, 0, false}, {5, 5, 0.6f, REDRAW_QUICK, 1, false}, {2, -8, 0.5f, REDRAW_FULL, 1, false},
      {2, -8, 0.5f, REDRAW_FULL, 0, true},  {-4, 2, 0.4f, REDRAW_QUICK, 0, true}, {30, 0, 1, REDRAW_FULL, 0, true},
      {0, 0, 0.2f, REDRAW_FULL, 0, false},
  };
  for (const int index : {MODE_TEXTURED, MODE_TEXTURED_G}) {
    for (const int threads : {1, 2}) {
      Viewport wholeView;
      ResizeViewport(wholeView, kSize, kSize, true);
      ResizeViewport(viewport, kSize, kSize, true);
      RenderModes wholeModes;
      modes.kept.enabled = true;
      modes.kept.Forget();
      modes.SetThreads(threads);
      wholeModes.SetThreads(threads);
      modes.renderModeIndex = wholeModes.renderModeIndex = index;
      int partial = 0;
      for (const Step& s : steps) {
        for (int v = 0; v < 4; ++v) {
          const Vec3& r = rest.vertices[static_cast<std::size_t>(v)];
          frame.vertices[static_cast<std::size_t>(v)] = Vec3{r.x, r.y * s.scale - s.dx, r.z * s.scale + s.dz};
        }
        model.ComputeFaceNormals();
        context.editMode = s.editMode;
        context.cameraToggle = s.guide;
        RenderContext other = context;
        other.viewport = &wholeView;
        wholeModes.Render(other, s.kind, 0);
        modes.Render(context, s.kind, 0);
        partial += modes.kept.changedWhole ? 0 : 1;
        const std::string at = std::string(RenderModeName(index)) + ", " + std::to_string(threads) + " threads, step " +
                               std::to_string(&s - steps);
        ASSERT_TRUE(viewport.frameBuffer == wholeView.frameBuffer) << at;
        ASSERT_TRUE(viewport.depthBuffer == wholeView.depthBuffer) << at;
        ASSERT_TRUE(viewport.tagBuffer == wholeView.tagBuffer) << at;
      }
      // The steps that keep the size, mode, guide and tags of the one
      // before cleared only part of the picture.
      EXPECT_GE(partial, 5) << RenderModeName(index);
    }
  }
}

}  // namespace
