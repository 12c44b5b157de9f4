#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "editor/model_mirror.h"
#include "editor/palette_ramps.h"
#include "editor/paint_ops.h"
#include "editor/skin_fill.h"
#include "editor/skin_painter.h"
#include "editor/skin_shapes.h"
#include "image/new_skin.h"
#include "render/rasterizer.h"

namespace {

// A w x h grey-ramp skin of texels 100, painted with colour 7 (the paint
// table puts every index to 7).
struct Canvas {
  std::unique_ptr<Skin> skin;
  EditorState editor;
  explicit Canvas(int w = 16, int h = 12) : skin(MakeBlankSkin("s", w, h, GreyRampPalette())) {
    FillSkin(*skin, 100);
    editor.paintTable.fill(7);
  }
  std::uint8_t& At(int x, int y) { return skin->pixels[static_cast<std::size_t>(y * skin->width + x)]; }
  int Count(std::uint8_t colour) const {
    return static_cast<int>(std::count(skin->pixels.begin(), skin->pixels.end(), colour));
  }
};

std::set<std::pair<int, int>> Offsets(int size, BrushShape shape) {
  std::set<std::pair<int, int>> out;
  for (const TexelOffset& o : BrushFootprint(size, shape)) out.insert({o.dx, o.dy});
  return out;
}

TEST(Brush, FootprintKeepsTexelsWithinHalfTheSizeOfTheCentre) {
  // Size 5 round: the 5 x 5 block without its four corners (2^2 + 2^2 > 2.5^2)
  // and without the texels two along one axis and two along the other.
  std::set<std::pair<int, int>> round5;
  for (int y = -2; y <= 2; ++y)
    for (int x = -2; x <= 2; ++x)
      if (x * x + y * y <= 6.25) round5.insert({x, y});
  EXPECT_EQ(round5.size(), 21u);
  EXPECT_EQ(Offsets(5, BrushShape::Round), round5);
  const struct {
    int size;
    BrushShape shape;
    std::size_t texels;
  } cases[] = {{1, BrushShape::Round, 1}, {2, BrushShape::Round, 4},  {4, BrushShape::Round, 12},
               {3, BrushShape::Square, 9}, {32, BrushShape::Square, 1024}, {99, BrushShape::Square, 1024}};
  for (const auto& c : cases) EXPECT_EQ(BrushFootprint(c.size, c.shape).size(), c.texels) << c.size;
  // A block of even size reaches one texel further right and down.
  EXPECT_TRUE(Offsets(4, BrushShape::Square).count({2, 2}));
  EXPECT_FALSE(Offsets(4, BrushShape::Square).count({-2, -2}));
}

TEST(Brush, AFastStrokeLeavesNoGapAndPaintsEachTexelOncePerStroke) {
  Canvas c(64, 32);
  // The paint table of a tint: each index one step up.
  for (int i = 0; i < 256; ++i) c.editor.paintTable[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(std::min(i + 1, 255));
  SkinPainter painter(*c.skin, c.editor);
  painter.Segment(0, 0, 63, 20);  // one mouse move across the skin
  for (int x = 0; x < 64; ++x) {
    int painted = 0;
    for (int y = 0; y < 32; ++y) painted += c.At(x, y) == 101;
    EXPECT_EQ(painted, 1) << "column " << x;
  }
  // Crossing itself slowly, the stroke darkens no texel twice.
  painter.Segment(63, 20, 0, 0);
  painter.Segment(10, 0, 10, 31);
  EXPECT_EQ(c.Count(102), 0);
  EXPECT_EQ(c.At(10, 31), 101);
  painter.ForgetStroke();
  painter.Texel(10, 31);
  EXPECT_EQ(c.At(10, 31), 102);
}

TEST(Brush, ProtectedColoursTheMaskAndTheEdgesStopIt) {
  Canvas c;
  c.At(3, 3) = 50;
  c.editor.protectedColours[50] = 1;
  c.editor.brushSize = 3;
  c.editor.brushShape = BrushShape::Square;
  std::vector<std::uint8_t> mask(16 * 12, 1);
  mask[4 * 16 + 4] = 0;
  SkinPainter painter(*c.skin, c.editor);
  painter.SetMask(&mask);
  EXPECT_EQ(painter.Stamp(4, 4), 7);  // 9 texels less the protected and the masked ones
  EXPECT_EQ(c.At(3, 3), 50);
  EXPECT_EQ(c.At(4, 4), 100);
  EXPECT_EQ(painter.Stamp(0, 0), 4);  // the corner: what lies on the skin
  painter.SetWrap(true);
  EXPECT_EQ(painter.Stamp(15, 11), 9 - 1);  // (0, 0) was painted already
  EXPECT_EQ(c.At(15, 0), 7);
}

TEST(Fill, TakesConnectedOrAllMatchingTexelsWithinTheToleranceAndTheMask) {
  // Columns 0-3 index 100, 4 index 10 (a wall), 5-9 index 100 again, 10-15
  // index 104: grey 104 is 4 x sqrt(3) ~ 6.9 away from 100.
  const struct {
    const char* what;
    int tolerance;
    bool contiguous;
    bool masked;  // the mask leaves out row 0
    int expected;
  } cases[] = {{"contiguous exact", 0, true, false, 4 * 12},
               {"everywhere exact", 0, false, false, 9 * 12},
               {"everywhere within 7", 7, false, false, 15 * 12},
               {"contiguous within 6", 6, true, false, 4 * 12},
               {"contiguous under the mask", 0, true, true, 4 * 11}};
  for (const auto& k : cases) {
    Canvas c;
    for (int y = 0; y < 12; ++y) {
      c.At(4, y) = 10;
      for (int x = 10; x < 16; ++x) c.At(x, y) = 104;
    }
    std::vector<std::uint8_t> mask(16 * 12, 1);
    std::fill(mask.begin(), mask.begin() + 16, std::uint8_t{0});
    SkinPainter painter(*c.skin, c.editor);
    if (k.masked) painter.SetMask(&mask);
    EXPECT_EQ(FillAt(painter, 1, 5, {k.tolerance, k.contiguous}), k.expected) << k.what;
    EXPECT_EQ(c.Count(7), k.expected) << k.what;
  }
}

TEST(Shapes, OutlinesAndFilledShapesCoverTheBoxBetweenTheirCorners) {
  const struct {
    ShapeKind kind;
    bool filled;
    int x1, y1;
    int expected;
  } cases[] = {{ShapeKind::Line, false, 9, 2, 10},       // ten columns
               {ShapeKind::Rectangle, false, 5, 4, 18},  // 6 x 5 box: its border
               {ShapeKind::Rectangle, true, 5, 4, 30},
               {ShapeKind::Ellipse, true, 0, 0, 1}};
  for (const auto& k : cases) {
    Canvas c;
    SkinPainter painter(*c.skin, c.editor);
    EXPECT_EQ(DrawShape(painter, k.kind, 0, 0, k.x1, k.y1, k.filled), k.expected);
  }
  // Shift: a line onto 45 degrees, a box square with its longer side.
  int x = 10, y = 3;
  ConstrainShapeEnd(ShapeKind::Line, 0, 0, x, y);
  EXPECT_EQ(std::make_pair(x, y), std::make_pair(10, 0));
  x = 9, y = 7;
  ConstrainShapeEnd(ShapeKind::Line, 0, 0, x, y);
  EXPECT_EQ(std::abs(x), std::abs(y));
  x = -4, y = 9;
  ConstrainShapeEnd(ShapeKind::Rectangle, 0, 0, x, y);
  EXPECT_EQ(std::make_pair(x, y), std::make_pair(-9, 9));
  EXPECT_TRUE(InEllipse(0, 0, 10, 6, 5, 3));
  EXPECT_FALSE(InEllipse(0, 0, 10, 6, 0, 0));
}

TEST(Ramps, AreFoundFromThePaletteAndStopAtTheirEnds) {
  // Red from bright to dark, green and blue from dark to bright, then black.
  Palette p{};
  for (int k = 0; k < 16; ++k) {
    p[static_cast<std::size_t>(3 * k)] = static_cast<std::uint8_t>(255 - 16 * k);
    p[static_cast<std::size_t>(3 * (16 + k) + 1)] = static_cast<std::uint8_t>(16 + 14 * k);
    p[static_cast<std::size_t>(3 * (32 + k) + 2)] = static_cast<std::uint8_t>(16 + 14 * k);
  }
  const PaletteRamps r = FindPaletteRamps(p);
  const struct {
    int index, brighter, darker;
  } cases[] = {{0, 0, 1}, {7, 6, 8}, {15, 14, 15}, {16, 17, 16}, {31, 31, 30}, {32, 33, 32}, {47, 47, 46}};
  for (const auto& c : cases) {
    EXPECT_EQ(r.brighter[static_cast<std::size_t>(c.index)], c.brighter) << c.index;
    EXPECT_EQ(r.darker[static_cast<std::size_t>(c.index)], c.darker) << c.index;
  }
  // The ink moves a texel one step, never onto a protected colour.
  Canvas c;
  c.skin->palette = p;
  c.At(0, 0) = 20;
  c.At(1, 0) = 16;
  c.editor.ink = PaintInk::RampUp;
  c.editor.protectedColours[17] = 1;
  SkinPainter painter(*c.skin, c.editor);
  painter.Texel(0, 0);
  painter.Texel(1, 0);
  EXPECT_EQ(c.At(0, 0), 21);
  EXPECT_EQ(c.At(1, 0), 16);
}

// A 16 x 8 skin over two triangles side by side, x from -1 to 1 in the
// model and s = 8 + 8x on the skin: the mirror image of texel (x, y) across
// the model's x = 0 plane is texel (15 - x, y).
TEST(Symmetry, PaintsTheMirroredTexelAcrossTheSkinOrTheModel) {
  Model m;
  m.skinWidth = 16;
  m.skinHeight = 8;
  auto frame = std::make_unique<Frame>(kMaxVertices);
  const Vec3 corners[4] = {{-1, 0, 0}, {1, 0, 0}, {1, 1, 0}, {-1, 1, 0}};
  for (int i = 0; i < 4; ++i) frame->vertices[static_cast<std::size_t>(i)] = corners[i];
  m.frames.push_back(std::move(frame));
  m.currentFrameIndex = 0;
  const int tris[2][3] = {{0, 1, 2}, {0, 2, 3}};
  m.SetMapVertexCount(4);
  for (int i = 0; i < 4; ++i)
    m.mapVertices[static_cast<std::size_t>(i)] = {8 + 8 * corners[i].x, 8 * corners[i].y};
  m.SetTriangleCount(2);
  for (int t = 0; t < 2; ++t)
    for (int k = 0; k < 3; ++k) {
      m.triangles[static_cast<std::size_t>(t)].vertexIndex[k] = static_cast<std::int16_t>(tris[t][k]);
      m.triangles[static_cast<std::size_t>(t)].mapIndex[k] = static_cast<std::int16_t>(tris[t][k]);
    }
  m.SetVertexCount(4);
  const struct {
    Symmetry symmetry;
    int x, y, mx, my;
  } cases[] = {{Symmetry::SkinX, 2, 3, 13, 3},  {Symmetry::SkinY, 2, 1, 2, 6},   {Symmetry::ModelX, 2, 3, 13, 3},
               {Symmetry::ModelX, 7, 6, 8, 6}, {Symmetry::ModelX, 12, 0, 3, 0}};
  for (const auto& k : cases) {
    Canvas c(16, 8);
    c.editor.symmetry = k.symmetry;
    CRasterizer raster;
    SkinPainter painter(*c.skin, c.editor);
    PaintSetup setup;
    SetUpPainter(painter, setup, m, c.editor, raster);
    EXPECT_EQ(painter.Texel(k.x, k.y), 2) << k.x << "," << k.y;
    EXPECT_EQ(c.At(k.mx, k.my), 7) << k.x << "," << k.y;
  }
  // The mirror is kept between strokes until the mapping (or the mesh, the
  // frame's shape or the skin's size) changes.
  {
    Canvas c(16, 8);
    c.editor.symmetry = Symmetry::ModelX;
    CRasterizer raster;
    MirrorCache cache;
    const auto mirrorOfAStroke = [&] {
      SkinPainter painter(*c.skin, c.editor);
      PaintSetup setup;
      SetUpPainter(painter, setup, m, c.editor, raster, &cache);
      return setup.mirror;
    };
    const auto first = mirrorOfAStroke();
    EXPECT_EQ(mirrorOfAStroke(), first);
    m.mapVertices[0].s += 1;
    EXPECT_NE(mirrorOfAStroke(), first);
    m.mapVertices[0].s -= 1;
  }
  // Both triangles join at the diagonal's corners: one island.
  EXPECT_EQ(MappingIsland(m, 1), (std::vector<int>{0, 1}));
  EXPECT_EQ(TriangleAtTexel(m, 14, 1), 0);
  EXPECT_EQ(TriangleAtTexel(m, 1, 6), 1);
}

}  // namespace
