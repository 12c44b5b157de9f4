#include "render/transform.h"

#include <cmath>
#include <utility>

#include "model/companion.h"
#include "render/frame_blend.h"

CameraTransform MakeCameraTransform(const Viewport& viewport) {
  CameraTransform t{};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) t.r[i][j] = viewport.rotation.m[i][j];
  for (int i = 0; i < 3; ++i) t.pan[i] = viewport.pan[i];
  t.distance = viewport.distance;
  return t;
}

Vec3 ToCamera(const Viewport& viewport, const Vec3& world) { return MakeCameraTransform(viewport)(world); }

bool TransformVertices(Viewport& viewport, Model& model) {
  if (!model.CurrentFrame()) return false;
  const int n = model.VertexCount();
  if (viewport.cameraVertices.size() < static_cast<std::size_t>(n))
    viewport.cameraVertices.resize(n);
  const CameraTransform camera = MakeCameraTransform(viewport);
  const Vec3* in = model.CurrentFrame();
  Vec3* out = viewport.cameraVertices.data();
  if (const Vec3* to = BlendTarget(viewport, model)) {
    const float t = viewport.blend.amount;
    for (int i = 0; i < n; ++i) out[i] = camera(ToWorld(Lerp(in[i], to[i], t)));
  } else {
    for (int i = 0; i < n; ++i) out[i] = camera(ToWorld(in[i]));
  }

  int frame = model.currentFrameIndex;
  viewport.companionCameraVertices.resize(model.companions.size());
  for (std::size_t ci = 0; ci < model.companions.size(); ++ci) {
    const Companion& comp = *model.companions[ci];
    std::vector<Vec3>& placedAt = viewport.companionCameraVertices[ci];
    if (!CompanionShown(comp, frame)) {
      placedAt.clear();
      continue;
    }
    const CompanionVertex* v = comp.FrameVertices(frame);
    const CompanionVertex* to = CompanionBlendTarget(viewport, comp);
    const float t = to ? viewport.blend.amount : 0.0f;
    placedAt.resize(static_cast<std::size_t>(std::max<int>(comp.numVertices, 0)));
    for (int i = 0; i < comp.numVertices; ++i) {
      Vec3 at{v[i].x, v[i].y, v[i].z};
      if (to) at = Lerp(at, Vec3{to[i].x, to[i].y, to[i].z}, t);
      Vec3 placed{at.x + comp.offsetX, at.y + comp.offsetY, at.z + comp.offsetZ};
      placedAt[static_cast<std::size_t>(i)] = camera(ToWorld(placed));
    }
  }
  return true;
}

Projector MakeProjector(const Viewport& viewport) {
  Projector p;
  p.pixelsPerUnit = PixelsPerUnit(viewport);
  p.cx = viewport.width / 2;
  p.cy = viewport.height / 2;
  p.distance = static_cast<double>(viewport.distance);
  return p;
}

ScreenPoint ProjectVertex(const Viewport& viewport, const Vec3& c) { return MakeProjector(viewport)(c); }

bool AcceptCorners(const Vec3& c0, const Vec3& c1, const Vec3& c2) {
  if (!(c2.z >= 1.0f) || !(c1.z >= 1.0f) || !(c0.z >= 1.0f)) return false;
  // (c1 x c0) . c2: negative when the corners run the visible way round.
  float nx = c1.y * c0.z - c1.z * c0.y;
  float ny = c1.z * c0.x - c1.x * c0.z;
  float nz = c1.x * c0.y - c1.y * c0.x;
  return nx * c2.x + ny * c2.y + nz * c2.z < 0.0f;
}

