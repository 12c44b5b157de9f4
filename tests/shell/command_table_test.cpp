#include <gtest/gtest.h>

#include <new>
#include <set>
#include <utility>

#include "editor/undo_step.h"
#include "platform/profile.h"
#include "support/notice_log.h"
#include "support/scripted_ui.h"
#include "shell/app.h"
#include "shell/command_table.h"

namespace {

const Command* Find(const std::vector<std::string>& menu, const std::string& label) {
  for (const Command& c : CommandTable())
    if (c.menu == menu && c.label == label) return &c;
  return nullptr;
}

}  // namespace

TEST(CommandTable, EveryMenuItemIsPresentWithItsKey) {
  struct Row {
    std::vector<std::string> menu;
    const char* label;
    const char* key;
    bool runs;
  };
  const std::vector<Row> rows = {
      {{"&File"}, "&Open...\tCtrl+O", "Ctrl+O", true},
      {{"&File"}, "Save &As...\tCtrl+A", "Ctrl+A", true},
      {{"&File", "&Companion"}, "&Hide\tH", "H", true},
      {{"&File"}, "E&xit", "", true},
      {{"&Options"}, "&Camera Toggle\tSpace", "Space", true},
      {{"&Options"}, "Line Brush\tShift+3", "Shift+3", true},
      {{"&Options"}, "Snapshot\tF12", "F12", true},
      {{"&Options"}, "&Benchmark\tF11", "F11", true},
      {{"&Options", "Environment Maps"}, "&Scan Folder", "", true},
      {{"&Skins"}, "&Open\tShift+O", "Shift+O", true},
      {{"&Skins"}, "&Move Up\tCtrl+Up", "Ctrl+Up", true},
      {{"&Skins"}, "R&eload\tF5", "F5", true},
      {{"&Skins", "Skin F/X..."}, "Load To Selected", "", true},
      {{"&Mapping"}, "90\xC2\xB0 Rotate Selected", "", true},
      {{"&Mapping", "&V-Link"}, "Begin Watch\tW", "W", true},
      {{"&Mapping", "&V-Link"}, "Transfer Mapping\tX", "X", true},
      {{"&Mapping", "&V-Link"}, "Sync Cameras", "", true},
      {{"M&esh"}, "&Hide Selected Faces\tCtrl+H", "Ctrl+H", true},
      {{"Se&lection"}, "Select &Connected\t\\", "\\", true},
      {{"&Views"}, "&Zoom 2D Extents\tShift+F1", "Shift+F1", true},
      {{"&Views"}, "Align B&ack\tShift+F7", "Shift+F7", true},
      {{"&About/Stats"}, "Model Stats...", "", true},
  };
  for (const Row& r : rows) {
    const Command* c = Find(r.menu, r.label);
    ASSERT_NE(c, nullptr) << r.label;
    EXPECT_EQ(c->key, r.key) << r.label;
    EXPECT_EQ(static_cast<bool>(c->run), r.runs) << r.label;
  }
  std::set<std::string> names;
  std::set<std::string> keys;
  for (const Command& c : CommandTable()) {
    EXPECT_TRUE(names.insert(c.name).second) << "name given twice: " << c.name;
    if (!c.key.empty()) {
      EXPECT_TRUE(keys.insert(c.key).second) << "key bound twice: " << c.key;
    }
    EXPECT_EQ(FindCommand(c.name), &c);
  }
}

TEST(CommandTable, ACommandIsFoundByItsMenuPathWithoutMarksOrKeyAndRuns) {
  const std::pair<const char*, const char*> cases[] = {
      {"File > Open...", "&Open...\tCtrl+O"},
      {"File > Companion > Open", "&Open"},
      {"Skins > Open", "&Open\tShift+O"},
      {"Mapping > V-Link > Begin Watch", "Begin Watch\tW"},
      {"Next colour", "Next colour"},
  };
  for (const auto& [name, label] : cases) {
    const Command* c = FindCommand(name);
    ASSERT_NE(c, nullptr) << name;
    EXPECT_EQ(c->label, label) << name;
  }
  ScriptedUi ui;
  MemoryProfile profile;
  App app(ui, profile);
  const bool before = app.editor.cameraToggle;
  ExecuteCommand(app, *FindCommand("Options > Camera Toggle"));
  EXPECT_NE(app.editor.cameraToggle, before);
}

