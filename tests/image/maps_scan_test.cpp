#include <gtest/gtest.h>

#include "image/image_files.h"
#include "image/maps.h"
#include "image/new_skin.h"
#include "support/scripted_ui.h"
#include "support/shown.h"
#include "support/test_support.h"

namespace {

void WriteImage(const std::string& path, int w, int h, std::uint8_t value, bool bmp) {
  auto skin = MakeBlankSkin("x", w, h, GreyRampPalette());
  FillSkin(*skin, value);
  WriteBytes(path, bmp ? EncodeBmp(*skin) : EncodePcx(*skin));
}

// The scan's count, its notices shown as the shell shows them.
int Scan(ScriptedUi& ui, MapScan scan) {
  Shown(ui, scan.notices);
  return scan.added;
}

}  // namespace

TEST(MapScan, OnlyTheFullSizedImageIsKeptAndNothingIsSaid) {
  FolderGuard guard;
  TempDir dir;
  WriteImage(dir.File("big.bmp"), 256, 256, 255, true);
  WriteImage(dir.File("small.pcx"), 128, 128, 7, false);
  SkinList maps;
  ScriptedUi ui;
  int refreshes = 0;
  EXPECT_EQ(Scan(ui, ScanPhongFolder(dir.path(), maps, [&] { ++refreshes; })), 1);
  ASSERT_EQ(maps.size(), 1u);
  EXPECT_TRUE(ui.texts().empty());
  EXPECT_EQ(refreshes, 2);  // both passes found a file
  EXPECT_EQ(maps[0]->name, "big.bmp");
  EXPECT_TRUE(maps[0]->flags & SKIN_EXTERNAL);
  EXPECT_EQ(maps[0]->pixels[0], 63);  // grey 255 is light level 63
  EXPECT_EQ(maps[0]->pixels[65535], 63);
}

TEST(MapScan, PcxPassFirstAnyCaseAndTwiceListsTwice) {
  FolderGuard guard;
  TempDir dir;
  WriteImage(dir.File("a.BMP"), 256, 256, 1, true);
  WriteImage(dir.File("z.Pcx"), 256, 256, 2, false);
  WriteImage(dir.File("note.txt"), 256, 256, 3, false);
  SkinList maps;
  ScriptedUi ui;
  EXPECT_EQ(Scan(ui, ScanEnvFolder(dir.path(), maps, nullptr)), 2);
  EXPECT_EQ(Scan(ui, ScanEnvFolder(dir.path(), maps, nullptr)), 2);
  ASSERT_EQ(maps.size(), 4u);
  EXPECT_EQ(maps[0]->name, "z.Pcx");
  EXPECT_EQ(maps[1]->name, "a.BMP");
  EXPECT_EQ(maps[2]->name, "z.Pcx");
  EXPECT_EQ(maps[0]->pixels[10], 2);  // environment maps keep their indices
  EXPECT_TRUE(maps[0]->storedPixels.empty());
  EXPECT_TRUE(ui.texts().empty());
}

TEST(MapScan, NothingUsableSaysSoPerKind) {
  FolderGuard guard;
  TempDir dir;
  WriteImage(dir.File("small.bmp"), 64, 64, 0, true);
  WriteBytes(dir.File("torn.pcx"), {10, 5, 1, 8});
  SkinList maps;
  ScriptedUi ui;
  int refreshes = 0;
  EXPECT_EQ(Scan(ui, ScanPhongFolder(dir.path(), maps, [&] { ++refreshes; })), 0);
  EXPECT_EQ(refreshes, 2);
  EXPECT_EQ(Scan(ui, ScanEnvFolder(dir.path() + "/missing", maps, [&] { ++refreshes; })), 0);
  EXPECT_EQ(refreshes, 2);
  EXPECT_TRUE(maps.empty());
  // A file that is no image is named before the kind's verdict.
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{std::string(kDamagedSkinText) + "\n" + dir.File("torn.pcx"),
                                                   kNoPhongMapsText, kNoEnvMapsText}));
}

TEST(MapPrepare, PhongLevelsAreTheGreyValueOverFour) {
  auto map = MakeBlankSkin("m", 256, 256, GreyRampPalette());
  map->path = "/maps/shiny.pcx";
  map->flags = 0;
  for (int i = 0; i < 256; ++i) map->pixels[i] = static_cast<std::uint8_t>(i);
  PrepareMap(*map, MapKind::Phong);
  EXPECT_EQ(map->name, "shiny.pcx");
  EXPECT_EQ(map->flags, SKIN_EXTERNAL);
  EXPECT_EQ(map->pixels[0], 0);
  EXPECT_EQ(map->pixels[3], 0);
  EXPECT_EQ(map->pixels[4], 1);
  EXPECT_EQ(map->pixels[254], 63);
  EXPECT_EQ(map->pixels[255], 63);
}
