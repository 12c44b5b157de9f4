#pragma once
// What the ten modes share: the order of a render (size check, palette,
// Pixels refresh, clears, resource check, lighting, scene, overlays, guide),
// and the per-corner helpers the modes build their vertices with.

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/companion.h"
#include "render/render_mode.h"
#include "render/scene_light.h"
#include "render/transform.h"

// One horizontal band of the picture under way: the rows it owns, the
// viewport's buffers limited to them and the rasterizer that fills them.
struct RenderBand {
  CRasterizer& raster;
  RasterTarget target;  // BandTop..BandBottom set for a band short of the whole picture
  int top = 0;          // rows top..bottom
  int bottom = -1;
  bool whole = true;    // the band is the whole picture
};

class RenderModeBase : public RenderMode {
 public:
  void Render(int kind, int flags) override;

 protected:
  // The mode's full palette for this render (ramps and special entries
  // included), over the skin palette or grey ramp already in `palette`.
  virtual void BuildPalette() {}
  virtual std::uint8_t Background() const = 0;
  virtual std::uint8_t GuideColour() const = 0;
  // Whether the tag buffer is cleared to -1 for this kind (0 or 1).
  virtual bool ClearsTags(int kind) const { return kind == REDRAW_FULL; }
  // The resource the mode reads besides the frame is present and sound.
  virtual bool HasResources() const { return true; }
  // ComputeShading into light_ and whatever lighting state the mode needs.
  virtual void Light() {}
  // Kind 3 for the modes that recolour skin pixels; the others have none.
  virtual bool SupportsPixels() const { return false; }
  virtual void RecolourPixels() {}
  // What the bands share and only one thread may work out (tables of the
  // scene, buffers to size), once the scene is accepted and projected.
  virtual void Prepare(int /*kind*/, const ScenePass& /*pass*/) {}
  // Draw the accepted scene and the mode's overlays (kind 0 or 1) into one
  // band. Runs on several threads at once, one per band: it reads the mode
  // and the scene and writes only through `band`.
  virtual void Draw(int kind, const ScenePass& pass, const RenderBand& band) = 0;
  // Draws nothing outside the model's own triangles and edges (besides the
  // guide), so the next picture need clear only where the model was.
  virtual bool ClearsPartly() const { return false; }

  // --- helpers for the modes ---
  Model& model() const { return *context->model; }
  Viewport& view() const { return *context->viewport; }
  CRasterizer& raster() const { return *context->rasterizer; }
  const Lighting& lighting() const { return *context->lighting; }
  bool mappingMode() const { return context->editMode == 1; }
  std::uint8_t slot(int i) const { return context->colourSlots[i]; }

  // 0, 64 or 128: the ramp a model triangle is drawn from.
  int HighlightBase(const Triangle& tri) const;
  Vec3 ModelCamera(const Triangle& tri, int k) const;
  // Corner k of a triangle of the shown companion at `companion` in the
  // model's list, once TransformVertices has placed it for this render.
  Vec3 CompanionCamera(std::size_t companion, const CompanionTriangle& tri, int k) const;
  // Draws a camera-space segment: near clip, projection, buffer clip, then
  // `draw`(x0, y0, x1, y1).
  template <class DrawFn>
  void DrawSegment(Vec3 a, Vec3 b, DrawFn&& draw) const {
    float p0[3] = {a.x, a.y, a.z};
    float p1[3] = {b.x, b.y, b.z};
    if (!CRasterizer::ClipSegmentNear(p0, p1)) return;
    ScreenPoint s0 = projector_(Vec3{p0[0], p0[1], p0[2]});
    ScreenPoint s1 = projector_(Vec3{p1[0], p1[1], p1[2]});
    std::int32_t x0 = s0.x, y0 = s0.y, x1 = s1.x, y1 = s1.y;
    if (!CRasterizer::ClipLine(target_, x0, y0, x1, y1)) return;
    draw(x0, y0, x1, y1);
  }

