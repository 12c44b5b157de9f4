#include <gtest/gtest.h>

#include <filesystem>

#include "image/image_files.h"
#include "platform/profile.h"
#include "support/scripted_ui.h"
#include "support/shown.h"
#include "render/render_mode.h"
#include "support/test_support.h"

namespace {

class CheckRenderModeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResizeViewport(viewport, 40, 30, false);
    WriteColormap(dir.File("colormap.pcx"), 256, 64);
    palettePath = dir.File("colormap.pcx");
  }

  void WriteColormap(const std::string& path, int w, int h) {
    Skin image;
    image.width = static_cast<std::int16_t>(w);
    image.height = static_cast<std::int16_t>(h);
    image.pixels.resize(static_cast<std::size_t>(w) * h);
    for (std::size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = static_cast<std::uint8_t>(i / w + i % w);
    ComputeRowOffsets(&image);
    ScriptedUi quiet;
    ASSERT_TRUE(Shown(quiet, WritePcx(image, path)));
  }

  void Give(bool skin, bool phong, bool env) {
    const auto give = [](std::vector<std::unique_ptr<Skin>>& list, std::int16_t& index, bool have) {
      list.clear();
      if (have) list.push_back(std::make_unique<Skin>());
      index = have ? 0 : -1;
    };
    give(model.skins, model.currentSkinIndex, skin);
    give(model.phongMaps, model.currentPhongMapIndex, phong);
    give(model.envMaps, model.currentEnvMapIndex, env);
  }

  int Check(int from, int to) { return CheckRenderMode(modes, model, viewport, ui, palettePath, base, from, to); }

  std::string LastText() const { return ui.shown().empty() ? "" : ui.shown().back().text; }

  TempDir dir;
  Model model;
  Viewport viewport;
  RenderModes modes;
  ScriptedUi ui;
  std::string palettePath;
  std::string base = dir.File("baseq2");
};

TEST_F(CheckRenderModeTest, EachMissingResourceHasItsMessage) {
  struct Case {
    int index;
    bool skin, phong, env;
    const char* text;
  };
  const Case cases[] = {
      {4, true, false, true, "Phong Shading is not available if there are no phong maps loaded."},
      {5, false, true, true, "Textured Mode is not available if there are no skins loaded."},
      {6, true, true, false, "Environment Mapping is not available if there are no env-maps loaded."},
      {7, false, true, true, "Tex+F-Shaded is not available if there are no skins loaded."},
      {8, false, true, true, "Tex+G-Shaded is not available if there are no skins loaded."},
      {9, false, false, true, "Tex+P-Shaded is not available if there are no skins loaded."},
      {9, true, false, true, "Tex+P-Shaded is not available if there are no phong maps loaded."},
  };
  for (const Case& c : cases) {
    ui.Clear();
    Give(c.skin, c.phong, c.env);
    EXPECT_EQ(Check(2, c.index), 0) << c.index;
    ASSERT_EQ(ui.shown().size(), 1u) << c.index;
    EXPECT_EQ(LastText(), c.text);
    EXPECT_EQ(ui.shown().back().buttons, MsgButtons::Ok);
  }
  Give(false, false, false);
  ui.Clear();
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Check(5, i), 1) << i;
  EXPECT_TRUE(ui.shown().empty());
}

TEST_F(CheckRenderModeTest, UnreadableOrSmallColormapIsRefusedWithTheModesText) {
  Give(true, true, true);
  const char* texts[] = {
      "The Colormap.pcx file needed for Tex+F-shaded mode is not set as the default palette under preferences!",
      "The Colormap.pcx file needed for Tex+G-shaded mode is not set as the default palette under preferences!",
      "The Colormap.pcx file needed for Tex+P-shaded mode is not set as the default palette under preferences!"};
  palettePath = dir.File("missing.pcx");
  for (int i = 7; i <= 9; ++i) {
    EXPECT_EQ(Check(5, i), 0);
    EXPECT_EQ(LastText(), std::string(texts[i - 7]) + "\n" + palettePath);
  }
  WriteColormap(dir.File("short.pcx"), 256, 63);
  WriteColormap(dir.File("narrow.pcx"), 255, 64);
  for (const char* name : {"short.pcx", "narrow.pcx"}) {
    palettePath = dir.File(name);
    EXPECT_EQ(Check(5, 9), 0) << name;
    EXPECT_EQ(LastText(), std::string(texts[2]) + "\n" + palettePath) << name;
  }
  // A file that is no image is named as such first.
  palettePath = dir.File("torn.pcx");
  WriteBytes(palettePath, {10, 5, 1, 8});
  ui.Clear();
  EXPECT_EQ(Check(5, 9), 0);
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{std::string(kDamagedSkinText) + "\n" + palettePath,
                                                   std::string(texts[2]) + "\n" + palettePath}));
  EXPECT_TRUE(modes.colormap.empty());
  EXPECT_TRUE(viewport.lightLevels.empty());
}

TEST_F(CheckRenderModeTest, EnteringALitModeLoadsTheColormapAndLeavingReleasesIt) {
  Give(true, true, true);
  ASSERT_EQ(Check(5, 8), 1);
  ASSERT_EQ(modes.colormap.size(), 64u * 256u);
  EXPECT_EQ(modes.colormap[3 * 256 + 5], 3 + 5);
  EXPECT_EQ(viewport.lightLevels.size(), 40u * 30u);

  // A refused change keeps the old mode's colormap.
  model.currentPhongMapIndex = -1;
  EXPECT_EQ(Check(8, 9), 0);
  EXPECT_EQ(modes.colormap.size(), 64u * 256u);

  EXPECT_EQ(Check(8, 3), 1);
  EXPECT_TRUE(modes.colormap.empty());
  EXPECT_TRUE(viewport.lightLevels.empty());
  EXPECT_TRUE(ui.shown().size() == 1);
}

TEST_F(CheckRenderModeTest, WithoutAChosenPaletteTheBaseFoldersColormapIsUsed) {
  Give(true, true, true);
  palettePath.clear();
  // Where the program runs holds a colormap of its own: it must not count.
  std::filesystem::create_directories(dir.File("pics"));
  WriteColormap(dir.File("pics/colormap.pcx"), 256, 64);
  FolderGuard here(dir.path());
  EXPECT_EQ(Check(5, 7), 0);
  EXPECT_EQ(LastText(), std::string(kTexFColormapText) + "\n" + base + "/pics/colormap.pcx");

  std::filesystem::create_directories(base + "/Pics");
  WriteColormap(base + "/Pics/COLORMAP.pcx", 256, 64);
  EXPECT_EQ(ColormapPath("", base), base + "/Pics/COLORMAP.pcx");
  EXPECT_EQ(Check(5, 7), 1);
  EXPECT_EQ(modes.colormap.size(), 64u * 256u);
  // A relative palette path is below the base folder too.
  EXPECT_EQ(ColormapPath("pics/colormap.pcx", base), base + "/Pics/COLORMAP.pcx");
  EXPECT_EQ(ColormapPath(dir.File("colormap.pcx"), base), dir.File("colormap.pcx"));
}

}  // namespace
