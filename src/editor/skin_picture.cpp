// The skin view's picture: the skin as one textured polygon, the background
// around it, and the mapping overlay and frame drawn over both.

#include <algorithm>
#include <cmath>
#include <cstring>

#include "editor/mapping_stretch.h"
#include "editor/mapping_transform.h"
#include "editor/skin_picture.h"
#include "editor/workspace.h"
#include "render/render_bands.h"
#include "render/render_context.h"
#include "render/render_mode.h"

namespace {

// Screen positions come from floats that a long pan or a broken mapping can
// push anywhere; the rasterizer's clippers take any 32-bit value, so keep
// well inside that.
constexpr double kScreenLimit = 1 << 29;

std::int32_t ToScreen(double v) {
  return static_cast<std::int32_t>(std::clamp(v, -kScreenLimit, kScreenLimit));
}

}  // namespace

SkinPicture::SkinPicture(Workspace& workspace, const SkinViewTransform& view)
    : app_(workspace), view_(view), frame_(1024), tags_(1024), palette_(GreyRampPalette()) {}

void SkinPicture::Allocate(std::size_t pixels) {
  frame_.assign(pixels, 0);
  tags_.assign(pixels, -1);
}

void SkinPicture::NormaliseMappingFrame() {
  app_.editor.mappingFrame = NormalisedFrame(app_.editor.mappingFrame, app_.model.skinWidth, app_.model.skinHeight);
}

int SkinPicture::OverlayVertexLimit() const {
  return app_.model.MapVertexCount();
}

void SkinPicture::Draw(int kind) {
  NormaliseMappingFrame();
  if (view_.width <= 0 || view_.height <= 0) return;
  Skin* skin = app_.model.CurrentSkin();
  palette_ = skin ? skin->palette : GreyRampPalette();
  if (kind != REDRAW_FULL && kind != REDRAW_QUICK && kind != REDRAW_BACKGROUND && kind != REDRAW_PIXELS) return;
  const bool whole = kind == REDRAW_FULL || kind == REDRAW_QUICK;
  const bool tags = kind == REDRAW_FULL;
  Scene& scene = scene_;
  MakeScene(scene);
  if (whole && ScrollTo(scene, tags)) {
    std::swap(drawn_, scene_);
    if (!tags) drawnTags_ = false;
    return;
  }
  switch (kind) {
    case REDRAW_FULL:
    case REDRAW_QUICK:
      // Zoomed in, the skin covers every pixel and tags each one itself.
      InBands([&](CRasterizer& r, int top, int bottom) {
        DrawArea(scene, {0, top, view_.width - 1, bottom}, tags, false, &r);
      });
      if (skin) shown_ = skin->pixels;
      break;
    case REDRAW_BACKGROUND: {
      const std::uint8_t background = app_.editor.colourSlots[7];
      for (std::size_t i = 0; i < frame_.size(); ++i)
        if (tags_[i] == -1) frame_[i] = background;
      break;
    }
    default:
      RecolourSkinPixels();
      break;
  }
  if (app_.editor.showStretch)
    DrawStretchOverlay(app_.model, palette_, frame_.data(), view_.width, view_.height,
                       StretchView{view_.centreS, view_.centreT, view_.zoom}, &app_.stretchCache);
  const PixelBox all{0, 0, view_.width - 1, view_.height - 1};
  DrawPixelTools(all);
  if (scene.overlay) DrawOverlayLines(scene);
  // Only a plain picture of the scene can be moved and patched later.
  drawnValid_ = whole && !app_.editor.showStretch;
  drawnTags_ = tags;
  std::swap(drawn_, scene_);
}

