#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>

#include "editor/skin_effects.h"
#include "image/new_skin.h"
#include "render/rasterizer.h"

namespace {

// A 16 x 12 grey-ramp skin and a model whose triangles are placed by hand.
struct Bench {
  Model model;
  std::unique_ptr<Skin> skin = MakeBlankSkin("s", 16, 12, GreyRampPalette());
  std::unique_ptr<CRasterizer> raster = std::make_unique<CRasterizer>();

  explicit Bench(std::uint8_t fill = 100) {
    model.skinWidth = 16;
    model.skinHeight = 12;
    FillSkin(*skin, fill);
    skin->storedPixels = skin->pixels;
  }
  // The new triangle's light levels, for the effects that read them.
  TriangleLight& Add(MapVertex a, MapVertex b, MapVertex c, std::uint32_t flags = TRI_SELECTED) {
    Triangle& tri = model.triangles.emplace_back();
    const MapVertex corners[3] = {a, b, c};
    for (int k = 0; k < 3; ++k) {
      tri.mapIndex[k] = static_cast<std::int16_t>(model.MapVertexCount());
      model.SetMapVertexCount(model.MapVertexCount() + 1);
      model.mapVertices.back() = corners[k];
    }
    tri.flags = flags;
    return light.emplace_back();
  }
  std::vector<TriangleLight> light;
  std::uint8_t& At(int x, int y) { return skin->pixels[static_cast<std::size_t>(y * 16 + x)]; }
};

using Effect = std::function<void(Bench&, double strength)>;

const struct {
  const char* name;
  Effect run;
} kEffects[] = {
    {"outline", [](Bench& b, double s) { OutlineSelected(b.model, *b.skin, *b.raster, 250, s); }},
    {"fill", [](Bench& b, double s) { FillSelected(b.model, b.light, *b.skin, *b.raster, s); }},
    {"shade", [](Bench& b, double s) { ShadeSelected(b.model, b.light, *b.skin, *b.raster, s); }},
    {"load", [](Bench& b, double s) {
       auto picture = MakeBlankSkin("p", 16, 12, GreyRampPalette());
       FillSkin(*picture, 240);
       EXPECT_TRUE(LoadToSelected(b.model, *b.skin, *picture, *b.raster, s));
     }},
};

TEST(SelectionMask, CoversSelectedTrianglesHiddenOrNot) {
  Bench b;
  b.Add({1, 1}, {6, 1}, {1, 6});
  b.Add({9, 1}, {14, 1}, {9, 6}, TRI_SELECTED | TRI_HIDDEN);
  b.Add({1, 8}, {6, 8}, {1, 11}, TRI_HIDDEN);
  const std::vector<std::uint8_t> mask = BuildSelectionMask(b.model, 16, 12, *b.raster);
  ASSERT_EQ(mask.size(), 16u * 12u);
  const struct {
    int x, y;
    std::uint8_t expected;
  } probes[] = {{2, 2, 255}, {10, 2, 255}, {2, 9, 0}, {7, 7, 0}, {14, 11, 0}};
  for (const auto& p : probes) EXPECT_EQ(mask[p.y * 16 + p.x], p.expected) << p.x << "," << p.y;

  // Far-off corners still cover the skin under them; a corner that is not a
  // number leaves its triangle out.
  Bench wild;
  wild.Add({-1e30f, -1e30f}, {1e30f, 0}, {0, 1e30f});
  wild.Add({1, 1}, {6, 1}, {std::nanf(""), 6});
  const std::vector<std::uint8_t> covered = BuildSelectionMask(wild.model, 16, 12, *wild.raster);
  EXPECT_EQ(covered, std::vector<std::uint8_t>(16 * 12, 255));
  wild.model.triangles[0].flags = 0;
  EXPECT_EQ(BuildSelectionMask(wild.model, 16, 12, *wild.raster), std::vector<std::uint8_t>(16 * 12, 0));
}

TEST(SkinEffects, NothingSelectedChangesNothing) {
  for (const auto& e : kEffects) {
    Bench b;
    b.Add({0, 0}, {16, 0}, {0, 12}, 0);
    b.Add({0, 12}, {16, 0}, {16, 12}, TRI_HIDDEN);
    const std::vector<std::uint8_t> before = b.skin->pixels;
    e.run(b, 1.0);
    EXPECT_EQ(b.skin->pixels, before) << e.name;
  }
}

TEST(SkinEffects, StrengthZeroKeepsEveryColourButMayPickAnEarlierTwin) {
  for (const auto& e : kEffects) {
    Bench b;
    // Entry 200 has the colour of entry 7: a texel of 200 may become 7, and
    // nothing else changes.
    for (int c = 0; c < 3; ++c) b.skin->palette[200 * 3 + c] = 7;
    for (int i = 0; i < 16 * 12; ++i) b.skin->pixels[i] = static_cast<std::uint8_t>(i % 2 ? 200 : i);
    b.Add({0, 0}, {16, 0}, {0, 12});
    b.Add({0, 12}, {16, 0}, {16, 12});
    for (int t = 0; t < 2; ++t)
      for (auto& level : b.light[t].shade) level = 255;
    const std::vector<std::uint8_t> before = b.skin->pixels;
    e.run(b, 0.0);
    for (int i = 0; i < 16 * 12; ++i) {
      const std::uint8_t expected = before[i] == 200 ? 7 : before[i];
      const std::uint8_t now = b.skin->pixels[i];
      EXPECT_TRUE(now == before[i] || now == expected) << e.name << " texel " << i;
    }
    EXPECT_EQ(b.skin->pixels[1], 7) << e.name << ": a selected texel of the twin";
  }
}

// Brightness moves toward the light level, at most half-way: V' = V + (L/255 - V) s / 2.
TEST(FillSelected, MovesTheBrightnessTowardTheTrianglesLightLevel) {
  const struct {
    std::uint8_t grey, level;
    double strength;
    std::uint8_t expected;
  } cases[] = {
      {101, 255, 1.0, 178},  // 101 + 154 / 2
      {100, 0, 1.0, 50},
      {100, 255, 0.5, 139},  // 100 + 155 / 4 = 138.75
      {100, 100, 1.0, 100},
  };
  for (const auto& c : cases) {
    Bench b(c.grey);
    b.Add({0, 0}, {16, 0}, {0, 12}).shade[0] = c.level;
    FillSelected(b.model, b.light, *b.skin, *b.raster, c.strength);
    EXPECT_EQ(b.At(2, 2), c.expected) << int(c.grey) << " toward " << int(c.level);
    EXPECT_EQ(b.At(15, 11), c.grey) << "outside the triangle";
  }
}

TEST(FillSelected, KeepsHueAndSaturation) {
  Bench b;
  Palette& p = b.skin->palette;
  for (int i = 0; i < 768; ++i) p[i] = i % 3 == 1 ? 255 : 0;  // all green but ours
  const std::uint8_t base[3] = {200, 100, 50}, hsv[3] = {228, 114, 57}, rgbHalfway[3] = {228, 178, 153};
  for (int c = 0; c < 3; ++c) {
    p[10 * 3 + c] = base[c];
    p[11 * 3 + c] = hsv[c];
    p[12 * 3 + c] = rgbHalfway[c];
  }
  FillSkin(*b.skin, 10);
  b.Add({0, 0}, {16, 0}, {0, 12}).shade[0] = 255;
  FillSelected(b.model, b.light, *b.skin, *b.raster, 1.0);
  EXPECT_EQ(b.At(2, 2), 11);  // V 200 -> 227.5, saturation and hue kept
}

TEST(ShadeSelected, InterpolatesTheCornerLevels) {
  Bench b(100);
  TriangleLight& tri = b.Add({0, 0}, {15, 0}, {0, 11});
  tri.shade[0] = 0;
  tri.shade[1] = 255;
  tri.shade[2] = 0;
  ShadeSelected(b.model, b.light, *b.skin, *b.raster, 1.0);
  EXPECT_LT(b.At(1, 1), 100);
  EXPECT_GT(b.At(13, 0), 100);
}

TEST(OutlineSelected, DrawsEdgesOnceAndStaysOnTheSkin) {
  Bench b(0);
  // Two triangles sharing the diagonal, corners on the far border (s = width,
  // t = height), plus broken mapping that must be skipped or clipped.
  b.Add({0, 0}, {16, 0}, {16, 12});
  b.Add({0, 0}, {16, 12}, {0, 12});
  b.Add({-1e30f, 5}, {1e30f, 5}, {3, std::numeric_limits<float>::quiet_NaN()});
  b.Add({-1e30f, 5}, {1e30f, 5}, {3, 1e30f});
  OutlineSelected(b.model, *b.skin, *b.raster, 200, 0.5);
  // Half-way from black to grey 200, once even where two edges meet.
  EXPECT_EQ(b.At(0, 0), 100);
  EXPECT_EQ(b.At(15, 0), 100);
  EXPECT_EQ(b.At(0, 11), 100);
  EXPECT_EQ(b.At(8, 5), 100) << "the far-off edge across row 5";
  EXPECT_EQ(b.At(5, 2), 0);
}

TEST(LoadToSelected, BlendsThePictureInItsOwnPaletteAndRefusesAnotherSize) {
  Bench b(0);
  b.Add({0, 0}, {16, 0}, {0, 12});
  auto picture = MakeBlankSkin("p", 16, 12, GreyRampPalette());
  for (int c = 0; c < 3; ++c) picture->palette[5 * 3 + c] = 90;
  FillSkin(*picture, 5);

  auto other = MakeBlankSkin("o", 16, 11, GreyRampPalette());
  const std::vector<std::uint8_t> before = b.skin->pixels;
  EXPECT_FALSE(LoadToSelected(b.model, *b.skin, *other, *b.raster, 1.0));
  EXPECT_EQ(b.skin->pixels, before);

  ASSERT_TRUE(LoadToSelected(b.model, *b.skin, *picture, *b.raster, 1.0));
  EXPECT_EQ(b.At(2, 2), 90);
  EXPECT_EQ(b.At(15, 11), 0);
  ASSERT_TRUE(LoadToSelected(b.model, *b.skin, *picture, *b.raster, 0.5));
  EXPECT_EQ(b.At(2, 2), 90);
}

}  // namespace