  // Edge k (corner k to the next) of a model triangle whose indices are in
  // range, once ProjectModelVertices has run for this render: with both ends
  // in front of the near plane the near clip leaves them as they are, so
  // their projections come from the table; otherwise as DrawSegment.
  template <class DrawFn>
  void DrawModelEdge(const Triangle& tri, int k, DrawFn&& draw) const {
    const auto i0 = static_cast<std::size_t>(tri.vertexIndex[k]);
    const auto i1 = static_cast<std::size_t>(tri.vertexIndex[(k + 1) % 3]);
    const Vec3& a = view().cameraVertices[i0];
    const Vec3& b = view().cameraVertices[i1];
    if (a.z >= CRasterizer::kNearPlane && b.z >= CRasterizer::kNearPlane && i0 < screen_.size() &&
        i1 < screen_.size()) {
      std::int32_t x0 = screen_[i0][0], y0 = screen_[i0][1], x1 = screen_[i1][0], y1 = screen_[i1][1];
      if (!CRasterizer::ClipLine(target_, x0, y0, x1, y1)) return;
      draw(x0, y0, x1, y1);
      return;
    }
    DrawSegment(a, b, draw);
  }

  // The accepted scene with each triangle's corners on the screen (x, y,
  // depth attribute) and its light: onModel(t, tri, light, xy) for the
  // model's triangles, then onCompanion(comp, tri, light, xy) for those of
  // every shown companion that take(comp, index) lets through; take may bind
  // the companion's skin first.
  // A band short of the whole picture skips the triangles whose corners all
  // lie above or below its rows: they would fill none of them.
  template <class ModelFn, class TakeFn, class CompanionFn>
  void ForEachAccepted(const ScenePass& pass, const RenderBand& band, ModelFn&& onModel, TakeFn&& take,
                       CompanionFn&& onCompanion) const {
    Model& m = model();
    const bool cull = !band.whole;
    const int top = band.top, bottom = band.bottom;
    const auto outside = [top, bottom](std::int32_t y0, std::int32_t y1, std::int32_t y2) {
      return (y0 < top && y1 < top && y2 < top) || (y0 > bottom && y1 > bottom && y2 > bottom);
    };
    std::int32_t xy[3][3];
    const auto corner = [&](int k, const Vec3& c) {
      const ScreenPoint s = projector_(c);
      xy[k][0] = s.x;
      xy[k][1] = s.y;
      xy[k][2] = DepthAttribute(pass, c.z);
    };
    ProjectModelVertices(pass);
    const ScreenVertex* screen = screen_.data();
    for (int t : pass.modelList) {
      const Triangle& tri = m.triangles[static_cast<std::size_t>(t)];
      if (cull && outside(screen[tri.vertexIndex[0]][1], screen[tri.vertexIndex[1]][1],
                          screen[tri.vertexIndex[2]][1]))
        continue;
      for (int k = 0; k < 3; ++k) {
        const ScreenVertex& s = screen[tri.vertexIndex[k]];
        xy[k][0] = s[0];
        xy[k][1] = s[1];
        xy[k][2] = s[2];
      }
      onModel(t, tri, light_.model[static_cast<std::size_t>(t)], xy);
    }
    const int frame = m.currentFrameIndex;
    for (std::size_t ci = 0; ci < m.companions.size(); ++ci) {
      Companion& comp = *m.companions[ci];
      if (!CompanionShown(comp, frame) || !take(comp, ci)) continue;
      const std::vector<Vec3>& placedAt = view().companionCameraVertices[ci];
      const std::vector<TriangleLight>& lights = light_.companions[ci];
      for (int t : pass.companionLists[ci]) {
        const CompanionTriangle& tri = comp.triangles[static_cast<std::size_t>(t)];
        for (int k = 0; k < 3; ++k) corner(k, placedAt[static_cast<std::size_t>(tri.vertexIndex[k])]);
        if (cull && outside(xy[0][1], xy[1][1], xy[2][1])) continue;
        onCompanion(comp, tri, lights[static_cast<std::size_t>(t)], xy);
      }
    }
  }
  static bool EveryCompanion(const Companion&, std::size_t) { return true; }

