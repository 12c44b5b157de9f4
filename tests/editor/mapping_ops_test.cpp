#include <gtest/gtest.h>

#include <cmath>

#include "editor/mapping_ops.h"
#include "support/model_bytes.h"

namespace {

using Tri = std::array<MapVertex, 3>;

// Triangles given by their corners on a 64 x 64 skin; each corner its own
// 3D vertex unless `vertices` says otherwise.
struct Mapped {
  Model m;
  Frame* frame = nullptr;
  explicit Mapped(const std::vector<std::array<MapVertex, 3>>& corners) {
    m.frames.push_back(std::make_unique<Frame>(kMaxVertices));
    frame = m.frames.back().get();
    m.skinWidth = m.skinHeight = 64;
    m.SetTriangleCount(static_cast<std::int16_t>(corners.size()));
    m.SetVertexCount(static_cast<std::int16_t>(corners.size() * 3));
    for (std::size_t i = 0; i < corners.size(); ++i)
      for (int k = 0; k < 3; ++k) {
        m.triangles[i].cornerMap[k] = corners[i][static_cast<std::size_t>(k)];
        m.triangles[i].vertexIndex[k] = static_cast<std::int16_t>(i * 3 + static_cast<std::size_t>(k));
      }
    m.WeldMapVertices(0);
  }
  void Select(std::initializer_list<int> tris) {
    for (int i : tris) m.triangles[static_cast<std::size_t>(i)].flags |= TRI_SELECTED;
  }
  MapVertex Corner(int tri, int k) const { return m.triangles[static_cast<std::size_t>(tri)].cornerMap[k]; }
};

void ExpectAt(const MapVertex& v, float s, float t) {
  EXPECT_FLOAT_EQ(v.s, s);
  EXPECT_FLOAT_EQ(v.t, t);
}

}  // namespace

TEST(MappingOps, FlipMirrorTurnWithinTheSelectionsOwnBox) {
  Mapped d({{{{10, 10}, {20, 20}, {12, 40}}}, {{{50, 50}, {51, 50}, {50, 51}}}});
  d.Select({0});
  FlipSelectedMapping(d.m);  // t in 10..40 becomes 40 - (t - 10)
  ExpectAt(d.Corner(0, 0), 10, 40);
  ExpectAt(d.Corner(0, 1), 20, 30);
  ExpectAt(d.Corner(0, 2), 12, 10);
  ExpectAt(d.Corner(1, 0), 50, 50);
  FlipSelectedMapping(d.m);
  ExpectAt(d.Corner(0, 1), 20, 20);
  MirrorSelectedMapping(d.m);  // s in 10..20
  ExpectAt(d.Corner(0, 0), 20, 10);
  ExpectAt(d.Corner(0, 2), 18, 40);
  MirrorSelectedMapping(d.m);

  // Box 10..20 x 10..40, centre (15, 25): (s, t) -> (15 + (t - 25), 25 - (s - 15)).
  EXPECT_EQ(RotateSelectedMapping(d.m), "");
  ExpectAt(d.Corner(0, 0), 0, 30);
  ExpectAt(d.Corner(0, 1), 10, 20);
  ExpectAt(d.Corner(0, 2), 30, 28);

  // A tall selection at the top edge would turn off the skin: refused, unchanged.
  Mapped tall({Tri{{{30, 0}, {32, 0}, {31, 63}}}});
  tall.Select({0});
  const auto before = ModelBytes(tall.m);
  EXPECT_EQ(RotateSelectedMapping(tall.m),
            "Rotation of the selected triangles will place them outside of the skin area...aborting.");
  EXPECT_EQ(ModelBytes(tall.m), before);
}

TEST(MappingOps, SnapAndDeleteThenRevert) {
  Mapped d({{{{10.75f, 3.5f}, {20.25f, 7}, {4, 4}}}, {{{10.75f, 3.5f}, {40, 40}, {41, 41.5f}}}});
  d.Select({0});
  SnapSelectedToGrid(d.m);
  ExpectAt(d.Corner(0, 0), 10, 3);
  ExpectAt(d.Corner(0, 1), 20, 7);
  ExpectAt(d.Corner(1, 0), 10, 3);     // shared with the unselected triangle: moves too
  ExpectAt(d.Corner(1, 2), 41, 41.5f);  // its own corner stays
  d.m.StoreMapping();
  const auto stored = ModelBytes(d.m);
  DeleteSelectedMapping(d.m);
  for (int k = 0; k < 3; ++k) ExpectAt(d.Corner(0, k), 0, 0);
  d.m.RevertMapping();
  d.m.WeldMapVertices(1);
  ExpectAt(d.Corner(0, 1), 20, 7);
  ExpectAt(d.Corner(1, 0), 10, 3);
}

