#include "editor/view_fit.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/model.h"
#include "render/transform.h"
#include "render/viewport.h"

bool FitViewToAllFrames(Viewport& viewport, const Model& model) {
  if (model.VertexCount() == 0 || model.frames.empty()) return false;
  double lo[3], hi[3];
  std::fill(lo, lo + 3, std::numeric_limits<double>::max());
  std::fill(hi, hi + 3, std::numeric_limits<double>::lowest());
  for (const auto& frame : model.frames) {
    if (!frame) continue;
    for (const Vec3& vertex : frame->vertices) {
      const Vec3 w = ToWorld(vertex);
      const double p[3] = {w.x, w.y, w.z};
      for (int a = 0; a < 3; ++a) {
        if (!std::isfinite(p[a])) continue;
        lo[a] = std::min(lo[a], p[a]);
        hi[a] = std::max(hi[a], p[a]);
      }
    }
  }
  if (lo[0] > hi[0] || lo[1] > hi[1] || lo[2] > hi[2]) return false;
  double radius = 0;
  for (int a = 0; a < 3; ++a) {
    viewport.pan[a] = static_cast<float>(-(lo[a] + hi[a]) / 2);
    radius += (hi[a] - lo[a]) * (hi[a] - lo[a]) / 4;
  }
  radius = std::max(std::sqrt(radius), 1e-3);
  // The view's half angle across its smaller side: a sphere touches the
  // edge of the picture at radius / sin of it; a little further leaves a rim.
  const double half = std::clamp(HalfFieldOfView(viewport), 1e-3, 1.5);
  viewport.distance = static_cast<float>(radius / std::sin(half) * 1.05);
  return true;
}
