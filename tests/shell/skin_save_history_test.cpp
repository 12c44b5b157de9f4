#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "image/new_skin.h"
#include "platform/profile.h"
#include "shell/app.h"
#include "shell/command_table.h"
#include "shell/quit.h"
#include "shell/skin_commands.h"
#include "support/model_bytes.h"
#include "support/scripted_ui.h"
#include "support/test_support.h"

namespace {

// A base folder and a model with 8 x 8 skins.
struct Desk {
  TempDir dir;
  FolderGuard guard;
  ScriptedUi ui;
  MemoryProfile profile;
  std::unique_ptr<App> app = std::make_unique<App>(ui, profile);
  std::string base = dir.path() + "/baseq2";

  Desk() {
    std::filesystem::create_directories(base + "/models");
    app->baseFolder = app->loadFolder = app->saveFolder = base;
    app->model.skinWidth = app->model.skinHeight = 8;
  }
  // A linked skin has its file below the base folder; an external one none.
  Skin& Add(const std::string& name, bool linked, std::uint8_t fill) {
    auto s = MakeBlankSkin(name, 8, 8, GreyRampPalette());
    FillSkin(*s, fill);
    s->storedPixels = s->pixels;
    s->flags = linked ? 0 : SKIN_EXTERNAL;
    if (linked) {
      s->path = base + "/" + name;
      s->hasFile = 1;
    }
    Skin& ref = *s;
    app->model.skins.push_back(std::move(s));
    Select(static_cast<int>(app->model.skins.size()) - 1);
    SettleSkinList(*app);  // as the list bar leaves every skin
    return ref;
  }
  void Select(int i) {
    app->model.currentSkinIndex = static_cast<std::int16_t>(i);
  }
  // One texel, as a pencil stroke records it.
  void Stroke(int texel, std::uint8_t colour) {
    DocumentStep step(app->document, "Pencil Stroke", STEP_CURRENT_SKIN);
    app->model.CurrentSkin()->pixels[static_cast<std::size_t>(texel)] = colour;
  }
  void Run(const char* label) { ExecuteCommand(*app, *FindCommandByLabel(label)); }
  void Undo() { Run("&Undo\tAlt+Backspace"); }
  void Redo() { Run("&Redo\tCtrl+Y"); }
  std::string UndoLabel() const { return CommandLabel(*app, *FindCommandByLabel("&Undo\tAlt+Backspace")); }
  std::vector<int> Changed() const { return app->document.ChangedSkins(); }
};

// Names and paths are kept with backslashes.
std::string Backslashed(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

}  // namespace

TEST(SkinSaveHistory, ASaveIsNoStepAndUndoAroundItKeepsTheSavedName) {
  enum Kind { Save, SaveAs, Link };
  struct Case {
    Kind kind;
    bool linked;
    const char* savedName;
  } cases[] = {{Save, true, "models\\a.pcx"}, {SaveAs, false, "/models/b.pcx"}, {Link, false, "models\\c.pcx"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.savedName);
    Desk d;
    Skin& s = d.Add(c.linked ? "models/a.pcx" : "newskin", c.linked, 5);
    d.Stroke(1, 11);
    d.Stroke(2, 22);
    switch (c.kind) {
      case Save:
        OnSkinSave(*d.app);
        break;
      case SaveAs:
        d.ui.QueueFile(d.base + "/models/b.pcx", 2);
        OnSkinSaveAs(*d.app);
        break;
      case Link:
        d.ui.QueueFile(d.base + "/models/c.pcx", 1);
        d.Run("&Link\tShift+L");
        break;
    }
    const std::string name = c.kind == SaveAs ? Backslashed(d.base + c.savedName) : c.savedName;
    ASSERT_EQ(s.name, name);
    const std::vector<std::uint8_t> saved = s.pixels;
    EXPECT_EQ(s.storedPixels, saved);
    EXPECT_TRUE(d.Changed().empty());
    EXPECT_EQ(d.UndoLabel(), "&Undo Pencil Stroke\tAlt+Backspace");
    EXPECT_EQ(d.app->document.history.size(), 2u);

    // Undo takes back the edits, never the save: the name, the file and what
    // Revert returns to stay those of the file written.
    d.Undo();
    EXPECT_EQ(s.pixels[2], 5);
    EXPECT_EQ(d.Changed(), std::vector<int>{0});
    d.Undo();
    EXPECT_EQ(s.pixels[1], 5);
    EXPECT_FALSE(d.app->document.history.CanUndo());
    EXPECT_EQ(s.name, name);
    EXPECT_EQ(s.hasFile, 1);
    EXPECT_EQ(s.storedPixels, saved);
    d.Redo();
    d.Redo();
    EXPECT_EQ(s.pixels, saved);
    EXPECT_TRUE(d.Changed().empty());

    // An edit undone back to what the file holds leaves nothing to save.
    d.Stroke(3, 33);
    EXPECT_EQ(d.Changed(), std::vector<int>{0});
    d.Undo();
    EXPECT_TRUE(d.Changed().empty());
  }
}

TEST(SkinSaveHistory, StepsOnTheSkinsLinkMovesStillApplyAtTheirNewPlaces) {
  Desk d;
  d.Add("models/l.pcx", true, 1);
  Skin& e = d.Add("/elsewhere/e.pcx", false, 2);
  Skin& x = d.Add("newskin", false, 3);
  d.Select(1);
  d.Stroke(0, 20);
  d.Select(2);
  d.Stroke(0, 30);
  d.ui.QueueFile(d.base + "/models/x.pcx", 1);
  d.Run("&Link\tShift+L");
  ASSERT_EQ(d.app->model.skins[1].get(), &x);
  ASSERT_EQ(d.app->model.skins[2].get(), &e);
  const auto linked = ModelBytes(d.app->model);

  d.Undo();
  EXPECT_EQ(x.pixels[0], 3);
  d.Undo();
  EXPECT_EQ(e.pixels[0], 2);
  EXPECT_EQ(d.app->model.skins[1].get(), &x);
  EXPECT_EQ(x.flags & SKIN_EXTERNAL, 0u);
  d.Redo();
  d.Redo();
  EXPECT_EQ(ModelBytes(d.app->model), linked);
  EXPECT_EQ(d.app->document.history.size(), 2u);
}

TEST(Quit, NoSkinQuestionAfterSaveAsAndThenLink) {
  Desk d;
  d.Add("newskin", false, 4);
  d.Stroke(0, 9);
  d.ui.QueueFile(d.base + "/models/n.pcx", 2);
  OnSkinSaveAs(*d.app);
  d.ui.QueueFile(d.base + "/models/n.pcx", 1);
  d.Run("&Link\tShift+L");
  d.profile.WriteInt("Preferences", "Quick Exit", 1);
  d.ui.Clear();
  EXPECT_TRUE(ConfirmQuit(*d.app));
  EXPECT_TRUE(d.ui.texts().empty());
}
