#include <gtest/gtest.h>

#include "platform/profile.h"
#include "support/scripted_ui.h"
#include "shell/app.h"
#include "shell/command_table.h"
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

TEST(Quit, SelectionAndHiddenFacesLeaveNoMeshToSave) {
  struct Case {
    std::vector<const char*> commands;
    bool asks;
  } cases[] = {
      {{"&Select All\tShift+C"}, false},
      {{"&Select All\tShift+C", "&Hide Selected Faces\tCtrl+H"}, false},
      {{"&Invert Selection\tI", "&Hide Selected Faces\tCtrl+H", "&Unhide All\tShift+H", "Select &None\tC"}, false},
      {{"&Select All\tShift+C", "Flip Selected Faces"}, true},
  };
  for (const Case& c : cases) {
    ScriptedUi ui;
    MemoryProfile profile;
    App app(ui, profile);
    profile.WriteInt("Preferences", "Quick Exit", 1);
    Model& m = app.model;
    m.modelLoaded = 1;
    m.SetVertexCount(4);
    m.SetMapVertexCount(4);
    m.SetTriangleCount(2);
    const std::int16_t corners[2][3] = {{0, 1, 2}, {0, 2, 3}};
    for (int t = 0; t < 2; ++t)
      for (int k = 0; k < 3; ++k)
        m.triangles[t].vertexIndex[k] = m.triangles[t].mapIndex[k] = corners[t][k];
    for (int v = 0; v < 4; ++v) m.mapVertices[v] = {static_cast<float>(v * 3), static_cast<float>(v)};
    m.WeldMapVertices(1);
    for (const char* label : c.commands) ExecuteCommand(app, *FindCommandByLabel(label));
    // Every one of them stays undoable.
    EXPECT_EQ(app.document.history.size(), c.commands.size());
    ui.QueueAnswer(MsgAnswer::No);
    EXPECT_TRUE(ConfirmQuit(app));
    EXPECT_EQ(ui.texts(), c.asks ? std::vector<std::string>{kSaveMeshText} : std::vector<std::string>{})
        << c.commands.back();
  }
}
