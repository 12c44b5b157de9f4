#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "editor/document_bytes.h"

namespace {

// Mesh bytes in the layout of the journals written while the model's lists
// were rooms of fixed size: counts, then list sizes larger than the counts,
// then every entry of every list.
struct RoomBytes {
  std::vector<std::uint8_t> out;
  template <typename T>
  void Put(T v) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(&v);
    out.insert(out.end(), p, p + sizeof v);
  }
};

std::vector<std::uint8_t> RoomMesh(std::int16_t triangles, std::int16_t maps, std::int16_t stored,
                                   std::uint32_t room, std::int16_t vertices = 3) {
  RoomBytes b;
  for (std::int16_t v : {vertices, maps, triangles, std::int16_t{16}, std::int16_t{8}, stored}) b.Put(v);
  for (int i = 0; i < 4; ++i) b.Put(room);
  for (std::uint32_t t = 0; t < room; ++t) {
    b.Put(std::uint32_t{t == 1 ? TRI_SELECTED : 0u});
    for (int k = 0; k < 9; ++k) b.Put(static_cast<std::int16_t>(t < 2 ? k % 3 : 0));
    for (int k = 0; k < 6; ++k) b.Put(static_cast<float>(t));
  }
  for (int list = 0; list < 2; ++list)
    for (std::uint32_t v = 0; v < room; ++v) b.Put(MapVertex{static_cast<float>(v), static_cast<float>(list)});
  for (std::uint32_t v = 0; v < room; ++v) b.Put(static_cast<std::uint8_t>(v == 2));
  return b.out;
}

}  // namespace

TEST(MeshBytes, BytesFromFixedRoomsReadBackToListsOfTheCounts) {
  struct Case {
    const char* what;
    std::int16_t triangles, maps, stored;
    bool taken;
    std::int16_t vertices = 3;
  };
  const Case cases[] = {
      {"counts inside the rooms", 2, 3, 3, true},
      {"empty mesh", 0, 0, 0, true},
      {"triangle count past its room", 9, 3, 3, false},
      {"mapping count past its room", 2, 9, 3, false},
      {"negative stored count", 2, 3, -1, false},
      {"negative vertex count", 2, 3, 3, false, -1},
      {"vertex count past what a frame holds", 2, 3, 3, false, kMaxVertices + 1},
      {"every frame follows the vertex count", 2, 3, 3, true, 7},
  };
  for (const Case& c : cases) {
    Model m;
    m.frames.push_back(std::make_unique<Frame>(5));
    m.SetVertexCount(5);
    m.SetTriangleCount(5);
    const bool taken = SetMeshBytes(m, RoomMesh(c.triangles, c.maps, c.stored, 8, c.vertices));
    EXPECT_EQ(taken, c.taken) << c.what;
    if (!c.taken) {
      EXPECT_EQ(m.TriangleCount(), 5) << c.what;
      EXPECT_EQ(m.VertexCount(), 5) << c.what;
      continue;
    }
    EXPECT_EQ(m.VertexCount(), c.vertices) << c.what;
    EXPECT_EQ(m.frames[0]->vertices.size(), static_cast<std::size_t>(c.vertices)) << c.what;
    EXPECT_EQ(m.TriangleCount(), c.triangles) << c.what;
    EXPECT_EQ(m.MapVertexCount(), c.maps) << c.what;
    EXPECT_EQ(m.StoredMapVertexCount(), c.stored) << c.what;
    EXPECT_EQ(m.mapVertexSelected.size(), m.mapVertices.size()) << c.what;
    if (c.triangles < 2 || c.maps < 3) continue;
    EXPECT_EQ(m.triangles[1].flags, TRI_SELECTED);
    EXPECT_EQ(m.triangles[1].cornerMap[2].s, 1.0f);
    EXPECT_EQ(m.mapVertices[2].s, 2.0f);
    EXPECT_EQ(m.storedMapVertices[2].t, 1.0f);
    EXPECT_EQ(m.mapVertexSelected[2], 1);
    // Written again, the lists are exactly the counts long.
    Model again;
    ASSERT_TRUE(SetMeshBytes(again, MeshBytes(m)));
    EXPECT_EQ(MeshBytes(again), MeshBytes(m));
  }
}
