#pragma once
// Small scenes built in code for the pipeline tests.

#include <array>
#include <memory>
#include <vector>

#include "model/companion.h"
#include "model/model.h"

// A model with one frame holding `vertices` and the given triangles (corner
// vertex indices).
inline void SetUpModel(Model& model, const std::vector<Vec3>& vertices,
                       const std::vector<std::array<int, 3>>& tris) {
  model.frames.clear();
  auto frame = std::make_unique<Frame>(static_cast<int>(vertices.size()));
  for (std::size_t i = 0; i < vertices.size(); ++i) frame->vertices[i] = vertices[i];
  model.SetVertexCount(static_cast<std::int16_t>(vertices.size()));
  model.currentFrameIndex = 0;
  model.frames.push_back(std::move(frame));
  model.SetTriangleCount(static_cast<std::int16_t>(tris.size()));
  for (std::size_t t = 0; t < tris.size(); ++t) {
    model.triangles[t] = Triangle{};
    for (int k = 0; k < 3; ++k) model.triangles[t].vertexIndex[k] = static_cast<std::int16_t>(tris[t][k]);
  }
}

// A companion with `frames` copies of `vertices` and the given triangles.
inline std::unique_ptr<Companion> MakeCompanion(const std::vector<Vec3>& vertices,
                                                const std::vector<std::array<int, 3>>& tris,
                                                int frames) {
  auto c = std::make_unique<Companion>();
  c->numVertices = static_cast<std::int16_t>(vertices.size());
  c->numTriangles = static_cast<std::int16_t>(tris.size());
  c->numFrames = static_cast<std::int16_t>(frames);
  c->skinWidth = c->skinHeight = 8;
  for (int f = 0; f < frames; ++f)
    for (const Vec3& v : vertices) {
      CompanionVertex cv;
      cv.x = v.x;
      cv.y = v.y;
      cv.z = v.z;
      c->frameVertices.push_back(cv);
    }
  for (const auto& t : tris) {
    CompanionTriangle ct;
    for (int k = 0; k < 3; ++k) ct.vertexIndex[k] = static_cast<std::int16_t>(t[k]);
    c->triangles.push_back(ct);
  }
  return c;
}

// In model axes, with the default camera (identity, no pan, distance 75):
// camera x = -model y, camera y = model z, camera z = 75 - model x. This
// triangle faces the camera with its corners at camera depth 75 - depthX.
inline std::vector<Vec3> FacingTriangle(float modelX) {
  // camera corners (0,0,z), (1,0,z), (0,1,z)
  return {Vec3{modelX, 0, 0}, Vec3{modelX, -1, 0}, Vec3{modelX, 0, 1}};
}
