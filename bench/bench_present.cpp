// The path from a pane's 8-bit picture to the window at 1920 x 1080: the
// palette turned into screen colours, the rows turned the right way up, and
// the painter drawing the result (here into an offscreen 32-bit surface, as
// a window's backing store is).

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <array>
#include <cstring>
#include <vector>

#include "platform/qt/pane_image.h"

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

void BM_PresentPicture(benchmark::State& state) {
  const int bits = static_cast<int>(state.range(0));
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(kWidth) * kHeight * (bits / 8));
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i * 31 + i / 1920);
  std::array<std::uint8_t, 768> palette{};
  for (int i = 0; i < 768; ++i) palette[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 7);
  const PaneImage image{pixels.data(), kWidth, kHeight, kWidth * (bits / 8), bits, true, &palette};
  QImage screen;
  QImage window(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    PaneImageToScreen(image, screen);
    QPainter painter(&window);
    painter.drawImage(QPoint(0, 0), screen);
    painter.end();
    benchmark::DoNotOptimize(window.constBits());
  }
}
BENCHMARK(BM_PresentPicture)->Arg(8)->Arg(24)->Unit(benchmark::kMillisecond);

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
