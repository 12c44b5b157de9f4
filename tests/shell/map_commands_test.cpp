#include <gtest/gtest.h>

#include <filesystem>

#include "image/image_files.h"
#include "image/maps.h"
#include "image/new_skin.h"
#include "platform/profile.h"
#include "support/notice_log.h"
#include "support/scripted_ui.h"
#include "shell/app.h"
#include "shell/map_commands.h"
#include "support/test_support.h"

namespace {

struct Desk {
  TempDir dir;
  FolderGuard guard;
  ScriptedUi ui;
  MemoryProfile profile;
  std::unique_ptr<App> app = std::make_unique<App>(ui, profile);
  NoticeLog log{app->document.changes};

  Desk() {
    app->baseFolder = dir.path();
    app->loadFolder = dir.path();
  }

  // A map file written by our own writers; pixel k holds k mod 256 unless
  // `fill` is given.
  std::string Map(const std::string& rel, bool bmp, int side = 256, int fill = -1) {
    auto s = MakeBlankSkin("m", side, side, GreyRampPalette());
    for (std::size_t k = 0; k < s->pixels.size(); ++k)
      s->pixels[k] = static_cast<std::uint8_t>(fill >= 0 ? fill : static_cast<int>(k & 0xFF));
    std::string path = dir.File(rel);
    std::filesystem::create_directories(FolderOf(path));
    WriteBytes(path, bmp ? EncodeBmp(*s) : EncodePcx(*s));
    return path;
  }
  static std::string FolderOf(const std::string& p) { return p.substr(0, p.find_last_of('/')); }
};

}  // namespace

TEST(OpenPhongMap, LevelsAndLightRowsOfABrightPixel) {
  Desk d;
  d.Map("maps/shine.bmp", true);  // chosen without a dot: the Supported filter means .bmp
  d.ui.QueueFile(d.dir.File("maps/shine"), 1);
  OnPhongMapOpen(*d.app);

  Model& m = d.app->model;
  ASSERT_EQ(m.phongMaps.size(), 1u);
  EXPECT_EQ(m.currentPhongMapIndex, 0);
  ASSERT_EQ(m.CurrentPhongMap(), m.phongMaps[0].get());
  Skin& map = *m.CurrentPhongMap();
  EXPECT_EQ(map.name, "shine.bmp");
  EXPECT_TRUE(map.flags & SKIN_EXTERNAL);
  EXPECT_EQ(map.pixels[255], 63);  // grey 255
  EXPECT_EQ(map.pixels[128], 32);  // grey 128
  // Exponent 1: the curve is the identity, so level L gives row 63 - L.
  EXPECT_EQ(map.storedPixels[255], 0);
  EXPECT_EQ(map.storedPixels[128], 31);
  EXPECT_EQ(map.storedPixels[0], 63);
  EXPECT_EQ(d.app->loadFolder, d.dir.File("maps"));
  EXPECT_EQ(d.ui.dialogs().at(0).filter, kPhongMapFilter);
  EXPECT_EQ(d.ui.dialogs().at(0).initialName, "*.bmp;*.pcx");
  EXPECT_GT(d.log.Count(kEverythingChanged), 0);
}

TEST(OpenPhongMap, ChangingTheExponentRebuildsRowsButNotLevels) {
  Desk d;
  d.ui.QueueFile(d.Map("a.pcx", false), 3);
  OnPhongMapOpen(*d.app);
  Skin& map = *d.app->model.CurrentPhongMap();
  auto levels = map.pixels;
  auto rows = map.storedPixels;
  d.app->lighting.shadeExponent = 2.0;
  RebuildLightCurve(*d.app);
  EXPECT_NE(map.storedPixels, rows);
  // Level 32 -> curve[128] = trunc(255 * (128/255)^2) = 64 -> row 63 - 16.
  EXPECT_EQ(map.storedPixels[128], 47);
  d.app->lighting.shadeExponent = 1.0;
  RebuildLightCurve(*d.app);
  EXPECT_EQ(map.pixels, levels);
  EXPECT_EQ(map.storedPixels, rows);
}

TEST(OpenMaps, WrongSizeIsRefusedWithTheKindsMessage) {
  Desk d;
  d.ui.QueueFile(d.Map("small.pcx", false, 128), 1);
  OnPhongMapOpen(*d.app);
  d.ui.QueueFile(d.Map("small.bmp", true, 128), 1);
  OnEnvMapOpen(*d.app);
  EXPECT_TRUE(d.app->model.phongMaps.empty());
  EXPECT_TRUE(d.app->model.envMaps.empty());
  EXPECT_EQ(d.ui.texts(), (std::vector<std::string>{std::string(kPhongWrongSizeText) + "\n" + d.dir.File("small.pcx"),
                                                    std::string(kEnvWrongSizeText) + "\n" + d.dir.File("small.bmp")}));
}

