#include "render/render_mode.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "render/frame_blend.h"
#include "render/lighting.h"
#include "render/render_bands.h"
#include "render/render_mode_base.h"
#include "render/trackball_guide.h"

namespace {

constexpr const char* kModeNames[kNumRenderModes] = {
    "Wireframe",          "Wireframe, Solid",  "Flat Shaded",       "Gouraud Shaded",
    "Phong Shaded",       "Textured",          "Environment Mapped", "Textured, F-Shade",
    "Textured, G-Shade",  "Textured, P-Shade",
};

}  // namespace

const char* RenderModeName(int index) {
  if (index < 0 || index >= kNumRenderModes) return "";
  return kModeNames[index];
}

int FindRenderMode(const char* name) {
  if (!name) return -1;
  for (int i = 0; i < kNumRenderModes; ++i)
    if (std::strcmp(name, kModeNames[i]) == 0) return i;
  return -1;
}

RenderModes::RenderModes() {
  for (int i = 0; i < kNumRenderModes; ++i) modes_[static_cast<std::size_t>(i)] = MakeRenderMode(i);
}

RenderModes::~RenderModes() = default;

void RenderModes::Render(const RenderContext& context, int kind, int flags) {
  context_ = context;
  if (!context_.colormap && colormap.size() >= static_cast<std::size_t>(kColormapRows) * kColormapRowLength)
    context_.colormap = colormap.data();
  if (!context_.priority) context_.priority = &priority;
  if (!context_.bands) context_.bands = Bands();
  RenderMode& mode = Current();
  mode.context = &context_;
  mode.kept = &kept;
  mode.Render(kind, flags);
}

