#include <gtest/gtest.h>

#include <filesystem>

#include "image/image_files.h"
#include "image/new_skin.h"
#include "model/md2_builder.h"
#include "platform/profile.h"
#include "shell/app.h"
#include "shell/command_table.h"
#include "shell/ctrl_z_habit.h"
#include "shell/dropped_files.h"
#include "shell/file_commands.h"
#include "shell/recent_files.h"
#include "shell/shortcut_keys.h"
#include "shell/skin_file_watch.h"
#include "shell/status_hints.h"
#include "support/scripted_ui.h"
#include "support/test_support.h"

namespace {

// A base folder with models/quad.md2 (8 x 8 skin, no skin names), and an
// App over a profile that outlives it, as the settings outlive a run.
struct Desk {
  TempDir dir;
  FolderGuard guard;
  ScriptedUi ui;
  MemoryProfile profile;
  std::unique_ptr<App> app;
  std::string models;
  std::string quad;

  Desk() {
    models = dir.path() + "/baseq2/models";
    std::filesystem::create_directories(models);
    quad = models + "/quad.md2";
    WriteBytes(quad, QuadMd2().Bytes());
    profile.WriteInt("Preferences", "DirScan_Prompt", 1);
    Restart();
  }
  void Restart() {
    app.reset();
    app = std::make_unique<App>(ui, profile);
    app->baseFolder = dir.path() + "/baseq2";
    app->loadFolder = app->saveFolder = app->baseFolder;
  }
  // An 8 x 8 picture of one colour, written by the program's own writer.
  std::string Picture(const std::string& name, std::uint8_t fill) {
    auto s = MakeBlankSkin(name, 8, 8, GreyRampPalette());
    FillSkin(*s, fill);
    const std::string path = models + "/" + name;
    WriteBytes(path, name.ends_with(".bmp") ? EncodeBmp(*s) : EncodePcx(*s));
    return path;
  }
  void Load() {
    ASSERT_TRUE(OpenModelFile(*app, quad));
  }
};

}  // namespace

TEST(StatusHints, TheHintFollowsPaneModeCameraAndModifiers) {
  using P = HintPane;
  const EditMode paint = EditMode::Paint, mapping = EditMode::Mapping;
  struct Row {
    HintSituation s;
    const char* title;
    std::vector<const char*> says;
  };
  const Row rows[] = {
      {{P::SkinView, paint, true, true, false, false, false}, "Camera", {"Left: pan", "Right: zoom", "Wheel: zoom"}},
      {{P::SkinView, paint, true, true, false, false, false, SkinTool::Brush, "F9"}, "Camera", {"F9: camera off"}},
      {{P::SkinView, paint, false, true, false, false, false}, "Paint Mode", {"Left: paint", "Right: pick colour"}},
      {{P::SkinView, paint, false, false, false, false, false}, "Paint Mode", {"needs a textured render mode"}},
      {{P::SkinView, paint, false, true, false, false, false, SkinTool::Fill}, "Paint Mode", {"Left: fill"}},
      {{P::SkinView, paint, false, true, false, false, false, SkinTool::Rectangle}, "Paint Mode",
       {"Left: drag a rectangle"}},
      // Shapes are drawn on the skin view; on the model the brush paints.
      {{P::ModelView, paint, false, true, false, false, false, SkinTool::Line}, "Paint Mode", {"Left: paint"}},
      {{P::SkinView, mapping, false, true, false, false, false}, "Mapping Mode",
       {"Left: drag a mapping vertex", "Shift+Left: select", "Right: move selected mapping"}},
      {{P::SkinView, mapping, false, true, false, true, false}, "Mapping Mode",
       {"Left: select triangles", "Right: rotate selected mapping"}},
      {{P::SkinView, mapping, false, true, false, false, true}, "Mapping Mode",
       {"Left: deselect triangles", "Right: scale selected mapping"}},
      {{P::SkinView, mapping, false, true, false, true, true}, "Mapping Mode", {"Left: select triangles in a rectangle"}},
      {{P::SkinView, mapping, false, true, true, false, false}, "Mapping Mode", {"Left: drag the mapping frame"}},
      {{P::ModelView, mapping, true, true, false, false, false}, "Camera", {"Left: orbit", "Right: pan", "Middle: zoom"}},
      {{P::ModelView, paint, true, true, false, true, false}, "Camera", {"Left: field of view", "Right: turn the light"}},
      {{P::ModelView, paint, false, true, false, false, false}, "Paint Mode", {"Left: paint", "Right: pick colour"}},
      {{P::ModelView, mapping, false, false, false, false, false}, "Mapping Mode",
       {"Left: select triangles", "Right: deselect triangles"}},
      {{P::PaletteStrip, paint, true, true, false, false, false}, "Paint Mode", {"Right: protect a colour"}},
      {{P::GradientStrip, paint, true, true, false, false, false}, "Paint Mode", {"Right: swap views"}},
  };
  for (const Row& r : rows) {
    const std::string hint = MouseHint(r.s);
    EXPECT_EQ(ModeTitle(r.s), r.title) << hint;
    for (const char* part : r.says) EXPECT_NE(hint.find(part), std::string::npos) << hint << " lacks " << part;
  }
  EXPECT_EQ(MouseHint(HintSituation{}), "");
}

