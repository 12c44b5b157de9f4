#include "editor/mapping_transform.h"

#include <algorithm>
#include <cmath>

#include "image/skin.h"
#include "render/render_context.h"
#include "render/texcoord_clamp.h"

namespace {

// The 16.16 texel of a saved position, on its texel's centre, kept on the
// texture for the rounded filler.
std::int32_t ResampleTexCoord(float v, int cells) {
  const double fixed = static_cast<double>(v) * 65536.0;
  if (!std::isfinite(fixed)) return 0;
  const double bounded = std::clamp(fixed, -1.0e12, 1.0e12);
  return ClampTexCoordRounded(static_cast<std::int64_t>(bounded) + 0x7FFF, cells);
}

std::int32_t ResampleCorner(float v) {
  return static_cast<std::int32_t>(std::clamp(static_cast<double>(v), -1.0e9, 1.0e9));
}

bool Marked(const Model& m, int index, int count) {
  return index >= 0 && index < count && static_cast<std::size_t>(index) < m.mapVertexSelected.size() &&
         m.mapVertexSelected[static_cast<std::size_t>(index)] != 0;
}

}  // namespace

bool VisibleSelected(const Triangle& t) { return (t.flags & (TRI_SELECTED | TRI_HIDDEN)) == TRI_SELECTED; }

bool InMapTable(const Model& m, int index) { return index >= 0 && index < static_cast<int>(m.mapVertices.size()); }

void CornersFromMapVertices(Model& m) {
  for (int i = 0; i < m.TriangleCount(); ++i) {
    Triangle& t = m.triangles[static_cast<std::size_t>(i)];
    for (int k = 0; k < 3; ++k)
      if (InMapTable(m, t.mapIndex[k])) t.cornerMap[k] = m.mapVertices[static_cast<std::size_t>(t.mapIndex[k])];
  }
}

bool SkinDrawable(const Skin* skin) {
  return skin && skin->width > 0 && skin->height > 0 && skin->height <= kMaxImageRows &&
         skin->pixels.size() == static_cast<std::size_t>(skin->width) * static_cast<std::size_t>(skin->height);
}

MappingBox MarkSelectedMapping(Model& m) {
  const int count = m.MapVertexCount();
  const int triangles = m.TriangleCount();
  std::fill(m.mapVertexSelected.begin(), m.mapVertexSelected.end(), std::uint8_t{0});
  for (int i = 0; i < triangles; ++i) {
    const Triangle& tri = m.triangles[static_cast<std::size_t>(i)];
    if (!(tri.flags & TRI_SELECTED)) continue;
    for (int index : tri.mapIndex)
      if (index >= 0 && index < count && static_cast<std::size_t>(index) < m.mapVertexSelected.size())
        m.mapVertexSelected[static_cast<std::size_t>(index)] = 1;
  }
  for (int i = 0; i < triangles; ++i) {
    Triangle& tri = m.triangles[static_cast<std::size_t>(i)];
    const bool uses = Marked(m, tri.mapIndex[0], count) || Marked(m, tri.mapIndex[1], count) ||
                      Marked(m, tri.mapIndex[2], count);
    tri.flags = uses ? (tri.flags | TRI_MARKED) : (tri.flags & ~TRI_MARKED);
  }
  MappingBox box{m.skinWidth + 5.0f, -5, m.skinHeight + 5.0f, -5};
  for (int i = 0; i < count; ++i) {
    if (!Marked(m, i, count)) continue;
    const MapVertex& v = m.mapVertices[static_cast<std::size_t>(i)];
    if (!std::isfinite(v.s) || !std::isfinite(v.t)) continue;
    box.minS = std::min(box.minS, v.s);
    box.maxS = std::max(box.maxS, v.s);
    box.minT = std::min(box.minT, v.t);
    box.maxT = std::max(box.maxT, v.t);
  }
  return box;
}

