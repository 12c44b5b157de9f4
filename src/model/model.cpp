#include "model/model.h"

#include <algorithm>
#include <cmath>

#include "model/companion.h"

Model::Model() = default;
Model::~Model() = default;

void Model::SetTriangleCount(int count) { triangles.resize(static_cast<std::size_t>(std::max(count, 0))); }

void Model::SetMapVertexCount(int count) {
  mapVertices.resize(static_cast<std::size_t>(std::max(count, 0)));
  mapVertexSelected.resize(mapVertices.size(), 0);
}

void Model::SetStoredMapVertexCount(int count) {
  storedMapVertices.resize(static_cast<std::size_t>(std::max(count, 0)));
}

Skin* Model::SettleCurrentSkin() {
  if (skins.empty())
    currentSkinIndex = -1;
  else if (currentSkinIndex < 0 || currentSkinIndex >= static_cast<int>(skins.size()))
    currentSkinIndex = 0;
  return CurrentSkin();
}

void Model::SetVertexCount(int count) {
  vertexCount_ = std::max(count, 0);
  for (auto& frame : frames)
    if (frame) frame->vertices.resize(static_cast<std::size_t>(vertexCount_));
}

Vec3* Model::FrameVertices(int index) const {
  if (index < 0 || index >= static_cast<int>(frames.size())) return nullptr;
  Frame* frame = frames[static_cast<std::size_t>(index)].get();
  if (!frame || frame->vertices.size() < static_cast<std::size_t>(vertexCount_)) return nullptr;
  // A frame of no vertices is still a frame: callers test the pointer for
  // that, and with a count of 0 none of them reads through it.
  static Vec3 noVertices;
  return frame->vertices.empty() ? &noVertices : frame->vertices.data();
}

bool FaceNormalOf(const Vec3& p0, const Vec3& p1, const Vec3& p2, float out[3]) {
  float ax = p1.x - p0.x, ay = p1.y - p0.y, az = p1.z - p0.z;
  float bx = p2.x - p1.x, by = p2.y - p1.y, bz = p2.z - p1.z;
  float nx = ay * bz - az * by;
  float ny = az * bx - ax * bz;
  float nz = ax * by - ay * bx;
  float len = std::sqrt(nx * nx + ny * ny + nz * nz);
  if (len == 0.0f) return false;
  out[0] = nx / len;
  out[1] = ny / len;
  out[2] = nz / len;
  return true;
}

void Model::ComputeFaceNormals() {
  const Vec3* frame = CurrentFrame();
  if (!frame) return;
  int count = TriangleCount();
  for (int i = 0; i < count; ++i) {
    Triangle& tri = triangles[i];
    const Vec3* p[3];
    bool inRange = true;
    for (int k = 0; k < 3; ++k) {
      int v = tri.vertexIndex[k];
      if (v < 0 || v >= vertexCount_) {
        inRange = false;
        break;
      }
      p[k] = &frame[v];
    }
    if (inRange) FaceNormalOf(*p[0], *p[1], *p[2], tri.faceNormal);
  }
  ComputeCompanionFaceNormals(*this);
}

void Model::StoreMapping() {
  WeldMapVertices(1);
  storedMapVertices = mapVertices;
  for (Triangle& tri : triangles) std::copy(tri.mapIndex, tri.mapIndex + 3, tri.storedMapIndex);
}

void Model::RevertMapping() {
  mapVertices = storedMapVertices;
  mapVertexSelected.resize(mapVertices.size(), 0);
  int count = TriangleCount();
  for (int i = 0; i < count; ++i) {
    Triangle& tri = triangles[i];
    std::copy(tri.storedMapIndex, tri.storedMapIndex + 3, tri.mapIndex);
  }
  // Welding with copyFromIndices puts each corner on the vertex it now names.
  WeldMapVertices(1);
}
