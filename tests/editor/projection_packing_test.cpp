#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

#include "editor/island_pack.h"
#include "editor/mapping_islands.h"
#include "editor/mapping_projection.h"
#include "editor/view_fit.h"
#include "editor/workspace.h"
#include "render/transform.h"

namespace {

constexpr double kPi = std::numbers::pi;

// A model of one frame holding `points`, with `faces` (each wound so that
// (p2 - p0) x (p1 - p0) points out, as the model files wind them), every
// triangle selected and mapped onto (0, 0).
struct Mesh {
  std::vector<Vec3> points;
  std::vector<std::array<int, 3>> faces;
};

void Load(Model& m, const Mesh& mesh, int skinSide = 256) {
  auto frame = std::make_unique<Frame>(static_cast<int>(mesh.points.size()));
  for (std::size_t v = 0; v < mesh.points.size(); ++v) frame->vertices[v] = mesh.points[v];
  m.SetVertexCount(static_cast<std::int16_t>(mesh.points.size()));
  m.SetTriangleCount(static_cast<std::int16_t>(mesh.faces.size()));
  m.skinWidth = m.skinHeight = static_cast<std::int16_t>(skinSide);
  for (std::size_t i = 0; i < mesh.faces.size(); ++i) {
    Triangle& t = m.triangles[i];
    t.flags = TRI_SELECTED;
    for (int k = 0; k < 3; ++k) {
      t.vertexIndex[k] = static_cast<std::int16_t>(mesh.faces[i][static_cast<std::size_t>(k)]);
      t.mapIndex[k] = 0;
    }
  }
  m.SetMapVertexCount(1);
  m.frames.push_back(std::move(frame));
}

// Rings of `segments` points round the model's z axis, the first point of
// each ring half a segment off +x (the default camera looks along -x, so no
// point sits exactly on the seam behind).
Mesh Cylinder(int segments, int rings, double radius, double spacing) {
  Mesh mesh;
  for (int r = 0; r < rings; ++r)
    for (int j = 0; j < segments; ++j) {
      const double a = (j + 0.5) * 2 * kPi / segments;
      mesh.points.push_back({static_cast<float>(radius * std::cos(a)), static_cast<float>(radius * std::sin(a)),
                             static_cast<float>(r * spacing)});
    }
  auto at = [&](int r, int j) { return r * segments + (j % segments); };
  for (int r = 0; r + 1 < rings; ++r)
    for (int j = 0; j < segments; ++j) {
      mesh.faces.push_back({at(r, j), at(r + 1, j), at(r, j + 1)});
      mesh.faces.push_back({at(r, j + 1), at(r + 1, j), at(r + 1, j + 1)});
    }
  return mesh;
}

Mesh Sphere(int segments, int stacks, double radius) {
  Mesh mesh;
  mesh.points.push_back({0, 0, static_cast<float>(radius)});  // north pole
  for (int k = 1; k < stacks; ++k) {
    const double lat = kPi / 2 - k * kPi / stacks;
    for (int j = 0; j < segments; ++j) {
      const double a = (j + 0.5) * 2 * kPi / segments;
      mesh.points.push_back({static_cast<float>(radius * std::cos(lat) * std::cos(a)),
                             static_cast<float>(radius * std::cos(lat) * std::sin(a)),
                             static_cast<float>(radius * std::sin(lat))});
    }
  }
  mesh.points.push_back({0, 0, static_cast<float>(-radius)});
  const int south = static_cast<int>(mesh.points.size()) - 1;
  auto at = [&](int k, int j) { return 1 + (k - 1) * segments + (j % segments); };
  for (int j = 0; j < segments; ++j) {
    mesh.faces.push_back({0, at(1, j + 1), at(1, j)});
    for (int k = 1; k + 1 < stacks; ++k) {
      mesh.faces.push_back({at(k, j), at(k, j + 1), at(k + 1, j)});
      mesh.faces.push_back({at(k, j + 1), at(k + 1, j + 1), at(k + 1, j)});
    }
    mesh.faces.push_back({south, at(stacks - 1, j), at(stacks - 1, j + 1)});
  }
  return mesh;
}

MapVertex CornerOf(const Model& m, int triangle, int k) {
  return m.mapVertices[static_cast<std::size_t>(m.triangles[static_cast<std::size_t>(triangle)].mapIndex[k])];
}

// Where a vertex went: the corner of the first triangle that uses it.
MapVertex VertexMapping(const Model& m, int vertex) {
  for (int i = 0; i < m.TriangleCount(); ++i)
    for (int k = 0; k < 3; ++k)
      if (m.triangles[static_cast<std::size_t>(i)].vertexIndex[k] == vertex) return CornerOf(m, i, k);
  return {-1, -1};
}

double SpanS(const Model& m, int triangle) {
  const MapVertex a = CornerOf(m, triangle, 0), b = CornerOf(m, triangle, 1), c = CornerOf(m, triangle, 2);
  return std::max({a.s, b.s, c.s}) - std::min({a.s, b.s, c.s});
}

const MappingFrame kWholeSkin{0, 0, 256, 256};  // the usable part ends at 255

}  // namespace

