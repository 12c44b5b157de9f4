// The untextured filled modes: "Flat Shaded", "Gouraud Shaded" and "Phong
// Shaded" in the shade ramps of the three edge colours, and "Environment
// Mapped" in the environment map's own palette.

#include <memory>

#include "render/lighting.h"
#include "render/render_mode_base.h"

namespace {

class RampModeBase : public RenderModeBase {
 protected:
  void BuildPalette() override {
    InstallShadeRamps(palette, lighting());
    if (Skin* skin = model().CurrentSkin()) {
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
  void Light() override { ComputeShading(model(), lighting(), 0, light_); }
  void Draw(int kind, const ScenePass& pass, const RenderBand& band) override {
    CRasterizer& r = band.raster;
    const bool tags = kind == REDRAW_FULL;
    V3 pts[4];
    ForEachAccepted(
        pass, band,
        [&](int t, const Triangle& tri, const TriangleLight& light, const std::int32_t (*xy)[3]) {
          PutFlatCorners(pts, xy);
          auto colour = static_cast<std::uint8_t>(HighlightBase(tri) + light.shade[0] / 4);
          if (tags)
            r.FillTriFlatZTag(band.target, pts, colour, t);
          else
            r.FillTriFlatZ(band.target, pts, colour);
        },
        EveryCompanion, [&](const Companion&, const CompanionTriangle&, const TriangleLight& light, const std::int32_t (*xy)[3]) {
          PutFlatCorners(pts, xy);
          auto colour = static_cast<std::uint8_t>(light.shade[0] / 4);
          if (tags)
            r.FillTriFlatZTag(band.target, pts, colour, kCompanionTag);
          else
            r.FillTriFlatZ(band.target, pts, colour);
        });
  }
};

class GouraudMode : public RampModeBase {
 public:
  const char* GetName() const override { return "Gouraud Shaded"; }

 protected:
  void Light() override { ComputeShading(model(), lighting(), 1, light_); }
  void Draw(int kind, const ScenePass& pass, const RenderBand& band) override {
    CRasterizer& r = band.raster;
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
        pass, band,
        [&](int t, const Triangle& tri, const TriangleLight& light, const std::int32_t (*xy)[3]) {
          put(xy, HighlightBase(tri), light.shade);
          if (tags)
            r.FillTriGouraudZTag(band.target, pts, t);
          else
            r.FillTriGouraudZ(band.target, pts);
        },
        EveryCompanion, [&](const Companion&, const CompanionTriangle&, const TriangleLight& light, const std::int32_t (*xy)[3]) {
          put(xy, 0, light.shade);
          if (tags)
            r.FillTriGouraudZTag(band.target, pts, kCompanionTag);
          else
            r.FillTriGouraudZ(band.target, pts);
        });
  }
};

class PhongMode : public RampModeBase {
 public:
  const char* GetName() const override { return "Phong Shaded"; }

 protected:
  bool HasResources() const override { return UsableMap(model().CurrentPhongMap(), false); }
  void Light() override {
    SetViewNormals(model(), HalfwayFrame(lighting().lightRotation, view().rotation), light_);
    ComputeShading(model(), lighting(), 2, light_);
  }
  void Draw(int kind, const ScenePass& pass, const RenderBand& band) override {
    CRasterizer& r = band.raster;
    // The phong map's light levels 0..63 are offsets into the triangle's ramp.
    r.SetShadeMap(model().CurrentPhongMap()->pixels.data());
    const bool tags = kind == REDRAW_FULL;
    V5 pts[4];
    ForEachAccepted(
        pass, band,
        [&](int t, const Triangle& tri, const TriangleLight& light, const std::int32_t (*xy)[3]) {
          PutMapCorners(pts, xy, light.mapCoord);
          auto base = static_cast<std::uint8_t>(HighlightBase(tri));
          if (tags)
            r.FillTriMapBaseZTag(band.target, pts, t, base);
          else
            r.FillTriMapBaseZ(band.target, pts, base);
        },
        EveryCompanion, [&](const Companion&, const CompanionTriangle&, const TriangleLight& light, const std::int32_t (*xy)[3]) {
          PutMapCorners(pts, xy, light.mapCoord);
          if (tags)
            r.FillTriMapZTag(band.target, pts, kCompanionTag);
          else
            r.FillTriMapZ(band.target, pts);
        });
  }
};

class EnvironmentMode : public RenderModeBase {
 public:
  const char* GetName() const override { return "Environment Mapped"; }

 protected:
  void BuildPalette() override {
    if (Skin* env = model().CurrentEnvMap()) palette = env->palette;
  }
  std::uint8_t Background() const override { return slot(7); }
  std::uint8_t GuideColour() const override { return slot(1); }
  bool ClearsTags(int) const override { return true; }
  bool HasResources() const override { return UsableMap(model().CurrentEnvMap(), false); }
  void Light() override {
    SetViewNormals(model(), view().rotation, light_);
    ComputeShading(model(), lighting(), 2, light_);
  }
  void Draw(int, const ScenePass& pass, const RenderBand& band) override {
    CRasterizer& r = band.raster;
    r.SetShadeMap(model().CurrentEnvMap()->pixels.data());
    V5 pts[4];
    ForEachAccepted(
        pass, band,
        [&](int, const Triangle&, const TriangleLight& light, const std::int32_t (*xy)[3]) {
          PutMapCorners(pts, xy, light.mapCoord);
          r.FillTriMapZ(band.target, pts);
        },
        EveryCompanion, [&](const Companion&, const CompanionTriangle&, const TriangleLight& light, const std::int32_t (*xy)[3]) {
          PutMapCorners(pts, xy, light.mapCoord);
          r.FillTriMapZ(band.target, pts);
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
