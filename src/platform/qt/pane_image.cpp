#include "platform/qt/pane_image.h"

#include <cstring>

QImage PaneImageToQImage(const PaneImage& image) {
  if (!image.pixels || image.width <= 0 || image.height <= 0) return {};
  const int bytesPerPixel = image.bitsPerPixel == 8 ? 1 : image.bitsPerPixel == 24 ? 3 : 0;
  if (bytesPerPixel == 0) return {};
  if (image.stride < image.width * bytesPerPixel) return {};
  if (bytesPerPixel == 1 && !image.palette) return {};

  QImage out(image.width, image.height, bytesPerPixel == 1 ? QImage::Format_Indexed8 : QImage::Format_BGR888);
  if (out.isNull()) return {};
  if (bytesPerPixel == 1) {
    QList<QRgb> table(256);
    const auto& pal = *image.palette;
    for (int i = 0; i < 256; ++i) table[i] = qRgb(pal[i * 3], pal[i * 3 + 1], pal[i * 3 + 2]);
    out.setColorTable(table);
  }
  const std::size_t rowBytes = static_cast<std::size_t>(image.width) * bytesPerPixel;
  for (int y = 0; y < image.height; ++y) {
    const int source = image.bottomUp ? image.height - 1 - y : y;
    std::memcpy(out.scanLine(y), image.pixels + static_cast<std::size_t>(source) * image.stride, rowBytes);
  }
  return out;
}
