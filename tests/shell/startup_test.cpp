#include <gtest/gtest.h>

#include <filesystem>

#include "image/image_files.h"
#include "image/new_skin.h"
#include "image/picture_builders.h"
#include "model/md2_builder.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "support/scripted_ui.h"
#include "support/shown.h"
#include "shell/app.h"
#include "shell/startup.h"
#include "support/test_support.h"

namespace {

// A base folder with an 8 x 8 quad model and skins of several sizes.
struct StartDesk {
  TempDir dir;
  FolderGuard guard;
  ScriptedUi ui;
  MemoryProfile profile;
  std::unique_ptr<App> app = std::make_unique<App>(ui, profile);
  std::string base;

  StartDesk() {
    base = dir.path() + "/base q2";
    std::filesystem::create_directories(base);
    profile.WriteString("Project", "BaseDir", base);
    profile.WriteInt("Preferences", "DirScan_Prompt", 1);  // no question for the skinless model
    WriteBytes(base + "/quad model.md2", QuadMd2().Bytes());
    WriteSkin("a.pcx", 8, 8, 10);
    WriteSkin("b.pcx", 8, 8, 20);
    WriteSkin("c.pcx", 8, 8, 30);
    WriteSkin("big.pcx", 16, 8, 40);
  }
  void WriteSkin(const std::string& name, int w, int h, std::uint8_t fill) {
    auto skin = MakeBlankSkin(name, w, h, GreyRampPalette());
    FillSkin(*skin, fill);
    ASSERT_TRUE(Shown(ui, WritePcx(*skin, base + "/" + name)));
  }
  std::string Q(const std::string& name) const { return "\"" + base + "/" + name + "\""; }
  std::vector<std::string> SkinNames() const {
    std::vector<std::string> names;
    for (const auto& s : app->model.skins) names.push_back(FileNamePart(s->path));
    return names;
  }
};

}  // namespace

TEST(StartupCommandLine, TokensSplitAtSpacesOutsideQuotes) {
  EXPECT_EQ(CommandLineTokens("skintool -md2 a.md2 \"my skins/b c.pcx\"  d.pcx"),
            (std::vector<std::string>{"a.md2", "my skins/b c.pcx", "d.pcx"}));
  EXPECT_TRUE(CommandLineTokens("skintool a.md2").empty());
  EXPECT_TRUE(CommandLineTokens("skintool -md2").empty());
  // A quote in the middle of a token only toggles the state.
  EXPECT_EQ(CommandLineTokens("-md2 x\"y z\"w"), (std::vector<std::string>{"xy zw"}));
  EXPECT_EQ(JoinCommandLine({"skintool", "-md2", "/a b/m.md2"}), "skintool -md2 \"/a b/m.md2\"");
}

TEST(StartupCommandLine, ModelAndTwoSkinsLeaveTheSecondCurrent) {
  StartDesk d;
  ASSERT_TRUE(RunModelStartup(*d.app, {"skintool -md2 " + d.Q("quad model.md2") + " " + d.Q("a.pcx") + " " +
                                           d.Q("b.pcx")}));
  App& app = *d.app;
  EXPECT_EQ(app.model.modelLoaded, 1);
  EXPECT_EQ(app.document.currentFile, d.base + "/quad model.md2");
  EXPECT_EQ(d.profile.GetString("Project", "CurFile", ""), d.base + "/quad model.md2");
  ASSERT_EQ(d.SkinNames(), (std::vector<std::string>{"a.pcx", "b.pcx"}));
  for (const auto& s : app.model.skins) EXPECT_TRUE(s->flags & SKIN_EXTERNAL);
  EXPECT_EQ(app.model.currentSkinIndex, 1);
  EXPECT_EQ(app.model.CurrentSkin(), app.model.skins[1].get());
  EXPECT_TRUE(d.ui.texts().empty());
  EXPECT_EQ(d.ui.dialogs().size(), 0u);  // no open dialog
  // The folders were settled and written back.
  EXPECT_EQ(d.profile.GetString("Project", "LoadDir", ""), d.base);
  EXPECT_EQ(d.profile.GetString("Project", "SaveDir", ""), d.base);
}

TEST(StartupCommandLine, WrongSizedSkinStopsTheRest) {
  StartDesk d;
  ASSERT_TRUE(RunModelStartup(*d.app, {"x -md2 " + d.Q("quad model.md2") + " " + d.Q("a.pcx") + " " +
                                           d.Q("big.pcx") + " " + d.Q("c.pcx")}));
  EXPECT_EQ(d.SkinNames(), (std::vector<std::string>{"a.pcx"}));
  EXPECT_EQ(d.ui.texts(), (std::vector<std::string>{"Error loading skin: Incorrect dimensions!"}));
}

TEST(StartupCommandLine, UnreadableSkinStopsTheRest) {
  StartDesk d;
  ASSERT_TRUE(RunModelStartup(*d.app, {"x -md2 " + d.Q("quad model.md2") + " " + d.Q("missing.pcx") + " " +
                                           d.Q("c.pcx")}));
  EXPECT_TRUE(d.app->model.skins.empty());
  ASSERT_FALSE(d.ui.texts().empty());
  EXPECT_EQ(d.ui.texts().back(), "Error loading skin from the command line!");
}

