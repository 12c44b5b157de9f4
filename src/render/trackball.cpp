#include "render/trackball.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kBallSize = 0.8;

double ProjectToBall(double x, double y) {
  double d = std::sqrt(x * x + y * y);
  if (d < kBallSize * 0.7071067811865476) return std::sqrt(kBallSize * kBallSize - d * d);
  double t = kBallSize * 0.7071067811865475;
  return t * t / d;  // the hyperbolic sheet outside the ball
}

}  // namespace

Quaternion Trackball(float p1x, float p1y, float p2x, float p2y) {
  if (p1x == p2x && p1y == p2y) return Quaternion{};
  double p1[3] = {p1x, p1y, ProjectToBall(p1x, p1y)};
  double p2[3] = {p2x, p2y, ProjectToBall(p2x, p2y)};
  double axis[3] = {p2[1] * p1[2] - p2[2] * p1[1], p2[2] * p1[0] - p2[0] * p1[2],
                    p2[0] * p1[1] - p2[1] * p1[0]};
  double dx = p1[0] - p2[0], dy = p1[1] - p2[1], dz = p1[2] - p2[2];
  double t = std::clamp(std::sqrt(dx * dx + dy * dy + dz * dz) * 0.625, -1.0, 1.0);
  double phi = 2.0 * std::asin(t);
  double len = std::sqrt(axis[0] * axis[0] + axis[1] * axis[1] + axis[2] * axis[2]);
  if (!(len > 0)) return Quaternion{};  // parallel points: no defined axis
  double s = std::sin(phi / 2) / len;
  return Quaternion{static_cast<float>(axis[0] * s), static_cast<float>(axis[1] * s),
                    static_cast<float>(axis[2] * s), static_cast<float>(std::cos(phi / 2))};
}

Mat3 QuaternionToMatrix(const Quaternion& q) {
  float x = q.x, y = q.y, z = q.z, w = q.w;
  return Mat3::Rows(1 - 2 * (y * y + z * z), 2 * (x * y - w * z), 2 * (w * y + x * z),
                    2 * (w * z + x * y), 1 - 2 * (x * x + z * z), 2 * (y * z - w * x),
                    2 * (x * z - w * y), 2 * (w * x + y * z), 1 - 2 * (x * x + y * y));
}

TrackballPoints NormaliseTrackballPointers(int prevX, int prevY, int x, int y, int width,
                                           int height, TrackballAxis axis) {
  TrackballPoints p;
  double m = 0.9 * std::min(width, height);
  if (!(m > 0)) return p;
  auto nx = [&](int px) { return static_cast<float>((2.0 * px - 0.9 * width) / m); };
  auto ny = [&](int py) { return static_cast<float>((0.9 * height - 2.0 * py) / m); };
  p.p1x = nx(prevX);
  p.p1y = ny(prevY);
  p.p2x = nx(x);
  p.p2y = ny(y);
  if (axis == TrackballAxis::Vertical) p.p1y = p.p2y = 0;
  if (axis == TrackballAxis::Horizontal) p.p1x = p.p2x = 0;
  return p;
}
