#include <gtest/gtest.h>

#include <memory>

#include "model/model.h"
#include "render/rasterizer.h"
#include "editor/model_stats.h"

namespace {

void AddMapVertex(Model& m, float s, float t) {
  m.mapVertices.push_back(MapVertex{s, t});
  m.mapVertexSelected.push_back(0);
}

void AddTriangle(Model& m, int a, int b, int c, std::uint32_t flags = 0) {
  Triangle& tri = m.triangles.emplace_back();
  tri.flags = flags;
  tri.mapIndex[0] = static_cast<std::int16_t>(a);
  tri.mapIndex[1] = static_cast<std::int16_t>(b);
  tri.mapIndex[2] = static_cast<std::int16_t>(c);
}

struct StatsModel {
  StatsModel(int w, int h) {
    m.skinWidth = static_cast<std::int16_t>(w);
    m.skinHeight = static_cast<std::int16_t>(h);
  }
  Model m;
};

TEST(WastedSpace, CountsTheTexelsNoMappingCovers) {
  StatsModel empty(8, 8);
  EXPECT_EQ(WastedSpacePercent(empty.m), 100);

  // Two halves of the skin, one of them hidden: hidden triangles count too.
  StatsModel full(8, 8);
  AddMapVertex(full.m, 0, 0);
  AddMapVertex(full.m, 7.9f, 0);
  AddMapVertex(full.m, 7, 7.5f);
  AddMapVertex(full.m, 0, 7);
  AddTriangle(full.m, 0, 1, 2);
  AddTriangle(full.m, 0, 2, 3, TRI_HIDDEN);
  EXPECT_EQ(WastedSpacePercent(full.m), 0);

  // One half, diagonal included: 36 of 64 covered, 28 * 100 / 64 = 43.75.
  StatsModel half(8, 8);
  AddMapVertex(half.m, 0, 0);
  AddMapVertex(half.m, 7, 0);
  AddMapVertex(half.m, 7, 7);
  AddTriangle(half.m, 0, 1, 2);
  EXPECT_EQ(WastedSpacePercent(half.m), 43);
}

TEST(WastedSpace, SurvivesMappingsOffTheSkinAndBrokenIndices) {
  StatsModel m(8, 4);
  AddMapVertex(m.m, -100, -100);
  AddMapVertex(m.m, 1e20f, 2);
  AddMapVertex(m.m, 3, 1e9f);
  AddTriangle(m.m, 0, 1, 2);
  AddTriangle(m.m, 0, 1, 9);  // beyond numMapVertices: skipped
  const int percent = WastedSpacePercent(m.m);
  EXPECT_GE(percent, 0);
  EXPECT_LT(percent, 100);

  StatsModel none(0, 0);
  EXPECT_EQ(WastedSpacePercent(none.m), 0);
}

TEST(WastedSpace, LeavesTheGivenRasterizersRowsEmpty) {
  StatsModel m(8, 8);
  auto r = std::make_unique<CRasterizer>();
  EXPECT_EQ(WastedSpacePercent(m.m, *r), 100);
  for (int y = 0; y < 8; ++y) EXPECT_GT(r->SpanLeft(y), r->SpanRight(y)) << y;
}

TEST(ModelStats, RowsShowValuesAsTheyAreBesideFixedLimits) {
  StatsModel s(8, 8);
  s.m.SetVertexCount(2500);
  for (int i = 0; i < 3; ++i) {
    auto skin = std::make_unique<Skin>();
    skin->flags = SKIN_EXTERNAL;
    s.m.skins.push_back(std::move(skin));
  }
  const auto rows = ModelStatRows(s.m);
  ASSERT_EQ(rows.size(), 9u);
  EXPECT_EQ(rows[0].data, "Vertices");
  EXPECT_EQ(rows[0].current, "2500");
  EXPECT_EQ(rows[0].limit, "2048");
  EXPECT_EQ(rows[1].data, "Mapping Verts");
  EXPECT_EQ(rows[4].data, "Linked Skins");
  EXPECT_EQ(rows[4].current, "0");
  EXPECT_EQ(rows[4].limit, "32");
  EXPECT_EQ(rows[5].current, "3");
  EXPECT_EQ(rows[5].limit, "Unlimited");
  EXPECT_EQ(rows[8].data, "Wasted Space");
  EXPECT_EQ(rows[8].current, "100%");
  EXPECT_EQ(rows[8].limit, "Undecided");
}

}  // namespace
