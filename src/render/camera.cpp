#include "render/camera.h"

#include <algorithm>
#include <cmath>

#include "model/companion.h"

namespace {

// Every mouse move multiplies the camera and the light by another turn in
// float; over a few thousand moves the products drift off a rotation, the
// more so as V^T stops being V's inverse. The light vector then grew past
// unit length and its levels left their range, and the model slowly
// scaled. Each product is straightened again: unit rows, square to each
// other.
Mat3 Orthonormalised(const Mat3& a) {
  double r[3][3];
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) r[i][j] = a.m[i][j];
  auto dot = [](const double* x, const double* y) { return x[0] * y[0] + x[1] * y[1] + x[2] * y[2]; };
  const double len0 = std::sqrt(dot(r[0], r[0]));
  for (double& c : r[0]) c /= len0;
  const double along = dot(r[1], r[0]);
  for (int j = 0; j < 3; ++j) r[1][j] -= along * r[0][j];
  const double len1 = std::sqrt(dot(r[1], r[1]));
  for (double& c : r[1]) c /= len1;
  // A turn keeps its handedness: the third row follows from the first two.
  r[2][0] = r[0][1] * r[1][2] - r[0][2] * r[1][1];
  r[2][1] = r[0][2] * r[1][0] - r[0][0] * r[1][2];
  r[2][2] = r[0][0] * r[1][1] - r[0][1] * r[1][0];
  Mat3 out;
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) out.m[i][j] = static_cast<float>(r[i][j]);
  // Rows that have collapsed, or are not numbers, cannot be straightened.
  for (const auto& row : out.m)
    for (float c : row)
      if (!std::isfinite(c)) return a;
  return out;
}

}  // namespace

void Rotate(Viewport& viewport, Lighting& lighting, const TrackballPoints& points) {
  Mat3 R = QuaternionToMatrix(Trackball(points.p1x, points.p1y, points.p2x, points.p2y));
  const Mat3& V = viewport.rotation;
  if (lighting.lockLight == 1)
    lighting.lightRotation = Orthonormalised(lighting.lightRotation * V * Transpose(R) * Transpose(V));
  viewport.rotation = Orthonormalised(V * R);
}

void RotateLight(const Viewport& viewport, Lighting& lighting, const TrackballPoints& points) {
  Mat3 R = QuaternionToMatrix(Trackball(points.p1x, points.p1y, points.p2x, points.p2y));
  const Mat3& V = viewport.rotation;
  lighting.lightRotation = Orthonormalised(lighting.lightRotation * V * R * Transpose(V));
}

void Pan(Viewport& viewport, int dx, int dy) {
  double k = PixelsPerUnit(viewport);
  if (!(k > 0)) return;
  const auto& R = viewport.rotation.m;
  for (int i = 0; i < 3; ++i)
    viewport.pan[i] += static_cast<float>((dx * R[i][0] - dy * R[i][1]) / k);
}

void MovePivot(Viewport& viewport, int dy) {
  const auto& R = viewport.rotation.m;
  double e[3], g[3];
  for (int i = 0; i < 3; ++i) {
    e[i] = viewport.pan[i] - static_cast<double>(viewport.distance) * R[i][2];
    g[i] = viewport.pan[i] - e[i];
  }
  double factor = dy > 0 ? 0.9980040176624866 : 1.0019999742507935;
  for (int n = std::abs(dy); n > 0; --n)
    for (double& c : g) c *= factor;
  for (int i = 0; i < 3; ++i) viewport.pan[i] = static_cast<float>(e[i] + g[i]);
  viewport.distance = static_cast<float>(std::sqrt(g[0] * g[0] + g[1] * g[1] + g[2] * g[2]));
}

void Zoom(Viewport& viewport, int steps) {
  for (; steps > 0; --steps) viewport.distance *= 1.002f;
  for (; steps < 0; ++steps) viewport.distance *= 0.9980040192604065f;
}

void ChangeFieldOfView(Viewport& viewport, int dx) {
  viewport.fieldOfView = std::clamp(viewport.fieldOfView + dx * 0.1f, 1.0f, 120.0f);
}

Mat3 AlignRotation(AlignKind kind) {
  switch (kind) {
    case AlignKind::Back: return Mat3::Rows(-1, 0, 0, 0, 1, 0, 0, 0, -1);
    case AlignKind::Left: return Mat3::Rows(0, 0, 1, 0, 1, 0, -1, 0, 0);
    case AlignKind::Right: return Mat3::Rows(0, 0, -1, 0, 1, 0, 1, 0, 0);
    case AlignKind::Top: return Mat3::Rows(1, 0, 0, 0, 0, 1, 0, -1, 0);
    case AlignKind::Bottom: return Mat3::Rows(1, 0, 0, 0, 0, -1, 0, 1, 0);
    case AlignKind::Front: break;
  }
  return Mat3::Identity();
}

void Align(Viewport& viewport, AlignKind kind) { viewport.rotation = AlignRotation(kind); }

namespace {

void CenterOn(Viewport& viewport, double x, double y, double z) {
  viewport.pan[0] = static_cast<float>(-y);
  viewport.pan[1] = static_cast<float>(-z);
  viewport.pan[2] = static_cast<float>(-x);
}

}  // namespace

bool CenterOnSelected(Viewport& viewport, const Model& model) {
  if (!model.CurrentFrame()) return false;
  int numTris = std::min<int>(model.TriangleCount(), static_cast<int>(model.triangles.size()));
  double sum[3] = {0, 0, 0};
  int count = 0;
  for (int t = 0; t < numTris; ++t) {
    const Triangle& tri = model.triangles[t];
    if (!(tri.flags & TRI_SELECTED) || (tri.flags & TRI_HIDDEN)) continue;
    bool ok = true;
    for (int k = 0; k < 3; ++k)
      ok = ok && tri.vertexIndex[k] >= 0 && tri.vertexIndex[k] < model.VertexCount();
    if (!ok) continue;
    double c[3] = {0, 0, 0};
    for (int k = 0; k < 3; ++k) {
      const Vec3& p = model.CurrentFrame()[tri.vertexIndex[k]];
      c[0] += p.x;
      c[1] += p.y;
      c[2] += p.z;
    }
    for (int i = 0; i < 3; ++i) sum[i] += c[i] * 0.333333;
    ++count;
  }
  if (count == 0) return false;
  CenterOn(viewport, sum[0] / count, sum[1] / count, sum[2] / count);
  return true;
}

bool CenterOnScene(Viewport& viewport, const Model& model) {
  if (!model.CurrentFrame()) return false;
  double sum[3] = {0, 0, 0};
  long count = 0;
  for (int i = 0; i < model.VertexCount(); ++i) {
    sum[0] += model.CurrentFrame()[i].x;
    sum[1] += model.CurrentFrame()[i].y;
    sum[2] += model.CurrentFrame()[i].z;
    ++count;
  }
  for (const auto& comp : model.companions) {
    if (!CompanionShown(*comp, model.currentFrameIndex)) continue;
    const CompanionVertex* v = comp->FrameVertices(model.currentFrameIndex);
    for (int i = 0; i < comp->numVertices; ++i) {
      sum[0] += v[i].x + comp->offsetX;
      sum[1] += v[i].y + comp->offsetY;
      sum[2] += v[i].z + comp->offsetZ;
      ++count;
    }
  }
  if (count == 0) return false;  // a frame without vertices has no centre
  CenterOn(viewport, sum[0] / count, sum[1] / count, sum[2] / count);
  return true;
}