namespace {

// Back to an empty pass, keeping the list's room for the next frame.
// Empties the pass, keeping the lists' room for the next render.
void ResetPass(ScenePass& pass, std::size_t companions) {
  std::vector<int> list = std::move(pass.modelList);
  std::vector<std::vector<int>> lists = std::move(pass.companionLists);
  list.clear();
  lists.resize(companions);
  for (auto& l : lists) l.clear();
  pass = ScenePass{};
  pass.modelList = std::move(list);
  pass.companionLists = std::move(lists);
}

void Widen(ScenePass& pass, float a, float b, float c) {
  for (float z : {a, b, c}) {
    if (z < pass.zmin) pass.zmin = z;
    if (z > pass.zmax) pass.zmax = z;
  }
  pass.any = true;
}

bool InRange(const std::int16_t idx[3], int count) {
  return idx[0] >= 0 && idx[0] < count && idx[1] >= 0 && idx[1] < count && idx[2] >= 0 &&
         idx[2] < count;
}

}  // namespace

void AcceptTriangles(const Viewport& viewport, Model& model, ScenePass& pass) {
  ResetPass(pass, model.companions.size());
  int frame = model.currentFrameIndex;
  if (!model.CurrentFrame()) return;

  int numVerts = static_cast<int>(viewport.cameraVertices.size());
  if (model.VertexCount() < numVerts) numVerts = model.VertexCount();
  int numTris = model.TriangleCount();
  if (numTris > static_cast<int>(model.triangles.size()))
    numTris = static_cast<int>(model.triangles.size());
  // Which way a triangle faces is what a branch predictor cannot guess: every
  // candidate is written and the count moves on only for the accepted ones.
  // The depth range is then widened over the accepted ones alone.
  std::vector<int>& list = pass.modelList;
  list.resize(static_cast<std::size_t>(numTris > 0 ? numTris : 0));
  std::size_t count = 0;
  const Vec3* camera = viewport.cameraVertices.data();
  for (int t = 0; t < numTris; ++t) {
    const Triangle& tri = model.triangles[t];
    if (tri.flags & TRI_HIDDEN) continue;
    if (!InRange(tri.vertexIndex, numVerts)) continue;
    list[count] = t;
    count += static_cast<std::size_t>(AcceptCorners(camera[tri.vertexIndex[0]],
                                                    camera[tri.vertexIndex[1]],
                                                    camera[tri.vertexIndex[2]]));
  }
  list.resize(count);
  for (int t : list) {
    const Triangle& tri = model.triangles[t];
    Widen(pass, camera[tri.vertexIndex[0]].z, camera[tri.vertexIndex[1]].z,
          camera[tri.vertexIndex[2]].z);
  }

  for (std::size_t ci = 0; ci < model.companions.size(); ++ci) {
    const Companion& comp = *model.companions[ci];
    if (!CompanionShown(comp, frame) || ci >= viewport.companionCameraVertices.size()) continue;
    const std::vector<Vec3>& placedAt = viewport.companionCameraVertices[ci];
    const int vertices = std::min<int>(comp.numVertices, static_cast<int>(placedAt.size()));
    for (int t = 0; t < comp.TriangleCount(); ++t) {
      const CompanionTriangle& tri = comp.triangles[static_cast<std::size_t>(t)];
      if (!InRange(tri.vertexIndex, vertices)) continue;
      const Vec3& a = placedAt[static_cast<std::size_t>(tri.vertexIndex[0])];
      const Vec3& b = placedAt[static_cast<std::size_t>(tri.vertexIndex[1])];
      const Vec3& c = placedAt[static_cast<std::size_t>(tri.vertexIndex[2])];
      if (!AcceptCorners(a, b, c)) continue;
      pass.companionLists[ci].push_back(t);
      Widen(pass, a.z, b.z, c.z);
    }
  }

  // A flat range (every accepted corner at one depth) puts everything at 0.
  if (pass.any && pass.zmax > pass.zmin)
    pass.depthScale = 1073741824.0 / (static_cast<double>(pass.zmax) - pass.zmin);
}

bool PrepareScene(Viewport& viewport, Model& model, std::uint8_t background, bool clearTags,
                  ScenePass& pass) {
  ClearViewport(viewport, background, clearTags);
  ResetPass(pass, model.companions.size());
  if (!TransformVertices(viewport, model)) return false;
  AcceptTriangles(viewport, model, pass);
  return true;
}
