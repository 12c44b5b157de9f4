// The untextured filled modes: "Flat Shaded", "Gouraud Shaded" and "Phong
// Shaded" in the shade ramps of the three edge colours, and "Environment
// Mapped" in the environment map's own palette.

#include <memory>

#include "render/lighting.h"
#include "render/render_mode_base.h"

namespace {

// Model triangles first, then each shown companion's, each with its corner
// positions and depths; `fill` receives the number (or companion tag), the
// corner positions and depths and the triangle record.
template <class ModelFn, class CompanionFn>
void ForEachAccepted(Model& model, const Viewport& view, const ScenePass& pass, ModelFn&& onModel,
                     CompanionFn&& onCompanion) {
  for (int t : pass.modelList) {
    const Triangle& tri = model.triangles[static_cast<std::size_t>(t)];
    std::int32_t xy[3][3];
    for (int k = 0; k < 3; ++k) {
      const Vec3& c = view.cameraVertices[static_cast<std::size_t>(tri.vertexIndex[k])];
      ScreenPoint s = ProjectVertex(view, c);
      xy[k][0] = s.x;
      xy[k][1] = s.y;
      xy[k][2] = DepthAttribute(pass, c.z);
    }
    onModel(t, tri, xy);
  }
  int frame = model.currentFrameIndex;
  for (auto& comp : model.companions) {
    if (!CompanionShown(*comp, frame)) continue;
    const CompanionVertex* v = comp->FrameVertices(frame);
    for (int t : comp->drawList) {
      const CompanionTriangle& tri = comp->triangles[static_cast<std::size_t>(t)];
      std::int32_t xy[3][3];
      for (int k = 0; k < 3; ++k) {
        const CompanionVertex& cv = v[tri.vertexIndex[k]];
        ScreenPoint s = ProjectVertex(view, Vec3{cv.cx, cv.cy, cv.cz});
        xy[k][0] = s.x;
        xy[k][1] = s.y;
        xy[k][2] = DepthAttribute(pass, cv.cz);
      }
      onCompanion(tri, xy);
    }
  }
}

// Three corners plus the copy of the first: x, y, attributes..., depth.
template <int N>
void CloseTriangle(std::int32_t (*pts)[N]) {
  for (int i = 0; i < N; ++i) pts[3][i] = pts[0][i];
}

class RampModeBase : public RenderModeBase {
 protected:
  void BuildPalette() override {
    InstallShadeRamps(palette, lighting());
    if (Skin* skin = model().currentSkin) {
      CopyEntry(palette, 254, skin->palette, slot(1));
      CopyEntry(palette, 255, skin->palette, slot(7));
    }
  }
  std::uint8_t Background() const override { return 255; }
  std::uint8_t GuideColour() const override { return 254; }
};

class FlatMode : public RampModeBase {
 public:
  const char* GetName() const override { return "Flat Shaded"; }

 protected:
  void Light() override { ComputeShading(model(), lighting(), 0); }
  void Draw(int kind, const ScenePass& pass) override {
    CRasterizer& r = raster();
    const bool tags = kind == REDRAW_FULL;
    V3 pts[4];
    auto put = [&](const std::int32_t (*xy)[3]) {
      for (int k = 0; k < 3; ++k)
        for (int i = 0; i < 3; ++i) pts[k][i] = xy[k][i];
      CloseTriangle<3>(pts);
    };
    ForEachAccepted(
        model(), view(), pass,
        [&](int t, const Triangle& tri, const std::int32_t (*xy)[3]) {
          put(xy);
          auto colour = static_cast<std::uint8_t>(HighlightBase(tri) + tri.shade[0] / 4);
          if (tags)
            r.FillTriFlatZTag(pts, colour, t);
          else
            r.FillTriFlatZ(pts, colour);
        },
        [&](const CompanionTriangle& tri, const std::int32_t (*xy)[3]) {
          put(xy);
          auto colour = static_cast<std::uint8_t>(tri.shade[0] / 4);
          if (tags)
            r.FillTriFlatZTag(pts, colour, kCompanionTag);
          else
            r.FillTriFlatZ(pts, colour);
        });
  }
};

class GouraudMode : public RampModeBase {
 public:
  const char* GetName() const override { return "Gouraud Shaded"; }