// Round the view's up axis (the model's z for the default camera) or the
// named one, the cylinder unrolls to rows as straight as its rings, spaced
// as far apart on the skin as the rings are on the model at the density of
// the columns, the front in the middle and the seam at the frame's sides.
TEST(Projection, ACylinderUnrollsIntoStraightEvenRows) {
  const int segments = 16, rings = 4;
  const double radius = 10, spacing = 5;
  for (const char* axis : {"view", "z"}) {
    Model m;
    Load(m, Cylinder(segments, rings, radius, spacing));
    Viewport view;
    ProjectionOptions options;
    options.axis = *ProjectionAxisNamed(axis);
    ASSERT_TRUE(ProjectSelected(m, view, kWholeSkin, options, false)) << axis;
    // The unrolled side is 2 pi r wide and 15 high; the width fills 255.
    const double scale = 255 / (2 * kPi * radius);
    const double column = 2 * kPi * radius / segments * scale, row = spacing * scale;
    for (int r = 0; r < rings; ++r)
      for (int j = 0; j < segments; ++j) {
        const MapVertex v = VertexMapping(m, r * segments + j);
        // Top ring (highest z) at the top: t grows as z falls.
        EXPECT_NEAR(v.t, 127.5 + (1.5 - r) * row, 1e-3) << axis << " ring " << r;
      }
    // The two points either side of the front (+x, toward the camera) sit
    // a column apart by the frame's middle (the seam's triangles, kept
    // whole past the far side, take the half column on that side).
    EXPECT_NEAR(VertexMapping(m, 0).s, 127.5, 1e-3) << axis;
    EXPECT_NEAR(VertexMapping(m, segments - 1).s, 127.5 - column, 1e-3) << axis;
    for (int i = 0; i < m.TriangleCount(); ++i) EXPECT_NEAR(SpanS(m, i), column, 1e-3) << axis << " triangle " << i;
  }
}

// Round a sphere no triangle spans more than its own column, the seam's
// and the poles' included, and the picture keeps the 2:1 of a globe's map.
TEST(Projection, ASphereKeepsItsSeamTrianglesWhole) {
  const int segments = 12, stacks = 6;
  Model m;
  Load(m, Sphere(segments, stacks, 10));
  Viewport view;
  ProjectionOptions options;
  options.shape = ProjectionShape::Sphere;
  ASSERT_TRUE(ProjectSelected(m, view, kWholeSkin, options, false));
  const double column = 255.0 / segments;
  for (int i = 0; i < m.TriangleCount(); ++i) EXPECT_LE(SpanS(m, i), column + 1e-3) << "triangle " << i;
  // Poles at the top and bottom of a picture half as high as wide.
  EXPECT_NEAR(VertexMapping(m, 0).t, 127.5 - 255 / 4.0, 1e-3);
  EXPECT_NEAR(VertexMapping(m, static_cast<int>(m.VertexCount()) - 1).t, 127.5 + 255 / 4.0, 1e-3);
}

