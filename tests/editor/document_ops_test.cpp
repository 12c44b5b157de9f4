#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "editor/document_ops.h"
#include "editor/workspace.h"
#include "image/new_skin.h"
#include "image/skin_set.h"
#include "support/test_support.h"

namespace {

// One selected triangle over a 16 x 12 skin that is the current one.
std::unique_ptr<Workspace> MakeWorkspace() {
  auto ws = std::make_unique<Workspace>();
  Model& m = ws->model;
  m.skinWidth = 16;
  m.skinHeight = 12;
  const MapVertex corners[3] = {{1.5f, 1}, {12, 2}, {3, 10.5f}};
  m.SetTriangleCount(1);
  m.SetMapVertexCount(3);
  Triangle& tri = m.triangles[0];
  for (int k = 0; k < 3; ++k) {
    m.mapVertices[static_cast<std::size_t>(k)] = corners[k];
    tri.mapIndex[k] = static_cast<std::int16_t>(k);
  }
  tri.flags = TRI_SELECTED;
  auto skin = MakeBlankSkin("s", 16, 12, GreyRampPalette());
  FillSkin(*skin, 100);
  AppendSkinToList(m.skins, m.currentSkinIndex, std::move(skin));
  return ws;
}

std::vector<std::uint8_t> SkinAndMapping(const Model& m) {
  std::vector<std::uint8_t> out = m.skins.front()->pixels;
  const Palette& palette = m.skins.front()->palette;
  out.insert(out.end(), palette.begin(), palette.end());
  for (int i = 0; i < m.MapVertexCount(); ++i) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&m.mapVertices[static_cast<std::size_t>(i)]);
    out.insert(out.end(), bytes, bytes + sizeof(MapVertex));
  }
  return out;
}

}  // namespace

TEST(DocumentOps, EachChangeIsOneNamedStepThatUndoes) {
  using Op = std::function<OpResult(Workspace&)>;
  const struct {
    const char* step;
    Op run;
  } cases[] = {
      {"Flip Selected", [](Workspace& w) { return FlipSelectedMapping(w.document); }},
      {"Mirror Selected", [](Workspace& w) { return MirrorSelectedMapping(w.document); }},
      {"Delete Selected Mapping", [](Workspace& w) { return DeleteSelectedMapping(w.document); }},
      {"Snap Selected to Grid", [](Workspace& w) { return SnapSelectedToGrid(w.document); }},
      {"Invert Palette", [](Workspace& w) { return Invert(w.document, InvertWhat::Palette); }},
      {"Invert Pixels", [](Workspace& w) { return Invert(w.document, InvertWhat::Pixels); }},
      {"Outline Selected", [](Workspace& w) { return OutlineSelected(w.document, w.editor, w.rasterizer); }},
  };
  for (const auto& c : cases) {
    auto ws = MakeWorkspace();
    const auto before = SkinAndMapping(ws->model);
    const OpResult result = c.run(*ws);
    EXPECT_TRUE(result.done) << c.step;
    EXPECT_EQ(result.message, "") << c.step;
    EXPECT_EQ(ws->document.history.UndoName(), c.step);
    EXPECT_NE(SkinAndMapping(ws->model), before) << c.step;
    ASSERT_TRUE(ws->document.Undo()) << c.step;
    EXPECT_EQ(SkinAndMapping(ws->model), before) << c.step;
  }
}

TEST(DocumentOps, RefusalsGiveTheProgramsWords) {
  TempDir dir;
  auto ws = MakeWorkspace();
  const std::string missing = dir.File("none.vmp");
  const OpResult import = ImportMapping(ws->document, missing, false);
  EXPECT_FALSE(import.done);
  EXPECT_NE(import.message.find(missing), std::string::npos) << import.message;

  auto small = MakeBlankSkin("p", 8, 8, GreyRampPalette());
  const OpResult load = LoadToSelected(ws->document, *small, ws->editor, ws->rasterizer);
  EXPECT_FALSE(load.done);
  EXPECT_EQ(load.message, "Error loading skin: Incorrect dimensions!");

  ws->model.skins.clear();
  ws->model.currentSkinIndex = -1;
  const OpResult none = Invert(ws->document, InvertWhat::Both);
  EXPECT_FALSE(none.done);
  EXPECT_EQ(none.message, "");
}
