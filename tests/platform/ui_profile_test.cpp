#include <gtest/gtest.h>

#include <sstream>

#include "platform/headless_ui.h"
#include "platform/profile.h"
#include "support/scripted_ui.h"

TEST(MemoryProfile, DefaultsUntilWrittenAndRejectsNonNumbers) {
  MemoryProfile p;
  EXPECT_EQ(p.GetString("Project", "BaseDir", "Unknown"), "Unknown");
  EXPECT_EQ(p.GetInt("Preferences", "DirScan_Prompt", 2), 2);
  p.WriteInt("Preferences", "DirScan_Prompt", 0);
  EXPECT_EQ(p.GetInt("Preferences", "DirScan_Prompt", 2), 0);
  p.WriteString("Colors", "Slot0", "12x");
  EXPECT_EQ(p.GetInt("Colors", "Slot0", 248), 248);
  // Sections keep keys apart.
  p.WriteString("Project", "LoadDir", "/a");
  EXPECT_EQ(p.GetString("Preferences", "LoadDir", "d"), "d");
}

TEST(ScriptedUi, AnswersInOrderAndRecordsEveryText) {
  ScriptedUi ui;
  ui.QueueAnswer(MsgAnswer::No);
  ui.QueueFile("/x/a.md2", 2);
  EXPECT_EQ(ui.Message("first"), MsgAnswer::Ok);
  EXPECT_EQ(ui.Message("q?", MsgButtons::YesNo), MsgAnswer::No);
  EXPECT_EQ(ui.Message("again?", MsgButtons::YesNoCancel), MsgAnswer::Cancel);  // queue empty
  auto f = ui.FileDialog(FileDialogRequest{});
  ASSERT_TRUE(f);
  EXPECT_EQ(f->filterIndex, 2);
  EXPECT_FALSE(ui.FileDialog(FileDialogRequest{}));
  EXPECT_FALSE(ui.BrowseFolder("t"));
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"first", "q?", "again?"}));
  EXPECT_EQ(ui.folderTitles(), std::vector<std::string>{"t"});
}

TEST(HeadlessUi, PrintsMessagesAndNeverConfirms) {
  std::ostringstream err;
  HeadlessUi ui(err);
  EXPECT_EQ(ui.Message("Save changes to the current Mesh?", MsgButtons::YesNoCancel), MsgAnswer::No);
  EXPECT_EQ(ui.Message("plain"), MsgAnswer::Ok);
  EXPECT_FALSE(ui.FileDialog(FileDialogRequest{}));
  EXPECT_EQ(err.str(), "Save changes to the current Mesh?\nplain\n");
}
