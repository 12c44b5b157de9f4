#include <gtest/gtest.h>

#include "render/camera.h"
#include "render/transform.h"
#include "render/pipeline_scene.h"

namespace {

Viewport SizedViewport(int w, int h) {
  Viewport vp;
  ResizeViewport(vp, w, h, false);
  return vp;
}

}  // namespace

TEST(Transform, PlacesModelAxesAsYZXAndProjectsKnownPoints) {
  Viewport vp = SizedViewport(200, 100);
  // F = 100 / (2 * 75 * tan(16.5 deg)) = 2.25063 pixels per unit at depth 75.
  EXPECT_NEAR(PixelsPerUnit(vp), 2.250629, 1e-5);

  Vec3 c = ToCamera(vp, ToWorld(Vec3{0, 10, 0}));  // model y -> world x
  EXPECT_FLOAT_EQ(c.x, -10.0f);
  EXPECT_FLOAT_EQ(c.y, 0.0f);
  EXPECT_FLOAT_EQ(c.z, 75.0f);
  ScreenPoint p = ProjectVertex(vp, c);
  EXPECT_EQ(p.x, 122);  // 100 + 10 * 2.2506 = 122.5, truncated
  EXPECT_EQ(p.y, 50);

  c = ToCamera(vp, ToWorld(Vec3{0, 0, 8}));  // model z is up
  EXPECT_FLOAT_EQ(c.y, 8.0f);
  EXPECT_EQ(ProjectVertex(vp, c).y, 68);  // rows count from the bottom: 50 + 18.005

  c = ToCamera(vp, ToWorld(Vec3{10, 10, 0}));  // model x comes toward the eye
  EXPECT_FLOAT_EQ(c.z, 65.0f);
  EXPECT_EQ(ProjectVertex(vp, c).x, 125);  // 100 + 10 / (65/75) * 2.2506 = 125.97

  // Truncation is toward zero on the negative side too.
  c = ToCamera(vp, ToWorld(Vec3{0, -60, 0}));
  EXPECT_EQ(ProjectVertex(vp, c).x, -35);  // 100 - 135.04

  vp.pan[0] = 5;  // pan is added in world axes before the rotation
  EXPECT_FLOAT_EQ(ToCamera(vp, ToWorld(Vec3{0, 10, 0})).x, -15.0f);
  vp.pan[0] = 0;
  Align(vp, AlignKind::Left);
  c = ToCamera(vp, ToWorld(Vec3{0, 10, 0}));
  EXPECT_FLOAT_EQ(c.x, 0.0f);
  EXPECT_FLOAT_EQ(c.z, 65.0f);
}

TEST(Accept, NearAndBackFaceTests) {
  Vec3 a{0, 0, 10}, b{1, 0, 10}, c{0, 1, 10};
  EXPECT_TRUE(AcceptCorners(a, b, c));
  EXPECT_FALSE(AcceptCorners(a, c, b));  // other winding faces away
  EXPECT_FALSE(AcceptCorners(a, a, c));  // zero area counts as back-facing
  EXPECT_FALSE(AcceptCorners(a, Vec3{2, 0, 20}, Vec3{4, 0, 40}));  // collinear with the eye
  // Any corner in front of the near plane drops the whole triangle.
  for (int k = 0; k < 3; ++k) {
    Vec3 v[3] = {a, b, c};
    v[k].z = 0.999f;
    EXPECT_FALSE(AcceptCorners(v[0], v[1], v[2])) << "corner " << k;
  }
  Vec3 v[3] = {{0, 0, 1}, {1, 0, 1}, {0, 1, 1}};  // exactly on the plane is kept
  EXPECT_TRUE(AcceptCorners(v[0], v[1], v[2]));
}

TEST(Accept, ModelListSkipsHiddenNearAndBackFacing) {
  Model model;
  std::vector<Vec3> verts = FacingTriangle(65);             // depth 10
  for (Vec3 v : FacingTriangle(74.5f)) verts.push_back(v);  // depth 0.5: too near
  SetUpModel(model, verts, {{0, 1, 2}, {0, 2, 1}, {3, 4, 5}, {0, 1, 2}});
  model.triangles[3].flags = TRI_HIDDEN | TRI_SELECTED;
  Viewport vp = SizedViewport(64, 64);
  ScenePass pass;
  ASSERT_TRUE(PrepareScene(vp, model, 7, true, pass));
  EXPECT_EQ(pass.modelList, std::vector<int>({0}));
  EXPECT_TRUE(pass.any);
  EXPECT_FLOAT_EQ(pass.zmin, 10.0f);
  EXPECT_FLOAT_EQ(pass.zmax, 10.0f);
  // A flat range gives every corner depth 0 rather than dividing by zero.
  EXPECT_EQ(pass.depthScale, 0.0);
  EXPECT_EQ(DepthAttribute(pass, 10.0f), 0);
}

