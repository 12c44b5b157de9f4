#include <gtest/gtest.h>

#include <filesystem>

#include "image/image_files.h"
#include "model/md2_builder.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "support/notice_log.h"
#include "support/scripted_ui.h"
#include "shell/app.h"
#include "shell/command_table.h"
#include "shell/file_commands.h"
#include "shell/quit.h"
#include "shell/skin_commands.h"
#include "support/test_support.h"

namespace {

constexpr char kSaveChanges[] = "Save changes to the current Mesh?";
constexpr char kOutsideBase[] = "You are not saving below your base folder,\nare you sure you want to continue??";
constexpr char kInvalidFolder[] = "That folder is not valid";

// An application with a base folder holding models/quad.md2 (and nothing loaded).
struct Desk {
  TempDir dir;
  FolderGuard guard;
  ScriptedUi ui;
  MemoryProfile profile;
  std::unique_ptr<App> app = std::make_unique<App>(ui, profile);
  NoticeLog log{app->document.changes};
  std::string models;
  std::string quad;

  Desk() {
    app->baseFolder = dir.path() + "/baseq2";
    models = app->baseFolder + "/models";
    std::filesystem::create_directories(models);
    quad = models + "/quad.md2";
    WriteBytes(quad, QuadMd2().Bytes());
    profile.WriteInt("Preferences", "DirScan_Prompt", 1);
  }
  void Open(const std::string& path) {
    ui.QueueFile(path);
    OpenCommand(*app);
  }
};

}  // namespace

TEST(OpenCommand, LoadsTheChosenFileAndRemembersItsFolder) {
  Desk d;
  d.app->loadFolder = "/start/here";
  d.Open(d.quad);
  ASSERT_EQ(d.ui.dialogs().size(), 1u);
  const FileDialogRequest& r = d.ui.dialogs()[0];
  EXPECT_FALSE(r.save);
  EXPECT_EQ(r.filter, "Quake2 Model (*.md2)|*.md2|All Files (*.*)|*.*||");
  EXPECT_EQ(r.initialName, "*.md2");
  EXPECT_EQ(r.initialFolder, "/start/here");
  EXPECT_EQ(d.app->model.modelLoaded, 1);
  EXPECT_EQ(d.app->loadFolder, d.models);
  EXPECT_EQ(d.profile.GetString("Project", "LoadDir", ""), d.models);
  EXPECT_EQ(d.app->document.currentFile, d.quad);
  EXPECT_EQ(d.profile.GetString("Project", "CurFile", ""), d.quad);
  EXPECT_EQ(d.log.Count(kEverythingChanged), 1);
  EXPECT_TRUE(d.ui.texts().empty());
}

TEST(OpenCommand, AppendsTheExtensionOnlyToPathsWithoutAnyDot) {
  Desk d;
  d.Open(d.models + "/quad");
  EXPECT_EQ(d.app->document.currentFile, d.quad);
  // A dotted folder name counts as a dot: nothing is appended, and no such file.
  std::filesystem::create_directories(d.dir.path() + "/my.dir");
  WriteBytes(d.dir.path() + "/my.dir/a.md2", QuadMd2().Bytes());
  d.ui.QueueAnswer(MsgAnswer::No);
  d.Open(d.dir.path() + "/my.dir/a");
  EXPECT_EQ(d.ui.texts().back(), "There was an error loading the specified file!\n" + d.dir.path() + "/my.dir/a");
  EXPECT_EQ(d.app->document.currentFile, d.quad);
}

TEST(OpenCommand, CancelOfTheSaveQuestionLeavesEverything) {
  Desk d;
  d.Open(d.quad);
  std::string other = d.models + "/other.md2";
  TestMd2 t = QuadMd2();
  t.tris.pop_back();
  WriteBytes(other, t.Bytes());
  d.ui.QueueAnswer(MsgAnswer::Cancel);
  d.Open(other);
  EXPECT_EQ(d.ui.texts(), std::vector<std::string>{kSaveChanges});
  EXPECT_EQ(d.ui.shown()[0].buttons, MsgButtons::YesNoCancel);
  EXPECT_EQ(d.app->model.TriangleCount(), 2);
  EXPECT_EQ(d.app->document.currentFile, d.quad);
  EXPECT_EQ(d.log.Count(kEverythingChanged), 1);

  // Yes saves the current model first, then opens the other one.
  d.app->model.mapVertices[1] = {5, 0};
  d.app->model.WeldMapVertices(1);
  d.ui.QueueAnswer(MsgAnswer::Yes);
  d.Open(other);
  EXPECT_EQ(d.app->model.TriangleCount(), 1);
  EXPECT_EQ(d.app->document.currentFile, other);
  EXPECT_EQ(ReadBytes(d.quad)[68 + 4], 5);  // s of mapping vertex 1 as edited
}

