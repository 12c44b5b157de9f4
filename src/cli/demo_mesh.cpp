#include "cli/demo_mesh.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr int kSlices = 12;
constexpr int kStacks = 8;
constexpr int kFrames = 8;
constexpr float kStoredScale = 0.75f;
constexpr float kCentreHeight = 4.5f;  // halfway between the feet and the top of the head

struct Part {
  float center[3];
  float radius[3];
  float pivot[3];
  int swingAxis;   // 1: pitch about y (limbs), 2: yaw about z (tail, head)
  float swing;     // radians at the peak of the cycle
  float phase;     // offset into the cycle
  DemoMesh::Region region;
};

// Body parts in model axes: x forward, y left, z up, feet near z = -24.
const Part kParts[] = {
    {{0, 0, 6}, {8, 10, 13}, {0, 0, 6}, 2, 0.06f, 0.0f, {0, 0, 128, 96, 0}},            // torso
    {{3, 0, 26}, {7, 6.5f, 7}, {0, 0, 19}, 2, 0.25f, 0.5f, {128, 0, 128, 96, 1}},       // head
    {{0, 13, 6}, {3.2f, 3.2f, 11}, {0, 13, 16}, 1, 0.55f, 0.5f, {0, 96, 64, 80, 2}},    // left arm
    {{0, -13, 6}, {3.2f, 3.2f, 11}, {0, -13, 16}, 1, 0.55f, 0.0f, {64, 96, 64, 80, 3}}, // right arm
    {{0, 5, -13}, {4, 4, 11.5f}, {0, 5, -4}, 1, 0.6f, 0.0f, {128, 96, 64, 80, 4}},     // left leg
    {{0, -5, -13}, {4, 4, 11.5f}, {0, -5, -4}, 1, 0.6f, 0.5f, {192, 96, 64, 80, 5}},   // right leg
    {{-14, 0, -2}, {10, 2.5f, 2.5f}, {-6, 0, 0}, 2, 0.45f, 0.25f, {0, 176, 128, 64, 6}},  // tail
};

void Rotate(float v[3], const float pivot[3], int axis, float angle) {
  float c = std::cos(angle), s = std::sin(angle);
  float dx = v[0] - pivot[0], dy = v[1] - pivot[1], dz = v[2] - pivot[2];
  if (axis == 1) {  // pitch: x toward z
    v[0] = pivot[0] + dx * c + dz * s;
    v[2] = pivot[2] - dx * s + dz * c;
  } else {  // yaw: x toward y
    v[0] = pivot[0] + dx * c - dy * s;
    v[1] = pivot[1] + dx * s + dy * c;
  }
}

}  // namespace

DemoMesh BuildDemoMesh() {
  DemoMesh mesh;
  struct Rest {
    float p[3];
    int part;
  };
  std::vector<Rest> rest;

  for (int partIndex = 0; partIndex < static_cast<int>(std::size(kParts)); ++partIndex) {
    const Part& part = kParts[partIndex];
    mesh.regions.push_back(part.region);
    const int firstVertex = static_cast<int>(rest.size());
    // Ring vertices between the poles, then the two poles.
    for (int j = 1; j < kStacks; ++j) {
      float theta = kPi * j / kStacks;
      for (int i = 0; i < kSlices; ++i) {
        float phi = 2 * kPi * i / kSlices;
        Rest r{};
        float ring[3] = {std::sin(theta) * std::cos(phi), std::sin(theta) * std::sin(phi), std::cos(theta)};
        if (part.swingAxis == 2 && partIndex == 6) {  // the tail lies along x
          std::swap(ring[0], ring[2]);
          ring[0] = -ring[0];
        }
        for (int a = 0; a < 3; ++a) r.p[a] = part.center[a] + part.radius[a] * ring[a];
        r.part = partIndex;
        rest.push_back(r);
      }
    }
    const int top = static_cast<int>(rest.size());
    Rest t{}, b{};
    float topDir[3] = {0, 0, 1}, bottomDir[3] = {0, 0, -1};
    if (partIndex == 6) {
      topDir[0] = 1, topDir[2] = 0;
      bottomDir[0] = -1, bottomDir[2] = 0;
    }
    for (int a = 0; a < 3; ++a) {
      t.p[a] = part.center[a] + part.radius[a] * topDir[a];
      b.p[a] = part.center[a] + part.radius[a] * bottomDir[a];
    }
    t.part = b.part = partIndex;
    rest.push_back(t);
    rest.push_back(b);
    const int bottom = top + 1;

    // Mapping: a (slices+1) x (stacks+1) grid over the part's region, so the
    // seam column gets its own texels.
    const int firstSt = static_cast<int>(mesh.st.size());
    const auto& rg = part.region;
    for (int j = 0; j <= kStacks; ++j)
      for (int i = 0; i <= kSlices; ++i) {
        int s = rg.x + 1 + static_cast<int>(std::lround(float(i) / kSlices * (rg.w - 3)));
        int tt = rg.y + 1 + static_cast<int>(std::lround(float(j) / kStacks * (rg.h - 3)));
        mesh.st.push_back({static_cast<std::int16_t>(s), static_cast<std::int16_t>(tt)});
      }
    auto ringVertex = [&](int j, int i) { return firstVertex + (j - 1) * kSlices + (i % kSlices); };
    auto stIndex = [&](int j, int i) { return firstSt + j * (kSlices + 1) + i; };
    // The corners below run counter-clockwise seen from outside (phi grows
    // from x toward y); they are stored the other way round because MD2
    // faces are clockwise seen from outside, and the renderer culls the rest.
    auto add = [&](int v0, int m0, int v1, int m1, int v2, int m2) {
      mesh.tris.push_back({{static_cast<std::int16_t>(v0), static_cast<std::int16_t>(v2), static_cast<std::int16_t>(v1)},
                           {static_cast<std::int16_t>(m0), static_cast<std::int16_t>(m2), static_cast<std::int16_t>(m1)}});
    };
    for (int i = 0; i < kSlices; ++i) {
      add(top, stIndex(0, i), ringVertex(1, i), stIndex(1, i), ringVertex(1, i + 1), stIndex(1, i + 1));
      for (int j = 1; j < kStacks - 1; ++j) {
        add(ringVertex(j, i), stIndex(j, i), ringVertex(j + 1, i), stIndex(j + 1, i), ringVertex(j + 1, i + 1),
            stIndex(j + 1, i + 1));
        add(ringVertex(j, i), stIndex(j, i), ringVertex(j + 1, i + 1), stIndex(j + 1, i + 1), ringVertex(j, i + 1),
            stIndex(j, i + 1));
      }
      add(ringVertex(kStacks - 1, i), stIndex(kStacks - 1, i), bottom, stIndex(kStacks, i),
          ringVertex(kStacks - 1, i + 1), stIndex(kStacks - 1, i + 1));
    }
  }

  for (int f = 0; f < kFrames; ++f) {
    DemoMesh::FrameData frame;
    frame.name = "walk" + std::to_string(f + 1);
    float cycle = 2 * kPi * f / kFrames;
    float bob = 1.2f * std::fabs(std::sin(cycle));
    for (const Rest& r : rest) {
      const Part& part = kParts[r.part];
      float v[3] = {r.p[0], r.p[1], r.p[2]};
      float angle = part.swing * std::sin(cycle + 2 * kPi * part.phase);
      Rotate(v, part.pivot, part.swingAxis, angle);
      if (r.part != 4 && r.part != 5) v[2] += bob;  // the body rides on the legs
      // Built at a convenient scale, stored smaller and centred on the
      // origin so the whole creature fits the 3D view's first camera.
      frame.positions.push_back(
          {v[0] * kStoredScale, v[1] * kStoredScale, (v[2] - kCentreHeight) * kStoredScale});
    }
    mesh.frames.push_back(std::move(frame));
  }
  return mesh;
}

