#include "render/viewport.h"

#include <algorithm>
#include <cmath>
#include <new>

void ResizeViewport(Viewport& viewport, int clientWidth, int clientHeight, bool withLightLevels) {
  int w = clientWidth < 1 ? 0 : (clientWidth + 3) / 4 * 4;
  int h = clientHeight < 1 ? 0 : clientHeight;
  if (w > kMaxViewSide) w = kMaxViewSide;
  if (h > kMaxViewSide) h = kMaxViewSide;
  if (w == 0 || h == 0) w = h = 0;
  std::size_t n = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
  // The old buffers go first, so that they and the new never have to fit at once.
  viewport.frameBuffer = {};
  viewport.depthBuffer = {};
  viewport.tagBuffer = {};
  viewport.lightLevels = {};
  try {
    viewport.frameBuffer.assign(n, 0);
    viewport.depthBuffer.assign(n, 0xFFFF);
    viewport.tagBuffer.assign(n, -1);
    if (withLightLevels) viewport.lightLevels.assign(n, 0);
  } catch (const std::bad_alloc&) {
    viewport.frameBuffer = {};
    viewport.depthBuffer = {};
    viewport.tagBuffer = {};
    viewport.lightLevels = {};
    w = h = 0;
  }
  viewport.width = static_cast<std::int16_t>(w);
  viewport.height = static_cast<std::int16_t>(h);
}

void ClearViewport(Viewport& viewport, std::uint8_t background, bool clearTags) {
  std::fill(viewport.frameBuffer.begin(), viewport.frameBuffer.end(), background);
  std::fill(viewport.depthBuffer.begin(), viewport.depthBuffer.end(), std::uint16_t{0xFFFF});
  if (clearTags) std::fill(viewport.tagBuffer.begin(), viewport.tagBuffer.end(), -1);
}

void ClearViewportRows(Viewport& viewport, std::uint8_t background, bool clearTags, int top, int bottom) {
  const std::size_t width = viewport.width > 0 ? static_cast<std::size_t>(viewport.width) : 0;
  const std::size_t begin = static_cast<std::size_t>(top) * width;
  const std::size_t end = static_cast<std::size_t>(bottom + 1) * width;
  if (top < 0 || bottom < top || end > viewport.frameBuffer.size() || end > viewport.depthBuffer.size() ||
      (clearTags && end > viewport.tagBuffer.size()))
    return;
  std::fill(viewport.frameBuffer.begin() + static_cast<std::ptrdiff_t>(begin),
            viewport.frameBuffer.begin() + static_cast<std::ptrdiff_t>(end), background);
  std::fill(viewport.depthBuffer.begin() + static_cast<std::ptrdiff_t>(begin),
            viewport.depthBuffer.begin() + static_cast<std::ptrdiff_t>(end), std::uint16_t{0xFFFF});
  if (clearTags)
    std::fill(viewport.tagBuffer.begin() + static_cast<std::ptrdiff_t>(begin),
              viewport.tagBuffer.begin() + static_cast<std::ptrdiff_t>(end), -1);
}

double HalfFieldOfView(const Viewport& viewport) {
  return viewport.fieldOfView * 0.5 * 3.141592 * 0.005555555555555556;
}

double PixelsPerUnit(const Viewport& viewport) {
  if (std::min<int>(viewport.width, viewport.height) < 1) return 0.0;
  const double m = viewport.projectionSide > 0 ? viewport.projectionSide
                                                : std::min<int>(viewport.width, viewport.height);
  double a = HalfFieldOfView(viewport);
  return m / (std::sin(a) * viewport.distance * 2.0 / std::cos(a));
}