// A cube square to the view: with every face each of the six sides is its
// own square, none overlapping another; with No Backfaces only the side
// facing the camera moves and fills the frame's height; Snap to Grid puts
// every corner on a whole texel.
TEST(Projection, ABoxLaysEachSideApartAndNoBackfacesTakesTheFrontAlone) {
  Mesh cube;
  for (int i = 0; i < 8; ++i)
    cube.points.push_back({i & 1 ? 5.0f : -5.0f, i & 2 ? 5.0f : -5.0f, i & 4 ? 5.0f : -5.0f});
  // Each side as two triangles, wound to face out.
  const int sides[6][4] = {{1, 3, 7, 5}, {0, 4, 6, 2}, {2, 6, 7, 3}, {0, 1, 5, 4}, {4, 5, 7, 6}, {0, 2, 3, 1}};
  for (const auto& q : sides) {
    cube.faces.push_back({q[0], q[2], q[1]});
    cube.faces.push_back({q[0], q[3], q[2]});
  }
  for (bool noBackfaces : {false, true}) {
    Model m;
    Load(m, cube);
    Viewport view;
    ProjectionOptions options;
    options.shape = ProjectionShape::Box;
    options.noBackfaces = noBackfaces;
    ASSERT_TRUE(ProjectSelected(m, view, kWholeSkin, options, true));
    std::vector<std::array<double, 4>> boxes;  // per side: min s, min t, max s, max t
    for (int side = 0; side < 6; ++side) {
      std::array<double, 4> b{1e9, 1e9, -1e9, -1e9};
      for (int i = side * 2; i < side * 2 + 2; ++i)
        for (int k = 0; k < 3; ++k) {
          const MapVertex c = CornerOf(m, i, k);
          EXPECT_EQ(c.s, std::round(c.s));
          EXPECT_EQ(c.t, std::round(c.t));
          b = {std::min(b[0], double(c.s)), std::min(b[1], double(c.t)), std::max(b[2], double(c.s)),
               std::max(b[3], double(c.t))};
        }
      boxes.push_back(b);
    }
    if (noBackfaces) {
      // Only +x faces the camera at (75, 0, 0): a square the frame's height.
      EXPECT_EQ(boxes[0][3] - boxes[0][1], 255);
      EXPECT_EQ(boxes[0][2] - boxes[0][0], 255);
      for (int side = 1; side < 6; ++side) EXPECT_EQ(boxes[static_cast<std::size_t>(side)][2], 0) << side;
      continue;
    }
    for (int a = 0; a < 6; ++a) {
      EXPECT_NEAR(boxes[static_cast<std::size_t>(a)][2] - boxes[static_cast<std::size_t>(a)][0],
                  boxes[static_cast<std::size_t>(a)][3] - boxes[static_cast<std::size_t>(a)][1], 1)
          << a;
      for (int b = a + 1; b < 6; ++b) {
        const auto& x = boxes[static_cast<std::size_t>(a)];
        const auto& y = boxes[static_cast<std::size_t>(b)];
        EXPECT_TRUE(x[2] < y[0] || y[2] < x[0] || x[3] < y[1] || y[3] < x[1]) << a << " over " << b;
      }
    }
  }
}

// The operation is one undo step named after the shape, and Undo puts the
// mapping back.
TEST(Projection, IsOneUndoStepOfItsName) {
  Workspace w;
  Load(w.model, Cylinder(8, 2, 10, 5));
  ProjectionOptions options;
  options.shape = ProjectionShape::Sphere;
  EXPECT_TRUE(ProjectSelectedMapping(w.document, w.viewport, w.editor, options).done);
  EXPECT_EQ(w.document.history.UndoName(), "Sphere Projection");
  EXPECT_NE(VertexMapping(w.model, 0).s, 0);
  ASSERT_TRUE(w.document.Undo());
  EXPECT_EQ(VertexMapping(w.model, 0).s, 0);
}