TEST(OpenCommand, ADamagedFileKeepsTheCurrentOne) {
  Desk d;
  d.Open(d.quad);
  std::string bad = d.models + "/bad.md2";
  WriteBytes(bad, {'I', 'D', 'P', '2'});
  d.ui.QueueAnswer(MsgAnswer::No);
  d.Open(bad);
  EXPECT_EQ(d.ui.texts().size(), 2u);
  EXPECT_EQ(d.app->document.currentFile, d.quad);
  EXPECT_EQ(d.app->model.TriangleCount(), 2);
  EXPECT_EQ(d.log.Count(kEverythingChanged), 2);
}

TEST(OpenCommand, UnusableFolderFallsBackToTheRememberedOneThenTheBase) {
  Desk d;
  d.ui.QueueFile("nofolder.md2");  // no folder part at all
  OpenCommand(*d.app);
  EXPECT_EQ(d.app->loadFolder, d.app->baseFolder);
  d.profile.WriteString("Project", "LoadDir", d.models);
  d.ui.QueueFile("nofolder.md2");
  OpenCommand(*d.app);
  EXPECT_EQ(d.app->loadFolder, d.models);
  EXPECT_EQ(d.profile.GetString("Project", "LoadDir", ""), d.models);
}

TEST(SaveCommand, WritesTheCurrentFileOrSaysItFailed) {
  Desk d;
  SaveCommand(*d.app);  // nothing loaded: nothing to do
  EXPECT_TRUE(d.ui.texts().empty());
  d.Open(d.quad);
  d.app->model.mapVertices[2] = {3, 3};
  d.app->model.WeldMapVertices(1);
  SaveCommand(*d.app);
  EXPECT_EQ(ReadBytes(d.quad)[68 + 8], 3);
  d.app->document.currentFile = d.dir.path() + "/gone/x.md2";
  SaveCommand(*d.app);
  EXPECT_EQ(d.ui.texts(), (std::vector<std::string>{"Error Saving: 2 (No such file or directory)\n" + d.dir.path() + "/gone/x.md2", "An error occured while trying to save =["}));
}

TEST(SaveAsCommand, BelowTheBaseFolderSavesWithoutAsking) {
  Desk d;
  d.Open(d.quad);
  d.app->saveFolder = "/was/here";
  d.ui.QueueFile(d.models + "/copy");
  SaveAsCommand(*d.app);
  const FileDialogRequest& r = d.ui.dialogs().back();
  EXPECT_TRUE(r.save);
  EXPECT_EQ(r.filter, "Quake2 MD2 (*.md2)|*.md2|All Files (*.*)|*.*||");
  EXPECT_EQ(r.initialFolder, "/was/here");
  EXPECT_TRUE(d.ui.texts().empty());
  EXPECT_EQ(ReadBytes(d.models + "/copy.md2"), QuadMd2().Bytes());
  EXPECT_EQ(d.app->document.currentFile, d.models + "/copy.md2");
  EXPECT_EQ(d.profile.GetString("Project", "CurFile", ""), d.models + "/copy.md2");
  EXPECT_EQ(d.app->saveFolder, d.models);
  EXPECT_EQ(d.profile.GetString("Project", "SaveDir", ""), d.models);
  EXPECT_EQ(d.log.Count(kEverythingChanged), 1);  // saving does not refresh
}

TEST(SaveAsCommand, OutsideTheBaseFolderAsksFirst) {
  Desk d;
  d.Open(d.quad);
  std::string outside = d.dir.File("elsewhere.md2");
  d.ui.QueueFile(outside);
  d.ui.QueueAnswer(MsgAnswer::No);
  SaveAsCommand(*d.app);
  EXPECT_EQ(d.ui.texts(), std::vector<std::string>{kOutsideBase});
  EXPECT_EQ(d.ui.shown()[0].buttons, MsgButtons::YesNo);
  EXPECT_FALSE(FileExists(outside));
  EXPECT_EQ(d.app->document.currentFile, d.quad);

  d.ui.QueueFile(outside);
  d.ui.QueueAnswer(MsgAnswer::Yes);
  SaveAsCommand(*d.app);
  EXPECT_TRUE(FileExists(outside));
  EXPECT_EQ(d.app->document.currentFile, outside);
}

TEST(SaveAsCommand, BaseFolderComparisonIsCaseSensitive) {
  Desk d;
  d.Open(d.quad);
  std::string base = d.app->baseFolder;
  std::string upper = base.substr(0, base.size() - 6) + "BASEQ2";
  std::filesystem::create_directories(upper);
  d.ui.QueueFile(upper + "/x.md2");
  d.ui.QueueAnswer(MsgAnswer::No);
  SaveAsCommand(*d.app);
  EXPECT_EQ(d.ui.texts(), std::vector<std::string>{kOutsideBase});
}