TEST(MappingOps, MapFrom3DViewFillsTheFrameAndAnEdgeOnTriangleLiesOnItsLowEdge) {
  // Model (x, y, z) sits in camera space at (-y, z, distance - x) with this
  // camera; the triangle has no height on screen (all camera y = 0).
  Viewport view;
  view.width = view.height = 100;
  view.rotation = Mat3{};
  for (int i = 0; i < 3; ++i) view.rotation.m[i][i] = 1;
  const MappingFrame frame = NormalisedFrame(MappingFrame{}, 64, 64);  // the whole skin
  const float d = view.distance;
  struct Case {
    int projection;
    float middle;
  } cases[] = {
      {0, 64.0f * (5 * d / (d - 5)) / 10},  // Perspective divides by depth
      {1, 32.0f},                            // Parallel does not
  };
  for (const Case& c : cases) {
    Mapped m({Tri{{{1, 1}, {2, 2}, {3, 3}}}});
    m.frame->vertices[0] = {0, 0, 0};
    m.frame->vertices[1] = {0, 10, 0};
    m.frame->vertices[2] = {5, 5, 0};
    m.Select({0});
    MapFrom3DViewOptions options;
    options.projection = c.projection;
    MapFrom3DView(m.m, view, frame, options, false);
    ExpectAt(m.Corner(0, 0), 0, 0);
    ExpectAt(m.Corner(0, 1), 63, 0);  // 64 clamped to the last column
    ExpectAt(m.Corner(0, 2), c.middle, 0);

    // Seen edge-on it does not face the camera: with "No Backfaces" nothing moves.
    Mapped again({Tri{{{1, 1}, {2, 2}, {3, 3}}}});
    again.frame->vertices[1] = {0, 10, 0};
    again.frame->vertices[2] = {5, 5, 0};
    again.Select({0});
    options.noBackfaces = true;
    MapFrom3DView(again.m, view, frame, options, true);
    ExpectAt(again.Corner(0, 2), 3, 3);
  }
}

TEST(MappingOps, RetroMapScalesTheStoredPositionsToThePicture) {
  // The current mapping: one triangle over the upper right half of a 4 x 4
  // skin, one collapsed; the file was painted for a 4-wide skin, the picture
  // is 8 wide in two blocks of four columns: unscaled, the skin's columns
  // 0..3 would all come from the first block.
  Mapped d({{{{0, 0}, {4, 0}, {4, 4}}}, {{{1, 0}, {1, 0}, {1, 0}}}});
  d.m.skinWidth = d.m.skinHeight = 4;
  Skin picture;
  picture.width = 8;
  picture.height = 4;
  picture.path = "/old.pcx";
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) picture.pixels.push_back(static_cast<std::uint8_t>(x / 4 * 10 + 1));
  VmapData file;
  file.numTriangles = 2;
  file.skinWidth = file.skinHeight = 4;
  file.records.resize(2);
  const std::int16_t s[3] = {0, 4, 4}, t[3] = {0, 0, 4};
  for (int k = 0; k < 3; ++k) {
    file.records[0].s[k] = s[k];
    file.records[0].t[k] = t[k];
  }
  std::string message;
  auto skin = RetroMap(d.m, picture, file, 99, &message);
  ASSERT_TRUE(skin) << message;
  EXPECT_EQ(skin->width, 4);
  EXPECT_EQ(skin->pixels[1 * 4 + 3], 11);  // skin column 3: picture column 6 or so
  EXPECT_EQ(skin->pixels[0 * 4 + 1], 1);
  EXPECT_EQ(skin->pixels[3 * 4 + 0], 99);  // outside every triangle
  EXPECT_EQ(skin->storedPixels, skin->pixels);
  EXPECT_TRUE(skin->flags & SKIN_EXTERNAL);

  file.numTriangles = 3;
  file.records.resize(3);
  EXPECT_FALSE(RetroMap(d.m, picture, file, 99, &message));
  EXPECT_EQ(message, "The number of triangles in this VMAP file do not match the current model!");
}
