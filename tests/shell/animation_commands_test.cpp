#include <gtest/gtest.h>

#include <memory>

#include "platform/clock.h"
#include "platform/profile.h"
#include "shell/animation_commands.h"
#include "shell/app.h"
#include "shell/command_table.h"
#include "shell/list_bars.h"
#include "support/scripted_ui.h"

namespace {

struct AnimationDesk {
  ScriptedUi ui;
  MemoryProfile profile;
  App app{ui, profile};
  AnimationDesk() {
    for (const char* name : {"stand01", "stand02", "stand03", "run1", "run2"}) {
      auto frame = std::make_unique<Frame>(0);
      frame->name = name;
      app.model.frames.push_back(std::move(frame));
    }
    app.model.currentFrameIndex = 0;
    RebuildListBars(app);
  }
  void Run(const std::string& name) {
    const Command* c = FindCommand(name);
    ASSERT_NE(c, nullptr) << name;
    ExecuteCommand(app, *c);
  }
};

}  // namespace

TEST(AnimationCommands, ListBesideTheFramesLoopsOverTheChosenAnimation) {
  AnimationDesk d;
  const ListBar& list = d.app.listBars.animations;
  EXPECT_EQ(list.items, (std::vector<std::string>{kAllFramesEntry, "stand (0-2)", "run (3-4)"}));
  EXPECT_EQ(list.selection, 0);

  SelectAnimationEntry(d.app, 2);
  EXPECT_EQ(d.app.model.currentFrameIndex, 3);  // shown at once, paused
  EXPECT_EQ(d.app.listBars.frames.selection, 3);
  EXPECT_EQ(d.app.listBars.animations.selection, 2);
  EXPECT_EQ(d.app.player.loopFirst(), 3);
  EXPECT_EQ(d.app.player.loopCount(), 2);

  d.Run("Views > Animation > Loop Whole Model");
  EXPECT_EQ(d.app.listBars.animations.selection, 0);
  EXPECT_EQ(d.app.model.currentFrameIndex, 3);  // the whole model goes on from the frame shown
}

TEST(AnimationCommands, PlayKeyTogglesAndTheTimerStepFollowsTheFramesList) {
  AnimationDesk d;
  const Command* play = FindCommand("Views > Animation > Play");
  ASSERT_NE(play, nullptr);
  EXPECT_EQ(CommandKeys(d.app, *play), std::vector<std::string>{"P"});
  d.Run("Views > Animation > Play");
  ASSERT_TRUE(d.app.player.playing());
  EXPECT_EQ(CommandLabel(d.app, *play), "&Pause\tP");
  // The front end's timer 1.15 s later: 11.5 frames on at 10 a second,
  // looping over five, is frame 1.
  EXPECT_TRUE(AdvanceAnimation(d.app, NowMs() + 1150));
  EXPECT_EQ(d.app.model.currentFrameIndex, 1);
  EXPECT_EQ(d.app.listBars.frames.selection, 1);
  d.Run("Views > Animation > Play");
  EXPECT_FALSE(d.app.player.playing());
  EXPECT_FALSE(d.app.document.history.CanUndo());
}
