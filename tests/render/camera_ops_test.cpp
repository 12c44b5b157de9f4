#include <gtest/gtest.h>

#include <cmath>

#include "platform/render_priority.h"
#include "render/camera.h"
#include "render/trackball_guide.h"
#include "render/transform.h"
#include "render/pipeline_scene.h"

#include <sys/resource.h>

namespace {

Viewport SizedViewport(int w, int h) {
  Viewport vp;
  ResizeViewport(vp, w, h, false);
  return vp;
}

// Where a world point lands on screen, before truncation.
void ScreenOf(const Viewport& vp, const Vec3& world, double& x, double& y) {
  Vec3 c = ToCamera(vp, world);
  double f = PixelsPerUnit(vp);
  x = vp.width / 2 - c.x / (c.z / vp.distance) * f;
  y = vp.height / 2 + c.y / (c.z / vp.distance) * f;
}

}  // namespace

TEST(MovePivot, KeepsThePictureAndTheEye) {
  Viewport vp = SizedViewport(300, 200);
  vp.rotation = AlignRotation(AlignKind::Left) *
                QuaternionToMatrix(Trackball(-0.1f, 0.2f, 0.3f, -0.1f));
  vp.pan[0] = 3;
  vp.pan[1] = -2;
  vp.pan[2] = 7;
  const Vec3 points[] = {{0, 0, 0}, {10, -5, 3}, {-20, 4, 12}};
  double before[3][2];
  for (int i = 0; i < 3; ++i) ScreenOf(vp, points[i], before[i][0], before[i][1]);
  float distance = vp.distance;
  for (int dy : {40, -90}) {
    MovePivot(vp, dy);
    for (int i = 0; i < 3; ++i) {
      double x, y;
      ScreenOf(vp, points[i], x, y);
      EXPECT_NEAR(x, before[i][0], 1e-2) << dy << " point " << i;
      EXPECT_NEAR(y, before[i][1], 1e-2) << dy << " point " << i;
    }
  }
  // 40 steps down (x 0.998004) then 90 up (x 1.002): net 1.002^50.
  EXPECT_NEAR(vp.distance, distance * std::pow(1.002, 50), 1e-3);
}

TEST(Zoom, StepsScaleTheDistance) {
  Viewport vp;
  Zoom(vp, 1);
  EXPECT_FLOAT_EQ(vp.distance, 75.0f * 1.002f);
  Zoom(vp, -1);
  EXPECT_NEAR(vp.distance, 75.0, 1e-4);
  Zoom(vp, 120);  // one wheel notch
  EXPECT_NEAR(vp.distance, 75.0 * std::pow(1.002, 120), 1e-2);
}

TEST(FieldOfView, StepsOfATenthClampedToRange) {
  Viewport vp;
  ChangeFieldOfView(vp, 5);
  EXPECT_FLOAT_EQ(vp.fieldOfView, 33.5f);
  ChangeFieldOfView(vp, 5000);
  EXPECT_EQ(vp.fieldOfView, 120.0f);
  ChangeFieldOfView(vp, -5000);
  EXPECT_EQ(vp.fieldOfView, 1.0f);
}

TEST(Pan, OrbitCentreFollowsThePointer) {
  Viewport vp = SizedViewport(200, 100);
  vp.rotation = AlignRotation(AlignKind::Top);
  double x0, y0;
  ScreenOf(vp, Vec3{0, 0, 0}, x0, y0);
  Pan(vp, 10, 4);  // right 10, down 4 (rows count from the bottom)
  double x1, y1;
  ScreenOf(vp, Vec3{0, 0, 0}, x1, y1);
  EXPECT_NEAR(x1 - x0, 10, 1e-3);
  EXPECT_NEAR(y1 - y0, -4, 1e-3);
  Viewport unsized;
  Pan(unsized, 10, 10);  // before the first resize: no pixels, no move
  EXPECT_EQ(unsized.pan[0], 0);
}

TEST(Align, SetsOrthonormalMatricesAndKeepsPan) {
  Viewport vp;
  vp.pan[0] = 1;
  vp.pan[1] = 2;
  vp.pan[2] = 3;
  vp.distance = 50;
  vp.fieldOfView = 40;
  Align(vp, AlignKind::Top);
  EXPECT_EQ(vp.rotation.m[1][2], 1);
  EXPECT_EQ(vp.rotation.m[2][1], -1);
  EXPECT_EQ(vp.pan[0], 1);
  EXPECT_EQ(vp.pan[1], 2);
  EXPECT_EQ(vp.pan[2], 3);
  EXPECT_EQ(vp.distance, 50);
  EXPECT_EQ(vp.fieldOfView, 40);
  for (AlignKind k : {AlignKind::Front, AlignKind::Back, AlignKind::Left, AlignKind::Right,
                      AlignKind::Top, AlignKind::Bottom}) {
    Mat3 r = AlignRotation(k);
    Mat3 i = r * Transpose(r);
    for (int a = 0; a < 3; ++a)
      for (int b = 0; b < 3; ++b) EXPECT_EQ(i.m[a][b], a == b ? 1 : 0);
    // The camera's toward-viewer axis (column 2) points where the view looks from.
  }
  // Front looks from world +z (model +x), Left from world -x (model -y).
  EXPECT_EQ(AlignRotation(AlignKind::Front).m[2][2], 1);
  EXPECT_EQ(AlignRotation(AlignKind::Left).m[0][2], 1);
  EXPECT_EQ(AlignRotation(AlignKind::Right).m[0][2], -1);
  EXPECT_EQ(AlignRotation(AlignKind::Back).m[2][2], -1);
}

