#include "render/trackball_guide.h"

#include <algorithm>

namespace {

struct Plotter {
  std::uint8_t* buffer;
  int width, height;
  std::uint8_t colour;
  void operator()(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return;
    buffer[static_cast<std::size_t>(y) * width + x] = colour;
  }
};

void SquareOutline(const Plotter& plot, int x, int y) {
  for (int d = -3; d <= 3; ++d) {
    plot(x + d, y - 3);
    plot(x + d, y + 3);
    plot(x - 3, y + d);
    plot(x + 3, y + d);
  }
}

}  // namespace

void DrawTrackballGuide(std::uint8_t* buffer, int width, int height, int cx, int cy, int radius,
                        std::uint8_t colour) {
  if (!buffer || width < 1 || height < 1 || radius < 0) return;
  Plotter plot{buffer, width, height, colour};
  int x = 0, y = radius;
  int d = 3 - 2 * radius;
  while (x <= y) {
    plot(cx + x, cy + y); plot(cx - x, cy + y);
    plot(cx + x, cy - y); plot(cx - x, cy - y);
    plot(cx + y, cy + x); plot(cx - y, cy + x);
    plot(cx + y, cy - x); plot(cx - y, cy - x);
    if (d < 0) {
      d += 4 * x + 6;
    } else {
      d += 4 * (x - y) + 10;
      --y;
    }
    ++x;
  }
  SquareOutline(plot, cx + radius, cy);
  SquareOutline(plot, cx - radius, cy);
  SquareOutline(plot, cx, cy + radius);
  SquareOutline(plot, cx, cy - radius);
}

void DrawTrackballGuide(Viewport& viewport, std::uint8_t colour) {
  int w = viewport.width, h = viewport.height;
  if (w < 1 || h < 1 || viewport.frameBuffer.size() < static_cast<std::size_t>(w) * h) return;
  int radius = static_cast<int>(std::min(w, h) * 0.45);
  DrawTrackballGuide(viewport.frameBuffer.data(), w, h, w / 2, h / 2, radius, colour);
}