void SkinPicture::MakeScene(Scene& scene) const {
  scene.quads.clear();
  scene.lines.clear();
  scene.covered = SkinCoversBuffer();
  scene.background = app_.editor.colourSlots[7];
  scene.palette = palette_;
  scene.width = view_.width;
  scene.height = view_.height;
  scene.tools = PixelToolsBox();
  scene.overlay = app_.editor.editMode == EditMode::Mapping || app_.editor.showMappingInPaint;
  scene.linesKept = scene.movable = false;
  const Skin* skin = app_.model.CurrentSkin();
  if (!SkinDrawable(skin)) return;
  // The polygon covers the mapping's skin rectangle; the texture runs over
  // the skin's own pixels, so a skin of another size is stretched onto the
  // mapping instead of being read past its end.
  const double w = app_.model.skinWidth > 0 ? app_.model.skinWidth : skin->width;
  const double h = app_.model.skinHeight > 0 ? app_.model.skinHeight : skin->height;
  const double z = view_.zoom;
  // Tiled, the skin is drawn again on every side of itself, so a tiling
  // skin's seams show; the copies tag their pixels with the same texels.
  const int reach = app_.editor.tiledSkin ? 1 : 0;
  for (int j = -reach; j <= reach; ++j)
    for (int i = -reach; i <= reach; ++i) {
      const double s0 = i * w, t0 = j * h;
      const auto column = [&](double s) { return ToScreen(view_.width / 2 + (s0 + s - view_.centreS) * z); };
      const auto row = [&](double t) { return ToScreen(view_.height / 2 - (t0 + t - view_.centreT) * z); };
      SkinQuad q;
      q.xl = column(0);
      q.xr = column(w);
      q.ya = row(0);
      q.yb = row(h);
      q.u0 = 0x4000;
      q.v0 = 0x4000;
      q.u1 = skin->width * 65536 - 2;
      q.v1 = skin->height * 65536 - 2;
      scene.quads.push_back(q);
    }
  // Only a picture of the skin wholly on it can be moved later; only then
  // are the lines worth keeping, to compare with the next scene's. The rest
  // of the time they are drawn as they are found, and the list does not
  // push the skin out of the cache.
  bool inside = true;
  for (const SkinQuad& q : scene.quads) inside = inside && InsidePicture(q, view_.width, view_.height);
  scene.linesKept = scene.overlay && inside;
  if (scene.linesKept) OverlayLines([&](const SkinLine& line) { scene.lines.push_back(line); });
  for (const SkinLine& l : scene.lines) inside = inside && InsidePicture(l, view_.width, view_.height);
  scene.movable = inside;
}

void SkinPicture::DrawArea(const Scene& scene, const PixelBox& box, bool writeTags, bool all, CRasterizer* r) {
  if (box.empty()) return;
  const int pitch = view_.width;
  if (!scene.covered)
    for (int y = box.top; y <= box.bottom; ++y) {
      const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(pitch) + static_cast<std::size_t>(box.left);
      const std::size_t n = static_cast<std::size_t>(box.right - box.left + 1);
      std::fill_n(frame_.begin() + static_cast<std::ptrdiff_t>(at), n, scene.background);
      if (writeTags) std::fill_n(tags_.begin() + static_cast<std::ptrdiff_t>(at), n, -1);
    }
  if (const Skin* skin = app_.model.CurrentSkin(); SkinDrawable(skin)) {
    RasterTarget target = RasterTarget::Bytes(frame_.data(), view_.width, view_.height);
    target.PixelTagBuffer = tags_.data();
    target.BandTop = box.top;
    target.BandBottom = box.bottom;
    bool bound = false;
    for (const SkinQuad& q : scene.quads) {
      if (InsidePicture(q, view_.width, view_.height)) {
        FillSkinQuad(q, box, frame_.data(), writeTags ? tags_.data() : nullptr, pitch, skin->pixels.data(),
                     skin->rowOffset.data());
        continue;
      }
      if (!r) continue;
      // The general filler starts its edges again where the picture's edge
      // cuts them, and that is the picture the view has always shown.
      if (!bound) {
        r->BeginFrame();
        r->BindTexture(skin->pixels.data(), skin->rowOffset.data(), skin->width, skin->height);
      }
      bound = true;
      V4 pts[5] = {{q.xl, q.ya, q.u0, q.v0},
                   {q.xr, q.ya, q.u1, q.v0},
                   {q.xr, q.yb, q.u1, q.v1},
                   {q.xl, q.yb, q.u0, q.v1},
                   {q.xl, q.ya, q.u0, q.v0}};
      if (writeTags)
        r->FillTriTexOfsTag(target, pts);
      else
        r->FillTriTex(target, pts);
    }
    // The skin may be closed before the next picture binds another texture.
    if (bound) r->UnbindTexture();
  }
  if (!all) return;
  DrawPixelTools(box);
  for (const SkinLine& line : scene.lines) DrawSkinLine(line, box, frame_.data(), pitch);
}