TEST(CenterOnSelected, UsesShownSelectedTrianglesOnly) {
  Model model;
  SetUpModel(model, {{0, 0, 0}, {3, 0, 0}, {0, 3, 0}, {30, 30, 30}, {33, 30, 30}, {30, 33, 30}},
             {{0, 1, 2}, {3, 4, 5}});
  Viewport vp;
  vp.pan[0] = 9;
  model.triangles[1].flags = TRI_SELECTED | TRI_HIDDEN;
  EXPECT_FALSE(CenterOnSelected(vp, model));
  EXPECT_EQ(vp.pan[0], 9);
  model.triangles[0].flags = TRI_SELECTED;
  EXPECT_TRUE(CenterOnSelected(vp, model));
  // centroid (1, 1, 0) scaled by 3 * 0.333333; pan = -(y, z, x)
  EXPECT_NEAR(vp.pan[0], -0.999999, 1e-6);
  EXPECT_NEAR(vp.pan[1], 0, 1e-6);
  EXPECT_NEAR(vp.pan[2], -0.999999, 1e-6);
  model.currentFrameIndex = -1;
  vp.pan[0] = 9;
  EXPECT_FALSE(CenterOnSelected(vp, model));
  EXPECT_EQ(vp.pan[0], 9);
}

TEST(CenterOnScene, IncludesShownCompanionsAtTheirOffset) {
  Model model;
  SetUpModel(model, {{0, 0, 0}, {2, 0, 0}}, {});
  auto shown = MakeCompanion({{0, 0, 0}, {0, 0, 0}}, {}, 1);
  shown->offsetX = 4;
  shown->offsetZ = 8;
  auto hidden = MakeCompanion({{100, 100, 100}}, {}, 1);
  hidden->hidden = 1;
  model.companions.push_back(std::move(shown));
  model.companions.push_back(std::move(hidden));
  Viewport vp;
  EXPECT_TRUE(CenterOnScene(vp, model));
  // mean of (0,0,0), (2,0,0), (4,0,8) twice: (2.5, 0, 4)
  EXPECT_FLOAT_EQ(vp.pan[0], 0.0f);
  EXPECT_FLOAT_EQ(vp.pan[1], -4.0f);
  EXPECT_FLOAT_EQ(vp.pan[2], -2.5f);
  model.currentFrameIndex = -1;
  EXPECT_FALSE(CenterOnScene(vp, model));
}

TEST(TrackballGuide, CircleAndHandlesClippedToTheBuffer) {
  Viewport vp = SizedViewport(40, 40);
  DrawTrackballGuide(vp, 9);  // centre (20, 20), radius trunc(40 * 0.45) = 18
  auto at = [&](int x, int y) { return vp.frameBuffer[y * 40 + x]; };
  EXPECT_EQ(at(38, 20), 9);
  EXPECT_EQ(at(2, 20), 9);
  EXPECT_EQ(at(20, 38), 9);
  EXPECT_EQ(at(20, 2), 9);
  EXPECT_EQ(at(35, 17), 9);  // handle corner: (38 - 3, 20 - 3)
  EXPECT_EQ(at(20, 20), 0);  // inside stays untouched
  EXPECT_EQ(at(37, 20), 0);
  int drawn = 0;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x)
      if (at(x, y) == 9) {
        ++drawn;
        double r = std::hypot(x - 20, y - 20);
        bool onCircle = std::fabs(r - 18) < 1.0;
        bool onHandle = std::abs(std::abs(x - 20) - 18) <= 3 && std::abs(y - 20) <= 3;
        bool onHandleV = std::abs(std::abs(y - 20) - 18) <= 3 && std::abs(x - 20) <= 3;
        EXPECT_TRUE(onCircle || onHandle || onHandleV) << x << "," << y;
      }
  EXPECT_GT(drawn, 100);
  // A guide hanging off every edge writes only inside.
  std::vector<std::uint8_t> small(8 * 4, 0);
  DrawTrackballGuide(small.data(), 8, 4, 4, 2, 30, 5);
  DrawTrackballGuide(small.data(), 8, 4, -50, 90, 3, 5);
}

TEST(RenderPriority, RestoreGivesBackThePreviousPriority) {
  int before = getpriority(PRIO_PROCESS, 0);
  RenderPriority state;
  {
    RenderPriorityScope scope(state);
    EXPECT_LE(getpriority(PRIO_PROCESS, 0), before);
  }
  EXPECT_EQ(getpriority(PRIO_PROCESS, 0), before);
  RestoreRenderPriority(state);  // a second restore changes nothing
  EXPECT_EQ(getpriority(PRIO_PROCESS, 0), before);
}
