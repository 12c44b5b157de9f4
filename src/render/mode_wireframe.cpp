// "Wireframe" and "Wireframe, Solid": edges in the line ramps, which run from
// the background colour toward the three edge colours.

#include <memory>

#include "render/render_mode_base.h"

namespace {

void InstallLineRampsFromSlots(Palette& palette, const Palette& skin, const std::uint8_t* slots,
                               int backgroundEntry) {
  std::uint8_t b[3], c[3][3];
  for (int k = 0; k < 3; ++k) {
    b[k] = skin[static_cast<std::size_t>(slots[7] * 3 + k)];
    for (int s = 0; s < 3; ++s) c[s][k] = skin[static_cast<std::size_t>(slots[s + 1] * 3 + k)];
  }
  InstallLineRamps(palette, b, c[0], c[1], c[2]);
  CopyEntry(palette, 254, skin, slots[1]);
  CopyEntry(palette, backgroundEntry, skin, slots[7]);
}

class LineModeBase : public RenderModeBase {
 protected:
  virtual int BackgroundEntry() const = 0;
  void BuildPalette() override {
    // Without a skin there are no slot colours to ramp between: the grey
    // ramp stays.
    if (Skin* skin = model().CurrentSkin())
      InstallLineRampsFromSlots(palette, skin->palette, context->colourSlots, BackgroundEntry());
  }
  std::uint8_t Background() const override { return static_cast<std::uint8_t>(BackgroundEntry()); }
  std::uint8_t GuideColour() const override { return 254; }

  // Every edge of each shown companion's current-frame triangles, or with
  // `accepted` of those the scene accepted alone.
  template <class DrawFn>
  void CompanionEdges(const ScenePass* accepted, DrawFn&& draw) {
    Model& m = model();
    int frame = m.currentFrameIndex;
    for (std::size_t ci = 0; ci < m.companions.size(); ++ci) {
      Companion& comp = *m.companions[ci];
      if (!CompanionShown(comp, frame)) continue;
      std::int32_t tag = kCompanionTag - static_cast<std::int32_t>(ci);
      auto edges = [&](int t) {
        const CompanionTriangle& tri = comp.triangles[static_cast<std::size_t>(t)];
        for (int k = 0; k < 3; ++k)
          if (tri.vertexIndex[k] < 0 || tri.vertexIndex[k] >= comp.numVertices) return;
        for (int k = 0; k < 3; ++k)
          DrawSegment(CompanionCamera(ci, tri, k), CompanionCamera(ci, tri, (k + 1) % 3),
                      [&](int x0, int y0, int x1, int y1) { draw(x0, y0, x1, y1, tag); });
      };
      if (accepted) {
        for (int t : accepted->companionLists[ci]) edges(t);
      } else {
        const int n = comp.TriangleCount();
        for (int t = 0; t < n; ++t) edges(t);
      }
    }
  }
};

class WireframeMode : public LineModeBase {
 public:
  const char* GetName() const override { return "Wireframe"; }

 protected:
  int BackgroundEntry() const override { return 192; }
  // Nothing is tagged, so picking must find nothing rather than a stale
  // triangle of the mode shown before.
  bool ClearsTags(int) const override { return true; }

  void Draw(int, const ScenePass& pass, const RenderBand& band) override {
    Model& m = model();
    const int n = std::min<int>(m.TriangleCount(), static_cast<int>(m.triangles.size()));
    ProjectModelVertices(pass);
    auto edges = [&](const Triangle& tri, int base) {
      if (!TriangleIndicesValid(m, tri, view().cameraVertices.size(), false)) return;
      for (int k = 0; k < 3; ++k)
        DrawModelEdge(tri, k, [&](int x0, int y0, int x1, int y1) {
          CRasterizer::DrawLineAA(band.target, x0, y0, x1, y1, static_cast<std::uint8_t>(base));
        });
    };
    auto companions = [&] {
      CompanionEdges(nullptr, [&](int x0, int y0, int x1, int y1, std::int32_t) {
        CRasterizer::DrawLineAA(band.target, x0, y0, x1, y1, 0);
      });
    };
    if (!mappingMode()) {
      for (int t = 0; t < n; ++t)
        if (!(m.triangles[static_cast<std::size_t>(t)].flags & TRI_HIDDEN)) edges(m.triangles[static_cast<std::size_t>(t)], 0);
      companions();
      return;
    }
    // Later passes draw over earlier ones, so the highlighted edges stay on top.
    for (int t = 0; t < n; ++t)
      if (m.triangles[static_cast<std::size_t>(t)].flags == 0) edges(m.triangles[static_cast<std::size_t>(t)], 0);
    companions();
    for (int t = 0; t < n; ++t)
      if (m.triangles[static_cast<std::size_t>(t)].flags == TRI_SELECTED) edges(m.triangles[static_cast<std::size_t>(t)], 64);
    for (int t = 0; t < n; ++t) {
      const Triangle& tri = m.triangles[static_cast<std::size_t>(t)];
      if ((tri.flags & TRI_MARKED) && !(tri.flags & TRI_HIDDEN)) edges(tri, 128);
    }
  }
};

class WireframeSolidMode : public LineModeBase {
 public:
  const char* GetName() const override { return "Wireframe, Solid"; }

 protected:
  int BackgroundEntry() const override { return 255; }
  bool ClearsTags(int) const override { return true; }

  void Draw(int, const ScenePass& pass, const RenderBand& band) override {
    Model& m = model();
    V3 pts[4];
    std::int32_t companionTag = kCompanionTag;
    ForEachAccepted(
        pass, band,
        [&](int t, const Triangle& tri, const TriangleLight&, const std::int32_t (*xy)[3]) {
          PutFlatCorners(pts, xy);
          // The ramp's darkest entry is the background colour: the faces
          // hide what lies behind them without showing themselves.
          band.raster.FillTriFlatZTag(band.target, pts, static_cast<std::uint8_t>(HighlightBase(tri)), t);
        },
        [&](const Companion&, std::size_t index) {
          companionTag = kCompanionTag - static_cast<std::int32_t>(index);
          return true;
        },
        [&](const Companion&, const CompanionTriangle&, const TriangleLight&, const std::int32_t (*xy)[3]) {
          PutFlatCorners(pts, xy);
          band.raster.FillTriFlatZTag(band.target, pts, 0, companionTag);
        });
    // Each edge only where its own face won the depth test.
    for (int t : pass.modelList) {
      const Triangle& tri = m.triangles[static_cast<std::size_t>(t)];
      for (int k = 0; k < 3; ++k)
        DrawModelEdge(tri, k, [&](int x0, int y0, int x1, int y1) {
          CRasterizer::DrawLineAATagged(band.target, x0, y0, x1, y1, t);
        });
    }
    CompanionEdges(&pass, [&](int x0, int y0, int x1, int y1, std::int32_t tag) {
      CRasterizer::DrawLineAATagged(band.target, x0, y0, x1, y1, tag);
    });
  }
};

}  // namespace

std::unique_ptr<RenderMode> MakeWireframeMode(bool solid) {
  if (solid) return std::make_unique<WireframeSolidMode>();
  return std::make_unique<WireframeMode>();
}
