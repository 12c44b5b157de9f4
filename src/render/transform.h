#pragma once
// Model and companion vertices into camera space, projection to pixels, and
// the per-render triangle acceptance with its depth range.

#include <cstdint>
#include <vector>

#include "model/model.h"
#include "render/viewport.h"

struct Companion;

struct ScreenPoint {
  int x = 0;
  int y = 0;  // rows from the bottom of the buffer
};

// Model vertex (x, y, z) placed in world axes: (y, z, x).
inline Vec3 ToWorld(const Vec3& v) { return Vec3{v.y, v.z, v.x}; }

// The camera's rotation, pan and distance taken out of the viewport once, so
// a loop over a frame's vertices keeps them in registers.
struct CameraTransform {
  float r[3][3];
  float pan[3];
  float distance;
  Vec3 operator()(const Vec3& world) const {
    const float a0 = world.x + pan[0], a1 = world.y + pan[1], a2 = world.z + pan[2];
    const float c0 = -(a0 * r[0][0] + a1 * r[1][0] + a2 * r[2][0]);
    const float c1 = -(a0 * r[0][1] + a1 * r[1][1] + a2 * r[2][1]);
    const float c2 = -(a0 * r[0][2] + a1 * r[1][2] + a2 * r[2][2]);
    return Vec3{c0, -c1, c2 + distance};
  }
};
CameraTransform MakeCameraTransform(const Viewport& viewport);

// One world position into camera space.
Vec3 ToCamera(const Viewport& viewport, const Vec3& world);

// Fills viewport.cameraVertices from the model's current frame and the
// camera fields of every shown companion's current frame. False (nothing
// done) when there is no current frame.
bool TransformVertices(Viewport& viewport, Model& model);

// Truncation toward zero, kept inside int for points far off screen (or
// right at the eye) so the conversion stays defined; the rasterizer clips.
inline int TruncPixel(double v) {
  if (!(v > -1e9)) return -1000000000;
  if (v > 1e9) return 1000000000;
  return static_cast<int>(v);
}

// The projection of one frame: what depends on the camera alone (the
// trigonometry of the field of view, the centre) worked out once, then the
// same arithmetic per point as ProjectVertex.
struct Projector {
  double pixelsPerUnit = 0;
  double cx = 0, cy = 0;
  double distance = 1;
  ScreenPoint operator()(const Vec3& c) const {
    const double depth = c.z / distance;
    return ScreenPoint{TruncPixel(cx - (c.x / depth) * pixelsPerUnit), TruncPixel(cy + (c.y / depth) * pixelsPerUnit)};
  }
};
Projector MakeProjector(const Viewport& viewport);

ScreenPoint ProjectVertex(const Viewport& viewport, const Vec3& c);

// Triangles accepted by one render, with the depth range they span.
struct ScenePass {
  std::vector<int> modelList;  // model triangle numbers in draw order
  float zmin = 9999999999.0f;
  float zmax = -9999999999.0f;
  double depthScale = 0.0;  // 16.16 depth per camera unit; 0 when the range is empty or flat
  bool any = false;         // at least one triangle (model or companion) accepted
  // Each companion's accepted triangle numbers in draw order, by its index in
  // the model's list.
  std::vector<std::vector<int>> companionLists;
};

// The near and back-face tests over the model (hidden triangles skipped) and
// then every shown companion, whose accepted triangles go to its own list in
// companionLists. Expects TransformVertices to have run for the same camera.
void AcceptTriangles(const Viewport& viewport, Model& model, ScenePass& pass);

// Near test (all three corners at c.z >= 1) and back-face test ((c1 x c0) . c2 < 0).
bool AcceptCorners(const Vec3& c0, const Vec3& c1, const Vec3& c2);

// The 16.16 depth attribute of a corner at camera depth cz. A vertex out of
// float's range sits at a depth that is not a number: nearest, like any
// vertex in front of the range (only accepted triangles are drawn).
inline std::int32_t DepthAttribute(const ScenePass& pass, float cz) {
  double d = (static_cast<double>(cz) - pass.zmin) * pass.depthScale;
  if (!(d > 0)) d = 0;
  if (d > 1073741824.0) d = 1073741824.0;
  return static_cast<std::int32_t>(d);
}

// Clears the buffers, and when the model has a current frame transforms,
// accepts and depth-ranges the scene. False when there is nothing to draw
// from (no frame): the buffers stay cleared.
bool PrepareScene(Viewport& viewport, Model& model, std::uint8_t background, bool clearTags,
                  ScenePass& pass);