ViewArea Union(const ViewArea& a, const ViewArea& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

void RenderModes::SetThreads(int threads) { threads_ = threads < 0 ? 0 : threads; }

int RenderModes::Threads() const { return threads_ > 0 ? threads_ : ThreadPool::CoreCount(); }

RenderBands* RenderModes::Bands() {
  const int threads = Threads();
  if (threads <= 1) return nullptr;
  if (!bands_ || bands_->Threads() != threads) {
    bands_.reset();
    bands_ = std::make_unique<RenderBands>(threads);
  }
  return bands_.get();
}

ThreadPool* RenderModes::Pool() {
  RenderBands* bands = Bands();
  return bands ? &bands->Pool() : nullptr;
}

// ---------------------------------------------------------------------------


void CopyEntry(Palette& to, int toIndex, const Palette& from, int fromIndex) {
  for (int c = 0; c < 3; ++c)
    to[static_cast<std::size_t>(toIndex * 3 + c)] = from[static_cast<std::size_t>(fromIndex * 3 + c)];
}

void InstallShadeRamps(Palette& palette, const Lighting& lighting) {
  for (int r = 0; r < 3; ++r)
    for (int j = 0; j < 64; ++j)
      for (int c = 0; c < 3; ++c)
        palette[static_cast<std::size_t>((r * 64 + j) * 3 + c)] = lighting.shadeRamps[r][j][c];
}

void InstallLineRamps(Palette& palette, const std::uint8_t b[3], const std::uint8_t c1[3],
                      const std::uint8_t c2[3], const std::uint8_t c3[3]) {
  const std::uint8_t* targets[3] = {c1, c2, c3};
  for (int r = 0; r < 3; ++r)
    for (int j = 0; j < 64; ++j)
      for (int c = 0; c < 3; ++c) {
        double v = b[c] + j * (static_cast<double>(targets[r][c]) - b[c]) * 0.015873015873015872;
        palette[static_cast<std::size_t>((r * 64 + j) * 3 + c)] = static_cast<std::uint8_t>(std::trunc(v));
      }
}

bool TriangleIndicesValid(const Model& model, const Triangle& tri, std::size_t cameraCount,
                          bool checkMap) {
  int verts = std::min<int>(model.VertexCount(), static_cast<int>(cameraCount));
  int maps = std::min<int>(model.MapVertexCount(), static_cast<int>(model.mapVertices.size()));
  for (int k = 0; k < 3; ++k) {
    if (tri.vertexIndex[k] < 0 || tri.vertexIndex[k] >= verts) return false;
    if (checkMap && (tri.mapIndex[k] < 0 || tri.mapIndex[k] >= maps)) return false;
  }
  return true;
}

Mat3 HalfwayFrame(const Mat3& lightRotation, const Mat3& rotation) {
  Mat3 Q = Transpose(lightRotation) * rotation;
  const auto& q = Q.m;
  double a = std::atan2(q[2][0], q[2][2]);
  double q22 = std::cos(a) * q[2][2] + std::sin(a) * q[2][0];
  double q02 = std::cos(a) * q[0][2] + std::sin(a) * q[0][0];
  double q00 = std::cos(a) * q[0][0] - std::sin(a) * q[0][2];
  double b = std::atan2(q[2][1], q22);
  double q01 = std::cos(b) * q[0][1] - std::sin(b) * q02;
  double c = std::atan2(q01, q00);
  auto f = [](double v) { return static_cast<float>(v); };
  double tz = c / 2, tx = b / 2, ty = a / 2;
  Mat3 Z = Mat3::Rows(f(std::cos(tz)), f(std::sin(tz)), 0, f(-std::sin(tz)), f(std::cos(tz)), 0, 0, 0, 1);
  Mat3 X = Mat3::Rows(1, 0, 0, 0, f(std::cos(tx)), f(-std::sin(tx)), 0, f(std::sin(tx)), f(std::cos(tx)));
  Mat3 Y = Mat3::Rows(f(std::cos(ty)), 0, f(-std::sin(ty)), 0, 1, 0, f(std::sin(ty)), 0, f(std::cos(ty)));
  return Z * X * Y;
}

Skin* UsableSkin(Skin* skin) {
  if (!skin || skin->width < 1 || skin->height < 1 || skin->height > kMaxImageRows) return nullptr;
  std::size_t need = static_cast<std::size_t>(skin->width) * static_cast<std::size_t>(skin->height);
  if (skin->pixels.size() < need) return nullptr;
  return skin;
}

bool UsableMap(const Skin* map, bool lightRows) {
  constexpr std::size_t kCells = 256 * 256;
  if (!map || map->pixels.size() < kCells) return false;
  return !lightRows || map->storedPixels.size() >= kCells;
}

bool CompanionSkinUsable(const Companion& comp) {
  if (comp.skinWidth < 1 || comp.skinHeight < 1) return false;
  std::size_t need = static_cast<std::size_t>(comp.skinWidth) * static_cast<std::size_t>(comp.skinHeight);
  return comp.skinPixels.size() >= need && comp.rowOffset.size() >= static_cast<std::size_t>(comp.skinHeight);
}

// ---------------------------------------------------------------------------

int RenderModeBase::HighlightBase(const Triangle& tri) const {
  if (!mappingMode() || tri.flags == 0) return 0;
  return (tri.flags & TRI_MARKED) ? 128 : 64;
}

Vec3 RenderModeBase::ModelCamera(const Triangle& tri, int k) const {
  return view().cameraVertices[static_cast<std::size_t>(tri.vertexIndex[k])];
}

Vec3 RenderModeBase::CompanionCamera(std::size_t companion, const CompanionTriangle& tri, int k) const {
  return view().companionCameraVertices[companion][static_cast<std::size_t>(tri.vertexIndex[k])];
}

void RenderModeBase::ProjectModelVertices(const ScenePass& pass) const {
  // A second pass over the same scene (a light pass) finds it done.
  if (projected_) return;
  projected_ = true;
  const Viewport& vp = view();
  // The same bound acceptance held the triangles' indices to.
  const int count = std::min(static_cast<int>(vp.cameraVertices.size()), model().VertexCount());
  screen_.resize(static_cast<std::size_t>(count));
  const Projector project = projector_;
  const Vec3* camera = vp.cameraVertices.data();
  ScreenVertex* out = screen_.data();
  for (int i = 0; i < count; ++i) {
    const ScreenPoint s = project(camera[i]);
    out[i] = {s.x, s.y, DepthAttribute(pass, camera[i].z)};
  }
}

void RenderModeBase::Render(int kind, int /*flags*/) {
  if (!context || !context->model || !context->viewport || !context->rasterizer || !context->lighting)
    return;
  Viewport& vp = view();
  if (vp.width < 1 || vp.height < 1) return;
  const std::size_t pixels = static_cast<std::size_t>(vp.width) * static_cast<std::size_t>(vp.height);
  if (vp.frameBuffer.size() < pixels || vp.depthBuffer.size() < pixels || vp.tagBuffer.size() < pixels)
    return;
  projector_ = MakeProjector(vp);
  projected_ = false;

  Model& m = model();
  if (m.CurrentSkin())
    palette = m.CurrentSkin()->palette;
  else
    palette = GreyRampPalette();
  BuildPalette();

  if (kind == REDRAW_BACKGROUND) kind = REDRAW_FULL;
  if (kind == REDRAW_PIXELS) {
    // The tags of a Mapping Mode picture are triangle numbers, not texels:
    // recolouring through them would scatter skin colours, so draw afresh.
    if (!SupportsPixels()) return;
    if (!mappingMode()) {
      // Recoloured through whatever tags the buffer holds: nothing known
      // about the rest of the picture any more.
      if (kept) {
        kept->Forget();
        kept->changedWhole = true;
      }
      RecolourPixels();
      return;
    }
    kind = REDRAW_FULL;
  }
  if (kind != REDRAW_FULL && kind != REDRAW_QUICK) return;

  RenderPriority fallback;
  RenderPriorityScope bracket(context->priority ? *context->priority : fallback);

  target_ = RasterTarget::Bytes(vp.frameBuffer.data(), vp.width, vp.height);
  target_.DepthBuffer = vp.depthBuffer.data();
  target_.PixelTagBuffer = vp.tagBuffer.data();
  // Every band starts its rasterizer's frame before it clears its rows.
  target_.SkipHidden = skipHidden;

  // The scene is worked out once, on this thread; the bands only draw it.
  const std::uint8_t background = Background();
  const bool clearTags = ClearsTags(kind);
  ScenePass& pass = pass_;
  bool draw = m.CurrentFrame() && HasResources();
  const BlendedFaceNormals blended(vp, m);
  if (draw) {
    light_.Fit(m);
    Light();
    draw = TransformVertices(vp, m);
  }
  const ViewArea all{0, 0, vp.width - 1, vp.height - 1};
  ViewArea drawn;
  KeptClear* k = kept && kept->enabled ? kept : nullptr;
  if (draw) {
    AcceptTriangles(vp, m, pass);
    ProjectModelVertices(pass);
    Prepare(kind, pass);
    // Where the model lies matters only to a view that clears just there.
    drawn = k && ClearsPartly() ? DrawnArea(pass, all) : all;
  }
  const int guide = draw && context->cameraToggle ? GuideColour() : -1;
  const bool partial = k && k->valid && ClearsPartly() && k->mode == this && k->frame == vp.frameBuffer.data() &&
                       k->depth == vp.depthBuffer.data() && k->tags == vp.tagBuffer.data() && k->width == vp.width &&
                       k->height == vp.height && k->background == background && k->guide == guide &&
                       (!clearTags || k->tagsClean);
  const ViewArea clear = partial ? Union(k->drawn, drawn) : all;
  InBands([&](const RenderBand& band) {
    band.raster.BeginFrame();
    if (partial)
      ClearArea(vp, background, clearTags, clear, band.top, band.bottom);
    else
      ClearViewportRows(vp, background, clearTags, band.top, band.bottom);
    if (draw) Draw(kind, pass, band);
  });

  if (guide >= 0) DrawTrackballGuide(vp, static_cast<std::uint8_t>(guide));
  if (k) {
    k->valid = ClearsPartly();
    k->mode = this;
    k->frame = vp.frameBuffer.data();
    k->depth = vp.depthBuffer.data();
    k->tags = vp.tagBuffer.data();
    k->width = vp.width;
    k->height = vp.height;
    k->background = background;
    k->guide = guide;
    k->tagsClean = clearTags;
    k->drawn = drawn;
    k->changedWhole = !partial;
    k->changed = clear;
  }
}

ViewArea RenderModeBase::DrawnArea(const ScenePass& pass, const ViewArea& all) const {
  Model& m = model();
  for (const auto& list : pass.companionLists)
    if (!list.empty()) return all;
  const Vec3* camera = view().cameraVertices.data();
  const ScreenVertex* screen = screen_.data();
  std::int32_t x0 = INT32_MAX, y0 = INT32_MAX, x1 = INT32_MIN, y1 = INT32_MIN;
  for (int t : pass.modelList) {
    const Triangle& tri = m.triangles[static_cast<std::size_t>(t)];
    for (int i : tri.vertexIndex) {
      // An edge clipped at the near plane ends where no corner lies.
      if (camera[i].z < CRasterizer::kNearPlane) return all;
      const ScreenVertex& s = screen[i];
      x0 = std::min(x0, s[0]);
      x1 = std::max(x1, s[0]);
      y0 = std::min(y0, s[1]);
      y1 = std::max(y1, s[1]);
    }
  }
  if (x1 < x0) return {};
  // A pixel or two either side: spans and lines round toward their ends.
  constexpr std::int32_t kMargin = 2;
  ViewArea area{std::max(all.left, x0 - kMargin), std::max(all.top, y0 - kMargin), std::min(all.right, x1 + kMargin),
                std::min(all.bottom, y1 + kMargin)};
  return area.empty() ? ViewArea{} : area;
}

void RenderModeBase::ClearArea(Viewport& vp, std::uint8_t background, bool clearTags, const ViewArea& area, int top,
                               int bottom) {
  top = std::max(top, area.top);
  bottom = std::min(bottom, area.bottom);
  if (area.empty() || bottom < top) return;
  const std::size_t width = static_cast<std::size_t>(vp.width);
  const std::size_t count = static_cast<std::size_t>(area.right - area.left + 1);
  for (int y = top; y <= bottom; ++y) {
    const std::size_t at = static_cast<std::size_t>(y) * width + static_cast<std::size_t>(area.left);
    std::fill_n(vp.frameBuffer.data() + at, count, background);
    std::fill_n(vp.depthBuffer.data() + at, count, std::uint16_t{0xFFFF});
    if (clearTags) std::fill_n(vp.tagBuffer.data() + at, count, -1);
  }
}

template <class BandFn>
void RenderModeBase::InBands(BandFn&& fn) {
  const int rows = target_.Rows;
  RenderBands* bands = context->bands;
  const int count = bands ? std::min(bands->Threads(), rows) : 1;
  if (count <= 1) {
    fn(RenderBand{raster(), target_, 0, rows - 1, true});
    return;
  }
  bands->Pool().Run(count, [&](int i) {
    RenderBand band{i == 0 ? raster() : bands->Rasterizer(i), target_, 0, 0, false};
    RenderBands::BandRows(rows, count, i, band.top, band.bottom);
    band.target.BandTop = band.top;
    band.target.BandBottom = band.bottom;
    fn(band);
  });
}
