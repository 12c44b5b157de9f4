#include "editor/mapping_ops.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "editor/mapping_transform.h"
#include "render/rasterizer.h"
#include "render/texcoord_clamp.h"
#include "render/transform.h"

namespace {


// The extent of the selected corners along one axis; the maximum starts at
// the smallest positive normal float, as it always has. Skin positions are
// rarely negative, but projected points are: those take FullExtent.
struct Extent {
  float min = std::numeric_limits<float>::max();
  float max = std::numeric_limits<float>::min();
  void Take(float v) {
    min = std::min(min, v);
    max = std::max(max, v);
  }
};

Extent FullExtent() { return Extent{std::numeric_limits<float>::max(), std::numeric_limits<float>::lowest()}; }

template <class Fn>
void ForSelectedCorners(Model& m, Fn&& fn) {
  for (int i = 0; i < m.TriangleCount(); ++i) {
    Triangle& t = m.triangles[static_cast<std::size_t>(i)];
    if (!VisibleSelected(t)) continue;
    for (int k = 0; k < 3; ++k) fn(t.cornerMap[k]);
  }
}

void MirrorAxis(Model& m, float MapVertex::*axis) {
  CornersFromMapVertices(m);
  Extent e;
  ForSelectedCorners(m, [&](const MapVertex& c) { e.Take(c.*axis); });
  ForSelectedCorners(m, [&](MapVertex& c) { c.*axis = e.max - (c.*axis - e.min); });
  m.WeldMapVertices(0);
}

// A screen position for the filler: whole pixels, far-off or broken values
// held where the clipper can still take them.
std::int32_t ScreenCoordinate(float v) {
  if (!(v == v)) return 0;
  return static_cast<std::int32_t>(std::clamp(v, -32768.0f, 32767.0f));
}

}  // namespace

void FlipSelectedMapping(Model& m) { MirrorAxis(m, &MapVertex::t); }
void MirrorSelectedMapping(Model& m) { MirrorAxis(m, &MapVertex::s); }

std::string RotateSelectedMapping(Model& m) {
  CornersFromMapVertices(m);
  Extent s, t;
  ForSelectedCorners(m, [&](const MapVertex& c) {
    s.Take(c.s);
    t.Take(c.t);
  });
  const float cs = (s.min + s.max) / 2, ct = (t.min + t.max) / 2;
  bool outside = false;
  ForSelectedCorners(m, [&](MapVertex& c) {
    const MapVertex turned{cs + (c.t - ct), ct - (c.s - cs)};
    if (!(turned.s >= 0 && turned.s < m.skinWidth && turned.t >= 0 && turned.t < m.skinHeight)) outside = true;
    c = turned;
  });
  if (outside) {
    m.WeldMapVertices(1);  // the corners take back the unchanged mapping
    return kRotateOutsideText;
  }
  m.WeldMapVertices(0);
  return {};
}

void SnapSelectedToGrid(Model& m) {
  for (int i = 0; i < m.TriangleCount(); ++i) {
    const Triangle& t = m.triangles[static_cast<std::size_t>(i)];
    if (!VisibleSelected(t)) continue;
    for (int k = 0; k < 3; ++k) {
      if (!InMapTable(m, t.mapIndex[k])) continue;
      MapVertex& v = m.mapVertices[static_cast<std::size_t>(t.mapIndex[k])];
      // Through a 16-bit integer, as before; NaN lands on 0.
      auto whole = [](float x) { return x == x ? static_cast<float>(static_cast<std::int16_t>(std::clamp(x, -32768.0f, 32767.0f))) : 0.0f; };
      v = {whole(v.s), whole(v.t)};
    }
  }
  m.WeldMapVertices(1);
}

void DeleteSelectedMapping(Model& m) {
  CornersFromMapVertices(m);
  ForSelectedCorners(m, [](MapVertex& c) { c = {0, 0}; });
  m.WeldMapVertices(0);
}

