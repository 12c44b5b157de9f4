// "Textured" and the three lit textured modes. They draw with the skin's
// own palette and, in Paint Mode's full render, tag every model pixel with
// the skin texel it shows so that painting recolours the picture without
// drawing it again.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "render/lighting.h"
#include "render/render_mode_base.h"
#include "render/texcoord_clamp.h"

namespace {

enum class Lit { None, Flat, Smooth, Map };

class TexturedMode : public RenderModeBase {
 public:
  TexturedMode(const char* name, Lit lit) : name_(name), lit_(lit) {}
  const char* GetName() const override { return name_; }
  int IsTextured() const override { return 1; }

 protected:
  std::uint8_t Background() const override { return slot(7); }
  std::uint8_t GuideColour() const override { return slot(1); }
  // Mapping Mode tags triangles in both kinds; Paint Mode only in Full.
  bool ClearsTags(int kind) const override { return kind == REDRAW_FULL || mappingMode(); }

  bool HasResources() const override {
    if (!UsableSkin(model().CurrentSkin())) return false;
    if (lit_ != Lit::None && !context->colormap) return false;
    if (lit_ == Lit::Map && !UsableMap(model().CurrentPhongMap(), false)) return false;
    return true;
  }

  void Light() override {
    switch (lit_) {
      case Lit::None: return;
      case Lit::Flat: ComputeShading(model(), lighting(), 0, light_); return;
      case Lit::Smooth: ComputeShading(model(), lighting(), 1, light_); return;
      case Lit::Map:
        // Rows normally follow every change of curve or map; a map that
        // arrived without them gets them here rather than being misread.
        if (!UsableMap(model().CurrentPhongMap(), true))
          BuildPhongLightRows(lighting(), *model().CurrentPhongMap());
        SetViewNormals(model(), HalfwayFrame(lighting().lightRotation, view().rotation), light_);
        ComputeShading(model(), lighting(), 2, light_);
        return;
    }
  }

  bool SupportsPixels() const override { return true; }
  bool ClearsPartly() const override { return true; }

  void RecolourPixels() override {
    Skin* skin = UsableSkin(model().CurrentSkin());
    if (!skin) return;
    Viewport& vp = view();
    const std::size_t n = static_cast<std::size_t>(vp.width) * static_cast<std::size_t>(vp.height);
    const std::size_t texels = static_cast<std::size_t>(skin->width) * static_cast<std::size_t>(skin->height);
    const std::uint8_t* pixels = skin->pixels.data();
    if (lit_ == Lit::None) {
      for (std::size_t i = 0; i < n; ++i) {
        std::int32_t tag = vp.tagBuffer[i];
        if (tag >= 0 && static_cast<std::size_t>(tag) < texels) vp.frameBuffer[i] = pixels[tag];
      }
      return;
    }
    if (!context->colormap || vp.lightLevels.size() < n) return;
    for (std::size_t i = 0; i < n; ++i) {
      std::int32_t tag = vp.tagBuffer[i];
      if (tag < 0 || static_cast<std::size_t>(tag) >= texels) continue;
      int row = std::min<int>(vp.lightLevels[i], kColormapRows - 1);
      vp.frameBuffer[i] = context->colormap[row * kColormapRowLength + pixels[tag]];
    }
  }

  void Prepare(int kind, const ScenePass& pass) override;
  void Draw(int kind, const ScenePass& pass, const RenderBand& band) override;

 private:
  // Fills `pts` (x, y, u, v, [light | mu, mv], depth) of a triangle.
  int Corners(std::int32_t (*pts)[7], const std::int32_t (*xy)[3], const std::int32_t (*uv)[2],
              const std::uint8_t* shade, const std::uint8_t (*mapCoord)[2]) const;
  void Fill(const RenderBand& band, const std::int32_t (*pts)[7], CRasterizer::TagRule rule, std::int32_t tag) const;
  bool WantsLightPass(int kind) const { return kind == REDRAW_FULL && !mappingMode() && lit_ != Lit::None; }
  void LightPass(const ScenePass& pass, const RenderBand& band);
  void MappingOverlay(const ScenePass& pass, const RenderBand& band);