TEST(StatusHints, ReadoutNamesTexelIndexColourZoomAndSelection) {
  Desk d;
  d.Load();
  d.app->model.skins.push_back(MakeBlankSkin("s", 8, 8, GreyRampPalette()));
  Skin& skin = *d.app->model.skins.back();
  d.app->model.currentSkinIndex = static_cast<std::int16_t>(d.app->model.skins.size() - 1);
  skin.pixels[3 * 8 + 5] = 37;
  skin.palette[37 * 3] = 91, skin.palette[37 * 3 + 1] = 63, skin.palette[37 * 3 + 2] = 43;
  EXPECT_EQ(TexelText(SampleSkinAt(*d.app, 5.7f, 3.2f)), "Texel 5, 3  Index 37  RGB 91 63 43");
  EXPECT_EQ(TexelText(SampleSkinOffset(*d.app, 3 * 8 + 5)), "Texel 5, 3  Index 37  RGB 91 63 43");
  EXPECT_FALSE(SampleSkinAt(*d.app, 8.0f, 0).valid);
  EXPECT_FALSE(SampleSkinAt(*d.app, -0.5f, 0).valid);
  EXPECT_EQ(ZoomText(2.5), "Zoom 250%");
  EXPECT_EQ(SelectionText(0), "");
  EXPECT_EQ(SelectionText(1), "1 triangle selected");
  d.app->model.triangles[0].flags |= TRI_SELECTED;
  d.app->model.triangles[1].flags |= TRI_SELECTED;
  EXPECT_EQ(SelectionText(SelectedTriangles(*d.app)), "2 triangles selected");
}

TEST(StatusHints, MouseAndKeysListsEveryPaneAndEveryKeyInForce) {
  Desk d;
  d.app->shortcutKeys["Skins > Duplicate"] = {"Ctrl+Shift+D"};
  const std::string text = MouseAndKeysText(*d.app);
  for (const char* pane : {"Skin view", "3D view", "Palette strip", "Gradient strip", "Left: drag a mapping vertex"})
    EXPECT_NE(text.find(pane), std::string::npos) << pane;
  for (const Command& c : CommandTable()) {
    const std::vector<std::string> keys = CommandKeys(*d.app, c);
    if (keys.empty()) continue;
    const std::size_t end = text.find("\t" + c.name + "\n");
    ASSERT_NE(end, std::string::npos) << c.name;
    const std::string line = text.substr(text.rfind('\n', end) + 1, end - text.rfind('\n', end) - 1);
    for (const std::string& key : keys) EXPECT_NE(line.find(key), std::string::npos) << c.name << " " << key;
  }
  EXPECT_NE(text.find("Ctrl+Shift+D\tSkins > Duplicate"), std::string::npos);
  // The hints name the key the user gave the Camera Toggle.
  d.app->shortcutKeys["Options > Camera Toggle"] = {"F9"};
  EXPECT_EQ(SituationOf(*d.app, HintPane::SkinView, false, false).cameraKey, "F9");
  EXPECT_EQ(text.find("Ctrl+D\t"), std::string::npos);
}

