#include <gtest/gtest.h>

#include "platform/profile.h"
#include "support/scripted_ui.h"
#include "shell/app.h"
#include "shell/quit.h"

TEST(Quit, AnsweredNoStaysButKeepsSlotsAndSplitWritten) {
  ScriptedUi ui;
  MemoryProfile profile;
  App app(ui, profile);
  app.splitRatio = 0.65999;
  app.editor.colourSlots[3] = 17;
  ui.QueueAnswer(MsgAnswer::No);
  EXPECT_FALSE(ConfirmQuit(app));
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"All Unsaved data will be lost...\nAre you sure you want to quit?"}));
  EXPECT_EQ(ui.shown()[0].buttons, MsgButtons::YesNo);
  EXPECT_EQ(profile.GetInt("Preferences", "Splitter", 0), 6599);
  EXPECT_EQ(profile.GetInt("Colors", "Color-3", 0), 17);
  EXPECT_EQ(profile.GetInt("Colors", "Color-0", 0), 248);

  ui.QueueAnswer(MsgAnswer::Yes);
  app.splitRatio = 0.65;
  EXPECT_TRUE(ConfirmQuit(app));
  EXPECT_EQ(profile.GetInt("Preferences", "Splitter", 0), 6500);
}

TEST(Quit, QuickExitDoesNotAsk) {
  ScriptedUi ui;
  MemoryProfile profile;
  App app(ui, profile);
  profile.WriteInt("Preferences", "Quick Exit", 1);
  EXPECT_TRUE(ConfirmQuit(app));
  EXPECT_TRUE(ui.texts().empty());
}
