#include <gtest/gtest.h>

#include <filesystem>

#include "image/image_files.h"
#include "image/new_skin.h"
#include "platform/profile.h"
#include "shell/app.h"
#include "shell/command_table.h"
#include "shell/palette_commands.h"
#include "shell/skin_commands.h"
#include "support/scripted_ui.h"
#include "support/test_support.h"

namespace {

// An application with one selected triangle over the top-left of a 16 x 12
// skin filled with index 100 of a grey ramp.
struct Desk {
  TempDir dir;
  FolderGuard guard;
  ScriptedUi ui;
  MemoryProfile profile;
  std::unique_ptr<App> app = std::make_unique<App>(ui, profile);
  Skin* skin = nullptr;

  Desk() {
    app->baseFolder = app->loadFolder = app->saveFolder = dir.path();
    Model& m = app->model;
    m.skinWidth = 16;
    m.skinHeight = 12;
    m.SetTriangleCount(1);
    m.SetMapVertexCount(3);
    m.mapVertices[0] = {0, 0};
    m.mapVertices[1] = {12, 0};
    m.mapVertices[2] = {0, 9};
    Triangle& tri = m.triangles[0];
    for (int k = 0; k < 3; ++k) {
      tri.mapIndex[k] = static_cast<std::int16_t>(k);
      tri.cornerMap[k] = m.mapVertices[k];
    }
    tri.flags = TRI_SELECTED;
    auto s = MakeBlankSkin("skin.pcx", 16, 12, GreyRampPalette());
    FillSkin(*s, 100);
    s->pixels[0] = 3;
    s->storedPixels = s->pixels;
    skin = s.get();
    m.skins.push_back(std::move(s));
    m.currentSkinIndex = 0;
  }

  void Run(const char* submenu, const char* label) {
    for (const Command& c : CommandTable())
      if (c.menu.size() == 2 && c.menu[1] == submenu && c.label == label) return ExecuteCommand(*app, c);
    ADD_FAILURE() << "no command " << label;
  }
  std::string Picture(const char* name, int w, int h, std::uint8_t fill) {
    auto s = MakeBlankSkin("p", w, h, GreyRampPalette());
    FillSkin(*s, fill);
    WriteBytes(dir.File(name), EncodePcx(*s));
    return dir.File(name);
  }
};

TEST(PaletteCommands, EachIsOneUndoStepThatUndoRestoresExactly) {
  const struct {
    const char* submenu;
    const char* label;
    const char* step;
  } commands[] = {
      {"Palette", "Re-&Palette", "Re-Palette"},
      {"Palette", "Replace colors", "Replace Colors"},
      {"Palette", "Set to Default", "Set Default Palette"},
      {"Invert...", "&Palette", "Invert Palette"},
      {"Invert...", "P&ixels", "Invert Pixels"},
      {"Invert...", "&Both", "Invert Both"},
      {"Skin F/X...", "&Outline Selected", "Outline Selected"},
      {"Skin F/X...", "&Fill Selected", "Fill Selected"},
      {"Skin F/X...", "&Shade Selected", "Shade Selected"},
      {"Skin F/X...", "Load To Selected", "Load To Selected"},
  };
  for (const auto& c : commands) {
    Desk d;
    WriteBytes(d.dir.File("pal.act"), std::vector<std::uint8_t>(768, 77));
    d.ui.QueueFile(c.step == std::string("Re-Palette") ? d.dir.File("pal.act") : d.Picture("in.pcx", 16, 12, 250));
    d.app->editor.colourSlots = {248, 64, 100, 100, 7, 7, 5, 0};
    d.skin->palette[6] = 99;  // so the default palette (the grey ramp) differs
    const Skin before = *d.skin;
    d.Run(c.submenu, c.label);
    EXPECT_TRUE(d.skin->pixels != before.pixels || d.skin->palette != before.palette) << c.label;
    EXPECT_EQ(d.app->document.history.UndoName(), c.step);
    ASSERT_TRUE(d.app->document.Undo()) << c.label;
    EXPECT_EQ(d.skin->pixels, before.pixels) << c.label;
    EXPECT_EQ(d.skin->storedPixels, before.storedPixels) << c.label;
    EXPECT_EQ(d.skin->palette, before.palette) << c.label;
  }
}

TEST(PaletteCommands, InvertedPixelsSurviveRevert) {
  Desk d;
  d.Run("Invert...", "P&ixels");
  OnSkinRevert(*d.app);
  EXPECT_EQ(d.skin->pixels[0], 252);
  EXPECT_EQ(d.skin->pixels[1], 155);
}

TEST(PaletteCommands, RepaletteAsksWithItsFilterAndReportsAFileWithoutPalette) {
  Desk d;
  WriteBytes(d.dir.File("colours.act"), std::vector<std::uint8_t>(768, 9));
  WriteBytes(d.dir.File("text.act"), std::vector<std::uint8_t>(10, 9));
  d.ui.QueueFile(d.dir.File("colours"), 4);  // typed without extension under "Photoshop ACT"
  d.ui.QueueFile(d.dir.File("text.act"), 1);
  OnRepalette(*d.app);
  ASSERT_EQ(d.ui.dialogs().size(), 1u);
  EXPECT_EQ(d.ui.dialogs()[0].filter, kPaletteFilter);
  EXPECT_EQ(d.ui.dialogs()[0].initialName, "*.pcx;*.bmp;*.act");
  EXPECT_EQ(d.skin->palette[300], 9);
  const Palette loaded = d.skin->palette;
  OnRepalette(*d.app);
  EXPECT_EQ(d.ui.texts(), std::vector<std::string>{
                              "There was an error loading the specified file,\nit does no appear to contain a palette"});
  EXPECT_EQ(d.skin->palette, loaded);
}

TEST(SkinEffectCommands, LoadToSelectedRefusesAPictureOfAnotherSize) {
  Desk d;
  d.ui.QueueFile(d.Picture("small.pcx", 16, 11, 250));
  const std::vector<std::uint8_t> before = d.skin->pixels;
  d.Run("Skin F/X...", "Load To Selected");
  EXPECT_EQ(d.ui.texts(), std::vector<std::string>{"Error loading skin: Incorrect dimensions!"});
  EXPECT_EQ(d.skin->pixels, before);
  EXPECT_FALSE(d.app->document.history.CanUndo());
}

}  // namespace