void SkinPicture::DrawOverlayLines(const Scene& scene) {
  // Lines may reach every row of the buffer, even those the fillers cannot.
  RasterTarget target = RasterTarget::Bytes(frame_.data(), view_.width, view_.height);
  target.Rows = view_.height;
  const auto draw = [&](const SkinLine& line) {
    std::int32_t x0 = line.x0, y0 = line.y0, x1 = line.x1, y1 = line.y1;
    if (CRasterizer::ClipLine(target, x0, y0, x1, y1)) CRasterizer::DrawLine(target, x0, y0, x1, y1, line.colour);
  };
  if (scene.linesKept) {
    for (const SkinLine& line : scene.lines) draw(line);
  } else {
    OverlayLines(draw);
  }
}

bool SkinPicture::SkinCoversBuffer() const {
  const Skin* skin = app_.model.CurrentSkin();
  if (!SkinDrawable(skin) || view_.height > kRasterMaxRows || app_.editor.tiledSkin) return false;
  const double w = app_.model.skinWidth > 0 ? app_.model.skinWidth : skin->width;
  const double h = app_.model.skinHeight > 0 ? app_.model.skinHeight : skin->height;
  // A pixel's margin either way keeps the filler's edge rule out of it.
  return view_.width / 2 + (0 - view_.centreS) * static_cast<double>(view_.zoom) < -1 &&
         view_.width / 2 + (w - view_.centreS) * static_cast<double>(view_.zoom) > view_.width + 1 &&
         view_.height / 2 - (h - view_.centreT) * static_cast<double>(view_.zoom) < -1 &&
         view_.height / 2 - (0 - view_.centreT) * static_cast<double>(view_.zoom) > view_.height + 1;
}

void SkinPicture::ForRowBands(int first, int last, const std::function<void(int, int, int)>& fn) {
  // Below this many pixels the threads would wake for less than they cost.
  constexpr std::size_t kBandedPixels = 256 * 1024;
  RenderBands* bands = frame_.size() >= kBandedPixels ? app_.renderModes.Bands() : nullptr;
  const int count = bands ? std::min(bands->Threads(), last - first + 1) : 1;
  if (count <= 1) {
    fn(0, first, last);
    return;
  }
  bands->Pool().Run(count, [&](int i) {
    int top = 0, bottom = -1;
    RenderBands::BandRows(last - first + 1, count, i, top, bottom);
    fn(i, first + top, first + bottom);
  });
}

template <class BandFn>
void SkinPicture::InBands(BandFn&& fn) {
  // The skin is read by every band; its row table is made once, here.
  if (Skin* skin = app_.model.CurrentSkin(); SkinDrawable(skin)) ComputeRowOffsets(skin);
  ForRowBands(0, view_.height - 1, [&](int band, int top, int bottom) {
    fn(band == 0 ? app_.rasterizer : app_.renderModes.Bands()->Rasterizer(band), top, bottom);
  });
}

