#include "editor/tools/skin_view_transform.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

void SkinViewTransform::ClientToSkin(int x, int y, float& s, float& t) const {
  s = static_cast<float>((x - width / 2) / zoom + centreS);
  t = static_cast<float>((y - height / 2) / zoom + centreT);
}

bool SkinViewTransform::VertexToClient(const MapVertex& v, double& x, double& y) const {
  x = width / 2 + (static_cast<double>(v.s) - centreS + 0.5) * zoom;
  y = height / 2 + (static_cast<double>(v.t) - centreT + 0.5) * zoom;
  return std::isfinite(x) && std::isfinite(y) && std::fabs(x) < 1e9 && std::fabs(y) < 1e9;
}

// Past a bound the clamp decides, so the loop stops there however large the
// count.
void SkinViewTransform::ZoomBy(int steps, double up, double down) {
  const double factor = steps > 0 ? up : down;
  for (long n = std::labs(static_cast<long>(steps)); n > 0; --n) {
    zoom = static_cast<float>(zoom * factor);
    if (zoom > kMaxZoom || zoom < kMinZoom) break;
  }
  zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
}
