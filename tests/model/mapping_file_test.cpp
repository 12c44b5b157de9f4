#include <gtest/gtest.h>

#include <cstring>

#include "model/mapping_file.h"
#include "support/model_bytes.h"

namespace {

// Two triangles on a 256 x 256 skin, corners at (10 + k, 20 + k) and (30 + k, 40 + k).
struct TwoTriangles {
  Model m;
  TwoTriangles() {
    m.SetTriangleCount(2);
    m.SetVertexCount(4);
    m.skinWidth = m.skinHeight = 256;
    for (int i = 0; i < 2; ++i)
      for (int k = 0; k < 3; ++k) {
        Triangle& t = m.triangles[static_cast<std::size_t>(i)];
        t.vertexIndex[k] = static_cast<std::int16_t>(i + k);
        t.cornerMap[k] = {10.0f + 20 * i + k, 20.0f + 20 * i + k};
      }
    m.WeldMapVertices(0);
  }
};

void Put16(std::vector<std::uint8_t>& b, int v) {
  b.push_back(static_cast<std::uint8_t>(v & 0xff));
  b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xff));
}

// A file written straight from the layout: header, then per triangle six
// coordinates, three mapping indices, three vertex indices.
std::vector<std::uint8_t> File(int count, int mapCount, int w, int h, const std::vector<std::array<int, 12>>& records) {
  std::vector<std::uint8_t> b{'V', 'M', 'A', 'P'};
  for (int v : {count, mapCount, w, h}) Put16(b, v);
  for (const auto& r : records)
    for (int v : r) Put16(b, v);
  return b;
}

}  // namespace

TEST(MappingFile, ExportTruncatesAndImportTakesTheFileWhole) {
  TwoTriangles d;
  d.m.triangles[0].cornerMap[0] = {0.6f, -0.6f};
  d.m.WeldMapVertices(0);
  const std::vector<std::uint8_t> file = EncodeVmap(d.m);
  ASSERT_EQ(file.size(), 12u + 24 * 2);
  EXPECT_EQ(std::memcmp(file.data(), "VMAP", 4), 0);
  EXPECT_EQ(file[12] | file[13] << 8, 0);  // 0.6 -> 0
  EXPECT_EQ(file[14] | file[15] << 8, 0);  // -0.6 -> 0
  EXPECT_EQ(file[12 + 24 + 4] | file[12 + 24 + 5] << 8, 31);  // triangle 1, corner 1 s
  EXPECT_EQ(file[12 + 18 + 2] | file[12 + 18 + 3] << 8, 1);   // triangle 0, corner 1 vertex

  std::string refused;
  auto data = ReadVmap(file, d.m, true, &refused);
  ASSERT_TRUE(data) << refused;
  ApplyVmap(d.m, *data);
  EXPECT_EQ(d.m.triangles[0].cornerMap[0].s, 0.0f);
  EXPECT_EQ(d.m.triangles[1].cornerMap[2].t, 42.0f);
}

TEST(MappingFile, AFileForAnotherSkinSizeIsRescaled) {
  TwoTriangles d;
  // Written for 128 x 128: every coordinate doubles on the 256 x 256 skin;
  // a height of 300 scales t by 256 / 300 in single precision, truncated.
  auto data = ReadVmap(File(2, 6, 128, 300, {{1, 150, 2, 3, 5, 7, 0, 1, 2, 0, 1, 2}, {1, 2, 3, 4, 5, 6, 3, 4, 5, 1, 2, 3}}),
                       TwoTriangles().m, true, nullptr);
  ASSERT_TRUE(data);
  ApplyVmap(d.m, *data);
  EXPECT_EQ(d.m.triangles[0].cornerMap[0].s, 2.0f);
  EXPECT_EQ(d.m.triangles[0].cornerMap[0].t, 128.0f);  // 150 * 256 / 300 = 128
  EXPECT_EQ(d.m.triangles[0].cornerMap[2].s, 10.0f);
  EXPECT_EQ(d.m.triangles[0].cornerMap[2].t, 5.0f);    // 7 * 256 / 300 = 5.97
}