TEST(Accept, DepthRangeSpansModelAndShownCompanions) {
  Model model;
  SetUpModel(model, FacingTriangle(65), {{0, 1, 2}});  // depth 10
  // Companion at model x 45 -> depth 30; offsetX moves it 20 more toward the eye.
  auto near = MakeCompanion(FacingTriangle(25), {{0, 1, 2}}, 1);
  near->offsetX = 20;
  auto far = MakeCompanion(FacingTriangle(-100), {{0, 1, 2}}, 1);  // depth 175, hidden
  far->hidden = 1;
  auto short_ = MakeCompanion(FacingTriangle(-200), {{0, 1, 2}}, 1);  // no frame 1
  model.companions.push_back(std::move(near));
  model.companions.push_back(std::move(far));
  model.companions.push_back(std::move(short_));

  // Frame 1 for the model: a second copy, so the short companion lacks it.
  model.frames.push_back(std::make_unique<Frame>(*model.frames[0]));
  model.currentFrameIndex = 1;
  model.companions[0]->numFrames = 2;
  model.companions[0]->frameVertices.insert(model.companions[0]->frameVertices.end(),
                                            model.companions[0]->frameVertices.begin(),
                                            model.companions[0]->frameVertices.end());

  Viewport vp = SizedViewport(64, 64);
  ScenePass pass;
  ASSERT_TRUE(PrepareScene(vp, model, 0, true, pass));
  ASSERT_EQ(pass.companionLists.size(), 3u);
  EXPECT_EQ(pass.companionLists[0], std::vector<int>({0}));
  EXPECT_TRUE(pass.companionLists[1].empty());
  EXPECT_TRUE(pass.companionLists[2].empty());
  ASSERT_EQ(vp.companionCameraVertices.size(), 3u);
  ASSERT_FALSE(vp.companionCameraVertices[0].empty());
  EXPECT_FLOAT_EQ(vp.companionCameraVertices[0][0].z, 30.0f);
  // Neither the hidden nor the short companion was transformed.
  EXPECT_TRUE(vp.companionCameraVertices[1].empty());
  EXPECT_TRUE(vp.companionCameraVertices[2].empty());

  EXPECT_FLOAT_EQ(pass.zmin, 10.0f);
  EXPECT_FLOAT_EQ(pass.zmax, 30.0f);
  EXPECT_EQ(DepthAttribute(pass, 10.0f), 0);
  EXPECT_EQ(DepthAttribute(pass, 20.0f), 1 << 29);  // half way: 2^30 / 2
  EXPECT_EQ(DepthAttribute(pass, 30.0f), 1 << 30);
}

TEST(Accept, CompanionListIsResetEveryRender) {
  Model model;
  SetUpModel(model, FacingTriangle(65), {{0, 1, 2}});
  model.companions.push_back(MakeCompanion(FacingTriangle(45), {{0, 1, 2}}, 1));
  Viewport vp = SizedViewport(16, 16);
  ScenePass pass;
  PrepareScene(vp, model, 0, true, pass);
  ASSERT_EQ(pass.companionLists.at(0).size(), 1u);
  model.companions[0]->hidden = 1;
  PrepareScene(vp, model, 0, true, pass);
  EXPECT_TRUE(pass.companionLists.at(0).empty());
}

TEST(Transform, FramesAboveTwoThousandVerticesFit) {
  Model model;
  std::vector<Vec3> verts(3000, Vec3{0, 0, 0});
  auto tri = FacingTriangle(65);
  verts[2997] = tri[0];
  verts[2998] = tri[1];
  verts[2999] = tri[2];
  SetUpModel(model, verts, {{2997, 2998, 2999}});
  Viewport vp = SizedViewport(16, 16);
  ScenePass pass;
  ASSERT_TRUE(PrepareScene(vp, model, 0, true, pass));
  ASSERT_GE(vp.cameraVertices.size(), 3000u);
  EXPECT_FLOAT_EQ(vp.cameraVertices[2999].y, 1.0f);
  EXPECT_EQ(pass.modelList, std::vector<int>({0}));
}

TEST(Render, NoFrameClearsBuffersAndAcceptsNothing) {
  Model model;
  model.SetTriangleCount(1);
  model.companions.push_back(MakeCompanion(FacingTriangle(45), {{0, 1, 2}}, 1));
  Viewport vp = SizedViewport(8, 4);
  std::fill(vp.frameBuffer.begin(), vp.frameBuffer.end(), 3);
  std::fill(vp.depthBuffer.begin(), vp.depthBuffer.end(), 5);
  std::fill(vp.tagBuffer.begin(), vp.tagBuffer.end(), 9);
  ScenePass pass;
  pass.companionLists = {{0}};  // left over from an earlier render
  EXPECT_FALSE(PrepareScene(vp, model, 200, true, pass));
  for (auto px : vp.frameBuffer) ASSERT_EQ(px, 200);
  for (auto d : vp.depthBuffer) ASSERT_EQ(d, 0xFFFF);
  for (auto t : vp.tagBuffer) ASSERT_EQ(t, -1);
  EXPECT_TRUE(pass.modelList.empty());
  EXPECT_FALSE(pass.any);
  EXPECT_TRUE(pass.companionLists.at(0).empty());
}

TEST(Viewport, ResizeRoundsWidthUpToFour) {
  Viewport vp;
  EXPECT_EQ(vp.width, -1);
  ResizeViewport(vp, 5, 3, true);
  EXPECT_EQ(vp.width, 8);
  EXPECT_EQ(vp.height, 3);
  EXPECT_EQ(vp.frameBuffer.size(), 24u);
  EXPECT_EQ(vp.lightLevels.size(), 24u);
  ResizeViewport(vp, 1, 3, false);
  EXPECT_EQ(vp.width, 4);
  EXPECT_TRUE(vp.lightLevels.empty());
  ResizeViewport(vp, 0, 3, false);
  EXPECT_EQ(vp.width, 0);
  EXPECT_TRUE(vp.frameBuffer.empty());
}
