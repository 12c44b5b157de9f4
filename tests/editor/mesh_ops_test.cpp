#include <gtest/gtest.h>

#include <vector>

#include "editor/mesh_ops.h"
#include "editor/selection_ops.h"

namespace {

// A model whose triangles are given as mapping-vertex triples; each corner's
// 3D vertex is its mapping vertex unless `vertices` says otherwise, and the
// mapping vertex k sits at (k, k * 2).
struct Mesh {
  Model m;
  explicit Mesh(const std::vector<std::array<int, 3>>& corners,
                const std::vector<std::array<int, 3>>& vertices = {}) {
    m.SetTriangleCount(static_cast<std::int16_t>(corners.size()));
    int most = 0;
    for (std::size_t i = 0; i < corners.size(); ++i)
      for (int k = 0; k < 3; ++k) {
        Triangle& t = m.triangles[i];
        t.mapIndex[k] = static_cast<std::int16_t>(corners[i][k]);
        t.vertexIndex[k] = static_cast<std::int16_t>(vertices.empty() ? corners[i][k] : vertices[i][k]);
        t.cornerMap[k] = {static_cast<float>(corners[i][k]), static_cast<float>(corners[i][k] * 2)};
        most = std::max(most, corners[i][k] + 1);
      }
    m.SetMapVertexCount(static_cast<std::int16_t>(most));
    m.SetVertexCount(static_cast<std::int16_t>(most + 8));
    for (int v = 0; v < most; ++v) m.mapVertices[static_cast<std::size_t>(v)] = {float(v), float(v * 2)};
  }
  void Flag(std::initializer_list<int> tris, std::uint32_t flag) {
    for (int i : tris) m.triangles[static_cast<std::size_t>(i)].flags |= flag;
  }
  std::vector<int> Selected() const {
    std::vector<int> out;
    for (int i = 0; i < m.TriangleCount(); ++i)
      if (m.triangles[static_cast<std::size_t>(i)].flags & TRI_SELECTED) out.push_back(i);
    return out;
  }
};

// Two strips of quads on mapping vertices 0..4 over 5..9 (Ui = (i, i+1, 5+i),
// Di = (i+1, 6+i, 5+i)): triangles 0..7 in the order U0 D0 U1 D1 ...
std::vector<std::array<int, 3>> Strip() {
  std::vector<std::array<int, 3>> t;
  for (int i = 0; i < 4; ++i) {
    t.push_back({i, i + 1, 5 + i});
    t.push_back({i + 1, 6 + i, 5 + i});
  }
  return t;
}

}  // namespace

TEST(Selection, ConnectedGrowAndShrinkFollowTheMappingNotThe3DMesh) {
  // Islands {0, 1} and {2, 3}: triangle 2 shares 3D vertices with triangle
  // 1 but none of its mapping vertices; triangle 4 is hidden on island two.
  Mesh islands({{0, 1, 2}, {1, 2, 3}, {10, 11, 12}, {11, 12, 13}, {12, 13, 14}},
               {{0, 1, 2}, {1, 2, 3}, {1, 2, 4}, {2, 4, 5}, {4, 5, 6}});
  islands.Flag({0}, TRI_SELECTED);
  islands.Flag({4}, TRI_HIDDEN);
  SelectConnected(islands.m);
  EXPECT_EQ(islands.Selected(), (std::vector<int>{0, 1}));
  islands.Flag({2}, TRI_SELECTED);
  SelectConnected(islands.m);
  EXPECT_EQ(islands.Selected(), (std::vector<int>{0, 1, 2, 3}));  // the hidden one stays out

  struct Case {
    void (*op)(Model&);
    std::vector<int> before, after;
  } cases[] = {
      // U0 touches D0 and U1 through vertex 1 and 5/6; D1 = (2, 7, 6) has 7 outside.
      {GrowSelection, {0}, {0, 1, 2}},
      {GrowSelection, {0, 1, 2}, {0, 1, 2, 3, 4}},
      {ShrinkSelection, {0, 1, 2, 3, 4, 5, 6, 7}, {0, 1, 2, 3, 4, 5, 6, 7}},  // a whole island
      {ShrinkSelection, {0, 1, 2, 3}, {0, 1}},
  };
  for (const Case& c : cases) {
    Mesh strip(Strip());
    for (int i : c.before) strip.Flag({i}, TRI_SELECTED);
    c.op(strip.m);
    EXPECT_EQ(strip.Selected(), c.after);
  }
}

TEST(Selection, HideUnhideAndTheWholeSelectionCommands) {
  Mesh strip(Strip());
  strip.Flag({1, 2}, TRI_SELECTED);
  HideSelectedFaces(strip.m);
  SelectNone(strip.m);
  strip.Flag({5}, TRI_SELECTED);
  UnhideAll(strip.m);
  EXPECT_EQ(strip.Selected(), (std::vector<int>{1, 2, 5}));
  for (int i = 0; i < 8; ++i) EXPECT_FALSE(strip.m.triangles[static_cast<std::size_t>(i)].flags & TRI_HIDDEN);
  strip.Flag({0}, TRI_HIDDEN);
  InvertSelection(strip.m);  // hidden ones too
  EXPECT_EQ(strip.Selected(), (std::vector<int>{0, 3, 4, 6, 7}));
  SelectAll(strip.m);
  EXPECT_EQ(strip.Selected().size(), 8u);
}

