#include "editor/mesh_ops.h"

#include <algorithm>
#include <utility>

#include "editor/mapping_transform.h"

namespace {

// The mapping vertex a corner names, or none for an index outside the table.
const MapVertex* MapVertexOf(const Model& m, int index) {
  return index >= 0 && index < static_cast<int>(m.mapVertices.size()) ? &m.mapVertices[static_cast<std::size_t>(index)]
                                                                       : nullptr;
}

void Reweld(Model& m) {
  m.ComputeFaceNormals();
  m.WeldMapVertices(1);
}

}  // namespace

void HideSelectedFaces(Model& m) {
  for (int i = 0; i < m.TriangleCount(); ++i) {
    Triangle& t = m.triangles[static_cast<std::size_t>(i)];
    if (t.flags & TRI_SELECTED) t.flags |= TRI_HIDDEN;
  }
}

void UnhideAll(Model& m) {
  for (int i = 0; i < m.TriangleCount(); ++i) {
    Triangle& t = m.triangles[static_cast<std::size_t>(i)];
    if (t.flags & TRI_HIDDEN) t.flags = (t.flags & ~TRI_HIDDEN) | TRI_SELECTED;
  }
}

std::string DeleteSelectedFaces(Model& m) {
  const int count = m.TriangleCount();
  int doomed = 0;
  for (int i = 0; i < count; ++i) doomed += VisibleSelected(m.triangles[static_cast<std::size_t>(i)]) ? 1 : 0;
  if (doomed == 0) return kNoSelectedTrianglesText;
  if (doomed == m.TriangleCount()) return kCannotDeleteAllText;
  int kept = 0;
  for (int i = 0; i < count; ++i) {
    const Triangle& t = m.triangles[static_cast<std::size_t>(i)];
    if (VisibleSelected(t)) continue;
    if (kept != i) m.triangles[static_cast<std::size_t>(kept)] = t;
    ++kept;
  }
  m.SetTriangleCount(static_cast<std::int16_t>(kept));
  Reweld(m);
  return {};
}

void FlipSelectedFaces(Model& m) {
  for (int i = 0; i < m.TriangleCount(); ++i) {
    Triangle& t = m.triangles[static_cast<std::size_t>(i)];
    if (!VisibleSelected(t)) continue;
    std::swap(t.vertexIndex[1], t.vertexIndex[2]);
    std::swap(t.mapIndex[1], t.mapIndex[2]);
  }
  Reweld(m);
}

std::string EdgeTurn(Model& m, void (*beforeFlip)(void*), void* context) {
  int chosen[2] = {-1, -1};
  int found = 0;
  for (int i = 0; i < m.TriangleCount(); ++i) {
    if (!VisibleSelected(m.triangles[static_cast<std::size_t>(i)])) continue;
    if (found == 2) return kSelectTwoForEdgeTurnText;
    chosen[found++] = i;
  }
  if (found < 2) return kSelectTwoForEdgeTurnText;
  m.WeldMapVertices(1);

  Triangle& a = m.triangles[static_cast<std::size_t>(chosen[0])];
  Triangle& b = m.triangles[static_cast<std::size_t>(chosen[1])];
  auto holds = [](const Triangle& t, int vertex) {
    return t.vertexIndex[0] == vertex || t.vertexIndex[1] == vertex || t.vertexIndex[2] == vertex;
  };
  int shared[2] = {-1, -1};
  int sharedCount = 0, oppositeA = -1, oppositeB = -1;
  for (int k = 0; k < 3; ++k) {
    if (holds(b, a.vertexIndex[k])) {
      if (sharedCount < 2) shared[sharedCount] = k;
      ++sharedCount;
    } else {
      oppositeA = k;
    }
    if (!holds(a, b.vertexIndex[k])) oppositeB = k;
  }
  if (sharedCount != 2 || oppositeA < 0 || oppositeB < 0) return kNotConnectedText;
  auto cornerOfB = [&b](int vertex) {
    for (int k = 0; k < 3; ++k)
      if (b.vertexIndex[k] == vertex) return k;
    return -1;
  };
  const int b0 = cornerOfB(a.vertexIndex[shared[0]]);
  const int b1 = cornerOfB(a.vertexIndex[shared[1]]);
  if (b.mapIndex[b0] != a.mapIndex[shared[0]] || b.mapIndex[b1] != a.mapIndex[shared[1]])
    return kNotConnectedInMappingText;

  const std::int16_t vS0 = a.vertexIndex[shared[0]], vS1 = a.vertexIndex[shared[1]];
  const std::int16_t vOA = a.vertexIndex[oppositeA], vOB = b.vertexIndex[oppositeB];
  const std::int16_t mS0 = a.mapIndex[shared[0]], mS1 = a.mapIndex[shared[1]];
  const std::int16_t mOA = a.mapIndex[oppositeA], mOB = b.mapIndex[oppositeB];
  auto rewrite = [&m](Triangle& t, std::int16_t v0, std::int16_t v1, std::int16_t v2, std::int16_t m0, std::int16_t m1,
                      std::int16_t m2) {
    const std::int16_t v[3] = {v0, v1, v2}, mi[3] = {m0, m1, m2};
    for (int k = 0; k < 3; ++k) {
      t.vertexIndex[k] = v[k];
      t.mapIndex[k] = mi[k];
      if (const MapVertex* mv = MapVertexOf(m, mi[k])) t.cornerMap[k] = *mv;
    }
  };
  rewrite(a, vS0, vOA, vOB, mS0, mOA, mOB);
  rewrite(b, vS1, vOB, vOA, mS1, mOB, mOA);
  if (beforeFlip) beforeFlip(context);
  FlipSelectedFaces(m);
  return {};
}
