#include <gtest/gtest.h>

#include <deque>

#include "image/image_files.h"
#include "model/companion.h"
#include "model/md2_builder.h"
#include "platform/profile.h"
#include "support/scripted_services.h"
#include "support/notice_log.h"
#include "support/scripted_ui.h"
#include "shell/app.h"
#include "shell/companion_commands.h"
#include "shell/view_commands.h"
#include "support/test_support.h"

namespace {

class ScriptedOffsetDialog : public CompanionOffsetDialog {
 public:
  std::deque<std::optional<CompanionOffset>> answers;
  std::vector<CompanionOffset> shown;
  std::optional<CompanionOffset> Ask(const CompanionOffset& initial) override {
    shown.push_back(initial);
    if (answers.empty()) return std::nullopt;
    auto a = answers.front();
    answers.pop_front();
    return a;
  }
};

void WriteSkin(const std::string& path, int w, int h, std::uint8_t fill) {
  Skin s;
  s.width = static_cast<std::int16_t>(w);
  s.height = static_cast<std::int16_t>(h);
  s.pixels.assign(static_cast<std::size_t>(w) * h, fill);
  WriteBytes(path, EncodePcx(s));
}

struct CompanionFixture : ::testing::Test {
  TempDir dir;
  FolderGuard guard;
  ScriptedUi ui;
  MemoryProfile profile;
  App app{ui, profile};
  NoticeLog log{app.document.changes};
  ScriptedOffsetDialog offsets;

  CompanionFixture() {
    app.baseFolder = dir.path();
    app.loadFolder = dir.path();
    app.services = ScriptedServices(offsets);
    TestMd2 m = QuadMd2();  // 8 x 8 skin
    WriteBytes(dir.File("plain.md2"), m.Bytes());
    m.skins = {"skin.pcx"};
    WriteBytes(dir.File("skinned.md2"), m.Bytes());
    WriteSkin(dir.File("skin.pcx"), 8, 8, 77);
    WriteSkin(dir.File("wide.pcx"), 16, 8, 88);
  }

  // Opens a companion whose file names no skin, cancelling the skin dialog.
  void OpenPlain() {
    ui.QueueFile(dir.File("plain.md2"));
    ui.QueueFileCancel();
    OnCompanionOpen(app);
  }
};

}  // namespace

TEST_F(CompanionFixture, OpenWithANamedSkinAsksOnce) {
  ui.QueueFile(dir.File("skinned.md2"));
  OnCompanionOpen(app);
  ASSERT_EQ(ui.dialogs().size(), 1u);
  EXPECT_EQ(ui.dialogs()[0].filter, "Quake2 Model (*.md2)|*.md2|All Files (*.*)|*.*||");
  EXPECT_EQ(ui.dialogs()[0].initialName, "*.md2");
  ASSERT_EQ(app.model.companions.size(), 1u);
  EXPECT_EQ(app.model.currentCompanionIndex, 0);
  Companion* c = app.model.CurrentCompanion();
  ASSERT_EQ(c, app.model.companions[0].get());
  EXPECT_EQ(c->name, dir.File("skinned.md2"));
  EXPECT_EQ(c->skinPixels[0], 77);
  EXPECT_EQ(log.Count(kEverythingChanged), 1);
  EXPECT_TRUE(ui.texts().empty());
}