// Islands follow the mapping: two halves of a strip that share mesh
// vertices but not mapping vertices are two islands; hidden and unselected
// triangles belong to none.
TEST(Islands, FollowTheMappingsConnectionsNotTheMeshes) {
  Model m;
  Mesh strip;
  for (int i = 0; i < 6; ++i) strip.points.push_back({0, static_cast<float>(i / 2), static_cast<float>(i % 2)});
  strip.faces = {{0, 1, 2}, {1, 3, 2}, {2, 3, 4}, {3, 5, 4}, {0, 1, 2}, {0, 1, 2}};
  Load(m, strip);
  // Mapping vertices: 0..3 for the left half, 4..7 for the right.
  const int maps[6][3] = {{0, 1, 2}, {1, 3, 2}, {4, 5, 6}, {5, 7, 6}, {0, 1, 2}, {4, 5, 6}};
  for (int i = 0; i < 6; ++i)
    for (int k = 0; k < 3; ++k) m.triangles[static_cast<std::size_t>(i)].mapIndex[k] = static_cast<std::int16_t>(maps[i][k]);
  m.SetMapVertexCount(8);
  m.triangles[4].flags = TRI_SELECTED | TRI_HIDDEN;
  m.triangles[5].flags = 0;
  EXPECT_EQ(FindMappingIslands(m), (std::vector<std::vector<int>>{{0, 1}, {2, 3}}));
}

// 2,048 islands of two triangles each (a 4,096-triangle model), of many
// sizes and shapes: packed, no two islands' boxes come closer than the
// margin, all lie in the frame, and every island keeps its shape at one
// common scale (turned a quarter when asked and taller than wide).
TEST(PackIslands, LeavesTheMarginBetweenIslandsOfARealSizedModel) {
  // The mesh's shape does not matter to packing: every island on one quad.
  Mesh mesh;
  for (int c = 0; c < 4; ++c) mesh.points.push_back({0, static_cast<float>(c & 1), static_cast<float>(c >> 1)});
  std::vector<std::array<float, 2>> sizes;
  for (int i = 0; i < 2048; ++i) {
    sizes.push_back({1.0f + static_cast<float>((i * 7) % 13), 1.0f + static_cast<float>((i * 5) % 11)});
    mesh.faces.push_back({0, 1, 2});
    mesh.faces.push_back({1, 3, 2});
  }
  for (bool turn : {false, true}) {
    Model m;
    Load(m, mesh);
    for (int i = 0; i < 2048; ++i) {
      // Each island a w x h rectangle, a long way from the others.
      const float w = sizes[static_cast<std::size_t>(i)][0], h = sizes[static_cast<std::size_t>(i)][1];
      const float at = static_cast<float>(i) * 20;
      const MapVertex corner[4] = {{at, 0}, {at + w, 0}, {at, h}, {at + w, h}};
      const int face[2][3] = {{0, 1, 2}, {1, 3, 2}};
      for (int f = 0; f < 2; ++f)
        for (int k = 0; k < 3; ++k) m.triangles[static_cast<std::size_t>(2 * i + f)].cornerMap[k] = corner[face[f][k]];
    }
    m.WeldMapVertices(0);
    PackIslandsReport report;
    ASSERT_TRUE(PackIslands(m, kWholeSkin, PackIslandsOptions{2, turn}, &report)) << turn;
    ASSERT_EQ(report.islands, 2048);
    struct Box {
      double s0, t0, s1, t1;
    };
    std::vector<Box> boxes;
    double scale = -1, area = 0;
    for (int i = 0; i < 2048; ++i) {
      Box b{1e9, 1e9, -1e9, -1e9};
      for (int f = 0; f < 2; ++f)
        for (int k = 0; k < 3; ++k) {
          const MapVertex c = CornerOf(m, 2 * i + f, k);
          b = {std::min(b.s0, double(c.s)), std::min(b.t0, double(c.t)), std::max(b.s1, double(c.s)),
               std::max(b.t1, double(c.t))};
        }
      EXPECT_GE(b.s0, -1e-3);
      EXPECT_GE(b.t0, -1e-3);
      EXPECT_LE(b.s1, 255 + 1e-3);
      EXPECT_LE(b.t1, 255 + 1e-3);
      double w = sizes[static_cast<std::size_t>(i)][0], h = sizes[static_cast<std::size_t>(i)][1];
      if (turn && h > w) std::swap(w, h);
      if (scale < 0) scale = (b.s1 - b.s0) / w;
      EXPECT_NEAR(b.s1 - b.s0, w * scale, 1e-2) << i;
      EXPECT_NEAR(b.t1 - b.t0, h * scale, 1e-2) << i;
      area += w * h * scale * scale;
      boxes.push_back(b);
    }
    EXPECT_NEAR(report.covered, area / (255.0 * 255.0), 1e-3);
    // Sorted by left edge, each box only meets the ones starting before it ends.
    std::sort(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) { return a.s0 < b.s0; });
    for (std::size_t a = 0; a < boxes.size(); ++a)
      for (std::size_t b = a + 1; b < boxes.size() && boxes[b].s0 < boxes[a].s1 + 2 - 1e-3; ++b) {
        const bool apart = boxes[b].t0 >= boxes[a].t1 + 2 - 1e-3 || boxes[a].t0 >= boxes[b].t1 + 2 - 1e-3;
        ASSERT_TRUE(apart) << "turn " << turn << ": boxes " << a << " and " << b;
      }
  }
}