 protected:
  void Light() override { ComputeShading(model(), lighting(), 1); }
  void Draw(int kind, const ScenePass& pass) override {
    CRasterizer& r = raster();
    const bool tags = kind == REDRAW_FULL;
    V4 pts[4];
    auto put = [&](const std::int32_t (*xy)[3], int base, const std::uint8_t* shade) {
      for (int k = 0; k < 3; ++k) {
        pts[k][0] = xy[k][0];
        pts[k][1] = xy[k][1];
        pts[k][2] = (base + shade[k] / 4) << 16;
        pts[k][3] = xy[k][2];
      }
      CloseTriangle<4>(pts);
    };
    ForEachAccepted(
        model(), view(), pass,
        [&](int t, const Triangle& tri, const std::int32_t (*xy)[3]) {
          put(xy, HighlightBase(tri), tri.shade);
          if (tags)
            r.FillTriGouraudZTag(pts, t);
          else
            r.FillTriGouraudZ(pts);
        },
        [&](const CompanionTriangle& tri, const std::int32_t (*xy)[3]) {
          put(xy, 0, tri.shade);
          if (tags)
            r.FillTriGouraudZTag(pts, kCompanionTag);
          else
            r.FillTriGouraudZ(pts);
        });
  }
};

// Corners for the map fillers: x, y, mu, mv, depth.
void PutMapCorners(V5* pts, const std::int32_t (*xy)[3], const std::uint8_t (*mapCoord)[2]) {
  for (int k = 0; k < 3; ++k) {
    pts[k][0] = xy[k][0];
    pts[k][1] = xy[k][1];
    pts[k][2] = mapCoord[k][0] << 16;
    pts[k][3] = mapCoord[k][1] << 16;
    pts[k][4] = xy[k][2];
  }
  for (int i = 0; i < 5; ++i) pts[3][i] = pts[0][i];
}

class PhongMode : public RampModeBase {
 public:
  const char* GetName() const override { return "Phong Shaded"; }

 protected:
  bool HasResources() const override { return UsableMap(model().currentPhongMap, false); }
  void Light() override {
    SetViewNormals(model(), HalfwayFrame(lighting().lightRotation, view().rotation));
    ComputeShading(model(), lighting(), 2);
  }
  void Draw(int kind, const ScenePass& pass) override {
    CRasterizer& r = raster();
    // The phong map's light levels 0..63 are offsets into the triangle's ramp.
    r.ShadeMap = model().currentPhongMap->pixels.data();
    const bool tags = kind == REDRAW_FULL;
    V5 pts[4];
    ForEachAccepted(
        model(), view(), pass,
        [&](int t, const Triangle& tri, const std::int32_t (*xy)[3]) {
          PutMapCorners(pts, xy, tri.mapCoord);
          auto base = static_cast<std::uint8_t>(HighlightBase(tri));
          if (tags)
            r.FillTriMapBaseZTag(pts, t, base);
          else
            r.FillTriMapBaseZ(pts, base);
        },
        [&](const CompanionTriangle& tri, const std::int32_t (*xy)[3]) {
          PutMapCorners(pts, xy, tri.mapCoord);
          if (tags)
            r.FillTriMapZTag(pts, kCompanionTag);
          else
            r.FillTriMapZ(pts);
        });
  }
};

class EnvironmentMode : public RenderModeBase {
 public:
  const char* GetName() const override { return "Environment Mapped"; }

 protected:
  void BuildPalette() override {
    if (Skin* env = model().currentEnvMap) palette = env->palette;
  }
  std::uint8_t Background() const override { return slot(7); }
  std::uint8_t GuideColour() const override { return slot(1); }
  bool ClearsTags(int) const override { return true; }
  bool HasResources() const override { return UsableMap(model().currentEnvMap, false); }
  void Light() override {
    SetViewNormals(model(), view().rotation);
    ComputeShading(model(), lighting(), 2);
  }
  void Draw(int, const ScenePass& pass) override {
    CRasterizer& r = raster();
    r.ShadeMap = model().currentEnvMap->pixels.data();
    V5 pts[4];
    ForEachAccepted(
        model(), view(), pass,
        [&](int, const Triangle& tri, const std::int32_t (*xy)[3]) {
          PutMapCorners(pts, xy, tri.mapCoord);
          r.FillTriMapZ(pts);
        },
        [&](const CompanionTriangle& tri, const std::int32_t (*xy)[3]) {
          PutMapCorners(pts, xy, tri.mapCoord);
          r.FillTriMapZ(pts);
        });
  }
};

}  // namespace

std::unique_ptr<RenderMode> MakeShadedMode(int index) {
  switch (index) {
    case MODE_FLAT: return std::make_unique<FlatMode>();
    case MODE_GOURAUD: return std::make_unique<GouraudMode>();
    case MODE_PHONG: return std::make_unique<PhongMode>();
    case MODE_ENVIRONMENT: return std::make_unique<EnvironmentMode>();
    default: return nullptr;
  }
}
