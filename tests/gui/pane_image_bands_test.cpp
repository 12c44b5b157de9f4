// The picture to the window in bands on a pool, and a part of it straight
// into a surface, give the pixels of the whole picture converted at once.

#include <gtest/gtest.h>

#include <QImage>

#include <array>
#include <vector>

#include "gui_fixture.h"
#include "platform/qt/pane_image.h"
#include "platform/thread_pool.h"

TEST(PaneImage, BandsAndPartsConvertAsTheWholePicture) {
  TestApp();
  constexpr int kWidth = 700, kHeight = 500;  // large enough to be cut into bands
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kWidth) * kHeight);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i * 7 + i / kWidth);
  std::array<std::uint8_t, 768> palette{};
  for (int i = 0; i < 768; ++i) palette[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 5);
  const PaneImage image{pixels.data(), kWidth, kHeight, kWidth, 8, true, &palette};
  QImage whole;
  ASSERT_TRUE(PaneImageToScreen(image, whole));
  for (int threads : {2, 3}) {
    ThreadPool pool(threads);
    QImage banded;
    ASSERT_TRUE(PaneImageToScreen(image, banded, &pool));
    EXPECT_TRUE(banded == whole) << threads;
  }
  // A part lands at the given place of a larger surface, nothing around it.
  QImage surface(kWidth + 20, kHeight + 20, QImage::Format_RGB32);
  surface.fill(qRgb(1, 2, 3));
  const QRect part(100, 50, 400, 300);
  ASSERT_TRUE(PaneImageToPixels(image, part, reinterpret_cast<std::uint32_t*>(surface.scanLine(10)) + 10,
                                surface.bytesPerLine()));
  EXPECT_TRUE(surface.copy(10, 10, part.width(), part.height()) == whole.copy(part));
  EXPECT_EQ(surface.pixel(9, 9), qRgb(1, 2, 3));
  EXPECT_EQ(surface.pixel(10 + part.width(), 10 + part.height()), qRgb(1, 2, 3));
  EXPECT_FALSE(PaneImageToPixels(image, QRect(kWidth - 10, 0, 20, 5), reinterpret_cast<std::uint32_t*>(surface.bits()),
                                 surface.bytesPerLine()));  // reaches past the picture
}