TEST(SaveAsCommand, AFailedSaveKeepsTheCurrentFile) {
  Desk d;
  d.Open(d.quad);
  std::string target = d.app->baseFolder + "/missing/x.md2";
  d.ui.QueueFile(target);
  SaveAsCommand(*d.app);
  EXPECT_EQ(d.ui.texts(), (std::vector<std::string>{"Error Saving: 2 (No such file or directory)\n" + target, "An error occured while attempting to save!"}));
  EXPECT_EQ(d.app->document.currentFile, d.quad);
  EXPECT_EQ(d.profile.GetString("Project", "CurFile", ""), d.quad);
}

namespace {

// Desk with quad.md2 open and one painted external skin that has a file.
struct PaintedDesk : Desk {
  std::string skinPath;
  PaintedDesk() {
    Open(quad);
    skinPath = dir.path() + "/paint.pcx";
    auto skin = std::make_unique<Skin>();
    skin->width = app->model.skinWidth;
    skin->height = app->model.skinHeight;
    skin->pixels.assign(static_cast<std::size_t>(skin->width * skin->height), 7);
    skin->storedPixels = skin->pixels;
    skin->name = skin->path = skinPath;
    skin->hasFile = 1;
    skin->flags = SKIN_EXTERNAL;
    skin->modified = true;
    AppendSkin(*app, std::move(skin));
    ui.Clear();
  }
  int SkinCount() const { return static_cast<int>(app->model.skins.size()); }
};

}  // namespace

TEST(UnsavedWork, ChangedSkinsAreOfferedOnceBeforeTheyWouldBeDropped) {
  enum Action { OpenOther, Quit, CloseSkin };
  struct Case {
    Action action;
    MsgAnswer answer;
    bool goesOn;
    bool written;
  } cases[] = {
      {OpenOther, MsgAnswer::Cancel, false, false}, {OpenOther, MsgAnswer::No, true, false},
      {OpenOther, MsgAnswer::Yes, true, true},      {Quit, MsgAnswer::Cancel, false, false},
      {Quit, MsgAnswer::No, true, false},           {Quit, MsgAnswer::Yes, true, true},
      {CloseSkin, MsgAnswer::Cancel, false, false}, {CloseSkin, MsgAnswer::Yes, true, true},
  };
  for (const Case& c : cases) {
    PaintedDesk d;
    const std::string label = "case " + std::to_string(&c - cases);
    bool wentOn = false;
    switch (c.action) {
      case OpenOther:
        d.ui.QueueAnswer(MsgAnswer::No);  // the mesh question
        d.ui.QueueAnswer(c.answer);
        d.Open(d.quad);
        wentOn = d.SkinCount() == 0;  // the reopened model has no skins
        break;
      case Quit:
        d.ui.QueueAnswer(MsgAnswer::Yes);  // "are you sure you want to quit?"
        d.ui.QueueAnswer(c.answer);
        wentOn = ConfirmQuit(*d.app);
        break;
      case CloseSkin:
        d.ui.QueueAnswer(c.answer);
        ExecuteCommand(*d.app, *FindCommandByLabel("&Close/Delete\tShift+D"));
        wentOn = d.SkinCount() == 0;
        break;
    }
    ASSERT_FALSE(d.ui.texts().empty()) << label;
    // The skin lies outside the base folder: the question names it as the skin list does.
    EXPECT_EQ(d.ui.texts().back(), std::string(kSaveChangedSkinText) + "\npaint.pcx") << label;
    EXPECT_EQ(wentOn, c.goesOn) << label;
    EXPECT_EQ(std::filesystem::exists(d.skinPath), c.written) << label;
  }
}

TEST(UnsavedWork, AFailedSaveAtTheQuestionCancelsTheAction) {
  {
    PaintedDesk d;  // the mesh cannot be written
    d.app->document.currentFile = d.dir.path() + "/missing/quad.md2";
    d.ui.QueueAnswer(MsgAnswer::Yes);
    d.Open(d.quad);
    EXPECT_EQ(d.ui.texts().back(), "An error occured while trying to save =[");
    EXPECT_EQ(d.SkinCount(), 1);
  }
  {
    PaintedDesk d;  // the skin cannot be written
    d.app->model.skins[0]->path = d.dir.path() + "/missing/paint.pcx";
    d.ui.QueueAnswer(MsgAnswer::No);
    d.ui.QueueAnswer(MsgAnswer::Yes);
    d.Open(d.quad);
    EXPECT_EQ(d.ui.texts().back(), "An error occured while attempting to save!\n" + d.dir.path() + "/missing/paint.pcx");
    EXPECT_EQ(d.SkinCount(), 1);
    d.ui.QueueAnswer(MsgAnswer::Yes);
    d.ui.QueueAnswer(MsgAnswer::Yes);
    EXPECT_FALSE(ConfirmQuit(*d.app));
  }
}

