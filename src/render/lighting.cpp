#include "render/lighting.h"

#include <cmath>
#include <vector>

#include "model/companion.h"

Lighting::Lighting() { BuildLightCurve(*this); }

void BuildLightCurve(Lighting& lighting) {
  for (int i = 0; i < 256; ++i) {
    double v = 255.0 * std::pow(i * 0.00392156862745098, lighting.shadeExponent);
    if (!(v > 0)) v = 0;  // also a NaN from a nonsensical exponent
    if (v > 255) v = 255;
    lighting.lightCurve[i] = static_cast<std::uint8_t>(v);
  }
}

void BuildPhongLightRows(const Lighting& lighting, Skin& phongMap) {
  phongMap.storedPixels.resize(phongMap.pixels.size());
  for (std::size_t i = 0; i < phongMap.pixels.size(); ++i)
    phongMap.storedPixels[i] =
        static_cast<std::uint8_t>(63 - lighting.lightCurve[(phongMap.pixels[i] * 4) & 0xFF] / 4);
}

namespace {

// 1 - l.n with the face normal swizzled into world axes. A normal that is
// not a number (a companion's faces too large to measure) lights as none.
float Unlit(const float l[3], const float n[3]) {
  const float u = 1.0f - (l[0] * n[1] + l[1] * n[2] + l[2] * n[0]);
  return u == u ? u : 1.0f;
}

// The raw level is 0..254 for unit vectors. The light's matrix is a product
// of many turns and drifts off unit length over a long session; a face
// turned fully away then came out at -1 and wrapped to 255, the brightest
// row, and one fully lit at 256 wrapped to 0. Held to the range instead.
std::uint8_t CurveAt(const Lighting& lighting, double level) {
  if (!(level > 0)) return lighting.lightCurve[0];
  return lighting.lightCurve[level < 254 ? static_cast<int>(level) : 254];
}

// A map coordinate from a view normal component: (v + 1) * 128 truncated,
// 0..256 for a unit normal; a broken one as if it were 0.
int MapCell(float v) {
  const float cell = (v == v ? v + 1.0f : 1.0f) * 128.0f;
  if (!(cell > 0)) return 0;
  return cell < 256 ? static_cast<int>(cell) : 256;
}

bool InRange(const std::int16_t idx[3], int count) {
  return idx[0] >= 0 && idx[0] < count && idx[1] >= 0 && idx[1] < count && idx[2] >= 0 &&
         idx[2] < count;
}

// One mesh's shading; Tri is Triangle or CompanionTriangle.
template <typename Tri>
void ShadeMesh(const Tri* tris, TriangleLight* out, int numTris, int numVerts, const Lighting& lighting, int kind) {
  const float* l = lighting.lightRotation.m[2];
  if (kind == 0) {
    for (int t = 0; t < numTris; ++t)
      out[t].shade[0] = CurveAt(lighting, Unlit(l, tris[t].faceNormal) * 127);
    return;
  }
  if (numVerts <= 0) return;
  if (kind == 1) {
    // Scratch kept from frame to frame: a render allocates nothing here.
    thread_local std::vector<float> sum;
    thread_local std::vector<int> count;
    sum.assign(static_cast<std::size_t>(numVerts), 0.0f);
    count.assign(static_cast<std::size_t>(numVerts), 0);
    for (int t = 0; t < numTris; ++t) {
      if (!InRange(tris[t].vertexIndex, numVerts)) continue;
      float u = Unlit(l, tris[t].faceNormal);
      for (int k = 0; k < 3; ++k) {
        sum[tris[t].vertexIndex[k]] += u;
        ++count[tris[t].vertexIndex[k]];
      }
    }
    for (int t = 0; t < numTris; ++t) {
      if (!InRange(tris[t].vertexIndex, numVerts)) continue;
      for (int k = 0; k < 3; ++k) {
        int v = tris[t].vertexIndex[k];
        out[t].shade[k] = CurveAt(lighting, sum[v] * 127 / count[v]);
      }
    }
    return;
  }
  if (kind == 2) {
    // Sums in int: a 16-bit sum would wrap once ~256 triangles share a vertex.
    thread_local std::vector<int> su, sv, count;
    su.assign(static_cast<std::size_t>(numVerts), 0);
    sv.assign(static_cast<std::size_t>(numVerts), 0);
    count.assign(static_cast<std::size_t>(numVerts), 0);
    for (int t = 0; t < numTris; ++t) {
      if (!InRange(tris[t].vertexIndex, numVerts)) continue;
      int u = MapCell(out[t].viewNormal[0]);
      int v = MapCell(out[t].viewNormal[1]);
      for (int k = 0; k < 3; ++k) {
        int vi = tris[t].vertexIndex[k];
        su[vi] += u;
        sv[vi] += v;
        ++count[vi];
      }
    }
    // A normal pointing straight along an axis gives 256, one past the map's
    // edge; keep it on the edge instead of wrapping to the far side.
    auto clampByte = [](int x) { return static_cast<std::uint8_t>(x < 0 ? 0 : x > 255 ? 255 : x); };
    for (int t = 0; t < numTris; ++t) {
      if (!InRange(tris[t].vertexIndex, numVerts)) continue;
      for (int k = 0; k < 3; ++k) {
        int vi = tris[t].vertexIndex[k];
        out[t].mapCoord[k][0] = clampByte(su[vi] / count[vi]);
        out[t].mapCoord[k][1] = clampByte(sv[vi] / count[vi]);
      }
    }
  }
}

template <typename Tri>
void ViewNormals(const Tri* tris, TriangleLight* out, int numTris, const Mat3& frame) {
  const auto& N = frame.m;
  for (int t = 0; t < numTris; ++t) {
    const float* n = tris[t].faceNormal;
    float w[3] = {n[1], n[2], n[0]};
    for (int j = 0; j < 2; ++j)
      out[t].viewNormal[j] = -(w[0] * N[0][j] + w[1] * N[1][j] + w[2] * N[2][j]);
  }
}

}  // namespace

void SceneLight::Fit(const Model& m) {
  model.resize(m.triangles.size());
  companions.resize(m.companions.size());
  for (std::size_t c = 0; c < m.companions.size(); ++c) companions[c].resize(m.companions[c]->triangles.size());
}

void ComputeShading(const Model& model, const Lighting& lighting, int kind, SceneLight& light) {
  if (!model.CurrentFrame()) return;
  light.Fit(model);
  ShadeMesh(model.triangles.data(), light.model.data(), model.TriangleCount(), model.VertexCount(), lighting, kind);
  for (std::size_t c = 0; c < model.companions.size(); ++c) {
    const Companion& comp = *model.companions[c];
    if (!CompanionShown(comp, model.currentFrameIndex)) continue;
    ShadeMesh(comp.triangles.data(), light.companions[c].data(), comp.TriangleCount(), comp.numVertices,
              lighting, kind);
  }
}

void SetViewNormals(const Model& model, const Mat3& frame, SceneLight& light) {
  light.Fit(model);
  ViewNormals(model.triangles.data(), light.model.data(), model.TriangleCount(), frame);
  for (std::size_t c = 0; c < model.companions.size(); ++c) {
    const Companion& comp = *model.companions[c];
    if (!CompanionShown(comp, model.currentFrameIndex)) continue;
    ViewNormals(comp.triangles.data(), light.companions[c].data(), comp.TriangleCount(), frame);
  }
}
