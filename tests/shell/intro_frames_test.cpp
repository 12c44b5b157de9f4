#include <gtest/gtest.h>

#include "shell/intro_frames.h"

namespace {

std::uint16_t Rgb(int r, int g, int b) { return static_cast<std::uint16_t>(r << 10 | g << 5 | b); }
int Red(std::uint16_t p) { return p >> 10 & 31; }
int Green(std::uint16_t p) { return p >> 5 & 31; }
int Blue(std::uint16_t p) { return p & 31; }

}  // namespace

TEST(IntroFrames, RecedingLinesStartAtRow130AndEachStepsBackBrighter) {
  IntroFrames frames(1);
  frames.Clear();
  frames.DrawRecedingLines();
  // y = 130 and the first gap is 0, so the second line (b = 4) lands on the
  // first's row 130; then y = 130 - 1.65 = 128.35 (b = 7) and
  // 128.35 - 3.465 = 124.885 (b = 10). Colour b x 32 is green b.
  EXPECT_EQ(frames.Pixel(4, 130), Rgb(0, 4, 0));
  EXPECT_EQ(frames.Pixel(315, 130), Rgb(0, 4, 0));
  EXPECT_EQ(frames.Pixel(3, 130), 0);
  EXPECT_EQ(frames.Pixel(316, 130), 0);
  EXPECT_EQ(frames.Pixel(160, 128), Rgb(0, 7, 0));
  EXPECT_EQ(frames.Pixel(160, 124), Rgb(0, 10, 0));
  EXPECT_EQ(frames.Pixel(160, 129), 0);
  EXPECT_EQ(frames.Pixel(160, 131), 0);
}

TEST(IntroFrames, TimeGivesSpinAndBandRow) {
  EXPECT_DOUBLE_EQ(IntroPhase(0), 0.0);
  EXPECT_DOUBLE_EQ(IntroPhase(700), 2.0);
  EXPECT_EQ(IntroRowCounter(99), 9);     // trunc(9.9)
  EXPECT_EQ(IntroRowCounter(2369), 236);
  EXPECT_EQ(IntroRowCounter(2379), 0);   // 237 wraps
}

TEST(IntroFrames, EmblemPointsProjectThroughSpinTiltAndPerspective) {
  // The spin centre (1.5, 4, 3.1) stays at (160, 130) however it turns.
  for (const double phase : {0.0, 1.0, 2.5}) {
    const ScreenPoint c = ProjectEmblemPoint({1.5f, 4.0f, 3.1f}, phase, 0.25);
    EXPECT_NEAR(c.x, 160.0, 1e-4);
    EXPECT_NEAR(c.y, 130.0, 1e-4);
  }
  // One unit along y at phase 0: g = 1, v = 15.25, x = 160 - 17 x 15 / 15.25.
  const ScreenPoint p = ProjectEmblemPoint({1.5f, 5.0f, 3.1f}, 0.0, 0.25);
  EXPECT_NEAR(p.x, 143.27869, 1e-4);
  EXPECT_NEAR(p.y, 130.0, 1e-4);
  // (1, 6.5, 7.1): a1 = -0.5, a2 = 2.5, z' = 4; h = -0.5 sin B + 4 cos B =
  // 3.751946, v = -0.5 cos B - 4 sin B + 15.25 = 13.775928.
  const ScreenPoint q = ProjectEmblemPoint({1.0f, 6.5f, 7.1f}, 0.0, 0.25);
  EXPECT_NEAR(q.x, 113.72363, 1e-3);
  EXPECT_NEAR(q.y, 199.45061, 1e-3);
}

TEST(IntroFrames, EmblemEdgesEndInTheirOwnColourAtTheProjectedCorners) {
  ASSERT_FALSE(EmblemPoints().empty());
  for (const auto& [a, b] : EmblemEdges()) {
    EXPECT_LT(a, static_cast<int>(EmblemPoints().size()));
    EXPECT_LT(b, static_cast<int>(EmblemPoints().size()));
  }
  IntroFrames frames(5);
  frames.Clear();
  frames.DrawEmblem(0.0);
  // The corners of the last pass are drawn solid in 9192 (red 8, green 31,
  // blue 8), truncated from the projection.
  for (const EmblemPoint& point : EmblemPoints()) {
    const ScreenPoint s = ProjectEmblemPoint(point, 0.0, 0.25);
    EXPECT_EQ(frames.Pixel(static_cast<int>(s.x), static_cast<int>(s.y)), 9192);
  }
}

TEST(IntroFrames, NoiseKeepsToItsRowsAndColumns) {
  IntroFrames frames(3);
  frames.Clear();
  frames.AddNoise(100);  // the bright band covers rows 100..139 only
  for (int x = 4; x <= 315; ++x) {
    const std::uint16_t even = frames.Pixel(x, 4);  // channel r mod 28 from 0: (0 + r) / 3 <= 9
    EXPECT_LE(Red(even), 9);
    EXPECT_LE(Green(even), 9);
    EXPECT_LE(Blue(even), 9);
    const std::uint16_t odd = frames.Pixel(x, 5);  // one r mod 15 for all three: <= 4, alike
    EXPECT_LE(Red(odd), 4);
    EXPECT_EQ(Green(odd), Red(odd));
    EXPECT_EQ(Blue(odd), Red(odd));
  }
  for (int y = 0; y < kIntroHeight; ++y) {
    for (const int x : {0, 3, 316, 319}) EXPECT_EQ(frames.Pixel(x, y), 0);
  }
  for (const int y : {0, 3, 238, 239}) EXPECT_EQ(frames.Pixel(160, y), 0);
}

TEST(IntroFrames, BorderIsBevelledInThreeInsets) {
  IntroFrames frames(1);
  frames.Clear();
  frames.DrawBorder();
  EXPECT_EQ(frames.Pixel(160, 1), 7399);     // top, inset 1
  EXPECT_EQ(frames.Pixel(318, 120), 7399);   // right
  EXPECT_EQ(frames.Pixel(160, 238), 15855);  // bottom
  EXPECT_EQ(frames.Pixel(1, 120), 15855);    // left
  EXPECT_EQ(frames.Pixel(160, 2), 15855);
  EXPECT_EQ(frames.Pixel(2, 120), 25368);
  EXPECT_EQ(frames.Pixel(316, 120), 21140);
  EXPECT_EQ(frames.Pixel(160, 236), 29596);
  EXPECT_EQ(frames.Pixel(160, 4), 0);
}

TEST(IntroSound, NumberPicksBuiltInFileOrRandom) {
  EXPECT_EQ(ChooseIntroSound(3, false, 13), 3);
  EXPECT_EQ(ChooseIntroSound(9, true, 13), kIntroSoundWav);
  EXPECT_EQ(ChooseIntroSound(9, false, 13), 5);  // unreadable file: random, 13 mod 8
  EXPECT_EQ(ChooseIntroSound(8, true, 15), 7);
  EXPECT_EQ(ChooseIntroSound(10, true, 0), kIntroSoundNone);
  EXPECT_EQ(ChooseIntroSound(-1, true, 0), kIntroSoundNone);
}
