#pragma once
// Drawing the model between two of its frames: the vertex positions taken
// part of the way from the current frame to the blend's frame, and the face
// normals lighting them worked out from those positions.

#include <vector>

#include "model/model.h"
#include "render/viewport.h"

struct Companion;

// The vertices of the frame the picture blends toward, or null when the
// viewport draws the current frame alone.
const Vec3* BlendTarget(const Viewport& viewport, const Model& model);
// The same for a shown companion: null when it lacks that frame.
const struct CompanionVertex* CompanionBlendTarget(const Viewport& viewport, const Companion& companion);

inline Vec3 Lerp(const Vec3& a, const Vec3& b, float t) {
  return Vec3{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t};
}

// For the length of one render, the face normals of the model and its shown
// companions are those of the blended shape; the current frame's come back
// when it ends, so editing never sees the in-between ones. Does nothing
// while the viewport draws the current frame alone.
class BlendedFaceNormals {
 public:
  BlendedFaceNormals(const Viewport& viewport, Model& model);
  ~BlendedFaceNormals();
  BlendedFaceNormals(const BlendedFaceNormals&) = delete;
  BlendedFaceNormals& operator=(const BlendedFaceNormals&) = delete;

 private:
  Model& model_;
  bool active_ = false;
  std::vector<float>& saved_;  // three per triangle, model first, then companions in order
};
