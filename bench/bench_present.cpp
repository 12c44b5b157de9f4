// The path from a pane's 8-bit picture to the window at 1920 x 1080 and at
// a high-density screen's 3840 x 2160: the palette turned into screen
// colours, the rows turned the right way up, and the painter drawing the
// result (here into an offscreen 32-bit surface, as a window's backing store
// is); or the picture converted straight into that surface, on one thread
// or in bands on two.

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <array>
#include <cstring>
#include <vector>

#include "platform/qt/pane_image.h"
#include "platform/thread_pool.h"

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

struct Picture {
  Picture(int bits, int width, int height)
      : pixels(static_cast<std::size_t>(width) * height * (bits / 8)),
        image{nullptr, width, height, width * (bits / 8), bits, true, &palette} {
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i * 31 + i / 1920);
    for (int i = 0; i < 768; ++i) palette[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 7);
    image.pixels = pixels.data();
  }
  std::vector<std::uint8_t> pixels;
  std::array<std::uint8_t, 768> palette{};
  PaneImage image;
};

// Arguments: bits per pixel, width, height.
void BM_PresentPicture(benchmark::State& state) {
  const Picture picture(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                        static_cast<int>(state.range(2)));
  QImage screen;
  QImage window(picture.image.width, picture.image.height, QImage::Format_RGB32);
  for (auto _ : state) {
    PaneImageToScreen(picture.image, screen);
    QPainter painter(&window);
    painter.drawImage(QPoint(0, 0), screen);
    painter.end();
    benchmark::DoNotOptimize(window.constBits());
  }
}
BENCHMARK(BM_PresentPicture)
    ->Args({8, kWidth, kHeight})
    ->Args({24, kWidth, kHeight})
    ->Args({8, 3840, 2160})
    ->Unit(benchmark::kMillisecond);

// The 8-bit picture straight into the window's surface. Arguments: threads,
// width, height.
void BM_PresentStraight(benchmark::State& state) {
  const Picture picture(8, static_cast<int>(state.range(1)), static_cast<int>(state.range(2)));
  ThreadPool pool(static_cast<int>(state.range(0)));
  QImage window(picture.image.width, picture.image.height, QImage::Format_RGB32);
  const QRect all(0, 0, picture.image.width, picture.image.height);
  for (auto _ : state) {
    PaneImageToPixels(picture.image, all, reinterpret_cast<std::uint32_t*>(window.bits()), window.bytesPerLine(), &pool);
    benchmark::DoNotOptimize(window.constBits());
  }
}
BENCHMARK(BM_PresentStraight)
    ->Args({1, kWidth, kHeight})
    ->Args({1, 3840, 2160})
    ->Args({2, 3840, 2160})
    ->Unit(benchmark::kMillisecond);

// What a paint did before, for comparison: a fresh 8-bit QImage with the
// palette as colour table each time, which the painter then converts.
void BM_PresentThroughIndexedImage(benchmark::State& state) {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kWidth) * kHeight);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i * 31 + i / 1920);
  QList<QRgb> table(256);
  for (int i = 0; i < 256; ++i) table[i] = qRgb(i * 7, i * 7 + 1, i * 7 + 2);
  QImage window(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    QImage indexed(kWidth, kHeight, QImage::Format_Indexed8);
    indexed.setColorTable(table);
    for (int y = 0; y < kHeight; ++y)
      std::memcpy(indexed.scanLine(y), pixels.data() + static_cast<std::size_t>(kHeight - 1 - y) * kWidth, kWidth);
    QPainter painter(&window);
    painter.drawImage(QPoint(0, 0), indexed);
    painter.end();
    benchmark::DoNotOptimize(window.constBits());
  }
}
BENCHMARK(BM_PresentThroughIndexedImage)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