TEST(OpenEnvMap, KeepsIndicesAndDropsTheStoredCopy) {
  Desk d;
  d.Map("env.pcx", false, 256, 200);
  d.ui.QueueFile(d.dir.File("env"), 3);  // PCX filter, no dot: .pcx
  OnEnvMapOpen(*d.app);
  ASSERT_EQ(d.app->model.envMaps.size(), 1u);
  Skin& map = *d.app->model.CurrentEnvMap();
  EXPECT_EQ(map.pixels[7], 200);
  EXPECT_TRUE(map.storedPixels.empty());
  EXPECT_EQ(d.ui.dialogs().at(0).filter, kEnvMapFilter);
}

TEST(CloseMaps, TheOnlyMapLeavesNoCurrent) {
  Desk d;
  d.ui.QueueFile(d.Map("a.pcx", false), 1);
  OnPhongMapOpen(*d.app);
  d.ui.QueueFile(d.Map("b.pcx", false), 1);
  OnPhongMapOpen(*d.app);
  Model& m = d.app->model;
  EXPECT_EQ(m.currentPhongMapIndex, 1);
  OnPhongMapClose(*d.app);
  EXPECT_EQ(m.currentPhongMapIndex, 0);
  EXPECT_EQ(m.CurrentPhongMap()->name, "a.pcx");
  OnPhongMapClose(*d.app);
  EXPECT_EQ(m.currentPhongMapIndex, -1);
  EXPECT_EQ(m.CurrentPhongMap(), nullptr);
  OnPhongMapClose(*d.app);
  OnEnvMapClose(*d.app);
  EXPECT_TRUE(d.ui.texts().empty());
}

// Cancel is the user's choice, not a fault: no message, nothing changed.
TEST(ScanMapFolderCommand, CancelSaysNothingAndAnUnusableFolderIsNamed) {
  Desk d;
  d.ui.QueueFolder(std::nullopt);
  OnPhongMapScanFolder(*d.app);
  d.ui.QueueFolder(std::nullopt);
  OnEnvMapScanFolder(*d.app);
  EXPECT_TRUE(d.ui.texts().empty());
  EXPECT_TRUE(d.app->model.phongMaps.empty());
  EXPECT_TRUE(d.app->model.envMaps.empty());
  d.ui.QueueFolder(d.dir.File("nowhere"));
  OnEnvMapScanFolder(*d.app);
  EXPECT_EQ(d.ui.texts(), std::vector<std::string>{std::string(kMapFolderInvalidText) + "\n" + d.dir.File("nowhere")});
  EXPECT_EQ(d.ui.folderTitles().at(0), kMapFolderTitle);
}

TEST(ScanMapFolderCommand, AppendsWithoutChangingTheCurrentMap) {
  Desk d;
  d.ui.QueueFile(d.Map("first.pcx", false), 1);
  OnEnvMapOpen(*d.app);
  d.Map("set/one.bmp", true);
  d.Map("set/two.pcx", false);
  d.Map("set/tiny.pcx", false, 64);
  d.ui.QueueFolder(d.dir.File("set"));
  OnEnvMapScanFolder(*d.app);
  d.ui.QueueFolder(d.dir.File("set"));
  OnEnvMapScanFolder(*d.app);
  Model& m = d.app->model;
  ASSERT_EQ(m.envMaps.size(), 5u);
  EXPECT_EQ(m.envMaps[1]->name, "two.pcx");
  EXPECT_EQ(m.envMaps[2]->name, "one.bmp");
  EXPECT_EQ(m.currentEnvMapIndex, 0);
  EXPECT_EQ(m.CurrentEnvMap(), m.envMaps[0].get());
  EXPECT_TRUE(d.ui.texts().empty());
}

TEST(StartupMapScan, PreferredFoldersFillTheListsAndPickTheFirst) {
  Desk d;
  d.Map("phong/p.pcx", false, 256, 255);
  d.Map("env/nothing.pcx", false, 32);
  d.profile.WriteString("Preferences", "Phong Path", d.dir.File("phong"));
  d.profile.WriteString("Preferences", "Env Path", d.dir.File("env"));
  ScanPreferredMapFolders(*d.app);
  Model& m = d.app->model;
  ASSERT_EQ(m.phongMaps.size(), 1u);
  EXPECT_EQ(m.currentPhongMapIndex, 0);
  ASSERT_EQ(m.CurrentPhongMap(), m.phongMaps[0].get());
  EXPECT_EQ(m.CurrentPhongMap()->storedPixels[0], 0);  // light rows are ready
  EXPECT_TRUE(m.envMaps.empty());
  EXPECT_EQ(m.CurrentEnvMap(), nullptr);
  EXPECT_EQ(d.ui.texts(), (std::vector<std::string>{kNoEnvMapsText}));
}

TEST(StartupMapScan, UnknownFoldersAreNotScanned) {
  Desk d;
  ScanPreferredMapFolders(*d.app);
  EXPECT_TRUE(d.ui.texts().empty());
  EXPECT_TRUE(d.app->model.phongMaps.empty());
}