TEST_F(CompanionFixture, OpenWithoutASkinOffersOneOrTheChequer) {
  ui.QueueFile(dir.File("plain"));  // ".md2" is added
  ui.QueueFile(dir.File("skin"));   // ".pcx" is added
  OnCompanionOpen(app);
  ASSERT_EQ(ui.dialogs().size(), 2u);
  EXPECT_EQ(ui.dialogs()[1].filter, "Mesh Skin (*.pcx)|*.pcx|All Files (*.*)|*.*||");
  EXPECT_EQ(ui.dialogs()[1].initialName, "*.pcx");
  ASSERT_EQ(app.model.companions.size(), 1u);
  EXPECT_EQ(app.model.companions[0]->skinPixels[5], 77);
  EXPECT_EQ(profile.GetString("Project", "LoadDir", ""), dir.path());

  ui.QueueFile(dir.File("plain.md2"));
  ui.QueueFile(dir.File("wide.pcx"));
  OnCompanionOpen(app);
  ASSERT_EQ(ui.texts().size(), 1u);
  EXPECT_EQ(ui.texts()[0], "This skin does not fit this model!");
  EXPECT_EQ(app.model.companions[1]->skinPixels[0], 64);  // placeholder
  EXPECT_EQ(app.model.currentCompanionIndex, 1);

  OpenPlain();  // Cancel: the placeholder without a word
  EXPECT_EQ(ui.texts().size(), 1u);
  EXPECT_EQ(app.model.companions[2]->skinPixels[4], 192);
}

TEST_F(CompanionFixture, OpenFailuresAddNothing) {
  ui.QueueFileCancel();
  OnCompanionOpen(app);
  ui.QueueFile(dir.File("nowhere.md2"));
  OnCompanionOpen(app);
  WriteBytes(dir.File("bad.md2"), {'I', 'D', 'P', '2', 1, 2, 3});
  ui.QueueFile(dir.File("bad.md2"));
  OnCompanionOpen(app);
  auto big = QuadMd2().Bytes();
  SetMd2Field(big, kFieldNumXyz, 5000);
  WriteBytes(dir.File("big.md2"), big);
  ui.QueueFile(dir.File("big.md2"));
  OnCompanionOpen(app);
  ASSERT_EQ(ui.texts().size(), 3u);
  EXPECT_EQ(ui.texts()[0], "There was an error loading the specified file!\n" + dir.File("nowhere.md2"));
  EXPECT_EQ(ui.texts()[1].rfind("The companion could not be opened.\n", 0), 0u);
  EXPECT_NE(ui.texts()[2].find("4096"), std::string::npos);
  EXPECT_TRUE(app.model.companions.empty());
  EXPECT_EQ(app.model.CurrentCompanion(), nullptr);
  EXPECT_EQ(log.Count(kEverythingChanged), 0);
}

TEST_F(CompanionFixture, CloseChoosesTheNextCurrent) {
  OpenPlain();
  OnCompanionClose(app);  // the only one
  EXPECT_TRUE(app.model.companions.empty());
  EXPECT_EQ(app.model.currentCompanionIndex, -1);
  EXPECT_FALSE(HasCurrentCompanion(app));
  OnCompanionClose(app);  // nothing to close
  EXPECT_EQ(app.model.currentCompanionIndex, -1);

  OpenPlain();
  OpenPlain();
  OpenPlain();
  Companion* second = app.model.companions[1].get();
  app.model.currentCompanionIndex = 0;
  OnCompanionClose(app);  // the first of three: the former second
  EXPECT_EQ(app.model.currentCompanionIndex, 0);
  EXPECT_EQ(app.model.CurrentCompanion(), second);

  app.model.currentCompanionIndex = 1;
  OnCompanionClose(app);  // the last: the new last
  EXPECT_EQ(app.model.currentCompanionIndex, 0);
  EXPECT_EQ(app.model.CurrentCompanion(), second);
  ASSERT_EQ(app.model.companions.size(), 1u);
}

TEST_F(CompanionFixture, HideShowFlipsAndRenamesTheItem) {
  EXPECT_EQ(CompanionHideItemText(app), "&Hide\tH");
  OnCompanionHideShow(app);  // no companion: nothing
  OpenPlain();
  OnCompanionHideShow(app);
  EXPECT_EQ(app.model.CurrentCompanion()->hidden, 1);
  EXPECT_EQ(CompanionHideItemText(app), "&Show\tH");
  OnCompanionHideShow(app);
  EXPECT_EQ(app.model.CurrentCompanion()->hidden, 0);
  EXPECT_EQ(CompanionHideItemText(app), "&Hide\tH");
}