TEST(CtrlZHabit, ARevertByCtrlZSaysHowToUndoAndOffersTheKeyOnce) {
  Desk d;
  d.Load();
  d.app->model.skins.push_back(MakeBlankSkin("s", 8, 8, GreyRampPalette()));
  d.app->model.currentSkinIndex = static_cast<std::int16_t>(d.app->model.skins.size() - 1);
  Skin& skin = *d.app->model.CurrentSkin();
  const Command& revert = *FindCommand("Skins > Revert");

  // From the menu: no note, no question.
  skin.pixels[0] = 7;
  ExecuteCommandFromKey(*d.app, revert, "");
  EXPECT_EQ(skin.pixels[0], 0);
  EXPECT_TRUE(d.app->statusNote.empty());
  EXPECT_TRUE(d.ui.shown().empty());

  skin.pixels[0] = 7;
  d.ui.QueueAnswer(MsgAnswer::No);
  ExecuteCommandFromKey(*d.app, revert, "Ctrl+Z");
  EXPECT_EQ(skin.pixels[0], 0);
  EXPECT_EQ(d.app->statusNote, kCtrlZRevertedText);
  ASSERT_EQ(d.ui.shown().size(), 1u);
  EXPECT_EQ(d.ui.shown()[0].text, kCtrlZOfferText);
  EXPECT_EQ(d.ui.shown()[0].buttons, MsgButtons::YesNo);
  EXPECT_FALSE(d.app->ctrlZUndoes);

  // The second time in the run: the note, but no question.
  d.app->statusNote.clear();
  skin.pixels[0] = 7;
  ExecuteCommandFromKey(*d.app, revert, "Ctrl+Z");
  EXPECT_EQ(d.app->statusNote, kCtrlZRevertedText);
  EXPECT_EQ(d.ui.shown().size(), 1u);

  // A new run asks again; Yes gives Ctrl+Z to Undo for good.
  d.Restart();
  d.Load();
  d.app->model.skins.push_back(MakeBlankSkin("s", 8, 8, GreyRampPalette()));
  d.app->model.currentSkinIndex = static_cast<std::int16_t>(d.app->model.skins.size() - 1);
  d.app->model.CurrentSkin()->pixels[0] = 7;
  d.ui.QueueAnswer(MsgAnswer::Yes);
  ExecuteCommandFromKey(*d.app, revert, "Ctrl+Z");
  EXPECT_TRUE(d.app->ctrlZUndoes);
  EXPECT_EQ(d.profile.Get(kUndoCtrlZSetting), 1);
}

