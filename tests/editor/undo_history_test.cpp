#include <gtest/gtest.h>

#include <cstring>

#include "editor/byte_diff.h"
#include "editor/document.h"
#include "image/new_skin.h"
#include "support/model_bytes.h"

namespace {

void AddSkin(Model& m, const char* name, std::uint8_t fill) {
  auto s = MakeBlankSkin(name, 64, 48, GreyRampPalette());
  FillSkin(*s, fill);
  s->storedPixels = s->pixels;
  m.skins.push_back(std::move(s));
  m.currentSkinIndex = static_cast<std::int16_t>(m.skins.size() - 1);
}

void Paint(Document& d, std::size_t texel, std::uint8_t colour) {
  DocumentStep step(d, "Pencil Stroke", STEP_CURRENT_SKIN);
  d.model.CurrentSkin()->pixels[texel] = colour;
}

}  // namespace

TEST(ByteDiff, TurnsEitherSideIntoTheOther) {
  const std::vector<std::uint8_t> none, a{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20};
  std::vector<std::uint8_t> oneByte = a, twoRuns = a, longer = a, shorter(a.begin(), a.begin() + 5);
  oneByte[7] = 99;
  twoRuns[0] = 0;
  twoRuns[19] = 0;
  longer.insert(longer.end(), {21, 22});
  for (const auto& [before, after] : std::vector<std::pair<std::vector<std::uint8_t>, std::vector<std::uint8_t>>>{
           {a, a}, {a, oneByte}, {a, twoRuns}, {a, longer}, {a, shorter}, {none, a}, {a, none}}) {
    const ByteDiff d = ByteDiff::Between(before, after);
    EXPECT_EQ(d.empty(), before == after);
    EXPECT_TRUE(d.MatchesBefore(before));
    EXPECT_TRUE(d.MatchesAfter(after));
    std::vector<std::uint8_t> x = before;
    d.ApplyForward(x);
    EXPECT_EQ(x, after);
    d.ApplyBackward(x);
    EXPECT_EQ(x, before);
  }
  // Only the run is kept: one changed byte of many costs a few bytes.
  std::vector<std::uint8_t> big(640 * 480, 3), bigPainted = big;
  bigPainted[12345] = 4;
  EXPECT_LT(ByteDiff::Between(big, bigPainted).bytes(), 200u);
}

TEST(UndoHistory, UndoAndRedoRestoreExactBytesAndANewStepDropsRedo) {
  Document d;
  d.model.SetTriangleCount(3);
  d.model.SetMapVertexCount(4);
  AddSkin(d.model, "a", 10);
  AddSkin(d.model, "b", 20);
  const auto start = ModelBytes(d.model);
  Paint(d, 5, 77);
  const auto painted = ModelBytes(d.model);
  {
    DocumentStep step(d, "Flip Selected Faces", STEP_MESH);
    d.model.triangles[1].flags = TRI_SELECTED | TRI_HIDDEN;
    std::swap(d.model.triangles[1].vertexIndex[0], d.model.triangles[1].vertexIndex[1]);
    d.model.mapVertices[3] = {12.5f, 7.25f};
  }
  const auto flipped = ModelBytes(d.model);
  {
    DocumentStep step(d, "Close Skin", STEP_SKINS);
    d.model.skins.erase(d.model.skins.begin());
    d.model.currentSkinIndex = 0;
  }
  const auto closed = ModelBytes(d.model);
  EXPECT_EQ(d.history.size(), 3u);
  EXPECT_EQ(d.history.UndoName(), "Close Skin");

  ASSERT_TRUE(d.Undo());
  EXPECT_EQ(ModelBytes(d.model), flipped);
  EXPECT_EQ(d.model.CurrentSkin(), d.model.skins[1].get());
  ASSERT_TRUE(d.Undo());
  EXPECT_EQ(ModelBytes(d.model), painted);
  ASSERT_TRUE(d.Undo());
  EXPECT_EQ(ModelBytes(d.model), start);
  EXPECT_FALSE(d.Undo());
  for (const auto* expected : {&painted, &flipped, &closed}) {
    ASSERT_TRUE(d.Redo());
    EXPECT_EQ(ModelBytes(d.model), *expected);
  }
  EXPECT_FALSE(d.Redo());

  d.Undo();
  d.Undo();
  Paint(d, 6, 1);
  EXPECT_FALSE(d.history.CanRedo());
  EXPECT_EQ(d.history.size(), 2u);
  // A command that changed nothing leaves no step.
  { DocumentStep step(d, "Nothing", STEP_MESH | STEP_SKINS); }
  EXPECT_EQ(d.history.size(), 2u);
}

