#include "render/viewport.h"

#include <algorithm>
#include <cmath>

void ResizeViewport(Viewport& viewport, int clientWidth, int clientHeight, bool withLightLevels) {
  int w = clientWidth < 1 ? 0 : (clientWidth + 3) / 4 * 4;
  int h = clientHeight < 1 ? 0 : clientHeight;
  if (w > 32764) w = 32764;  // width and height are 16-bit
  if (h > 32767) h = 32767;
  if (w == 0 || h == 0) w = h = 0;
  std::size_t n = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
  viewport.frameBuffer.assign(n, 0);
  viewport.depthBuffer.assign(n, 0xFFFF);
  viewport.tagBuffer.assign(n, -1);
  if (withLightLevels)
    viewport.lightLevels.assign(n, 0);
  else
    viewport.lightLevels.clear();
  viewport.width = static_cast<std::int16_t>(w);
  viewport.height = static_cast<std::int16_t>(h);
}

void ClearViewport(Viewport& viewport, std::uint8_t background, bool clearTags) {
  std::fill(viewport.frameBuffer.begin(), viewport.frameBuffer.end(), background);
  std::fill(viewport.depthBuffer.begin(), viewport.depthBuffer.end(), std::uint16_t{0xFFFF});
  if (clearTags) std::fill(viewport.tagBuffer.begin(), viewport.tagBuffer.end(), -1);
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
