#include "platform/qt/pane_image.h"

#include <array>
#include <cstdint>

bool PaneImageToScreen(const PaneImage& image, QImage& target) {
  if (!image.pixels || image.width <= 0 || image.height <= 0) return false;
  const int bytesPerPixel = image.bitsPerPixel == 8 ? 1 : image.bitsPerPixel == 24 ? 3 : 0;
  if (bytesPerPixel == 0) return false;
  if (image.stride < image.width * bytesPerPixel) return false;
  if (bytesPerPixel == 1 && !image.palette) return false;

  if (target.width() != image.width || target.height() != image.height || target.format() != QImage::Format_RGB32) {
    QImage fresh(image.width, image.height, QImage::Format_RGB32);
    if (fresh.isNull()) return false;
    target = std::move(fresh);
  }
  std::array<std::uint32_t, 256> table{};
  if (bytesPerPixel == 1) {
    const auto& pal = *image.palette;
    for (int i = 0; i < 256; ++i) table[static_cast<std::size_t>(i)] = qRgb(pal[i * 3], pal[i * 3 + 1], pal[i * 3 + 2]);
  }
  // Sizes in locals: the stores into the picture could otherwise be taken
  // to change them, and they would be read again for every pixel.
  const int width = image.width, height = image.height;
  const std::uint32_t* const colours = table.data();
  for (int y = 0; y < height; ++y) {
    const int source = image.bottomUp ? height - 1 - y : y;
    const std::uint8_t* in = image.pixels + static_cast<std::size_t>(source) * static_cast<std::size_t>(image.stride);
    auto* out = reinterpret_cast<std::uint32_t*>(target.scanLine(y));
    if (bytesPerPixel == 1) {
      for (int x = 0; x < width; ++x) out[x] = colours[in[x]];
    } else {
      for (int x = 0; x < width; ++x, in += 3) out[x] = qRgb(in[2], in[1], in[0]);
    }
  }
  return true;
}