TEST(StartupCommandLine, SkinsArePicturesAsSkinsOpenTakesThem) {
  StartDesk d;
  WriteBytes(d.base + "/true.png", BuildRgbaPng(8, 8, std::vector<std::uint8_t>(8 * 8 * 4, 200)));
  ASSERT_TRUE(RunModelStartup(*d.app, {"x -md2 " + d.Q("quad model.md2") + " " + d.Q("true.png") + " " + d.Q("a.pcx")}));
  EXPECT_EQ(d.SkinNames(), (std::vector<std::string>{"true.png", "a.pcx"}));
  EXPECT_TRUE(d.ui.texts().empty());
}

TEST(StartupCommandLine, FailedModelFallsBackToLastFileThenDialog) {
  StartDesk d;
  d.profile.WriteString("Project", "CurFile", d.base + "/quad model.md2");
  ASSERT_TRUE(RunModelStartup(*d.app, {"x -md2 " + d.Q("nothing.md2") + " " + d.Q("a.pcx")}));
  ASSERT_FALSE(d.ui.texts().empty());
  EXPECT_EQ(d.ui.texts().back(), "There was an error loading from the command line!");
  // The skins after a failed model are ignored; "CurFile" loaded instead.
  EXPECT_TRUE(d.app->model.skins.empty());
  EXPECT_EQ(d.app->model.modelLoaded, 1);
  EXPECT_EQ(d.app->document.currentFile, d.base + "/quad model.md2");
}

TEST(StartupModel, NothingToLoadAndCancelledDialogQuits) {
  StartDesk d;
  d.ui.QueueFileCancel();
  EXPECT_FALSE(RunModelStartup(*d.app, {"skintool"}));
  EXPECT_EQ(d.ui.dialogs().size(), 1u);
  EXPECT_TRUE(d.ui.texts().empty());  // quits without a word
  EXPECT_EQ(d.app->model.modelLoaded, 0);
}

TEST(StartupModel, CtrlSkipsCommandLineAndLastFile) {
  StartDesk d;
  d.profile.WriteString("Project", "CurFile", d.base + "/quad model.md2");
  d.ui.QueueFile(d.base + "/quad model.md2");
  ASSERT_TRUE(RunModelStartup(*d.app, {"x -md2 " + d.Q("quad model.md2") + " " + d.Q("a.pcx"), true}));
  EXPECT_EQ(d.ui.dialogs().size(), 1u);  // the open dialog was shown
  EXPECT_TRUE(d.app->model.skins.empty());
  EXPECT_FALSE(IntroWanted(*d.app, true));
  EXPECT_TRUE(IntroWanted(*d.app, false));
  d.profile.WriteInt("Preferences", "Skip Intro", 1);
  EXPECT_FALSE(IntroWanted(*d.app, false));
}

TEST(StartupFolders, AsksForBaseFolderUntilUsable) {
  StartDesk d;
  d.profile.WriteString("Project", "BaseDir", "Unknown");
  d.profile.WriteString("Project", "LoadDir", d.base + "/gone");
  d.ui.QueueFolder(d.base + "/not there");
  d.ui.QueueFolder(d.base);
  ASSERT_TRUE(SettleStartupFolders(*d.app));
  EXPECT_EQ(d.ui.texts(), (std::vector<std::string>{"That folder is not valid,\nPlease choose another"}));
  EXPECT_EQ(d.ui.folderTitles().front(), "Please locate the 'baseq2' folder under Quake2");
  EXPECT_EQ(d.app->baseFolder, d.base);
  EXPECT_EQ(d.app->loadFolder, d.base);  // unusable load folder falls back
  EXPECT_EQ(d.profile.GetString("Project", "BaseDir", ""), d.base);
  EXPECT_EQ(d.profile.GetString("Project", "LoadDir", ""), d.base);
}

TEST(StartupFolders, CancelOfTheBaseFolderQuestionEndsTheStart) {
  StartDesk d;
  d.profile.WriteString("Project", "BaseDir", "Unknown");
  d.ui.QueueFolder(std::nullopt);
  d.ui.QueueFolder(d.base);
  EXPECT_FALSE(SettleStartupFolders(*d.app));
  EXPECT_EQ(d.ui.folderTitles().size(), 1u);
  EXPECT_TRUE(d.ui.texts().empty());
}

TEST(StartupSettings, ColourSlotsAndSplitFromProfile) {
  StartDesk d;
  d.profile.WriteInt("Colors", "Color-0", 7);
  d.profile.WriteInt("Colors", "Color-7", 300);  // off the palette: kept on it
  d.profile.WriteInt("Preferences", "CustomCursors", 0);
  d.profile.WriteInt("Preferences", "Splitter", 4000);
  ReadStartupSettings(*d.app);
  ReadSplitRatio(*d.app);
  EXPECT_EQ(d.app->editor.colourSlots[0], 7);
  EXPECT_EQ(d.app->editor.colourSlots[1], 64);  // default
  EXPECT_EQ(d.app->editor.colourSlots[7], 255);
  EXPECT_FALSE(d.app->editor.customCursors);
  EXPECT_DOUBLE_EQ(d.app->splitRatio, 0.4);
}
