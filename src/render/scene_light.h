#pragma once
// The light values of one render, kept beside the meshes rather than in
// them: worked out from the view and the light each time a lit mode draws,
// read by its fills and by the skin effects that paint with light.

#include <cstdint>
#include <vector>

struct Model;

struct TriangleLight {
  float viewNormal[2] = {0, 0};  // the face normal against the frame's first two axes
  std::uint8_t shade[3] = {0, 0, 0};  // flat level in [0], or one per corner
  std::uint8_t mapCoord[3][2] = {{0, 0}, {0, 0}, {0, 0}};  // phong/environment map cell per corner
};

struct SceneLight {
  std::vector<TriangleLight> model;                    // one per model triangle
  std::vector<std::vector<TriangleLight>> companions;  // by companion, one per its triangle

  // Every list as long as its mesh; values already there are kept.
  void Fit(const Model& model);
};