TEST(UndoHistory, AStateChangedBehindTheHistoryIsNeverPlayedOver) {
  Document d;
  AddSkin(d.model, "a", 10);
  Paint(d, 5, 77);
  d.model.CurrentSkin()->pixels[5] = 78;  // not through a step
  const auto now = ModelBytes(d.model);
  EXPECT_FALSE(d.Undo());
  EXPECT_EQ(ModelBytes(d.model), now);
  EXPECT_FALSE(d.history.CanUndo());
}

TEST(UndoHistory, TheBudgetDropsTheOldestStepsAndNeverTheNewest) {
  Document d;
  AddSkin(d.model, "a", 10);
  for (int i = 0; i < 1000; ++i) Paint(d, static_cast<std::size_t>(i), 1);
  EXPECT_EQ(d.history.size(), 1000u);
  EXPECT_LT(d.history.bytes(), std::size_t{1} << 20);  // a one-texel stroke costs bytes, not a skin

  const std::size_t perStep = d.history.bytes() / 1000;
  d.history.SetBudget(perStep * 10);
  EXPECT_LE(d.history.size(), 10u);
  EXPECT_GE(d.history.size(), 9u);
  d.history.SetBudget(1);
  EXPECT_EQ(d.history.size(), 1u);
  {
    DocumentStep step(d, "Fill", STEP_CURRENT_SKIN);
    FillSkin(*d.model.CurrentSkin(), 9);
  }
  EXPECT_EQ(d.history.size(), 1u);
  EXPECT_EQ(d.history.UndoName(), "Fill");
  ASSERT_TRUE(d.Undo());
  EXPECT_EQ(d.model.CurrentSkin()->pixels[999], 1);
  EXPECT_EQ(d.model.CurrentSkin()->pixels[1000], 10);
}

TEST(UndoHistory, ASaveBetweenUndoAndRedoIsCarriedIntoBothSides) {
  Document d;
  AddSkin(d.model, "models/a.pcx", 10);
  Skin& s = *d.model.CurrentSkin();
  auto store = [&] {
    DocumentStep step(d, "Store Skin", STEP_CURRENT_SKIN);
    s.storedPixels = s.pixels;
  };
  Paint(d, 1, 11);
  store();
  Paint(d, 2, 22);
  store();
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(d.Undo());
  s.name = "models\\a.pcx";  // the list bar's spelling of a name is no edit
  EXPECT_EQ(d.ChangedSkins(), std::vector<int>{0});
  const std::vector<std::uint8_t> written = s.pixels;
  {
    SkinSave save(d, s);
    s.name = "saved.pcx";
    s.hasFile = 1;
    s.storedPixels = s.pixels;
    save.Written(s);
  }
  EXPECT_TRUE(d.ChangedSkins().empty());
  EXPECT_EQ(d.history.RedoName(), "Store Skin");

  for (int i = 0; i < 3; ++i) ASSERT_TRUE(d.Redo());
  EXPECT_EQ(s.pixels[2], 22);
  EXPECT_EQ(s.storedPixels, s.pixels);
  for (int i = 0; i < 4; ++i) ASSERT_TRUE(d.Undo());
  EXPECT_EQ(s.pixels[1], 10);
  // What Revert returns to and the name are the file's, whatever is undone.
  EXPECT_EQ(s.storedPixels, written);
  EXPECT_EQ(s.name, "saved.pcx");
  EXPECT_EQ(d.ChangedSkins(), std::vector<int>{0});
  ASSERT_TRUE(d.Redo());
  EXPECT_TRUE(d.ChangedSkins().empty());
}