TEST(BaseFolderCommand, StoresAUsableFolderForTheNextStart) {
  Desk d;
  std::string before = d.app->baseFolder;
  d.ui.QueueFolder(d.models);
  BaseFolderCommand(*d.app);
  EXPECT_EQ(d.ui.folderTitles(), std::vector<std::string>{"Please locate the 'baseq2' folder under Quake2"});
  EXPECT_EQ(d.profile.GetString("Project", "BaseDir", ""), d.models);
  EXPECT_EQ(d.ui.texts(), std::vector<std::string>{"You must restart VRK before the change will take effect."});
  EXPECT_EQ(d.app->baseFolder, before);

  d.ui.Clear();
  d.ui.QueueFolder(d.dir.path() + "/nowhere");
  BaseFolderCommand(*d.app);
  d.ui.QueueFolder(std::nullopt);
  BaseFolderCommand(*d.app);
  EXPECT_EQ(d.ui.texts(), (std::vector<std::string>{kInvalidFolder + ("\n" + d.dir.path() + "/nowhere"),
                                                    kInvalidFolder}));
  EXPECT_EQ(d.profile.GetString("Project", "BaseDir", ""), d.models);
}

TEST(ScanFolderCommand, AddsMatchingSkinsAsExternal) {
  Desk d;
  d.Open(d.quad);
  Skin s;
  s.width = s.height = 8;
  s.pixels.assign(64, 1);
  std::string skins = d.dir.path() + "/skins";
  std::filesystem::create_directories(skins);
  WriteBytes(skins + "/A.PCX", EncodePcx(s));
  WriteBytes(skins + "/b.bmp", EncodeBmp(s));
  d.ui.QueueFolder(skins);
  ScanFolderCommand(*d.app);
  EXPECT_EQ(d.ui.folderTitles(), std::vector<std::string>{"Select the folder you wish to browse..."});
  ASSERT_EQ(d.app->model.skins.size(), 2u);
  EXPECT_EQ(d.app->model.skins[0]->format, FORMAT_PCX);
  EXPECT_EQ(d.app->model.skins[1]->format, FORMAT_BMP);
  EXPECT_EQ(d.log.Count(kEverythingChanged), 1);  // the open
  EXPECT_EQ(d.log.Count(ChangesOfStepParts(STEP_SKINS)), 1);  // the skins the scan added
  EXPECT_TRUE(d.ui.texts().empty());

  // Cancel is the user's choice, not a fault: no message, no skin added.
  d.ui.QueueFolder(std::nullopt);
  ScanFolderCommand(*d.app);
  EXPECT_TRUE(d.ui.texts().empty());
  EXPECT_EQ(d.app->model.skins.size(), 2u);
  d.ui.QueueFolder(d.dir.path() + "/nowhere");
  ScanFolderCommand(*d.app);
  EXPECT_EQ(d.ui.texts(), std::vector<std::string>{kInvalidFolder + ("\n" + d.dir.path() + "/nowhere")});
}

TEST(UndoAcrossFiles, OpeningAnotherModelStartsANewHistoryAndSavingKeepsIt) {
  PaintedDesk d;
  ExecuteCommand(*d.app, *FindCommandByLabel("Dupl&icate\tCtrl+D"));
  ASSERT_EQ(d.app->document.history.size(), 1u);
  SaveCommand(*d.app);
  EXPECT_EQ(d.app->document.history.size(), 1u);
  d.ui.QueueAnswer(MsgAnswer::No);
  d.ui.QueueAnswer(MsgAnswer::No);
  d.Open(d.quad);
  EXPECT_EQ(d.app->document.history.size(), 0u);
  EXPECT_FALSE(d.app->document.history.CanUndo());
}

TEST(OpenCommand, AModelWithoutSkinsLeavesTheTexturedModesQuietly) {
  Desk d;
  ASSERT_EQ(d.app->renderModes.renderModeIndex, 5);  // "Textured"
  d.Open(d.quad);
  EXPECT_EQ(d.app->renderModes.renderModeIndex, 3);  // "Gouraud Shaded"
  EXPECT_TRUE(d.ui.texts().empty());
  EXPECT_EQ(d.log.Count(kEverythingChanged), 1);
}
