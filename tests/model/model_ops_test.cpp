#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>

#include "model/default_palette.h"
#include "model/model.h"
#include "model/weld.h"
#include "platform/profile.h"
#include "support/test_support.h"

namespace {

// Sets triangle i's corners directly (the "corners are the truth" case).
void SetCorners(Model& m, int i, MapVertex a, MapVertex b, MapVertex c) {
  m.triangles[i].cornerMap[0] = a;
  m.triangles[i].cornerMap[1] = b;
  m.triangles[i].cornerMap[2] = c;
}

}  // namespace

TEST(Weld, MergesCornersCloserThanTheToleranceOnly) {
  auto m = std::make_unique<Model>();
  m->SetTriangleCount(2);
  SetCorners(*m, 0, {10, 10}, {20, 10}, {20, 20});
  // 0.0019 apart in both axes: one vertex; 0.002 in either axis: separate.
  SetCorners(*m, 1, {10.0019f, 10.0019f}, {20.002f, 10}, {20, 20.002f});
  m->WeldMapVertices(0);
  EXPECT_EQ(m->MapVertexCount(), 5);
  EXPECT_EQ(m->triangles[1].mapIndex[0], 0);
  EXPECT_EQ(m->triangles[1].mapIndex[1], 3);
  EXPECT_EQ(m->triangles[1].mapIndex[2], 4);
  // The merged vertex sits where its first corner is; the corner keeps its own place.
  EXPECT_EQ(m->mapVertices[0].s, 10.0f);
  EXPECT_EQ(m->triangles[1].cornerMap[0].s, 10.0019f);
}

TEST(Weld, TakesTheFirstMatchingVertexInOrderOfFirstUse) {
  auto m = std::make_unique<Model>();
  m->SetTriangleCount(2);
  // Vertex 0 at 5.000, vertex 1 at 5.003: both within 1/512 of 5.0016.
  SetCorners(*m, 0, {5.0f, 0}, {5.003f, 0}, {9, 9});
  SetCorners(*m, 1, {5.0016f, 0}, {9, 9}, {5.003f, 0});
  m->WeldMapVertices(0);
  EXPECT_EQ(m->MapVertexCount(), 3);
  EXPECT_EQ(m->triangles[1].mapIndex[0], 0);
  EXPECT_EQ(m->triangles[1].mapIndex[1], 2);
  EXPECT_EQ(m->triangles[1].mapIndex[2], 1);
}

TEST(Weld, DropsDuplicateAndUnusedVerticesWhenCopyingFromIndices) {
  auto m = std::make_unique<Model>();
  m->SetMapVertexCount(5);
  m->mapVertices[0] = {1, 1};
  m->mapVertices[1] = {99, 99};  // used by nobody
  m->mapVertices[2] = {2, 2};
  m->mapVertices[3] = {1, 1};    // duplicate of 0
  m->mapVertices[4] = {3, 3};
  m->SetTriangleCount(1);
  m->triangles[0].mapIndex[0] = 4;
  m->triangles[0].mapIndex[1] = 3;
  m->triangles[0].mapIndex[2] = 2;
  m->WeldMapVertices(1);
  ASSERT_EQ(m->MapVertexCount(), 3);
  EXPECT_EQ(m->mapVertices[0].s, 3);
  EXPECT_EQ(m->mapVertices[1].s, 1);
  EXPECT_EQ(m->mapVertices[2].s, 2);
  EXPECT_EQ(m->triangles[0].mapIndex[0], 0);
  EXPECT_EQ(m->triangles[0].mapIndex[1], 1);
  EXPECT_EQ(m->triangles[0].mapIndex[2], 2);
  EXPECT_EQ(m->triangles[0].cornerMap[1].t, 1);
}

TEST(Weld, GridAgreesWithTheFullSearchOnRandomMappings) {
  std::mt19937 rng(1234);
  for (int round = 0; round < 16; ++round) {
    auto a = std::make_unique<Model>();
    auto b = std::make_unique<Model>();
    int tris = 1 + static_cast<int>(rng() % kMaxTriangles);
    a->SetTriangleCount(tris);
    b->SetTriangleCount(tris);
    // Clusters of corners a fraction of a tolerance apart, straddling cell
    // borders, plus exact duplicates and far-off values.
    std::uniform_int_distribution<int> base(0, round % 2 ? 20 : 400);
    std::uniform_real_distribution<float> jitter(-0.004f, 0.004f);
    for (int i = 0; i < tris; ++i)
      for (int k = 0; k < 3; ++k) {
        MapVertex v{base(rng) / 4.0f + jitter(rng), base(rng) / 4.0f + jitter(rng)};
        if (rng() % 7 == 0) v = {0.0f, 0.0f};
        if (rng() % 97 == 0) v.s = -30000.5f;
        a->triangles[i].cornerMap[k] = b->triangles[i].cornerMap[k] = v;
      }
    a->WeldMapVertices(0);
    WeldMapVerticesDirect(*b, 0);
    ASSERT_EQ(a->MapVertexCount(), b->MapVertexCount()) << "round " << round;
    for (int i = 0; i < tris; ++i)
      for (int k = 0; k < 3; ++k) ASSERT_EQ(a->triangles[i].mapIndex[k], b->triangles[i].mapIndex[k]);
    for (int e = 0; e < a->MapVertexCount(); ++e) {
      ASSERT_EQ(a->mapVertices[e].s, b->mapVertices[e].s);
      ASSERT_EQ(a->mapVertices[e].t, b->mapVertices[e].t);
    }
  }
}