void SkinPicture::RecolourSkinPixels() {
  const Skin* skin = app_.model.CurrentSkin();
  if (!skin) return;
  const std::size_t texels = skin->pixels.size();
  const int w = view_.width, h = view_.height;
  // Rows first..last of the picture, client columns left..right: the part
  // over the texels that differ from those shown, or all of it.
  int first = 0, last = h - 1, left = 0, right = w - 1;
  const int sw = skin->width, sh = skin->height;
  if (shown_.size() == texels && sw > 0 && static_cast<std::size_t>(sw) * static_cast<std::size_t>(sh) == texels &&
      !app_.editor.tiledSkin) {
    int y0 = sh, y1 = -1, x0 = sw, x1 = -1;
    for (int y = 0; y < sh; ++y) {
      const std::uint8_t* now = skin->pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(sw);
      const std::uint8_t* was = shown_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(sw);
      if (std::memcmp(now, was, static_cast<std::size_t>(sw)) == 0) continue;
      y0 = std::min(y0, y), y1 = y;
      int a = 0, b = sw - 1;
      while (now[a] == was[a]) ++a;
      while (now[b] == was[b]) --b;
      x0 = std::min(x0, a), x1 = std::max(x1, b);
    }
    if (y1 < 0) return;
    // The mapping may stretch the skin's texels over the picture (a skin of
    // another size than the mapping's); a pixel's margin covers rounding.
    const double z = view_.zoom;
    const double sx = app_.model.skinWidth > 0 ? static_cast<double>(app_.model.skinWidth) / sw : 1.0;
    const double sy = app_.model.skinHeight > 0 ? static_cast<double>(app_.model.skinHeight) / sh : 1.0;
    const auto clientX = [&](double s) { return w / 2 + (s * sx - view_.centreS) * z; };
    const auto clientY = [&](double t) { return h / 2 + (t * sy - view_.centreT) * z; };
    left = std::max(0, static_cast<int>(std::floor(clientX(x0))) - 2);
    right = std::min(w - 1, static_cast<int>(std::ceil(clientX(x1 + 1))) + 2);
    const int top = std::max(0, static_cast<int>(std::floor(clientY(y0))) - 2);
    const int bottom = std::min(h - 1, static_cast<int>(std::ceil(clientY(y1 + 1))) + 2);
    // The buffer runs bottom-up.
    first = h - 1 - bottom;
    last = h - 1 - top;
  }
  shown_ = skin->pixels;
  for (int row = first; row <= last; ++row)
    for (int x = left; x <= right; ++x) {
      const std::size_t i = static_cast<std::size_t>(row) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x);
      const std::int32_t tag = tags_[i];
      // Tags left by another skin may name texels this one does not have.
      if (tag >= 0 && static_cast<std::size_t>(tag) < texels) frame_[i] = skin->pixels[static_cast<std::size_t>(tag)];
    }
}

bool SkinPicture::EdgeEnd(const MapVertex& v, std::int32_t& x, std::int32_t& y) const {
  const double s = v.s, t = v.t;
  if (!std::isfinite(s) || !std::isfinite(t)) return false;
  x = ToScreen(view_.width / 2 + (s - view_.centreS + 0.5) * view_.zoom);
  y = ToScreen(view_.height / 2 - (t - view_.centreT + 0.5) * view_.zoom);
  return true;
}

template <class LineFn>
void SkinPicture::OverlayLines(LineFn&& line) const {
  const Model& m = app_.model;
  const int count = m.TriangleCount();
  const int vertices = OverlayVertexLimit();
  const auto pass = [&](auto wanted, std::uint8_t colour) {
    for (int i = 0; i < count; ++i) {
      const Triangle& tri = m.triangles[static_cast<std::size_t>(i)];
      if (!wanted(tri.flags) || (tri.flags & TRI_HIDDEN)) continue;
      std::int32_t x[3], y[3];
      bool ok[3];
      for (int k = 0; k < 3; ++k) {
        const int index = tri.mapIndex[k];
        ok[k] = index >= 0 && index < vertices && EdgeEnd(m.mapVertices[static_cast<std::size_t>(index)], x[k], y[k]);
      }
      for (int k = 0; k < 3; ++k) {
        const int n = (k + 1) % 3;
        if (ok[k] && ok[n]) line(SkinLine{x[k], y[k], x[n], y[n], colour});
      }
    }
  };
  const auto& slots = app_.editor.colourSlots;
  pass([](std::uint32_t f) { return f == 0; }, slots[1]);
  pass([](std::uint32_t f) { return f == TRI_SELECTED; }, slots[2]);
  pass([](std::uint32_t f) { return (f & TRI_MARKED) != 0; }, slots[3]);

  if (app_.editor.showMappingFrame && app_.editor.editMode == EditMode::Mapping) {
    const MappingFrame& f = app_.editor.mappingFrame;
    const auto x = [&](double s) { return ToScreen(view_.width / 2 + (s - view_.centreS) * view_.zoom); };
    const auto y = [&](double t) { return ToScreen(view_.height / 2 - (t - view_.centreT) * view_.zoom); };
    const std::int32_t x0 = x(f.left), x1 = x(f.right), y0 = y(f.top), y1 = y(f.bottom);
    line(SkinLine{x0, y0, x1, y0, slots[1]});
    line(SkinLine{x1, y0, x1, y1, slots[1]});
    line(SkinLine{x1, y1, x0, y1, slots[1]});
    line(SkinLine{x0, y1, x0, y0, slots[1]});
  }
}
