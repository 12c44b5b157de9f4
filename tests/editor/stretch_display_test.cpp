#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "editor/mapping_stretch.h"

namespace {

// Triangles side by side on the model, each a right triangle with legs of
// 4 units in y and z, each mapped by its own corners.
struct Case {
  std::vector<std::array<MapVertex, 3>> mapping;
};

void Build(Model& m, const std::vector<std::array<MapVertex, 3>>& mapping) {
  auto frame = std::make_unique<Frame>(static_cast<int>(mapping.size() * 3));
  m.SetTriangleCount(static_cast<std::int16_t>(mapping.size()));
  m.SetVertexCount(static_cast<std::int16_t>(mapping.size() * 3));
  m.skinWidth = m.skinHeight = 64;
  for (std::size_t i = 0; i < mapping.size(); ++i) {
    const float x = static_cast<float>(i) * 10;
    frame->vertices[3 * i] = {0, x, 0};
    frame->vertices[3 * i + 1] = {0, x + 4, 0};
    frame->vertices[3 * i + 2] = {0, x, 4};
    for (int k = 0; k < 3; ++k) {
      m.triangles[i].vertexIndex[k] = static_cast<std::int16_t>(3 * i + static_cast<std::size_t>(k));
      m.triangles[i].cornerMap[k] = mapping[i][static_cast<std::size_t>(k)];
    }
  }
  m.frames.push_back(std::move(frame));
  m.WeldMapVertices(0);
}

std::array<MapVertex, 3> Scaled(float s0, float t0, float ks, float kt) {
  return {MapVertex{s0, t0}, MapVertex{s0 + 4 * ks, t0}, MapVertex{s0, t0 + 4 * kt}};
}

}  // namespace

// Against the model's average density (the square root of all skin area
// over all model area): a triangle at twice another's density reads +1/2
// of the way in log2 terms each side of the mean; a sheared one of the
// average area still shows its worst direction.
TEST(Stretch, MeasuresEachTriangleAgainstTheAverageDensity) {
  const struct {
    const char* what;
    std::vector<std::array<MapVertex, 3>> mapping;
    std::vector<float> expect;
  } cases[] = {
      {"even", {Scaled(0, 0, 1, 1), Scaled(10, 0, 1, 1)}, {0, 0}},
      // Areas 8 and 32 over 8 each: the average density is sqrt(2.5).
      {"twice as dense",
       {Scaled(0, 0, 1, 1), Scaled(10, 0, 2, 2)},
       {static_cast<float>(std::log2(1 / std::sqrt(2.5))), static_cast<float>(std::log2(2 / std::sqrt(2.5)))}},
      // Twice along s, half along t: the area of the even one.
      {"sheared", {Scaled(0, 0, 1, 1), Scaled(10, 0, 2, 0.5f)}, {0, 1}},
  };
  for (const auto& c : cases) {
    Model m;
    Build(m, c.mapping);
    const std::vector<float> stretch = MeasureStretch(m);
    ASSERT_EQ(stretch.size(), c.expect.size()) << c.what;
    for (std::size_t i = 0; i < stretch.size(); ++i) EXPECT_NEAR(stretch[i], c.expect[i], 1e-4) << c.what << " " << i;
  }
  EXPECT_EQ(StretchStep(0), 3);
  EXPECT_EQ(StretchStep(-3), 0);
  EXPECT_EQ(StretchStep(1), 5);
}

// Overlap is shared inner area: neighbours along an edge do not count, nor
// a mirrored pair laid on the same three skin positions; a partial overlap
// and one triangle inside another do.
TEST(Stretch, FindsOverlapsButNotNeighboursOrStackedPairs) {
  const std::array<MapVertex, 3> base = {MapVertex{0, 0}, MapVertex{8, 0}, MapVertex{0, 8}};
  const struct {
    const char* what;
    std::array<MapVertex, 3> other;
    bool overlap;
  } cases[] = {
      {"shares an edge", {MapVertex{8, 0}, MapVertex{8, 8}, MapVertex{0, 8}}, false},
      {"mirrored on top", {MapVertex{0, 8}, MapVertex{8, 0}, MapVertex{0, 0}}, false},
      {"partly over", {MapVertex{2, 2}, MapVertex{10, 2}, MapVertex{2, 10}}, true},
      {"inside", {MapVertex{1, 1}, MapVertex{3, 1}, MapVertex{1, 3}}, true},
      {"apart", {MapVertex{20, 20}, MapVertex{28, 20}, MapVertex{20, 28}}, false},
  };
  for (const auto& c : cases) {
    Model m;
    Build(m, {base, c.other});
    const std::vector<std::uint8_t> overlaps = FindOverlaps(m);
    EXPECT_EQ(overlaps[0] != 0, c.overlap) << c.what;
    EXPECT_EQ(overlaps[1] != 0, c.overlap) << c.what;
  }
}

// Drawn at zoom 2 about skin (64, 64): every other row of an even
// triangle takes the palette entry nearest the middle step's green, the
// rows between keep what was there.
TEST(Stretch, OverlayScreensTheTrianglesInTheirStepColour) {
  Model m;
  Build(m, {Scaled(0, 0, 4, 4), Scaled(20, 0, 4, 4)});
  Palette palette{};
  palette[3 * 7 + 1] = 190;  // index 7: (0, 190, 0), the middle step exactly
  const int width = 256, height = 256;
  std::vector<std::uint8_t> frame(static_cast<std::size_t>(width * height), 200);
  DrawStretchOverlay(m, palette, frame.data(), width, height, StretchView{64, 64, 2});
  // Skin (2.75, 2.25) lies well inside the first triangle: view column
  // 128 + (s - 64 + 0.5) x 2 = 6.5, row from the bottom 128 - (t - 64 + 0.5) x 2 = 250.5.
  const auto at = [&](int x, int row) { return frame[static_cast<std::size_t>(row * width + x)]; };
  EXPECT_EQ(at(6, 250), 7);
  EXPECT_EQ(at(7, 250), 7);
  EXPECT_EQ(at(6, 251), 200);
  // Well outside every triangle.
  EXPECT_EQ(at(200, 150), 200);
}