TEST(RecentFiles, KeptAcrossRestartsNewestFirstAtMostEightAndClearable) {
  Desk d;
  std::vector<std::string> paths;
  for (int i = 0; i < 9; ++i) {
    paths.push_back(d.models + "/m" + std::to_string(i) + ".md2");
    WriteBytes(paths.back(), QuadMd2().Bytes());
  }
  ASSERT_TRUE(OpenModelFile(*d.app, paths[0]));
  OpenDroppedFiles(*d.app, {d.Picture("a.pcx", 3)});
  EXPECT_TRUE(NoteRecentFile(*d.app));
  EXPECT_FALSE(NoteRecentFile(*d.app));  // nothing new

  d.Restart();
  std::vector<RecentFile> files = LoadRecentFiles(d.profile);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].model, paths[0]);
  EXPECT_EQ(files[0].skins, std::vector<std::string>{d.models + "/a.pcx"});

  // Reopened with its skin beside it.
  OpenRecentFile(*d.app, files[0]);
  ASSERT_EQ(d.app->model.skins.size(), 1u);
  EXPECT_EQ(d.app->model.skins[0]->pixels[0], 3);

  for (int i = 1; i < 9; ++i) {
    d.ui.QueueAnswer(MsgAnswer::No);  // "Save changes to the current Mesh?"
    ASSERT_TRUE(OpenModelFile(*d.app, paths[static_cast<std::size_t>(i)]));
    NoteRecentFile(*d.app);
  }
  files = LoadRecentFiles(d.profile);
  ASSERT_EQ(files.size(), 8u);
  EXPECT_EQ(files.front().model, paths[8]);
  EXPECT_EQ(files.back().model, paths[1]);

  std::filesystem::remove(paths[8]);
  EXPECT_FALSE(RecentFileExists(files.front()));
  EXPECT_TRUE(RecentFileExists(files.back()));
  ClearRecentFiles(d.profile);
  EXPECT_TRUE(LoadRecentFiles(d.profile).empty());
}

TEST(DroppedFiles, AModelThenTwoPicturesOpenInOrder) {
  Desk d;
  const std::string a = d.Picture("a.pcx", 3), b = d.Picture("b.bmp", 4);
  OpenDroppedFiles(*d.app, {d.quad, a, b});
  EXPECT_TRUE(d.app->model.modelLoaded);
  EXPECT_EQ(d.app->document.currentFile, d.quad);
  ASSERT_EQ(d.app->model.skins.size(), 2u);
  EXPECT_EQ(d.app->model.skins[0]->pixels[0], 3);
  EXPECT_EQ(d.app->model.skins[1]->pixels[0], 4);
  EXPECT_TRUE(d.app->model.skins[1]->flags & SKIN_EXTERNAL);
  EXPECT_EQ(d.app->model.CurrentSkin(), d.app->model.skins[1].get());
  EXPECT_EQ(d.app->document.history.size(), 2u);  // one step a picture

  // A second model dropped asks what File > Open asks; Cancel keeps the first.
  d.ui.QueueAnswer(MsgAnswer::Cancel);
  OpenDroppedFiles(*d.app, {d.quad});
  EXPECT_EQ(d.ui.texts().back(), "Save changes to the current Mesh?");
  EXPECT_EQ(d.app->model.skins.size(), 2u);
}

TEST(SkinFileWatch, AnOutsideChangeReloadsAsOneStepAndAsksOverUnsavedWork) {
  Desk d;
  d.Load();
  const std::string path = d.Picture("a.pcx", 3);
  OpenDroppedFiles(*d.app, {path});
  Skin& skin = *d.app->model.skins[0];
  EXPECT_EQ(WatchedSkinPaths(*d.app), std::vector<std::string>{path});
  const std::size_t steps = d.app->document.history.size();

  // Unchanged here: read again at once, as one step Undo takes back.
  d.Picture("a.pcx", 5);
  EXPECT_TRUE(OnSkinFileChanged(*d.app, path));
  EXPECT_EQ(skin.pixels[0], 5);
  EXPECT_TRUE(d.ui.shown().empty());
  EXPECT_EQ(d.app->document.history.size(), steps + 1);
  EXPECT_EQ(d.app->document.history.UndoName(), "Reload Skin");
  ASSERT_TRUE(d.app->document.Undo());
  EXPECT_EQ(skin.pixels[0], 3);
  ASSERT_TRUE(d.app->document.Redo());

  // Our own save (the file as the skin is) changes nothing.
  EXPECT_FALSE(OnSkinFileChanged(*d.app, path));

  // Painted here and not saved: asked first; No keeps the paint.
  skin.pixels[1] = 9;
  d.Picture("a.pcx", 6);
  d.ui.QueueAnswer(MsgAnswer::No);
  EXPECT_FALSE(OnSkinFileChanged(*d.app, path));
  ASSERT_EQ(d.ui.shown().size(), 1u);
  EXPECT_NE(d.ui.shown()[0].text.find(path), std::string::npos);
  EXPECT_EQ(skin.pixels[1], 9);
  d.ui.QueueAnswer(MsgAnswer::Yes);
  EXPECT_TRUE(OnSkinFileChanged(*d.app, path));
  EXPECT_EQ(skin.pixels[1], 6);
}

