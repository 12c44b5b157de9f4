#include "model/model.h"

#include <algorithm>
#include <cmath>

#include "model/companion.h"

Model::Model()
    : triangles(kMaxTriangles),
      mapVertices(kMaxMapVertices),
      storedMapVertices(kMaxMapVertices),
      mapVertexSelected(kMaxMapVertices, 0) {}

Model::~Model() = default;

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
  if (!currentFrame) return;
  int count = std::clamp<int>(numTriangles, 0, kMaxTriangles);
  for (int i = 0; i < count; ++i) {
    Triangle& tri = triangles[i];
    const Vec3* p[3];
    bool inRange = true;
    for (int k = 0; k < 3; ++k) {
      int v = tri.vertexIndex[k];
      if (v < 0 || v >= kMaxVertices) {
        inRange = false;
        break;
      }
      p[k] = &currentFrame[v];
    }
    if (inRange) FaceNormalOf(*p[0], *p[1], *p[2], tri.faceNormal);
  }
  ComputeCompanionFaceNormals(*this);
}

void Model::StoreMapping() {
  WeldMapVertices(1);
  storedNumMapVertices = numMapVertices;
  std::copy(mapVertices.begin(), mapVertices.end(), storedMapVertices.begin());
  for (Triangle& tri : triangles) std::copy(tri.mapIndex, tri.mapIndex + 3, tri.storedMapIndex);
}

void Model::RevertMapping() {
  numMapVertices = storedNumMapVertices;
  std::copy(storedMapVertices.begin(), storedMapVertices.end(), mapVertices.begin());
  int count = std::clamp<int>(numTriangles, 0, kMaxTriangles);
  for (int i = 0; i < count; ++i) {
    Triangle& tri = triangles[i];
    std::copy(tri.storedMapIndex, tri.storedMapIndex + 3, tri.mapIndex);
  }
  // Welding with copyFromIndices puts each corner on the vertex it now names.
  WeldMapVertices(1);
}