TEST(Weld, NotANumberNeverMerges) {
  auto m = std::make_unique<Model>();
  m->SetTriangleCount(1);
  float nan = std::nanf("");
  SetCorners(*m, 0, {nan, 0}, {nan, 0}, {1, 1});
  m->WeldMapVertices(0);
  EXPECT_EQ(m->MapVertexCount(), 3);
}

TEST(MappingStore, RevertRightAfterStoreChangesNothing) {
  auto m = std::make_unique<Model>();
  m->SetMapVertexCount(3);
  m->mapVertices[0] = {1, 2};
  m->mapVertices[1] = {3, 4};
  m->mapVertices[2] = {5, 6};
  m->SetTriangleCount(1);
  m->triangles[0].mapIndex[0] = 0;
  m->triangles[0].mapIndex[1] = 1;
  m->triangles[0].mapIndex[2] = 2;
  m->StoreMapping();
  m->RevertMapping();
  EXPECT_EQ(m->MapVertexCount(), 3);
  EXPECT_EQ(m->mapVertices[1].s, 3);
  EXPECT_EQ(m->triangles[0].mapIndex[2], 2);
  EXPECT_EQ(m->triangles[0].cornerMap[2].t, 6);
}

TEST(MappingStore, RevertUndoesAnEditOfCornersAndVertices) {
  auto m = std::make_unique<Model>();
  m->SetMapVertexCount(3);
  m->mapVertices[0] = {1, 2};
  m->mapVertices[1] = {3, 4};
  m->mapVertices[2] = {5, 6};
  m->SetTriangleCount(1);
  for (int k = 0; k < 3; ++k) m->triangles[0].mapIndex[k] = static_cast<std::int16_t>(k);
  m->StoreMapping();
  // An edit that moves a corner onto another and re-welds.
  m->triangles[0].cornerMap[1] = {1, 2};
  m->WeldMapVertices(0);
  ASSERT_EQ(m->MapVertexCount(), 2);
  m->RevertMapping();
  EXPECT_EQ(m->MapVertexCount(), 3);
  EXPECT_EQ(m->triangles[0].mapIndex[1], 1);
  EXPECT_EQ(m->triangles[0].cornerMap[1].s, 3);
  EXPECT_EQ(m->mapVertices[1].t, 4);
}

TEST(FaceNormals, UnitCrossProductOfTheEdgesInFileOrder) {
  auto m = std::make_unique<Model>();
  auto frame = std::make_unique<Frame>(kMaxVertices);
  frame->vertices[0] = {0, 0, 0};
  frame->vertices[1] = {2, 0, 0};
  frame->vertices[2] = {2, 3, 0};
  frame->vertices[3] = {4, 0, 0};
  m->frames.push_back(std::move(frame));
  m->SetVertexCount(4);
  m->currentFrameIndex = 0;
  m->SetTriangleCount(2);
  m->triangles[0].vertexIndex[0] = 0;
  m->triangles[0].vertexIndex[1] = 1;
  m->triangles[0].vertexIndex[2] = 2;
  // (1,0,0) x (0,3,0) points along +z.
  m->triangles[1].vertexIndex[0] = 0;
  m->triangles[1].vertexIndex[1] = 1;
  m->triangles[1].vertexIndex[2] = 3;  // all on a line: no area
  m->triangles[1].faceNormal[0] = 0.25f;
  m->ComputeFaceNormals();
  EXPECT_FLOAT_EQ(m->triangles[0].faceNormal[0], 0);
  EXPECT_FLOAT_EQ(m->triangles[0].faceNormal[1], 0);
  EXPECT_FLOAT_EQ(m->triangles[0].faceNormal[2], 1);
  EXPECT_EQ(m->triangles[1].faceNormal[0], 0.25f);  // degenerate keeps what it had
}

TEST(FaceNormals, NothingHappensWithoutACurrentFrame) {
  auto m = std::make_unique<Model>();
  m->SetTriangleCount(1);
  m->triangles[0].faceNormal[1] = 0.5f;
  m->ComputeFaceNormals();
  EXPECT_EQ(m->triangles[0].faceNormal[1], 0.5f);
}

TEST(DefaultPalette, GreyRampWithoutAUsablePaletteFile) {
  Palette p{};
  LoadDefaultPalette("", "/no/such/base", p);
  EXPECT_EQ(p[0], 0);
  EXPECT_EQ(p[3 * 200 + 1], 200);
  EXPECT_EQ(p[767], 255);
  p.fill(7);
  LoadDefaultPalette("/no/such/colormap.pcx", "", p);
  EXPECT_EQ(p, GreyRampPalette());
}

TEST(DefaultPalette, ReadsTheGivenFileARelativeOneBelowTheBaseFolder) {
  TempDir dir, elsewhere;
  std::vector<std::uint8_t> act(768);
  for (int i = 0; i < 768; ++i) act[i] = static_cast<std::uint8_t>(255 - i % 256);
  WriteBytes(dir.File("game.act"), act);
  WriteBytes(elsewhere.File("game.act"), std::vector<std::uint8_t>(768, 1));
  FolderGuard guard(elsewhere.path());
  for (const std::string& path : {dir.File("game.act"), std::string("GAME.act")}) {
    Palette p{};
    LoadDefaultPalette(path, dir.path(), p);
    EXPECT_EQ(p[0], 255) << path;
    EXPECT_EQ(p[5], 250) << path;
  }
}