namespace {
void Put32(std::vector<std::uint8_t>& out, std::int32_t v) {
  auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
}
void PutFloat(std::vector<std::uint8_t>& out, float f) {
  std::uint32_t u;
  std::memcpy(&u, &f, 4);
  Put32(out, static_cast<std::int32_t>(u));
}
void Put16(std::vector<std::uint8_t>& out, std::int16_t v) {
  auto u = static_cast<std::uint16_t>(v);
  out.push_back(static_cast<std::uint8_t>(u));
  out.push_back(static_cast<std::uint8_t>(u >> 8));
}
}  // namespace

std::vector<std::uint8_t> EncodeDemoMd2(const DemoMesh& mesh, const std::string& skinName) {
  const int numXyz = mesh.frames.empty() ? 0 : static_cast<int>(mesh.frames[0].positions.size());
  const int frameSize = 40 + 4 * numXyz;
  const int numSkins = 1, numSt = static_cast<int>(mesh.st.size()), numTris = static_cast<int>(mesh.tris.size());
  const int numFrames = static_cast<int>(mesh.frames.size());
  const int ofsSkins = 68, ofsSt = ofsSkins + 64 * numSkins, ofsTris = ofsSt + 4 * numSt;
  const int ofsFrames = ofsTris + 12 * numTris, ofsGl = ofsFrames + frameSize * numFrames, ofsEnd = ofsGl + 4;

  std::vector<std::uint8_t> out{'I', 'D', 'P', '2'};
  for (int v : {8, mesh.skinWidth, mesh.skinHeight, frameSize, numSkins, numXyz, numSt, numTris, 1, numFrames,
                ofsSkins, ofsSt, ofsTris, ofsFrames, ofsGl, ofsEnd})
    Put32(out, v);
  std::string name = skinName.substr(0, 63);
  out.insert(out.end(), name.begin(), name.end());
  out.insert(out.end(), 64 - name.size(), 0);
  for (const auto& st : mesh.st) {
    Put16(out, st[0]);
    Put16(out, st[1]);
  }
  for (const auto& t : mesh.tris) {
    for (int k = 0; k < 3; ++k) Put16(out, t.vertex[k]);
    for (int k = 0; k < 3; ++k) Put16(out, t.map[k]);
  }
  for (const auto& frame : mesh.frames) {
    float lo[3] = {1e9f, 1e9f, 1e9f}, hi[3] = {-1e9f, -1e9f, -1e9f};
    for (const auto& p : frame.positions)
      for (int a = 0; a < 3; ++a) lo[a] = std::min(lo[a], p[a]), hi[a] = std::max(hi[a], p[a]);
    float scale[3];
    for (int a = 0; a < 3; ++a) scale[a] = hi[a] > lo[a] ? (hi[a] - lo[a]) / 255.0f : 1.0f;
    for (int a = 0; a < 3; ++a) PutFloat(out, scale[a]);
    for (int a = 0; a < 3; ++a) PutFloat(out, lo[a]);
    char fname[16] = {};
    std::strncpy(fname, frame.name.c_str(), 15);
    out.insert(out.end(), fname, fname + 16);
    for (const auto& p : frame.positions) {
      for (int a = 0; a < 3; ++a) {
        long q = std::lround((p[a] - lo[a]) / scale[a]);
        out.push_back(static_cast<std::uint8_t>(std::clamp(q, 0L, 255L)));
      }
      out.push_back(0);  // light-normal index: not used by the editor
    }
  }
  Put32(out, 0);
  return out;
}