TEST(MeshOps, DeleteKeepsTheOrderAndRefusesNoneOrAll) {
  Mesh strip(Strip());
  EXPECT_EQ(DeleteSelectedFaces(strip.m), "There are no selected triangles!");
  SelectAll(strip.m);
  EXPECT_EQ(DeleteSelectedFaces(strip.m), "You can no delete all existing triangles!");
  EXPECT_EQ(strip.m.TriangleCount(), 8);

  // Everything visible selected, one hidden unselected: allowed, the hidden
  // one stays; a hidden selected one stays too.
  Mesh other(Strip());
  SelectAll(other.m);
  other.m.triangles[3].flags = TRI_HIDDEN;
  other.m.triangles[6].flags = TRI_HIDDEN | TRI_SELECTED;
  EXPECT_EQ(DeleteSelectedFaces(other.m), "");
  ASSERT_EQ(other.m.TriangleCount(), 2);
  EXPECT_EQ(other.m.triangles[0].vertexIndex[0], 2);  // D1 = (2, 7, 6)
  EXPECT_EQ(other.m.triangles[1].vertexIndex[0], 3);  // U3 = (3, 4, 8)
  // Only the remaining corners' mapping vertices are left after the weld.
  EXPECT_EQ(other.m.MapVertexCount(), 6);
}

TEST(MeshOps, FlipReversesTheWindingAndKeepsTheMapping) {
  Mesh strip(Strip());
  strip.Flag({0}, TRI_SELECTED);
  strip.Flag({1}, TRI_SELECTED | TRI_HIDDEN);
  FlipSelectedFaces(strip.m);
  const Triangle& t = strip.m.triangles[0];
  EXPECT_EQ((std::array<int, 3>{t.vertexIndex[0], t.vertexIndex[1], t.vertexIndex[2]}), (std::array<int, 3>{0, 5, 1}));
  EXPECT_EQ(t.cornerMap[1].s, 5.0f);
  EXPECT_EQ(t.cornerMap[1].t, 10.0f);
  EXPECT_EQ(strip.m.triangles[1].vertexIndex[1], 6);  // hidden: untouched
  for (int k = 0; k < 3; ++k)
    EXPECT_EQ(strip.m.mapVertices[static_cast<std::size_t>(t.mapIndex[k])].s, t.cornerMap[k].s);
  // Flipping twice gives back the triangle.
  FlipSelectedFaces(strip.m);
  EXPECT_EQ(strip.m.triangles[0].vertexIndex[1], 1);
}

TEST(MeshOps, EdgeTurnTakesTheOtherDiagonal) {
  // Quad 0-1-2-3 split along 0-2: A = (0, 1, 2), B = (0, 2, 3).
  {
    Mesh quad({{0, 1, 2}, {0, 2, 3}, {1, 2, 3}});
    quad.Flag({0, 1}, TRI_SELECTED);
    quad.Flag({2}, TRI_SELECTED | TRI_HIDDEN);  // hidden: does not count
    ASSERT_EQ(EdgeTurn(quad.m), "");
    // S0 = 0, S1 = 2, OA = 1, OB = 3: A = (0, 3, 1), B = (2, 1, 3) after the flip.
    const Triangle& a = quad.m.triangles[0];
    const Triangle& b = quad.m.triangles[1];
    EXPECT_EQ((std::array<int, 3>{a.vertexIndex[0], a.vertexIndex[1], a.vertexIndex[2]}), (std::array<int, 3>{0, 3, 1}));
    EXPECT_EQ((std::array<int, 3>{b.vertexIndex[0], b.vertexIndex[1], b.vertexIndex[2]}), (std::array<int, 3>{2, 1, 3}));
    EXPECT_EQ(a.cornerMap[1].s, 3.0f);
    EXPECT_EQ(b.cornerMap[1].t, 2.0f);
  }
  struct Case {
    std::vector<std::array<int, 3>> map, vertices;
    std::vector<int> selected;
    const char* message;
  } refusals[] = {
      {{{0, 1, 2}, {0, 2, 3}, {1, 2, 3}}, {}, {0, 1, 2}, "You must select only 2 triangles when turning an edge!"},
      {{{0, 1, 2}, {0, 2, 3}}, {}, {0}, "You must select only 2 triangles when turning an edge!"},
      {{{0, 1, 2}, {3, 4, 5}}, {}, {0, 1}, "The selected triangles are not connected!"},
      // Shared edge in 3D, split on the skin.
      {{{0, 1, 2}, {4, 5, 3}}, {{0, 1, 2}, {0, 2, 3}}, {0, 1}, "The selected triangles are not connected in their mapping!"},
  };
  for (const Case& c : refusals) {
    Mesh mesh(c.map, c.vertices);
    for (int i : c.selected) mesh.Flag({i}, TRI_SELECTED);
    EXPECT_EQ(EdgeTurn(mesh.m), c.message);
    EXPECT_EQ(mesh.m.triangles[0].vertexIndex[1], c.vertices.empty() ? c.map[0][1] : c.vertices[0][1]);
  }
}