TEST(MappingFile, ImportToSelectedSnapsEveryCornerAndShapesOnlyTheSelected) {
  for (bool anySelected : {false, true}) {
    TwoTriangles d;
    d.m.triangles[0].cornerMap[1] = {11.75f, 21.25f};
    d.m.WeldMapVertices(0);
    if (anySelected) d.m.triangles[1].flags = TRI_SELECTED | TRI_HIDDEN;
    auto data = ReadVmap(File(2, 0, 256, 256, {{9, 9, 9, 9, 9, 9, -5, -5, -5, 99, 99, 99}, {1, 2, 3, 4, 5, 6, -1, 0, 0, 0, 0, 0}}),
                         d.m, false, nullptr);
    ASSERT_TRUE(data);  // indices are not read for the selected-only import
    ApplyVmapToSelected(d.m, *data);
    EXPECT_EQ(d.m.triangles[0].cornerMap[1].s, 11.0f);
    EXPECT_EQ(d.m.triangles[0].cornerMap[1].t, 21.0f);
    EXPECT_EQ(d.m.triangles[1].cornerMap[2].s, anySelected ? 5.0f : 32.0f);
    EXPECT_EQ(d.m.triangles[0].vertexIndex[0], 0);
  }
}

TEST(MappingFile, DamagedFilesAreRefusedBeforeAnythingChanges) {
  const std::array<int, 12> ok{1, 2, 3, 4, 5, 6, 0, 1, 2, 0, 1, 2};
  std::vector<std::uint8_t> shortFile = File(2, 3, 256, 256, {ok, ok});
  shortFile.pop_back();
  std::vector<std::uint8_t> badMagic = File(2, 3, 256, 256, {ok, ok});
  badMagic[0] = 'v';
  const struct {
    std::vector<std::uint8_t> file;
    const char* message;
  } cases[] = {
      {badMagic, "This isn't a valid VMAP file!"},
      {{'V', 'M'}, "This isn't a valid VMAP file!"},
      {File(3, 3, 256, 256, {ok, ok, ok}), "This file doesn't have the same triangle count at the current MD2!"},
      {shortFile, "This VMAP file ends before its last triangle!"},
      {File(2, 3, 0, 256, {ok, ok}), "This VMAP file gives a skin size of zero!"},
      {File(2, 3, 256, 256, {ok, {1, 2, 3, 4, 5, 6, 0, 1, 3, 0, 1, 2}}), "This VMAP file names a mapping vertex it does not have!"},
      {File(2, 3, 256, 256, {ok, {1, 2, 3, 4, 5, 6, 0, -1, 2, 0, 1, 2}}), "This VMAP file names a mapping vertex it does not have!"},
      {File(2, 12289, 256, 256, {ok, ok}), "This VMAP file names a mapping vertex it does not have!"},
      {File(2, 3, 256, 256, {ok, {1, 2, 3, 4, 5, 6, 0, 1, 2, 0, 1, 4}}), "This VMAP file names a vertex the model does not have!"},
  };
  for (const auto& c : cases) {
    TwoTriangles d;
    const auto before = ModelBytes(d.m);
    std::string refused;
    EXPECT_FALSE(ReadVmap(c.file, d.m, true, &refused));
    EXPECT_EQ(refused, c.message);
    EXPECT_EQ(ModelBytes(d.m), before);
  }
}

TEST(MappingFile, ImportThenRevertGivesBackTheMappingBeforeTheImport) {
  TwoTriangles d;  // the file keeps the model's vertex indices
  d.m.StoreMapping();
  auto data = ReadVmap(File(2, 6, 256, 256, {{1, 2, 3, 4, 5, 6, 0, 1, 2, 0, 1, 2}, {7, 8, 9, 10, 11, 12, 3, 4, 5, 1, 2, 3}}),
                       d.m, true, nullptr);
  ASSERT_TRUE(data);
  ApplyVmap(d.m, *data);
  EXPECT_EQ(d.m.triangles[1].cornerMap[2].s, 11.0f);
  d.m.RevertMapping();
  EXPECT_EQ(d.m.triangles[1].cornerMap[2].s, 32.0f);
  EXPECT_EQ(d.m.triangles[0].cornerMap[1].t, 21.0f);
}