bool RotateScaleMarked(Model& m, const std::vector<MapVertex>& saved, double pivotS, double pivotT, double angle,
                       double scaleS, double scaleT, bool snap) {
  const int count = std::min(m.MapVertexCount(), static_cast<int>(saved.size()));
  const double c = std::cos(angle), sn = std::sin(angle);
  const double right = m.skinWidth - 1, bottom = m.skinHeight - 1;
  std::vector<MapVertex> before;  // the marked vertices before this step
  for (int i = 0; i < count; ++i) {
    const auto at = static_cast<std::size_t>(i);
    if (!Marked(m, i, count)) continue;
    before.push_back(m.mapVertices[at]);
    const double ds = static_cast<double>(saved[at].s) - pivotS;
    const double dt = static_cast<double>(saved[at].t) - pivotT;
    auto ns = static_cast<float>(pivotS + (ds * c + dt * sn) * scaleS);
    auto nt = static_cast<float>(pivotT + (dt * c - ds * sn) * scaleT);
    if (snap) {
      ns = std::trunc(ns);
      nt = std::trunc(nt);
    }
    if (!(ns >= 0 && ns <= right && nt >= 0 && nt <= bottom)) {
      std::size_t k = 0;
      for (int j = 0; j < i; ++j)
        if (Marked(m, j, count)) m.mapVertices[static_cast<std::size_t>(j)] = before[k++];
      return false;
    }
    m.mapVertices[at] = MapVertex{ns, nt};
  }
  return true;
}

void MoveMarked(Model& m, MappingBox& box, double ds, double dt, bool snap) {
  if (snap) {
    // A drag of under half a texel still moves, by half of one.
    const auto halve = [](double& d) {
      if (d > -0.5 && d < 0) d = 0;
      if (d > 0 && d < 0.5) d = 0.5;
    };
    halve(ds);
    halve(dt);
  }
  const float oldS = box.minS, oldT = box.minT;
  box.minS += static_cast<float>(ds);
  box.maxS += static_cast<float>(ds);
  box.minT += static_cast<float>(dt);
  box.maxT += static_cast<float>(dt);
  if (snap) {
    for (float* v : {&box.minS, &box.maxS, &box.minT, &box.maxT}) *v = std::trunc(*v);
  }
  const auto pushInside = [](float& low, float& high, float top) {
    if (low < 0) {
      high -= low;
      low = 0;
    }
    if (high > top) {
      low -= high - top;
      high = top;
    }
  };
  pushInside(box.minS, box.maxS, static_cast<float>(m.skinWidth - 1));
  pushInside(box.minT, box.maxT, static_cast<float>(m.skinHeight - 1));
  const float moveS = box.minS - oldS, moveT = box.minT - oldT;
  for (int i = 0, count = m.MapVertexCount(); i < count; ++i) {
    if (!Marked(m, i, count)) continue;
    MapVertex& v = m.mapVertices[static_cast<std::size_t>(i)];
    v.s += moveS;
    v.t += moveT;
    if (snap) {
      v.s = std::trunc(v.s);
      v.t = std::trunc(v.t);
    }
  }
}

void ResampleMarked(CRasterizer& r, Model& m, Skin& skin, const std::vector<std::uint8_t>& savedSkin,
                    const std::vector<MapVertex>& savedMapping, int vertexLimit) {
  if (savedSkin.size() != skin.pixels.size() || !SkinDrawable(&skin)) return;
  skin.pixels = savedSkin;
  ComputeRowOffsets(&skin);
  const RasterTarget target = RasterTarget::Bytes(skin.pixels.data(), skin.width, skin.height);
  r.BindTexture(savedSkin.data(), skin.rowOffset.data(), skin.width, skin.height);
  r.BeginFrame();
  const int limit = std::min(vertexLimit, static_cast<int>(savedMapping.size()));
  for (int i = 0, n = m.TriangleCount(); i < n; ++i) {
    const Triangle& tri = m.triangles[static_cast<std::size_t>(i)];
    if (!(tri.flags & TRI_MARKED)) continue;
    V4 pts[4];
    bool ok = true;
    for (int k = 0; k < 3 && ok; ++k) {
      const int index = tri.mapIndex[k];
      ok = index >= 0 && index < limit;
      if (!ok) break;
      const MapVertex& now = m.mapVertices[static_cast<std::size_t>(index)];
      const MapVertex& was = savedMapping[static_cast<std::size_t>(index)];
      ok = std::isfinite(now.s) && std::isfinite(now.t);
      pts[k][0] = ResampleCorner(now.s);
      pts[k][1] = ResampleCorner(now.t);
      pts[k][2] = ResampleTexCoord(was.s, skin.width);
      pts[k][3] = ResampleTexCoord(was.t, skin.height);
    }
    if (!ok) continue;
    std::copy(std::begin(pts[0]), std::end(pts[0]), std::begin(pts[3]));
    r.FillTriTexRounded(target, pts);
  }
  // The skin may be closed before the next picture binds another texture.
  r.UnbindTexture();
}

void EndMappingDrag(Model& m) {
  m.WeldMapVertices(1);
  for (int i = 0, n = m.TriangleCount(); i < n; ++i) m.triangles[static_cast<std::size_t>(i)].flags &= ~TRI_MARKED;
}
