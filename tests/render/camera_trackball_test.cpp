#include <gtest/gtest.h>

#include <cmath>

#include "render/camera.h"
#include "render/trackball.h"

namespace {

void ExpectMatrixNear(const Mat3& a, const Mat3& b, float tol = 1e-5f) {
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(a.m[i][j], b.m[i][j], tol) << i << "," << j;
}

}  // namespace

TEST(Trackball, EqualPointsGiveTheIdentity) {
  Quaternion q = Trackball(0.3f, -0.2f, 0.3f, -0.2f);
  EXPECT_EQ(q.x, 0);
  EXPECT_EQ(q.y, 0);
  EXPECT_EQ(q.z, 0);
  EXPECT_EQ(q.w, 1);
  ExpectMatrixNear(QuaternionToMatrix(q), Mat3::Identity(), 0);
}

TEST(Trackball, SymmetricDragMakesAQuarterTurnAboutY) {
  // Both points on the sphere's rim (d = 0.8 / sqrt 2, z = d); their distance
  // 2d times 0.625 is sin 45 degrees, so phi is 90 degrees about p2 x p1 = -y.
  float d = 0.8f * 0.70710678f;
  Quaternion q = Trackball(-d, 0, d, 0);
  EXPECT_NEAR(q.x, 0, 1e-6);
  EXPECT_NEAR(q.y, -0.70710678, 1e-5);
  EXPECT_NEAR(q.z, 0, 1e-6);
  EXPECT_NEAR(q.w, 0.70710678, 1e-5);
  ExpectMatrixNear(QuaternionToMatrix(q), Mat3::Rows(0, 0, -1, 0, 1, 0, 1, 0, 0), 1e-4f);
}

TEST(Trackball, LongDragsClampAtHalfATurn) {
  Quaternion q = Trackball(-5, 0, 5, 0);  // |p1 - p2| * 0.625 > 1
  EXPECT_NEAR(q.w, 0, 1e-6);              // phi = 180 degrees
}

TEST(QuaternionToMatrix, HalfTurnAboutZ) {
  ExpectMatrixNear(QuaternionToMatrix(Quaternion{0, 0, 1, 0}), Mat3::Rows(-1, 0, 0, 0, -1, 0, 0, 0, 1));
}

TEST(Trackball, PointerNormalisationAndAxisConstraints) {
  // W 200, H 100: x' = (2x - 180) / 90, y' = (90 - 2y) / 90.
  TrackballPoints p = NormaliseTrackballPointers(90, 45, 135, 0, 200, 100, TrackballAxis::Free);
  EXPECT_FLOAT_EQ(p.p1x, 0);
  EXPECT_FLOAT_EQ(p.p1y, 0);
  EXPECT_FLOAT_EQ(p.p2x, 1);
  EXPECT_FLOAT_EQ(p.p2y, 1);
  p = NormaliseTrackballPointers(90, 45, 135, 0, 200, 100, TrackballAxis::Vertical);
  EXPECT_FLOAT_EQ(p.p2x, 1);
  EXPECT_EQ(p.p1y, 0);
  EXPECT_EQ(p.p2y, 0);
  p = NormaliseTrackballPointers(90, 45, 135, 0, 200, 100, TrackballAxis::Horizontal);
  EXPECT_EQ(p.p1x, 0);
  EXPECT_EQ(p.p2x, 0);
  EXPECT_FLOAT_EQ(p.p2y, 1);
  // A view without pixels gives no turn rather than a division by zero.
  p = NormaliseTrackballPointers(1, 2, 3, 4, 0, 0, TrackballAxis::Free);
  EXPECT_EQ(Trackball(p.p1x, p.p1y, p.p2x, p.p2y).w, 1);
}

TEST(Rotate, LightStaysOnTheModelUnlessLocked) {
  Viewport vp;
  Lighting light;
  TrackballPoints drag{-0.2f, 0.1f, 0.3f, 0.2f};
  Rotate(vp, light, drag);
  ExpectMatrixNear(light.lightRotation, Mat3::Identity(), 0);
  Mat3 R = QuaternionToMatrix(Trackball(drag.p1x, drag.p1y, drag.p2x, drag.p2y));
  ExpectMatrixNear(vp.rotation, R);

  // Locked: L' V' = L V R^T V^T V R = L V, the light seen from the camera.
  light.lockLight = 1;
  Mat3 before = light.lightRotation * vp.rotation;
  Rotate(vp, light, TrackballPoints{0.1f, -0.4f, -0.2f, 0.1f});
  ExpectMatrixNear(light.lightRotation * vp.rotation, before);
  EXPECT_GT(std::fabs(light.lightRotation.m[0][1]) + std::fabs(light.lightRotation.m[2][0]), 1e-3);
}

TEST(RotateLight, TurnsOnlyTheLight) {
  Viewport vp;
  vp.rotation = AlignRotation(AlignKind::Left);
  Lighting light;
  TrackballPoints drag{-0.2f, 0.1f, 0.3f, 0.2f};
  RotateLight(vp, light, drag);
  ExpectMatrixNear(vp.rotation, AlignRotation(AlignKind::Left), 0);
  Mat3 R = QuaternionToMatrix(Trackball(drag.p1x, drag.p1y, drag.p2x, drag.p2y));
  ExpectMatrixNear(light.lightRotation, vp.rotation * R * Transpose(vp.rotation));
}
