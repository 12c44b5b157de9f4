// A big picture goes to the window through a table of colour pairs kept per
// palette: every pixel still takes its own index's colour, whichever
// palettes came before.

#include <gtest/gtest.h>

#include <QImage>

#include <array>
#include <vector>

#include "gui_fixture.h"
#include "platform/qt/pane_image.h"

TEST(PaneImage, BigPicturesColourEveryPixelByItsOwnIndexUnderEachPalette) {
  TestApp();
  // An odd width puts most rows off the 16-byte boundary; every index
  // follows every other somewhere.
  constexpr int kWidth = 517, kHeight = 261;
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kWidth) * kHeight);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
  std::array<std::array<std::uint8_t, 768>, 3> palettes{};
  for (std::size_t p = 0; p < palettes.size(); ++p)
    for (std::size_t i = 0; i < 768; ++i) palettes[p][i] = static_cast<std::uint8_t>(i * (5 + 2 * p) + 11 * p);
  // The third palette pushes out the first, which then comes back.
  for (const std::size_t p : {0, 1, 0, 2, 1, 0}) {
    const auto& pal = palettes[p];
    const PaneImage image{pixels.data(), kWidth, kHeight, kWidth, 8, true, &pal};
    QImage out;
    ASSERT_TRUE(PaneImageToScreen(image, out));
    int wrong = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        const std::size_t index = pixels[static_cast<std::size_t>(kHeight - 1 - y) * kWidth + static_cast<std::size_t>(x)];
        wrong += out.pixel(x, y) != qRgb(pal[3 * index], pal[3 * index + 1], pal[3 * index + 2]);
      }
    EXPECT_EQ(wrong, 0) << "palette " << p;
  }
}