TEST(CommandTable, CompanionItemsNeedACurrentCompanion) {
  ScriptedUi ui;
  MemoryProfile profile;
  App app(ui, profile);
  for (const char* label : {"&Close", "&Load Skin", "&Hide\tH", "&Offset"}) {
    const Command* c = Find({"&File", "&Companion"}, label);
    ASSERT_TRUE(c && c->enabled);
    EXPECT_FALSE(c->enabled(app)) << label;
  }
}

TEST(CommandTable, TogglesAndModesCheckAndRefresh) {
  ScriptedUi ui;
  MemoryProfile profile;
  App app(ui, profile);
  NoticeLog log{app.document.changes};
  const Command* camera = Find({"&Options"}, "&Camera Toggle\tSpace");
  ASSERT_TRUE(camera);
  EXPECT_TRUE(camera->checked(app));
  camera->run(app);
  EXPECT_FALSE(camera->checked(app));
  EXPECT_EQ(log.Count(kEverythingChanged), 1);

  const Command* mapping = Find({"&Options"}, "M&apping Mode\t2");
  mapping->run(app);
  mapping->run(app);  // already there: no second refresh
  EXPECT_EQ(app.editor.editMode, EditMode::Mapping);
  EXPECT_EQ(log.Count(kEverythingChanged), 2);

  const Command* pencil = Find({"&Options"}, "Pencil Brush\tShift+2");
  pencil->run(app);
  EXPECT_TRUE(pencil->checked(app));
  EXPECT_FALSE(Find({"&Options"}, "Point Brush\tShift+1")->checked(app));
}

TEST(CommandTable, ColourKeysStepTheActiveSlotAndWrap) {
  ScriptedUi ui;
  MemoryProfile profile;
  App app(ui, profile);
  NoticeLog log{app.document.changes};
  std::vector<PaneRedraw>& sent = log.sent;
  app.editor.activeSlot = 7;  // holds 0
  const Command* previous = nullptr;
  const Command* nextRow = nullptr;
  for (const Command& c : CommandTable()) {
    if (c.key == ",") previous = &c;
    if (c.key == "'") nextRow = &c;
  }
  ASSERT_TRUE(previous && nextRow);
  previous->run(app);
  EXPECT_EQ(app.editor.colourSlots[7], 255);
  nextRow->run(app);
  EXPECT_EQ(app.editor.colourSlots[7], 15);
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].panes, 0x28);
}

TEST(CommandTable, ACommandOutOfMemoryEndsWithAMessageAndItsChangesUndoable) {
  ScriptedUi ui;
  MemoryProfile profile;
  App app(ui, profile);
  app.model.SetTriangleCount(1);
  app.model.triangles[0].cornerMap[0] = {5.0f, 6.0f};
  Command c;
  c.label = "&Grow Everything\tCtrl+G";
  c.stepName = "Grow Everything";
  c.stepParts = STEP_MESH;
  c.run = [](App& a) {
    a.model.triangles[0].cornerMap[0] = {50.0f, 60.0f};
    throw std::bad_alloc();
  };
  ExecuteCommand(app, c);
  ASSERT_EQ(ui.texts().size(), 1u);
  EXPECT_EQ(ui.texts()[0], "There is not enough memory to finish \"Grow Everything\".");
  EXPECT_EQ(app.document.history.UndoName(), "Grow Everything");
  ASSERT_TRUE(app.document.Undo());
  EXPECT_EQ(app.model.triangles[0].cornerMap[0].s, 5.0f);
  EXPECT_EQ(app.model.triangles[0].cornerMap[0].t, 6.0f);
}
