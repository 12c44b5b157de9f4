#pragma once
// A textured torus of rings x slices quads (two triangles each), mapped once
// around onto a skin of the given size: the large, evenly lit model the
// whole-frame and interactive benchmarks draw. 64 x 32 gives 4096 triangles.

#include <cmath>

#include "cli/demo_mesh.h"

inline DemoMesh BenchTorus(int rings, int slices, int skinWidth, int skinHeight) {
  constexpr float kPi = 3.14159265358979f;
  constexpr float kMajor = 24.0f, kMinor = 10.0f;
  DemoMesh mesh;
  mesh.skinWidth = skinWidth;
  mesh.skinHeight = skinHeight;
  DemoMesh::FrameData frame{"torus", {}};
  for (int r = 0; r < rings; ++r)
    for (int s = 0; s < slices; ++s) {
      const float u = 2 * kPi * static_cast<float>(r) / static_cast<float>(rings);
      const float v = 2 * kPi * static_cast<float>(s) / static_cast<float>(slices);
      const float w = kMajor + kMinor * std::cos(v);
      frame.positions.push_back({w * std::cos(u), w * std::sin(u), kMinor * std::sin(v)});
    }
  mesh.frames.push_back(frame);
  // Map corners on a (rings + 1) x (slices + 1) lattice so the seams close.
  for (int r = 0; r <= rings; ++r)
    for (int s = 0; s <= slices; ++s)
      mesh.st.push_back({static_cast<std::int16_t>(r * (skinWidth - 1) / rings),
                         static_cast<std::int16_t>(s * (skinHeight - 1) / slices)});
  auto vertex = [&](int r, int s) { return static_cast<std::int16_t>((r % rings) * slices + (s % slices)); };
  auto map = [&](int r, int s) { return static_cast<std::int16_t>(r * (slices + 1) + s); };
  for (int r = 0; r < rings; ++r)
    for (int s = 0; s < slices; ++s) {
      const int quad[4][2] = {{r, s}, {r + 1, s}, {r + 1, s + 1}, {r, s + 1}};
      for (const auto& o : {std::array<int, 3>{0, 2, 1}, std::array<int, 3>{0, 3, 2}}) {
        DemoMesh::Tri t{};
        for (int k = 0; k < 3; ++k) {
          t.vertex[k] = vertex(quad[o[k]][0], quad[o[k]][1]);
          t.map[k] = map(quad[o[k]][0], quad[o[k]][1]);
        }
        mesh.tris.push_back(t);
      }
    }
  return mesh;
}