 protected:
  // The camera's projection for the render under way, worked out once.
  Projector projector_;
  // The viewport's buffers, as the render under way draws into them, whole;
  // lines are clipped against it before a band draws its part.
  RasterTarget target_;
  // fn(band) for every band of the picture, each on its own thread when the
  // context has threads.
  template <class BandFn>
  void InBands(BandFn&& fn);
  // Every model vertex of the frame on the screen: x, y and depth attribute,
  // worked out once per render in one pass over the camera-space vertices
  // rather than once per corner of every accepted triangle. Kept between
  // renders so the pass allocates nothing.
  using ScreenVertex = std::array<std::int32_t, 3>;
  mutable std::vector<ScreenVertex> screen_;
  mutable bool projected_ = false;  // screen_ holds this render's projection
  // The scene of the render under way, kept so its list keeps its room.
  ScenePass pass_;
  // The light of the render under way, one entry per triangle of the model
  // and of each companion; a mode's Light() works out what it reads.
  SceneLight light_;
  void ProjectModelVertices(const ScenePass& pass) const;
  // The bounds of the accepted scene on the screen, or `all` when an edge
  // may be clipped at the near plane or a companion is drawn.
  ViewArea DrawnArea(const ScenePass& pass, const ViewArea& all) const;
  // Rows top..bottom of `area`, as ClearViewportRows clears whole rows.
  static void ClearArea(Viewport& vp, std::uint8_t background, bool clearTags, const ViewArea& area, int top,
                        int bottom);
  static bool NoCompanion(const Companion&, std::size_t) { return false; }
};

// Every filler takes the corners followed by a copy of the first.
template <int Values>
void CloseTriangle(std::int32_t (*pts)[Values]) {
  for (int i = 0; i < Values; ++i) pts[3][i] = pts[0][i];
}

// Corners for the flat fillers: x, y, depth.
inline void PutFlatCorners(V3* pts, const std::int32_t (*xy)[3]) {
  for (int k = 0; k < 3; ++k)
    for (int i = 0; i < 3; ++i) pts[k][i] = xy[k][i];
  CloseTriangle<3>(pts);
}

// Corners for the map fillers: x, y, mu, mv, depth.
inline void PutMapCorners(V5* pts, const std::int32_t (*xy)[3], const std::uint8_t (*mapCoord)[2]) {
  for (int k = 0; k < 3; ++k) {
    pts[k][0] = xy[k][0];
    pts[k][1] = xy[k][1];
    pts[k][2] = mapCoord[k][0] << 16;
    pts[k][3] = mapCoord[k][1] << 16;
    pts[k][4] = xy[k][2];
  }
  CloseTriangle<5>(pts);
}

// Palette helpers.
void CopyEntry(Palette& to, int toIndex, const Palette& from, int fromIndex);
// Entries 0..191 from the three shade ramps.
void InstallShadeRamps(Palette& palette, const Lighting& lighting);
// Entries j, 64 + j, 128 + j from `b` toward each of c1, c2, c3.
void InstallLineRamps(Palette& palette, const std::uint8_t b[3], const std::uint8_t c1[3],
                      const std::uint8_t c2[3], const std::uint8_t c3[3]);

// True when a model triangle's corner indices point into the frame and,
// with `checkMap`, into the mapping.
bool TriangleIndicesValid(const Model& model, const Triangle& tri, std::size_t cameraCount,
                          bool checkMap);

// The frame half-way between the light and the camera used by the phong
// modes, so the map's bright centre follows the light.
Mat3 HalfwayFrame(const Mat3& lightRotation, const Mat3& rotation);

// The usable skin (size and pixel count agree, rows addressable) or null.
Skin* UsableSkin(Skin* skin);
// A 256 x 256 map with `pixels` (and, for `lightRows`, storedPixels) of full size.
bool UsableMap(const Skin* map, bool lightRows);
// A companion whose own skin can be sampled.
bool CompanionSkinUsable(const Companion& comp);

constexpr std::int32_t kCompanionTag = -2;

// The mode objects, one file per family.
std::unique_ptr<RenderMode> MakeWireframeMode(bool solid);
std::unique_ptr<RenderMode> MakeShadedMode(int index);  // 2, 3, 4, 6
std::unique_ptr<RenderMode> MakeTexturedMode(int index);  // 5, 7, 8, 9