void MapFrom3DView(Model& m, const Viewport& view, const MappingFrame& frame, const MapFrom3DViewOptions& o,
                   bool snapToGrid) {
  if (!m.CurrentFrame()) return;
  const int vertices = m.VertexCount();
  std::vector<Vec3> camera(static_cast<std::size_t>(vertices));
  for (int v = 0; v < vertices; ++v)
    camera[static_cast<std::size_t>(v)] = ToCamera(view, ToWorld(m.CurrentFrame()[v]));
  auto cornerCamera = [&](const Triangle& t, int k, Vec3& out) {
    if (t.vertexIndex[k] < 0 || t.vertexIndex[k] >= vertices) return false;
    out = camera[static_cast<std::size_t>(t.vertexIndex[k])];
    return true;
  };

  std::vector<char> used(static_cast<std::size_t>(m.TriangleCount()), 0);
  std::vector<char> marked(static_cast<std::size_t>(vertices), 0);
  for (int i = 0; i < m.TriangleCount(); ++i) {
    const Triangle& t = m.triangles[static_cast<std::size_t>(i)];
    if (!(t.flags & TRI_SELECTED)) continue;
    Vec3 c[3];
    if (!cornerCamera(t, 0, c[0]) || !cornerCamera(t, 1, c[1]) || !cornerCamera(t, 2, c[2])) continue;
    if (o.noBackfaces) {
      const Vec3 n{c[1].y * c[0].z - c[1].z * c[0].y, c[1].z * c[0].x - c[1].x * c[0].z,
                   c[1].x * c[0].y - c[1].y * c[0].x};
      if (!(c[2].x * n.x + c[2].y * n.y + c[2].z * n.z < 0)) continue;
    }
    used[static_cast<std::size_t>(i)] = 1;
    for (int k = 0; k < 3; ++k) marked[static_cast<std::size_t>(t.vertexIndex[k])] = 1;
  }

  const float f = static_cast<float>(PixelsPerUnit(view));
  const float gx = o.mirror ? 1.0f : -1.0f, gy = o.flip ? 1.0f : -1.0f;
  std::vector<MapVertex> points(static_cast<std::size_t>(vertices));
  // A selection left of or above the view's centre projects wholly negative.
  Extent ex = FullExtent(), ey = FullExtent();
  for (int v = 0; v < vertices; ++v) {
    if (!marked[static_cast<std::size_t>(v)]) continue;
    const Vec3& c = camera[static_cast<std::size_t>(v)];
    MapVertex p;
    if (o.projection == 0) {
      if (c.z > 0.1f) p = {gx * c.x / (c.z / view.distance) * f, gy * c.y / (c.z / view.distance) * f};
    } else {
      p = {gx * c.x * f, gy * c.y * f};
    }
    points[static_cast<std::size_t>(v)] = p;
    ex.Take(p.s);
    ey.Take(p.t);
  }

  float s0 = frame.left, s1 = frame.right, t0 = frame.top, t1 = frame.bottom;
  if (s0 > s1) {
    std::swap(s0, s1);
    s0 = std::trunc(s0);
  }
  if (t0 > t1) {
    std::swap(t0, t1);
    t0 = std::trunc(t0);
  }
  const float fs = ex.max - ex.min > 0 ? (s1 - s0) / (ex.max - ex.min) : 0.0f;
  const float ft = ey.max - ey.min > 0 ? (t1 - t0) / (ey.max - ey.min) : 0.0f;
  auto place = [&](const MapVertex& p) {
    MapVertex r{s0 + (p.s - ex.min) * fs, t0 + (p.t - ey.min) * ft};
    r.s = std::clamp(r.s == r.s ? r.s : 0.0f, 0.0f, static_cast<float>(std::max(m.skinWidth - 1, 0)));
    r.t = std::clamp(r.t == r.t ? r.t : 0.0f, 0.0f, static_cast<float>(std::max(m.skinHeight - 1, 0)));
    if (snapToGrid) r = {std::trunc(r.s), std::trunc(r.t)};
    return r;
  };
  for (int i = 0; i < m.TriangleCount(); ++i) {
    if (!used[static_cast<std::size_t>(i)]) continue;
    Triangle& t = m.triangles[static_cast<std::size_t>(i)];
    for (int k = 0; k < 3; ++k) t.cornerMap[k] = place(points[static_cast<std::size_t>(t.vertexIndex[k])]);
  }
  m.WeldMapVertices(0);
  if (snapToGrid) {
    for (int v = 0; v < m.MapVertexCount(); ++v) {
      MapVertex& mv = m.mapVertices[static_cast<std::size_t>(v)];
      mv = {std::trunc(mv.s), std::trunc(mv.t)};
    }
  }
}

std::unique_ptr<Skin> RetroMap(const Model& m, const Skin& picture, const VmapData& file, std::uint8_t background,
                               std::string* message) {
  if (file.numTriangles != m.TriangleCount() || file.records.size() != static_cast<std::size_t>(m.TriangleCount())) {
    if (message) *message = kRetroMapCountText;
    return nullptr;
  }
  const int w = m.skinWidth, h = m.skinHeight;
  if (w <= 0 || h <= 0 || picture.width <= 0 || picture.height <= 0 ||
      picture.pixels.size() != static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height))
    return nullptr;
  auto skin = std::make_unique<Skin>();
  skin->name = skin->path = picture.path;
  // Its file still holds the old picture: a Save asks where to put the new
  // one instead of writing over it.
  skin->hasFile = 0;
  skin->format = picture.format;
  skin->palette = picture.palette;
  skin->flags = SKIN_EXTERNAL;
  skin->width = static_cast<std::int16_t>(w);
  skin->height = static_cast<std::int16_t>(h);
  skin->pixels.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), background);

  std::vector<std::int32_t> rows(static_cast<std::size_t>(picture.height));
  for (int y = 0; y < picture.height; ++y) rows[static_cast<std::size_t>(y)] = y * picture.width;
  auto raster = std::make_unique<CRasterizer>();
  const RasterTarget target = RasterTarget::Bytes(skin->pixels.data(), w, h);
  raster->BindTexture(picture.pixels.data(), rows.data(), picture.width, picture.height);
  raster->BeginFrame();

  for (int i = 0; i < m.TriangleCount(); ++i) {
    const Triangle& t = m.triangles[static_cast<std::size_t>(i)];
    const VmapRecord& r = file.records[static_cast<std::size_t>(i)];
    V4 pts[4];
    bool ok = true;
    for (int k = 0; k < 3; ++k) {
      if (!InMapTable(m, t.mapIndex[k])) {
        ok = false;
        break;
      }
      const MapVertex& at = m.mapVertices[static_cast<std::size_t>(t.mapIndex[k])];
      const float s = RescaleVmapCoordinate(r.s[k], picture.width, file.skinWidth);
      const float tt = RescaleVmapCoordinate(r.t[k], picture.height, file.skinHeight);
      pts[k][0] = ScreenCoordinate(at.s);
      pts[k][1] = ScreenCoordinate(at.t);
      pts[k][2] = ClampTexCoordRounded(static_cast<std::int64_t>(s) * 65536 + 0x7FFF, picture.width);
      pts[k][3] = ClampTexCoordRounded(static_cast<std::int64_t>(tt) * 65536 + 0x7FFF, picture.height);
    }
    if (!ok) continue;
    for (int j = 0; j < 4; ++j) pts[3][j] = pts[0][j];
    raster->FillTriTexRounded(target, pts);
  }
  skin->storedPixels = skin->pixels;
  ComputeRowOffsets(skin.get());
  return skin;
}
