#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "render/render_mode_base.h"
#include "render_mode_fixture.h"

namespace {

// The fixture's square as frame 0; frame 1 turned and shrunk; frame 2
// exactly half-way between them, so a half blend of 0 toward 1 must draw
// frame 2 to the byte, shading included.
class FrameBlendTest : public RenderModeTest {
 protected:
  void SetUp() override {
    RenderModeTest::SetUp();
    AddSkin(0);
    for (int i = 0; i < kSkin * kSkin; ++i) model.CurrentSkin()->pixels[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    AddFrame(11, 24);
    AddFrame(13, 12);
  }
  // The square with half-side `half`, its right-hand corners `depth` nearer.
  void AddFrame(float half, float depth) {
    auto frame = std::make_unique<Frame>(model.VertexCount());
    frame->vertices[0] = {0, half, -half};
    frame->vertices[1] = {depth, -half, -half};
    frame->vertices[2] = {0, half, half};
    frame->vertices[3] = {depth, -half, half};
    model.frames.push_back(std::move(frame));
  }
  void ShowFrame(int index) {
    model.currentFrameIndex = static_cast<std::int16_t>(index);
    model.ComputeFaceNormals();
  }
  std::vector<std::uint8_t> Picture(int mode) {
    Render(mode, REDRAW_FULL);
    return viewport.frameBuffer;
  }
};

}  // namespace

TEST_F(FrameBlendTest, HalfWayBlendDrawsTheHalfWayShapeAndItsLight) {
  for (int mode : {MODE_WIREFRAME, MODE_FLAT, MODE_GOURAUD, MODE_TEXTURED}) {
    ShowFrame(2);
    const std::vector<std::uint8_t> halfway = Picture(mode);
    ShowFrame(0);
    const std::vector<std::uint8_t> first = Picture(mode);
    float normal[3];
    std::memcpy(normal, model.triangles[0].faceNormal, sizeof normal);

    viewport.blend = {1, 0.5f};
    EXPECT_EQ(Picture(mode), halfway) << RenderModeName(mode);
    EXPECT_NE(halfway, first) << RenderModeName(mode);
    // Editing goes on against the frame itself.
    EXPECT_EQ(std::memcmp(normal, model.triangles[0].faceNormal, sizeof normal), 0);
    viewport.blend = {};
  }
  // The light alone tells the turned square from the flat one.
  ShowFrame(0);
  const std::uint8_t flatLit = Picture(MODE_FLAT)[Centre()];
  ShowFrame(2);
  EXPECT_NE(Picture(MODE_FLAT)[Centre()], flatLit);
}