TEST_F(CompanionFixture, LoadSkinReplacesOrFallsBack) {
  OpenPlain();
  Companion* c = app.model.CurrentCompanion();
  ui.QueueFile(dir.File("skin.pcx"));
  OnCompanionLoadSkin(app);
  EXPECT_EQ(c->skinPixels[0], 77);
  ui.QueueFileCancel();
  OnCompanionLoadSkin(app);  // Cancel keeps what is shown
  EXPECT_EQ(c->skinPixels[0], 77);
  ui.QueueFile(dir.File("wide.pcx"));
  OnCompanionLoadSkin(app);
  EXPECT_EQ(ui.texts().back(), "This skin does not fit this model!");
  EXPECT_EQ(c->skinPixels[0], 64);
  EXPECT_EQ(log.Count(kCompanionChanged), 3);
}

TEST_F(CompanionFixture, OffsetDialogWritesBackOnOk) {
  OnCompanionOffset(app);  // no companion: no dialog
  EXPECT_TRUE(offsets.shown.empty());
  OpenPlain();
  Companion* c = app.model.CurrentCompanion();
  offsets.answers.push_back(CompanionOffset{1.5f, -2, 30});
  OnCompanionOffset(app);
  EXPECT_EQ(c->offsetX, 1.5f);
  EXPECT_EQ(c->offsetY, -2.0f);
  EXPECT_EQ(c->offsetZ, 30.0f);
  EXPECT_EQ(log.Count(kCompanionChanged), 1);
  OnCompanionOffset(app);  // Cancel
  ASSERT_EQ(offsets.shown.size(), 2u);
  EXPECT_EQ(offsets.shown[1].x, 1.5f);
  EXPECT_EQ(offsets.shown[1].z, 30.0f);
  EXPECT_EQ(c->offsetX, 1.5f);
  EXPECT_EQ(log.Count(kCompanionChanged), 1);
  EXPECT_EQ(FormatOffset(1.0f / 3.0f), "0.333333");
  EXPECT_EQ(FormatOffset(-2.0f), "-2");
}

TEST_F(CompanionFixture, ViewCommands) {
  OnLockLight(app);
  EXPECT_TRUE(IsLockLightChecked(app));
  OnLockLight(app);
  EXPECT_FALSE(IsLockLightChecked(app));
  app.viewport.pan[0] = 4;
  OnAlignBack(app);
  EXPECT_EQ(app.viewport.rotation.m[0][0], -1);
  EXPECT_EQ(app.viewport.pan[0], 4);
  EXPECT_EQ(log.Count(kEverythingChanged), 1);
  OnCenterOnScene(app);  // no frame: nothing, no refresh
  OnCenterOnSelected(app);
  EXPECT_EQ(app.viewport.pan[0], 4);
  EXPECT_EQ(log.Count(kEverythingChanged), 1);
}

TEST_F(CompanionFixture, ShadeRampsFollowTheSkinPaletteAndSlots) {
  app.editor.colourSlots[1] = 10;
  app.lighting.shadeExponent = 2.0;
  BuildLightCurve(app.lighting);
  BuildShadeRampsFor(app);  // no skin: slot 1 is grey 10
  EXPECT_EQ(app.lighting.shadeRamps[0][63][0], 9);  // 10 * 249 / 256 = 9.7
  auto skin = std::make_unique<Skin>();
  skin->palette[30] = 200;  // entry 10 = (200, 0, 0)
  app.model.skins.push_back(std::move(skin));
  app.model.currentSkinIndex = 0;
  BuildShadeRampsFor(app);
  EXPECT_EQ(app.lighting.shadeRamps[0][32][0], 50);  // 200 * 64 / 256
  EXPECT_EQ(app.lighting.shadeRamps[0][32][1], 0);
  app.model.currentSkinIndex = -1;
}
