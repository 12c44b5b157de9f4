#include <gtest/gtest.h>

#include "image/new_skin.h"
#include "image/skin_set.h"

namespace {

std::unique_ptr<Skin> Named(const std::string& name, bool external) {
  auto s = std::make_unique<Skin>();
  s->name = name;
  s->flags = external ? SKIN_EXTERNAL : 0;
  return s;
}

std::vector<std::string> Names(const SkinList& skins) {
  std::vector<std::string> out;
  for (const auto& s : skins) out.push_back(s->name);
  return out;
}

SkinList E1L1E2L2() {
  SkinList list;
  list.push_back(Named("E1", true));
  list.push_back(Named("L1", false));
  list.push_back(Named("E2", true));
  list.push_back(Named("L2", false));
  return list;
}

}  // namespace

TEST(SkinPartition, SwapsFirstLinkedIntoEachExternalSlotBelowTheLinkedCount) {
  for (int current = 0; current < 4; ++current) {
    SkinList skins = E1L1E2L2();
    Skin* wasCurrent = skins[current].get();
    std::int16_t index = static_cast<std::int16_t>(current);
    PartitionSkins(skins, index);
    EXPECT_EQ(Names(skins), (std::vector<std::string>{"L1", "L2", "E2", "E1"}));
    EXPECT_EQ(skins[index].get(), wasCurrent) << "current was " << current;
  }
}

TEST(SkinPartition, LeavesAnOrderedListAndNoCurrentAlone) {
  SkinList skins;
  skins.push_back(Named("L1", false));
  skins.push_back(Named("L2", false));
  skins.push_back(Named("E1", true));
  std::int16_t index = -1;
  PartitionSkins(skins, index);
  EXPECT_EQ(Names(skins), (std::vector<std::string>{"L1", "L2", "E1"}));
  EXPECT_EQ(index, -1);

  SkinList none;
  PartitionSkins(none, index);
  EXPECT_TRUE(none.empty());
}

TEST(SkinPartition, MovingTheFirstExternalUpIsUndone) {
  SkinList skins;
  skins.push_back(Named("L1", false));
  skins.push_back(Named("L2", false));
  skins.push_back(Named("E1", true));
  std::int16_t index = 2;
  std::swap(skins[1], skins[2]);  // what Move Up does before the bar refresh
  index = 1;
  PartitionSkins(skins, index);
  EXPECT_EQ(Names(skins), (std::vector<std::string>{"L1", "L2", "E1"}));
  EXPECT_EQ(index, 2);
}

TEST(SkinNames, StoredWithBackslashesShownWithSlashes) {
  SkinList skins;
  skins.push_back(Named("models/x\\skin.pcx", false));
  skins[0]->path = "/base/models/x\\skin.pcx";
  StoreSkinNamesWithBackslashes(skins);
  EXPECT_EQ(skins[0]->name, "models\\x\\skin.pcx");
  EXPECT_EQ(skins[0]->path, "\\base\\models\\x\\skin.pcx");
  EXPECT_EQ(SkinListLabel(*skins[0], "/base"), "models/x/skin.pcx");
}

TEST(SkinNames, ExtensionOnlyWhenThereIsNoDotAnywhere) {
  EXPECT_EQ(EnsureExtension("/q2/skins/a", 1), "/q2/skins/a.pcx");
  EXPECT_EQ(EnsureExtension("/q2/skins/a", 2), "/q2/skins/a.pcx");
  EXPECT_EQ(EnsureExtension("/q2/skins/a", 3), "/q2/skins/a.bmp");
  EXPECT_EQ(EnsureExtension("/q2/skins/a", 4), "/q2/skins/a.pcx");
  EXPECT_EQ(EnsureExtension("/my.dir/a", 3), "/my.dir/a");
  EXPECT_EQ(EnsureExtension("a.", 1), "a.");
}

TEST(SkinNames, BelowBaseFolderIsAnExactPrefixAndASeparator) {
  const std::string base = "/games/quake2/baseq2";
  EXPECT_TRUE(IsBelowBaseFolder("/games/quake2/baseq2/models/a.pcx", base));
  EXPECT_TRUE(IsBelowBaseFolder("\\games\\quake2\\baseq2\\models\\a.pcx", base));
  EXPECT_FALSE(IsBelowBaseFolder("/games/Quake2/baseq2/models/a.pcx", base));
  EXPECT_FALSE(IsBelowBaseFolder("/games/quake2/baseq2x/a.pcx", base));
  EXPECT_FALSE(IsBelowBaseFolder("/games/quake2/baseq2", base));
  EXPECT_FALSE(IsBelowBaseFolder("/games/quake2/baseq2/a.pcx", ""));

  EXPECT_EQ(LinkedSkinName("/games/quake2/baseq2/models/a.pcx", base), "models/a.pcx");
  EXPECT_EQ(LinkedSkinName("/elsewhere/a.pcx", base), "/elsewhere/a.pcx");
  EXPECT_EQ(LinkedSkinName("/a.pcx", "/"), "a.pcx");
}

TEST(SkinList, CurrentAfterRemoval) {
  EXPECT_EQ(IndexAfterRemoval(1, 3), 1);
  EXPECT_EQ(IndexAfterRemoval(2, 2), 1);
  EXPECT_EQ(IndexAfterRemoval(0, 0), -1);
}

TEST(NewSkinDrawing, CheckerboardCellsAndGridDots) {
  auto skin = MakeBlankSkin("newskin", 12, 8, GreyRampPalette());
  EXPECT_EQ(skin->flags, SKIN_EXTERNAL);
  EXPECT_EQ(skin->hasFile, 0);
  FillCheckerboard(*skin, 20, 30);
  auto at = [&](int x, int y) { return skin->pixels[y * 12 + x]; };
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(at(x, y), 20);
  EXPECT_EQ(at(4, 0), 30);
  EXPECT_EQ(at(0, 4), 30);
  EXPECT_EQ(at(4, 4), 20);
  EXPECT_EQ(at(11, 7), 30);  // cell (2, 1)
  EXPECT_EQ(at(11, 3), 20);  // cell (2, 0)

  FillSkin(*skin, 0);
  DrawGridDots(*skin, 4, 5);
  EXPECT_EQ(at(0, 0), 5);
  EXPECT_EQ(at(1, 0), 4);
  EXPECT_EQ(at(1, 1), 0);
  EXPECT_EQ(at(2, 1), 5);
  EXPECT_EQ(at(11, 6), 4);
}