TEST(SkinFileWatch, TrueColourComesBackAsNearestUnprotectedColour) {
  Palette palette{};
  for (int e = 0; e < 256; ++e) palette[e * 3u] = palette[e * 3u + 1] = palette[e * 3u + 2] = static_cast<std::uint8_t>(e);
  TrueColourPicture picture{3, 1, {100, 100, 100, 255, 101, 101, 101, 255, 7, 7, 7, 0}};
  std::array<std::uint8_t, 256> avoid{};
  EXPECT_EQ(MapAvoiding(picture, palette, avoid), (std::vector<std::uint8_t>{100, 101, 255}));
  avoid[100] = avoid[101] = 1;
  // Neither protected entry comes out: each colour takes the nearest one left.
  EXPECT_EQ(MapAvoiding(picture, palette, avoid), (std::vector<std::uint8_t>{99, 102, 255}));
}

TEST(Shortcuts, AKeyInUseIsRefusedWithTheOtherCommandAndAFreeOneIsKept) {
  Desk d;
  EXPECT_EQ(ShortcutConflict(*d.app, "Skins > New", "Ctrl+D"), "Skins > Duplicate");
  EXPECT_EQ(SetCommandKeys(*d.app, "Skins > New", {"Ctrl+D"}),
            "Ctrl+D is already the key of \"Skins > Duplicate\".");
  EXPECT_EQ(CommandKeys(*d.app, *FindCommand("Skins > New")), std::vector<std::string>{"Shift+N"});

  EXPECT_EQ(SetCommandKeys(*d.app, "Skins > New", {"Ctrl+N"}), "");
  // Its old key is free now, and the choice outlives the run.
  EXPECT_EQ(ShortcutConflict(*d.app, "Skins > Duplicate", "Shift+N"), "");
  d.Restart();
  LoadShortcutKeys(*d.app);
  const Command& add = *FindCommand("Skins > New");
  EXPECT_EQ(CommandKeys(*d.app, add), std::vector<std::string>{"Ctrl+N"});
  EXPECT_EQ(CommandLabel(*d.app, add), "&New\tCtrl+N");
  ResetCommandKeys(*d.app, "Skins > New");
  d.Restart();
  LoadShortcutKeys(*d.app);
  EXPECT_EQ(CommandKeys(*d.app, add), std::vector<std::string>{"Shift+N"});
}

TEST(SkinFileWatch, EditExternallyHandsTheSkinFileToTheImageEditor) {
  Desk d;
  d.Load();
  std::vector<std::string> opened;
  d.app->services.openInImageEditor = [&](const std::string& path) {
    opened.push_back(path);
    return false;
  };
  d.app->model.skins.push_back(MakeBlankSkin("new", 8, 8, GreyRampPalette()));
  d.app->model.currentSkinIndex = static_cast<std::int16_t>(d.app->model.skins.size() - 1);
  OnEditExternally(*d.app);  // never saved: no file to hand over
  EXPECT_TRUE(opened.empty());
  EXPECT_EQ(d.ui.texts(), std::vector<std::string>{kEditExternallyNoFileText});

  const std::string path = d.Picture("a.pcx", 3);
  OpenDroppedFiles(*d.app, {path});
  d.ui.Clear();
  OnEditExternally(*d.app);
  EXPECT_EQ(opened, std::vector<std::string>{path});
  EXPECT_EQ(d.ui.texts(), std::vector<std::string>{std::string(kEditExternallyFailedText) + "\n" + path});
}
