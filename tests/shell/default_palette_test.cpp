#include <gtest/gtest.h>

#include <filesystem>

#include "image/image_files.h"
#include "image/new_skin.h"
#include "model/md2_builder.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "shell/app.h"
#include "shell/palette_commands.h"
#include "shell/skin_commands.h"
#include "support/scripted_ui.h"
#include "support/test_support.h"

namespace {

// A base folder holding the game's pics/colormap.pcx and no "Palette Path"
// chosen: every skin that starts from the default palette starts from the
// game's.
struct GameFolder {
  TempDir dir;
  FolderGuard guard;
  ScriptedUi ui;
  MemoryProfile profile;
  std::unique_ptr<App> app = std::make_unique<App>(ui, profile);
  Palette game{};

  GameFolder() {
    for (int i = 0; i < 768; ++i) game[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 7 + 3);
    std::filesystem::create_directories(dir.File("pics"));
    WriteBytes(dir.File("pics/colormap.pcx"), EncodePcx(*MakeBlankSkin("colormap", 256, 64, game)));
    app->baseFolder = app->loadFolder = app->saveFolder = dir.path();
  }
};

}  // namespace

TEST(DefaultPalette, NewStandInAndSetToDefaultTakeTheBaseFoldersColormapPalette) {
  {
    GameFolder g;
    g.app->model.skinWidth = g.app->model.skinHeight = 8;
    for (int i = 0; i < 3; ++i) g.ui.QueueAnswer(MsgAnswer::No);  // no checkerboard, grid, outline
    OnSkinNew(*g.app);
    ASSERT_NE(g.app->model.CurrentSkin(), nullptr);
    EXPECT_EQ(g.app->model.CurrentSkin()->palette, g.game) << "new skin";

    g.app->model.CurrentSkin()->palette = GreyRampPalette();
    OnSetDefaultPalette(*g.app);
    EXPECT_EQ(g.app->model.CurrentSkin()->palette, g.game) << "Set to Default";
  }
  {
    GameFolder g;
    TestMd2 md2 = QuadMd2();
    md2.skins = {"models/gone/skin.pcx"};
    WriteBytes(g.dir.File("quad.md2"), md2.Bytes());
    ASSERT_EQ(g.app->LoadMd2(g.dir.File("quad.md2")), 1);
    ASSERT_EQ(g.app->model.skins.size(), 1u);
    EXPECT_EQ(g.app->model.skins[0]->palette, g.game) << "stand-in for a missing skin";
  }
}
