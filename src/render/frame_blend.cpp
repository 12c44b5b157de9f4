#include "render/frame_blend.h"

#include <algorithm>

#include "model/companion.h"

namespace {

// Kept from render to render, so a blended render allocates nothing.
thread_local std::vector<float> savedNormals;

bool Blending(const Viewport& viewport) { return viewport.blend.amount > 0 && viewport.blend.toFrame >= 0; }

template <typename Tri>
void Save(std::vector<float>& saved, const Tri* tris, int count) {
  for (int t = 0; t < count; ++t) saved.insert(saved.end(), tris[t].faceNormal, tris[t].faceNormal + 3);
}

template <typename Tri>
std::size_t Restore(const std::vector<float>& saved, std::size_t at, Tri* tris, int count) {
  for (int t = 0; t < count; ++t, at += 3)
    for (int k = 0; k < 3; ++k) tris[t].faceNormal[k] = saved[at + static_cast<std::size_t>(k)];
  return at;
}

}  // namespace

const Vec3* BlendTarget(const Viewport& viewport, const Model& model) {
  if (!Blending(viewport) || !model.CurrentFrame()) return nullptr;
  if (viewport.blend.toFrame == model.currentFrameIndex) return nullptr;
  return model.FrameVertices(viewport.blend.toFrame);
}

const CompanionVertex* CompanionBlendTarget(const Viewport& viewport, const Companion& companion) {
  if (!Blending(viewport) || viewport.blend.toFrame >= companion.numFrames) return nullptr;
  return companion.FrameVertices(viewport.blend.toFrame);
}

BlendedFaceNormals::BlendedFaceNormals(const Viewport& viewport, Model& model)
    : model_(model), saved_(savedNormals) {
  const Vec3* to = BlendTarget(viewport, model);
  if (!to) return;
  active_ = true;
  const float t = viewport.blend.amount;
  const int frame = model.currentFrameIndex;
  saved_.clear();
  Save(saved_, model.triangles.data(), model.TriangleCount());
  for (const auto& comp : model.companions)
    if (CompanionShown(*comp, frame)) Save(saved_, comp->triangles.data(), comp->TriangleCount());

  // A degenerate in-between triangle keeps its current-frame normal, as a
  // degenerate frame's triangle does.
  const Vec3* from = model.CurrentFrame();
  for (int i = 0; i < model.TriangleCount(); ++i) {
    Triangle& tri = model.triangles[static_cast<std::size_t>(i)];
    Vec3 p[3];
    bool inRange = true;
    for (int k = 0; k < 3 && inRange; ++k) {
      const int v = tri.vertexIndex[k];
      inRange = v >= 0 && v < model.VertexCount();
      if (inRange) p[k] = Lerp(from[v], to[v], t);
    }
    if (inRange) FaceNormalOf(p[0], p[1], p[2], tri.faceNormal);
  }
  for (const auto& comp : model.companions) {
    if (!CompanionShown(*comp, frame)) continue;
    const CompanionVertex* a = comp->FrameVertices(frame);
    const CompanionVertex* b = CompanionBlendTarget(viewport, *comp);
    if (!b) continue;
    for (int i = 0; i < comp->TriangleCount(); ++i) {
      CompanionTriangle& tri = comp->triangles[static_cast<std::size_t>(i)];
      Vec3 p[3];
      bool inRange = true;
      for (int k = 0; k < 3 && inRange; ++k) {
        const int v = tri.vertexIndex[k];
        inRange = v >= 0 && v < comp->numVertices;
        if (inRange) p[k] = Lerp({a[v].x, a[v].y, a[v].z}, {b[v].x, b[v].y, b[v].z}, t);
      }
      if (inRange) FaceNormalOf(p[0], p[1], p[2], tri.faceNormal);
    }
  }
}

BlendedFaceNormals::~BlendedFaceNormals() {
  if (!active_) return;
  std::size_t at = Restore(saved_, 0, model_.triangles.data(), model_.TriangleCount());
  const int frame = model_.currentFrameIndex;
  for (const auto& comp : model_.companions)
    if (CompanionShown(*comp, frame)) at = Restore(saved_, at, comp->triangles.data(), comp->TriangleCount());
}