  // The skin position of every mapping vertex in 16.16 texels, worked out
  // once per render; triangles share their corners' mapping vertices.
  void FixMapVertices(const Model& m, const Skin& skin);

  const char* name_;
  Lit lit_;
  std::vector<std::array<std::int32_t, 2>> fixedMap_;
  // What fixedMap_ was worked out from: a frame with the same mapping and
  // skin size keeps it.
  std::vector<MapVertex> fixedFrom_;
  int fixedWidth_ = -1, fixedHeight_ = -1;
};

using TagRule = CRasterizer::TagRule;

int TexturedMode::Corners(std::int32_t (*pts)[7], const std::int32_t (*xy)[3],
                          const std::int32_t (*uv)[2], const std::uint8_t* shade,
                          const std::uint8_t (*mapCoord)[2]) const {
  int values = 0;
  for (int k = 0; k < 3; ++k) {
    std::int32_t* p = pts[k];
    int i = 0;
    p[i++] = xy[k][0];
    p[i++] = xy[k][1];
    p[i++] = uv[k][0];
    p[i++] = uv[k][1];
    if (lit_ == Lit::Flat || lit_ == Lit::Smooth) {
      int s = lit_ == Lit::Flat ? shade[0] : shade[k];
      p[i++] = ClampTexCoord(static_cast<std::int64_t>(63 - s / 4) << 16, kColormapRows);
    } else if (lit_ == Lit::Map) {
      p[i++] = mapCoord[k][0] << 16;
      p[i++] = mapCoord[k][1] << 16;
    }
    p[i++] = xy[k][2];
    values = i;
  }
  // A fixed count, so that the copy is a few moves rather than a call.
  for (int i = 0; i < 7; ++i) pts[3][i] = i < values ? pts[0][i] : 0;
  return values;
}

// Each vertex kind is a prefix of the seven-value scratch rows.
template <int Values>
void FillPrefix(CRasterizer& r, const RasterTarget& target, const std::int32_t (*pts)[7], TagRule rule,
                std::int32_t tag) {
  std::int32_t v[4][Values];
  for (int k = 0; k < 4; ++k) std::copy(pts[k], pts[k] + Values, v[k]);
  switch (rule) {
    case TagRule::None: r.FillTriTexDepth<Values, TagRule::None>(target, v); return;
    case TagRule::Fixed: r.FillTriTexDepth<Values, TagRule::Fixed>(target, v, tag); return;
    case TagRule::TexelOffset: r.FillTriTexDepth<Values, TagRule::TexelOffset>(target, v); return;
  }
}

void TexturedMode::Fill(const RenderBand& band, const std::int32_t (*pts)[7], TagRule rule,
                        std::int32_t tag) const {
  switch (lit_) {
    case Lit::None: FillPrefix<5>(band.raster, band.target, pts, rule, tag); return;
    case Lit::Flat:
    case Lit::Smooth: FillPrefix<6>(band.raster, band.target, pts, rule, tag); return;
    case Lit::Map: FillPrefix<7>(band.raster, band.target, pts, rule, tag); return;
  }
}

void TexturedMode::FixMapVertices(const Model& m, const Skin& skin) {
  const int count = std::max(0, std::min<int>(m.MapVertexCount(), static_cast<int>(m.mapVertices.size())));
  const std::size_t bytes = static_cast<std::size_t>(count) * sizeof(MapVertex);
  if (skin.width == fixedWidth_ && skin.height == fixedHeight_ && fixedFrom_.size() == static_cast<std::size_t>(count) &&
      (count == 0 || std::memcmp(fixedFrom_.data(), m.mapVertices.data(), bytes) == 0))
    return;
  fixedFrom_.assign(m.mapVertices.begin(), m.mapVertices.begin() + count);
  fixedWidth_ = skin.width;
  fixedHeight_ = skin.height;
  fixedMap_.resize(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const MapVertex& mv = m.mapVertices[static_cast<std::size_t>(i)];
    fixedMap_[static_cast<std::size_t>(i)] = {TexCoordToFixed(std::trunc(mv.s), skin.width),
                                              TexCoordToFixed(std::trunc(mv.t), skin.height)};
  }
}

void TexturedMode::Prepare(int kind, const ScenePass&) {
  Model& m = model();
  ComputeRowOffsets(m.CurrentSkin());
  FixMapVertices(m, *m.CurrentSkin());
  if (WantsLightPass(kind)) {
    Viewport& vp = view();
    const std::size_t n = static_cast<std::size_t>(vp.width) * static_cast<std::size_t>(vp.height);
    if (vp.lightLevels.size() != n) vp.lightLevels.assign(n, 0);
  }
}

void TexturedMode::Draw(int kind, const ScenePass& pass, const RenderBand& band) {
  Model& m = model();
  Viewport& vp = view();
  CRasterizer& r = band.raster;
  Skin* skin = m.CurrentSkin();
  r.BindTexture(skin->pixels.data(), skin->rowOffset.data(), skin->width, skin->height);
  if (lit_ != Lit::None) r.SetShadeTable(context->colormap, kColormapRows);
  if (lit_ == Lit::Map) r.SetShadeMap(m.CurrentPhongMap()->storedPixels.data());

  const bool mapping = mappingMode();
  const TagRule modelRule =
      mapping ? TagRule::Fixed : (kind == REDRAW_FULL ? TagRule::TexelOffset : TagRule::None);
  const TagRule companionRule = (mapping || kind == REDRAW_FULL) ? TagRule::Fixed : TagRule::None;

  std::int32_t pts[4][7];
  std::int32_t uv[3][2];
  ForEachAccepted(
      pass, band,
      [&](int t, const Triangle& tri, const TriangleLight& light, const std::int32_t (*xy)[3]) {
        // Acceptance checked the frame's indices, not the mapping's.
        if (!TriangleIndicesValid(m, tri, vp.cameraVertices.size(), true)) return;
        for (int k = 0; k < 3; ++k) {
          const auto& st = fixedMap_[static_cast<std::size_t>(tri.mapIndex[k])];
          uv[k][0] = st[0];
          uv[k][1] = st[1];
        }
        Corners(pts, xy, uv, light.shade, light.mapCoord);
        Fill(band, pts, modelRule, t);
      },
      [&](const Companion& comp, std::size_t) {
        if (!CompanionSkinUsable(comp) || comp.skinHeight > kRasterMaxRows) return false;
        r.BindTexture(comp.skinPixels.data(), comp.rowOffset.data(), comp.skinWidth, comp.skinHeight);
        return true;
      },
      [&](const Companion& comp, const CompanionTriangle& tri, const TriangleLight& light, const std::int32_t (*xy)[3]) {
        for (int k = 0; k < 3; ++k) {
          uv[k][0] = ClampTexCoord(static_cast<std::int64_t>(tri.st[k][0]) << 16, comp.skinWidth);
          uv[k][1] = ClampTexCoord(static_cast<std::int64_t>(tri.st[k][1]) << 16, comp.skinHeight);
        }
        Corners(pts, xy, uv, light.shade, light.mapCoord);
        Fill(band, pts, companionRule, kCompanionTag);
      });
  r.BindTexture(skin->pixels.data(), skin->rowOffset.data(), skin->width, skin->height);

  if (mapping)
    MappingOverlay(pass, band);
  else if (WantsLightPass(kind))
    LightPass(pass, band);
}

// Edges drawn only where their own face is visible, the highlighted ones last.
void TexturedMode::MappingOverlay(const ScenePass& pass, const RenderBand& band) {
  Model& m = model();
  auto edges = [&](std::uint32_t wanted, bool marked, std::uint8_t colour) {
    for (int t : pass.modelList) {
      const Triangle& tri = m.triangles[static_cast<std::size_t>(t)];
      bool take = marked ? (tri.flags & TRI_MARKED) != 0 : tri.flags == wanted;
      if (!take) continue;
      for (int k = 0; k < 3; ++k)
        DrawModelEdge(tri, k, [&](int x0, int y0, int x1, int y1) {
          CRasterizer::DrawLineTagged(band.target, x0, y0, x1, y1, colour, t);
        });
    }
  };
  edges(0, false, slot(1));
  edges(TRI_SELECTED, false, slot(2));
  edges(0, true, slot(3));
}

// The light row of every model pixel, kept in lightLevels so that a Pixels
// refresh can light a repainted texel without drawing again.
void TexturedMode::LightPass(const ScenePass& pass, const RenderBand& band) {
  Model& m = model();
  Viewport& vp = view();
  CRasterizer& r = band.raster;
  const std::ptrdiff_t begin = static_cast<std::ptrdiff_t>(band.top) * vp.width;
  const std::ptrdiff_t end = static_cast<std::ptrdiff_t>(band.bottom + 1) * vp.width;
  std::fill(vp.lightLevels.begin() + begin, vp.lightLevels.begin() + end, std::uint8_t{0});
  r.BeginFrame();
  std::fill(vp.depthBuffer.begin() + begin, vp.depthBuffer.begin() + end, std::uint16_t{0xFFFF});
  RasterTarget levels = band.target;
  levels.FrameBuffer = vp.lightLevels.data();
  ForEachAccepted(
      pass, band,
      [&](int, const Triangle& tri, const TriangleLight& light, const std::int32_t (*xy)[3]) {
        if (!TriangleIndicesValid(m, tri, vp.cameraVertices.size(), true)) return;
        if (lit_ == Lit::Map) {
          V5 v[4];
          PutMapCorners(v, xy, light.mapCoord);
          r.FillTriMapZ(levels, v);
          return;
        }
        V4 v[4];
        for (int k = 0; k < 3; ++k) {
          int s = lit_ == Lit::Flat ? light.shade[0] : light.shade[k];
          v[k][0] = xy[k][0];
          v[k][1] = xy[k][1];
          v[k][2] = (63 - s / 4) << 16;
          v[k][3] = xy[k][2];
        }
        CloseTriangle<4>(v);
        r.FillTriGouraudZ(levels, v);
      },
      NoCompanion, [](const Companion&, const CompanionTriangle&, const TriangleLight&, const std::int32_t (*)[3]) {});
}

}  // namespace

std::unique_ptr<RenderMode> MakeTexturedMode(int index) {
  switch (index) {
    case MODE_TEXTURED: return std::make_unique<TexturedMode>("Textured", Lit::None);
    case MODE_TEXTURED_F: return std::make_unique<TexturedMode>("Textured, F-Shade", Lit::Flat);
    case MODE_TEXTURED_G: return std::make_unique<TexturedMode>("Textured, G-Shade", Lit::Smooth);
    case MODE_TEXTURED_P: return std::make_unique<TexturedMode>("Textured, P-Shade", Lit::Map);
    default: return nullptr;
  }
}

std::unique_ptr<RenderMode> MakeRenderMode(int index) {
  switch (index) {
    case MODE_WIREFRAME: return MakeWireframeMode(false);
    case MODE_WIREFRAME_SOLID: return MakeWireframeMode(true);
    case MODE_TEXTURED:
    case MODE_TEXTURED_F:
    case MODE_TEXTURED_G:
    case MODE_TEXTURED_P: return MakeTexturedMode(index);
    default: return MakeShadedMode(index);
  }
}
