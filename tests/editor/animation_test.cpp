#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "editor/animation_player.h"
#include "editor/animations.h"
#include "editor/workspace.h"

namespace {

std::vector<std::string> Numbered(const std::string& stem, int from, int to, int width = 0) {
  std::vector<std::string> names;
  for (int i = from; i <= to; ++i) {
    std::string digits = std::to_string(i);
    if (static_cast<int>(digits.size()) < width) digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
    names.push_back(stem + digits);
  }
  return names;
}

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

std::string Describe(const std::vector<Animation>& animations) {
  std::string text;
  for (const Animation& a : animations) text += (text.empty() ? "" : " ") + AnimationLabel(a);
  return text;
}

}  // namespace

TEST(Animations, RunsOfFrameNamesSharingAStem) {
  const struct {
    const char* what;
    std::vector<std::string> names;
    const char* expected;
  } cases[] = {
      {"zero-padded, then plain numbers", Join({Numbered("stand", 1, 40, 2), Numbered("run", 1, 6)}),
       "stand (0-39) run (40-45)"},
      {"the game's hundreds are separate animations",
       Join({Numbered("pain", 101, 104), Numbered("pain", 201, 204), Numbered("pain", 301, 304)}),
       "pain1 (0-3) pain2 (4-7) pain3 (8-11)"},
      {"death1xx beside crouched names", Join({Numbered("death", 101, 106), Numbered("crattak", 1, 9)}),
       "death (0-5) crattak (6-14)"},
      {"one-digit numbers running into two", Numbered("walk", 8, 11), "walk (0-3)"},
      {"a skipped number stays in the run", {"jump1", "jump2", "jump4"}, "jump (0-2)"},
      {"a number starting again starts another run", Join({Numbered("run", 1, 3), Numbered("run", 1, 2)}),
       "run (0-2) run (3-4)"},
      {"names without numbers", {"base", "frame", "frame", "stand1"}, "base (0-0) frame (1-2) stand (3-3)"},
      {"all-digit names", {"001", "002", "003", "wave1"}, "001 (0-2) wave (3-3)"},
      {"no frames", {}, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Describe(FindAnimations(c.names)), c.expected) << c.what;
}

namespace {

// A workspace with `count` frames whose single vertex sits at x = frame number.
class PlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Model& m = ws.model;
    for (int f = 0; f < 6; ++f) {
      auto frame = std::make_unique<Frame>(kMaxVertices);
      frame->vertices[0] = Vec3{static_cast<float>(f), 0, 0};
      m.frames.push_back(std::move(frame));
    }
    m.SetVertexCount(1);
    m.currentFrameIndex = 0;
  }
  int Shown() const { return ws.model.currentFrameIndex; }

  Workspace ws;
  AnimationPlayer player{ws};
};

}  // namespace

TEST_F(PlayerTest, StepsFramesAtItsRateAndLoops) {
  EXPECT_EQ(player.fps(), 10);
  player.Play(1000);
  const struct {
    std::int64_t ms;
    int frame;
  } steps[] = {{1000, 0}, {1099, 0}, {1100, 1}, {1550, 5}, {1600, 0}, {1750, 1}};
  for (const auto& s : steps) {
    player.Advance(s.ms);
    EXPECT_EQ(Shown(), s.frame) << s.ms;
    EXPECT_EQ(ws.model.CurrentFrame(), ws.model.frames[static_cast<std::size_t>(s.frame)]->vertices.data());
  }
  // Faster from here on: 20 fps, from half-way through frame 1 at 1750.
  player.SetFps(20, 1750);
  player.Advance(1850);
  EXPECT_EQ(Shown(), 3);
  EXPECT_EQ(player.NextChangeMs(1850), 25);  // half of frame 3's 50 ms left
}

TEST_F(PlayerTest, LoopsOverOneAnimationAndFollowsAPickedFrame) {
  player.SetLoop(2, 3, 0);  // frames 2..4, shown at once while paused
  EXPECT_EQ(Shown(), 2);
  player.Play(0);
  player.Advance(350);
  EXPECT_EQ(Shown(), 2);  // 3.5 frames in: 2, 3, 4, 2
  // The user picks a frame while it plays: it goes on from there.
  ws.model.currentFrameIndex = 4;
  player.Advance(400);
  EXPECT_EQ(Shown(), 4);
  player.Advance(500);
  EXPECT_EQ(Shown(), 2);
}

TEST_F(PlayerTest, InterpolatesBetweenFramesOnlyWhilePlaying) {
  int announced = 0;
  ChangeHook hook(ws.document.changes, kFrameChanged, [&](const ChangeNotice&) { ++announced; });
  player.SetInterpolate(true, 0);
  player.Play(0);
  player.Advance(125);
  EXPECT_EQ(Shown(), 1);
  EXPECT_EQ(ws.viewport.blend.toFrame, 2);
  EXPECT_FLOAT_EQ(ws.viewport.blend.amount, 0.25f);
  player.Advance(595);  // between the last frame and the first
  EXPECT_EQ(Shown(), 5);
  EXPECT_EQ(ws.viewport.blend.toFrame, 0);
  EXPECT_EQ(player.NextChangeMs(595), AnimationPlayer::kBlendIntervalMs);
  const int before = announced;
  player.Pause();
  EXPECT_EQ(ws.viewport.blend.amount, 0.0f);
  EXPECT_EQ(announced, before + 1);  // the picture settles on the whole frame
  EXPECT_FALSE(player.Advance(700));
  EXPECT_EQ(Shown(), 5);
}

TEST_F(PlayerTest, FramesPlayedDuringAnEditAreNoPartOfItsStep) {
  ws.model.SetTriangleCount(1);
  player.Play(0);
  {
    DragStep stroke(ws.document);
    stroke.Begin("Select", STEP_MESH);
    ws.model.triangles[0].flags |= TRI_SELECTED;
    player.Advance(250);
  }
  ASSERT_EQ(ws.document.history.UndoName(), "Select");
  ASSERT_TRUE(ws.document.Undo());
  EXPECT_EQ(ws.model.triangles[0].flags, 0u);
  EXPECT_EQ(Shown(), 2);  // Undo takes the edit back, not the frame
  EXPECT_FALSE(ws.document.history.CanUndo());
}