// Islands of equal area on the model, one mapped at twice the other's
// size: both end at the density of the two together, about their centres.
TEST(AverageIslandScale, GivesEveryIslandTheSameDensity) {
  Mesh mesh;
  for (int c = 0; c < 6; ++c) mesh.points.push_back({0, static_cast<float>(c % 3 == 1 ? 4 : 0), static_cast<float>(c % 3 == 2 ? 4 : 0)});
  mesh.faces = {{0, 1, 2}, {3, 4, 5}};
  Workspace w;
  Load(w.model, mesh);
  const MapVertex a[3] = {{10, 10}, {14, 10}, {10, 14}}, b[3] = {{50, 50}, {58, 50}, {50, 58}};
  for (int k = 0; k < 3; ++k) {
    w.model.triangles[0].cornerMap[k] = a[k];
    w.model.triangles[1].cornerMap[k] = b[k];
  }
  w.model.WeldMapVertices(0);
  ASSERT_TRUE(AverageIslandScale(w.document).done);
  // Areas 8 and 32 texels over 8 units each: density sqrt(40 / 16) texels a unit.
  const double side = 4 * std::sqrt(40.0 / 16);
  for (int i = 0; i < 2; ++i) {
    const MapVertex c0 = CornerOf(w.model, i, 0), c1 = CornerOf(w.model, i, 1);
    EXPECT_NEAR(c1.s - c0.s, side, 1e-4) << i;
  }
  // The box's middle stays: (12, 12) and (54, 54).
  EXPECT_NEAR(CornerOf(w.model, 0, 0).s + side / 2, 12, 1e-4);
  EXPECT_NEAR(CornerOf(w.model, 1, 0).s + side / 2, 54, 1e-4);
  EXPECT_EQ(w.document.history.UndoName(), "Average Island Scale");
}

// Zoom to fit frames every vertex of every frame: seen from the default
// camera both ends of a model whose second frame lies far off stay inside
// the view.
TEST(ZoomToFit, FramesTheModelOverAllFrames) {
  Model m;
  Load(m, Mesh{{{0, -2, -2}, {0, 2, -2}, {0, 0, 2}}, {{0, 1, 2}}});
  auto second = std::make_unique<Frame>(m.VertexCount());
  for (int v = 0; v < 3; ++v) second->vertices[static_cast<std::size_t>(v)] = {0, m.CurrentFrame()[v].y + 100, m.CurrentFrame()[v].z};
  m.frames.push_back(std::move(second));
  Viewport view;
  view.width = view.height = 200;
  ASSERT_TRUE(FitViewToAllFrames(view, m));
  for (const auto& frame : m.frames)
    for (int v = 0; v < 3; ++v) {
      const Vec3 c = ToCamera(view, ToWorld(frame->vertices[static_cast<std::size_t>(v)]));
      ASSERT_GT(c.z, 0);
      const double half = std::tan(HalfFieldOfView(view)) * c.z;
      EXPECT_LT(std::abs(c.x), half);
      EXPECT_LT(std::abs(c.y), half);
    }
  Model empty;
  EXPECT_FALSE(FitViewToAllFrames(view, empty));
}
