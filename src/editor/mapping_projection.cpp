#include "editor/mapping_projection.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "editor/island_pack.h"
#include "editor/mapping_transform.h"
#include "render/transform.h"

namespace {

struct D3 {
  double x = 0, y = 0, z = 0;
};
D3 operator-(const D3& a, const D3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
D3 operator*(const D3& a, double k) { return {a.x * k, a.y * k, a.z * k}; }
D3 operator-(const D3& a) { return {-a.x, -a.y, -a.z}; }
double Dot(const D3& a, const D3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
D3 Cross(const D3& a, const D3& b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double Length(const D3& a) { return std::sqrt(Dot(a, a)); }
D3 Of(const Vec3& v) { return {v.x, v.y, v.z}; }

// The camera's right, up and toward-viewer directions, from world axes
// back into the model's (a model vertex (x, y, z) sits at world (y, z, x)).
D3 CameraColumn(const Viewport& view, int column) {
  const D3 world{view.rotation.m[0][column], view.rotation.m[1][column], view.rotation.m[2][column]};
  return {world.z, world.x, world.y};
}

// Axis, front (toward the camera, square to the axis) and side (to the
// camera's right of the front), a right-handed set.
struct Frame3 {
  D3 axis, front, side;
};

D3 Unit(const D3& a) {
  const double l = Length(a);
  return l > 0 ? a * (1 / l) : a;
}

D3 Square(const D3& v, const D3& axis) { return v - axis * Dot(v, axis); }

Frame3 ProjectionFrame(const Viewport& view, ProjectionAxis axis) {
  const D3 up = Unit(CameraColumn(view, 1)), toward = Unit(CameraColumn(view, 2));
  Frame3 f;
  switch (axis) {
    case ProjectionAxis::X: f.axis = {1, 0, 0}; break;
    case ProjectionAxis::Y: f.axis = {0, 1, 0}; break;
    case ProjectionAxis::Z: f.axis = {0, 0, 1}; break;
    case ProjectionAxis::View: f.axis = up; break;
  }
  // Looking straight along the axis there is no "behind": the seam goes to
  // the bottom of the view instead.
  D3 front = Square(toward, f.axis);
  if (Length(front) < 1e-4) front = Square(up, f.axis);
  if (Length(front) < 1e-4) front = Square(D3{1, 0, 0}, f.axis);
  if (Length(front) < 1e-4) front = Square(D3{0, 1, 0}, f.axis);
  f.front = Unit(front);
  f.side = Cross(f.axis, f.front);
  return f;
}

struct Corner {
  double u = 0, v = 0;
};

// The lowest and highest of a set of points.
struct Extent {
  double minU = std::numeric_limits<double>::max(), minV = std::numeric_limits<double>::max();
  double maxU = std::numeric_limits<double>::lowest(), maxV = std::numeric_limits<double>::lowest();
  void Take(const Corner& c) {
    minU = std::min(minU, c.u);
    maxU = std::max(maxU, c.u);
    minV = std::min(minV, c.v);
    maxV = std::max(maxV, c.v);
  }
};

// Angles round the axis for one triangle's corners. A triangle across the
// seam (corners more than half a turn apart) has its corners on the
// negative side moved a turn on, so it stays whole past the frame's edge
// instead of spanning all of it; a corner on the axis itself has no angle
// and takes the middle of the others.
std::array<double, 3> TriangleAngles(const std::array<double, 3>& angle, const std::array<bool, 3>& onAxis) {
  std::array<double, 3> a = angle;
  double lo = std::numeric_limits<double>::max(), hi = std::numeric_limits<double>::lowest();
  for (int k = 0; k < 3; ++k)
    if (!onAxis[static_cast<std::size_t>(k)]) {
      lo = std::min(lo, a[static_cast<std::size_t>(k)]);
      hi = std::max(hi, a[static_cast<std::size_t>(k)]);
    }
  if (hi - lo > std::numbers::pi)
    for (int k = 0; k < 3; ++k)
      if (!onAxis[static_cast<std::size_t>(k)] && a[static_cast<std::size_t>(k)] < 0)
        a[static_cast<std::size_t>(k)] += 2 * std::numbers::pi;
  double sum = 0;
  int n = 0;
  for (int k = 0; k < 3; ++k)
    if (!onAxis[static_cast<std::size_t>(k)]) {
      sum += a[static_cast<std::size_t>(k)];
      ++n;
    }
  for (int k = 0; k < 3; ++k)
    if (onAxis[static_cast<std::size_t>(k)]) a[static_cast<std::size_t>(k)] = n ? sum / n : 0;
  return a;
}

// The six sides of the box: which way each faces and its right and up.
struct BoxSide {
  D3 right, up;
};

int BoxSideOf(const D3& outward, const Frame3& f) {
  const double c[3] = {Dot(outward, f.front), Dot(outward, f.side), Dot(outward, f.axis)};
  int k = 0;
  for (int i = 1; i < 3; ++i)
    if (std::abs(c[i]) > std::abs(c[k])) k = i;
  return k * 2 + (c[k] < 0 ? 1 : 0);
}

std::array<BoxSide, 6> BoxSides(const Frame3& f) {
  // Each side as seen from outside the box, the sides round the axis
  // upright, the top with the front below it, the bottom with the front above.
  return {BoxSide{f.side, f.axis},   BoxSide{-f.side, f.axis}, BoxSide{-f.front, f.axis},
          BoxSide{f.front, f.axis},  BoxSide{f.side, -f.front}, BoxSide{f.side, f.front}};
}

// Gaps between the box's sides on the skin, in texels.
constexpr double kBoxSideMargin = 2;

}  // namespace

std::optional<ProjectionAxis> ProjectionAxisNamed(const std::string& name) {
  if (name == "x") return ProjectionAxis::X;
  if (name == "y") return ProjectionAxis::Y;
  if (name == "z") return ProjectionAxis::Z;
  if (name == "view") return ProjectionAxis::View;
  return std::nullopt;
}

const char* ProjectionName(ProjectionShape shape) {
  switch (shape) {
    case ProjectionShape::Cylinder: return "Cylinder Projection";
    case ProjectionShape::Sphere: return "Sphere Projection";
    case ProjectionShape::Box: break;
  }
  return "Box Projection";
}

bool ProjectSelected(Model& m, const Viewport& view, const MappingFrame& frame, const ProjectionOptions& o,
                     bool snapToGrid) {
  if (!m.CurrentFrame()) return false;
  const int vertices = m.VertexCount();
  auto position = [&](int v) { return Of(m.CurrentFrame()[v]); };

  std::vector<int> used;
  std::vector<char> marked(static_cast<std::size_t>(vertices), 0);
  for (int i = 0; i < m.TriangleCount(); ++i) {
    const Triangle& t = m.triangles[static_cast<std::size_t>(i)];
    if (!VisibleSelected(t)) continue;
    bool ok = true;
    for (int k = 0; k < 3; ++k) ok = ok && t.vertexIndex[k] >= 0 && t.vertexIndex[k] < vertices;
    if (!ok) continue;
    if (o.noBackfaces) {
      // Facing the camera exactly as Map from 3D View decides it.
      Vec3 c[3];
      for (int k = 0; k < 3; ++k) c[k] = ToCamera(view, ToWorld(m.CurrentFrame()[t.vertexIndex[k]]));
      const D3 c0 = Of(c[0]), c1 = Of(c[1]), c2 = Of(c[2]);
      if (!(Dot(c2, Cross(c1, c0)) < 0)) continue;
    }
    used.push_back(i);
    for (int k = 0; k < 3; ++k) marked[static_cast<std::size_t>(t.vertexIndex[k])] = 1;
  }
  if (used.empty()) return false;

  // The axis runs through the mean of the vertices rather than the middle
  // of their box: a stride or an outstretched arm then does not pull it out
  // of the body.
  D3 sum;
  int count = 0;
  for (int v = 0; v < vertices; ++v) {
    if (!marked[static_cast<std::size_t>(v)]) continue;
    const D3 p = position(v);
    sum = {sum.x + p.x, sum.y + p.y, sum.z + p.z};
    ++count;
  }
  const D3 centre = sum * (1.0 / count);
  const Frame3 f = ProjectionFrame(view, o.axis);

  // Corners stay on texels the skin has.
  const double left = std::min(frame.left, frame.right), top = std::min(frame.top, frame.bottom);
  const double right = std::min<double>(std::max(frame.left, frame.right), std::max(m.skinWidth - 1, 0));
  const double bottom = std::min<double>(std::max(frame.top, frame.bottom), std::max(m.skinHeight - 1, 0));
  const double frameW = std::max(right - left, 0.0), frameH = std::max(bottom - top, 0.0);

  std::vector<std::array<Corner, 3>> corners(used.size());
  if (o.shape == ProjectionShape::Box) {
    const auto sides = BoxSides(f);
    std::vector<int> sideOf(used.size());
    std::array<Extent, 6> extents;
    std::array<bool, 6> inUse{};
    for (std::size_t n = 0; n < used.size(); ++n) {
      const Triangle& t = m.triangles[static_cast<std::size_t>(used[n])];
      const D3 p0 = position(t.vertexIndex[0]), p1 = position(t.vertexIndex[1]), p2 = position(t.vertexIndex[2]);
      // The model winds its faces so that this cross product points out.
      const int side = BoxSideOf(Cross(p2 - p0, p1 - p0), f);
      sideOf[n] = side;
      inUse[static_cast<std::size_t>(side)] = true;
      for (int k = 0; k < 3; ++k) {
        const D3 d = position(t.vertexIndex[k]) - centre;
        const Corner c{Dot(d, sides[static_cast<std::size_t>(side)].right),
                       -Dot(d, sides[static_cast<std::size_t>(side)].up)};
        corners[n][static_cast<std::size_t>(k)] = c;
        extents[static_cast<std::size_t>(side)].Take(c);
      }
    }
    std::vector<PackItem> items;
    std::array<int, 6> itemOf{};
    for (int s = 0; s < 6; ++s) {
      itemOf[static_cast<std::size_t>(s)] = static_cast<int>(items.size());
      if (inUse[static_cast<std::size_t>(s)])
        items.push_back({extents[static_cast<std::size_t>(s)].maxU - extents[static_cast<std::size_t>(s)].minU,
                         extents[static_cast<std::size_t>(s)].maxV - extents[static_cast<std::size_t>(s)].minV});
    }
    const PackResult packed = PackRectangles(items, frameW, frameH, kBoxSideMargin, false);
    const double scale = packed.fits ? packed.scale : 0;
    for (std::size_t n = 0; n < used.size(); ++n) {
      const int side = sideOf[n];
      const Extent& e = extents[static_cast<std::size_t>(side)];
      const PackPlacement place =
          packed.fits ? packed.places[static_cast<std::size_t>(itemOf[static_cast<std::size_t>(side)])] : PackPlacement{};
      for (Corner& c : corners[n]) c = {left + place.x + (c.u - e.minU) * scale, top + place.y + (c.v - e.minV) * scale};
    }
  } else {
    const bool sphere = o.shape == ProjectionShape::Sphere;
    // Lengths round the axis in model units at the selection's mean radius,
    // so the skin is laid on at the same density both ways.
    double radiusSum = 0;
    int radiusCount = 0;
    for (int v = 0; v < vertices; ++v) {
      if (!marked[static_cast<std::size_t>(v)]) continue;
      const D3 d = position(v) - centre;
      radiusSum += sphere ? Length(d) : std::hypot(Dot(d, f.side), Dot(d, f.front));
      ++radiusCount;
    }
    const double radius = radiusCount && radiusSum > 0 ? radiusSum / radiusCount : 1;
    Extent e;
    for (std::size_t n = 0; n < used.size(); ++n) {
      const Triangle& t = m.triangles[static_cast<std::size_t>(used[n])];
      std::array<double, 3> angle{}, height{}, round{};
      std::array<bool, 3> onAxis{};
      for (int k = 0; k < 3; ++k) {
        const D3 d = position(t.vertexIndex[k]) - centre;
        round[static_cast<std::size_t>(k)] = std::hypot(Dot(d, f.side), Dot(d, f.front));
      }
      const double widest = std::max({round[0], round[1], round[2]});
      for (int k = 0; k < 3; ++k) {
        const D3 d = position(t.vertexIndex[k]) - centre;
        const double x = Dot(d, f.side), z = Dot(d, f.front), h = Dot(d, f.axis);
        const std::size_t kk = static_cast<std::size_t>(k);
        // A corner much nearer the axis than the rest (the middle of a cap,
        // a pole) has an angle that means little: it would fan its triangle
        // out across the frame.
        onAxis[kk] = round[kk] <= radius * 1e-6 || round[kk] < widest / 4;
        angle[kk] = onAxis[kk] ? 0 : std::atan2(x, z);
        if (sphere) {
          const double l = Length(d);
          height[kk] = l > 0 ? std::asin(std::clamp(h / l, -1.0, 1.0)) * radius : 0;
        } else {
          height[kk] = h;
        }
      }
      const std::array<double, 3> a = TriangleAngles(angle, onAxis);
      for (int k = 0; k < 3; ++k) {
        const std::size_t kk = static_cast<std::size_t>(k);
        corners[n][kk] = {a[kk] * radius, -height[kk]};
        e.Take(corners[n][kk]);
      }
    }
    const double w = e.maxU - e.minU, h = e.maxV - e.minV;
    double scale = 0;
    if (w > 0 && h > 0)
      scale = std::min(frameW / w, frameH / h);
    else if (w > 0)
      scale = frameW / w;
    else if (h > 0)
      scale = frameH / h;
    // Centred in the frame along the side it does not fill.
    const double offU = left + (frameW - w * scale) / 2, offV = top + (frameH - h * scale) / 2;
    for (auto& tri : corners)
      for (Corner& c : tri) c = {offU + (c.u - e.minU) * scale, offV + (c.v - e.minV) * scale};
  }

  for (std::size_t n = 0; n < used.size(); ++n) {
    Triangle& t = m.triangles[static_cast<std::size_t>(used[n])];
    for (int k = 0; k < 3; ++k) {
      Corner c = corners[n][static_cast<std::size_t>(k)];
      if (snapToGrid) c = {std::round(c.u), std::round(c.v)};
      t.cornerMap[k] = {static_cast<float>(c.u), static_cast<float>(c.v)};
    }
  }
  m.WeldMapVertices(0);
  return true;
}

OpResult ProjectSelectedMapping(Document& document, const Viewport& view, const EditorState& editor,
                                const ProjectionOptions& options) {
  DocumentStep step(document, ProjectionName(options.shape), STEP_MESH);
  Model& m = document.model;
  const MappingFrame frame = NormalisedFrame(editor.mappingFrame, m.skinWidth, m.skinHeight);
  return ProjectSelected(m, view, frame, options, editor.snapToGrid) ? OpResult::Done() : OpResult::Nothing();
}
