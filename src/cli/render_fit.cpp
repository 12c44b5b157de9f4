#include "cli/render_fit.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "model/model.h"
#include "render/transform.h"
#include "render/viewport.h"

bool FitViewToModel(Viewport& viewport, const Model& model, int pictureWidth, int margin) {
  if (!model.CurrentFrame() || viewport.width < 1 || viewport.height < 1) return false;
  const int numVertices = model.VertexCount();
  std::vector<bool> drawn(static_cast<std::size_t>(numVertices));
  bool any = false;
  for (int t = 0; t < model.TriangleCount(); ++t) {
    const Triangle& tri = model.triangles[static_cast<std::size_t>(t)];
    if (tri.flags & TRI_HIDDEN) continue;
    for (std::int16_t v : tri.vertexIndex)
      if (v >= 0 && v < numVertices) drawn[static_cast<std::size_t>(v)] = any = true;
  }
  if (!any) return false;

  Vec3 lo{INFINITY, INFINITY, INFINITY}, hi{-INFINITY, -INFINITY, -INFINITY};
  for (int v = 0; v < numVertices; ++v) {
    if (!drawn[static_cast<std::size_t>(v)]) continue;
    const Vec3 w = ToWorld(model.CurrentFrame()[v]);
    lo = {std::min(lo.x, w.x), std::min(lo.y, w.y), std::min(lo.z, w.z)};
    hi = {std::max(hi.x, w.x), std::max(hi.y, w.y), std::max(hi.z, w.z)};
  }
  viewport.pan[0] = -(lo.x + hi.x) / 2;
  viewport.pan[1] = -(lo.y + hi.y) / 2;
  viewport.pan[2] = -(lo.z + hi.z) / 2;

  // A point at camera (x, y, z + D) lands x / (z + D) * s pixels left of the
  // centre column (y: above the centre row), s depending on the field of view
  // alone; so each vertex asks for z + D of at least its offset times s over
  // the room on its side, and D is the largest of those asks.
  const double side =
      viewport.projectionSide > 0 ? viewport.projectionSide : std::min<int>(viewport.width, viewport.height);
  const double s = side / (2 * std::tan(HalfFieldOfView(viewport)));
  const double cx = viewport.width / 2, cy = viewport.height / 2;
  const double left = cx - margin, right = pictureWidth - 1 - margin - cx;
  const double below = cy - margin, above = viewport.height - 1 - margin - cy;
  if (std::min({left, right, below, above}) <= 0) return false;
  viewport.distance = 0;
  const CameraTransform camera = MakeCameraTransform(viewport);
  double distance = 1;
  for (int v = 0; v < numVertices; ++v) {
    if (!drawn[static_cast<std::size_t>(v)]) continue;
    const Vec3 c = camera(ToWorld(model.CurrentFrame()[v]));
    const double ask =
        std::max({1.0, c.x > 0 ? c.x * s / left : -c.x * s / right, c.y > 0 ? c.y * s / above : -c.y * s / below}) -
        c.z;
    distance = std::max(distance, ask);
  }
  // A hair further, so rounding on the way to pixels cannot reach the margin.
  viewport.distance = static_cast<float>(distance * 1.001 + 0.01);
  return true;
}
