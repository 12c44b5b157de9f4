// Mapping edits in the skin view: dragging one mapping vertex, moving,
// scaling and rotating the selection's mapping (with the skin's pixels in
// tow when asked), and placing the mapping frame.

#include <algorithm>
#include <cmath>

#include "editor/skin_view.h"
#include "editor/workspace.h"
#include "platform/refresh.h"
#include "render/render_context.h"
#include "render/texcoord_clamp.h"

namespace {

using namespace refresh;
constexpr int kBothViewsDragging = kSkinView | kModelView | kDragging;  // 0x13
constexpr int kBothViewsShow = kSkinView | kModelView | kShowNow;       // 0x23

constexpr int kGrabReachSquared = 36;  // 6 pixels
constexpr float kFrameTolerance = 2;
constexpr double kRotatePerPixel = 0.005;
constexpr double kScalePerPixel = 0.004;

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

bool UsesVertex(const Triangle& tri, int v) {
  return tri.mapIndex[0] == v || tri.mapIndex[1] == v || tri.mapIndex[2] == v;
}

// Points the first corner using `from` at `to`.
void Repoint(Triangle& tri, int from, int to) {
  for (auto& index : tri.mapIndex)
    if (index == from) {
      index = static_cast<std::int16_t>(to);
      return;
    }
}

}  // namespace

int SkinView::OverlayVertexLimit() const {
  // A vertex drag's marked corners use the slot just past the last vertex.
  const int extra = dragState_ == DragState::VertexDrag && grabSlot_ >= 0 ? 1 : 0;
  return std::min(MapVertexCount() + extra, static_cast<int>(app_.model.mapVertices.size()));
}

bool SkinView::GrabVertex(int x, int y) {
  Model& m = app_.model;
  float s = 0, t = 0;
  ClientToSkin(x, y, s, t);
  const int count = MapVertexCount();
  if (!(s >= 0 && s < m.skinWidth && t >= 0 && t < m.skinHeight) || count <= 0) return false;
  // Every slot in use: there is nowhere to split the vertex off to.
  if (count >= static_cast<int>(m.mapVertices.size())) return false;
  int best = -1;
  std::int64_t bestDistance = kGrabReachSquared;
  for (int i = 0; i < count; ++i) {
    double cx = 0, cy = 0;
    if (!VertexToClient(m.mapVertices[static_cast<std::size_t>(i)], cx, cy)) continue;
    const auto dx = static_cast<std::int64_t>(cx - x);
    const auto dy = static_cast<std::int64_t>(cy - y);
    const std::int64_t d = dx * dx + dy * dy;
    if (d < bestDistance) {
      bestDistance = d;
      best = i;
    }
  }
  if (best < 0) return false;

  const bool pixels = app_.editor.dragPixelsWithMapping && m.currentSkin;
  step_.Begin("Move Mapping Vertex", STEP_MESH | (pixels ? STEP_CURRENT_SKIN : 0u));
  grabSlot_ = count;
  grabSlotBefore_ = m.mapVertices[static_cast<std::size_t>(count)];
  m.mapVertices[static_cast<std::size_t>(count)] = m.mapVertices[static_cast<std::size_t>(best)];
  const int triangles = TriangleCount();
  bool selectedUse = false;
  for (int i = 0; i < triangles; ++i) {
    Triangle& tri = m.triangles[static_cast<std::size_t>(i)];
    if (!(tri.flags & TRI_SELECTED)) continue;
    if (UsesVertex(tri, best)) {
      selectedUse = true;
      tri.flags |= TRI_MARKED;
      Repoint(tri, best, count);
    } else {
      tri.flags &= ~TRI_MARKED;
    }
  }
  if (!selectedUse) {
    for (int i = 0; i < triangles; ++i) {
      Triangle& tri = m.triangles[static_cast<std::size_t>(i)];
      if (UsesVertex(tri, best)) {
        tri.flags |= TRI_MARKED;
        Repoint(tri, best, count);
      } else {
        tri.flags &= ~TRI_MARKED;
      }
    }
  }
  dragState_ = DragState::VertexDrag;
  Send(REDRAW_QUICK, kBothViewsShow);
  if (pixels) {
    savedSkin_ = m.currentSkin->pixels;
    savedMapping_ = m.mapVertices;
  }
  return true;
}

void SkinView::VertexMove(int x, int y) {
  Model& m = app_.model;
  if (grabSlot_ < 0 || m.skinWidth <= 0 || m.skinHeight <= 0) return;
  float s = 0, t = 0;
  ClientToSkin(x, y, s, t);
  s = std::clamp(s, 0.0f, static_cast<float>(m.skinWidth - 1));
  t = std::clamp(t, 0.0f, static_cast<float>(m.skinHeight - 1));
  MapVertex& v = m.mapVertices[static_cast<std::size_t>(grabSlot_)];
  if (s != v.s || t != v.t) {
    if (!app_.editor.lockX) v.s = s;
    if (!app_.editor.lockY) v.t = t;
    if (app_.editor.snapToGrid) {
      v.s = std::trunc(v.s);
      v.t = std::trunc(v.t);
    }
  }
  Resample();
  Send(REDRAW_QUICK, kBothViewsDragging);
}

void SkinView::BeginTransform(int x, int y) {
  Model& m = app_.model;
  transformKind_ = shiftFlag_ ? TransformKind::Rotate : ctrlFlag_ ? TransformKind::Scale : TransformKind::Move;
  static const char* const kNames[] = {"Move Selection", "Scale Selection", "Rotate Selection"};
  const bool pixels = app_.editor.dragPixelsWithMapping && m.currentSkin;
  step_.Begin(kNames[static_cast<int>(transformKind_)], STEP_MESH | (pixels ? STEP_CURRENT_SKIN : 0u));
  dragState_ = DragState::SelectionTransform;
  angle_ = 0;
  scaleS_ = scaleT_ = 1;
  HideCursor();
  ClientToSkin(x, y, pivotS_, pivotT_);
  savedMapping_ = m.mapVertices;

  const int count = MapVertexCount();
  std::fill(m.mapVertexSelected.begin(), m.mapVertexSelected.end(), std::uint8_t{0});
  const int triangles = TriangleCount();
  const auto marked = [&](int index) {
    return index >= 0 && index < count && static_cast<std::size_t>(index) < m.mapVertexSelected.size() &&
           m.mapVertexSelected[static_cast<std::size_t>(index)] != 0;
  };
  for (int i = 0; i < triangles; ++i) {
    const Triangle& tri = m.triangles[static_cast<std::size_t>(i)];
    if (!(tri.flags & TRI_SELECTED)) continue;
    for (int index : tri.mapIndex)
      if (index >= 0 && index < count && static_cast<std::size_t>(index) < m.mapVertexSelected.size())
        m.mapVertexSelected[static_cast<std::size_t>(index)] = 1;
  }
  for (int i = 0; i < triangles; ++i) {
    Triangle& tri = m.triangles[static_cast<std::size_t>(i)];
    const bool uses = marked(tri.mapIndex[0]) || marked(tri.mapIndex[1]) || marked(tri.mapIndex[2]);
    tri.flags = uses ? (tri.flags | TRI_MARKED) : (tri.flags & ~TRI_MARKED);
  }
  boxMinS_ = m.skinWidth + 5.0f;
  boxMaxS_ = -5;
  boxMinT_ = m.skinHeight + 5.0f;
  boxMaxT_ = -5;
  for (int i = 0; i < count; ++i) {
    if (!marked(i)) continue;
    const MapVertex& v = m.mapVertices[static_cast<std::size_t>(i)];
    if (!std::isfinite(v.s) || !std::isfinite(v.t)) continue;
    boxMinS_ = std::min(boxMinS_, v.s);
    boxMaxS_ = std::max(boxMaxS_, v.s);
    boxMinT_ = std::min(boxMinT_, v.t);
    boxMaxT_ = std::max(boxMaxT_, v.t);
  }
  if (pixels) savedSkin_ = m.currentSkin->pixels;
  Send(REDRAW_QUICK, kBothViewsDragging);
}

void SkinView::TransformMove(int x, int y) {
  int dx = x - pressX_, dy = y - pressY_;
  if (dx == 0 && dy == 0) return;
  if (host()) host()->SetCursorPos(pressX_, pressY_);
  if (app_.editor.lockX) dx = 0;
  if (app_.editor.lockY) dy = 0;
  switch (transformKind_) {
    case TransformKind::Rotate:
      angle_ += dy * kRotatePerPixel;
      RotateOrScale(angle_, 1, 1);
      break;
    case TransformKind::Scale: {
      double s = dx * kScalePerPixel + scaleS_;
      const double t = dy * kScalePerPixel + scaleT_;
      if (app_.editor.uniformScales) s = t;
      if (RotateOrScale(0, s, t)) {
        scaleS_ = s;
        scaleT_ = t;
      }
      break;
    }
    case TransformKind::Move:
      MoveSelection(dx / viewZoom_, dy / viewZoom_);
      break;
  }
  Resample();
  Send(REDRAW_QUICK, kBothViewsDragging);
}

// Each marked vertex from where it was at the press, about the pivot. A
// step that would put any of them off the skin is taken back whole.
bool SkinView::RotateOrScale(double angle, double scaleS, double scaleT) {
  Model& m = app_.model;
  const int count = std::min(MapVertexCount(), static_cast<int>(savedMapping_.size()));
  const double c = std::cos(angle), sn = std::sin(angle);
  const double right = m.skinWidth - 1, bottom = m.skinHeight - 1;
  stepMapping_.clear();
  for (int i = 0; i < count; ++i) {
    const auto at = static_cast<std::size_t>(i);
    if (at >= m.mapVertexSelected.size() || !m.mapVertexSelected[at]) continue;
    stepMapping_.push_back(m.mapVertices[at]);
    const double ds = static_cast<double>(savedMapping_[at].s) - pivotS_;
    const double dt = static_cast<double>(savedMapping_[at].t) - pivotT_;
    double s = pivotS_ + (ds * c + dt * sn) * scaleS;
    double t = pivotT_ + (dt * c - ds * sn) * scaleT;
    auto ns = static_cast<float>(s);
    auto nt = static_cast<float>(t);
    if (app_.editor.snapToGrid) {
      ns = std::trunc(ns);
      nt = std::trunc(nt);
    }
    if (!(ns >= 0 && ns <= right && nt >= 0 && nt <= bottom)) {
      std::size_t k = 0;
      for (int j = 0; j < i; ++j)
        if (static_cast<std::size_t>(j) < m.mapVertexSelected.size() && m.mapVertexSelected[static_cast<std::size_t>(j)])
          m.mapVertices[static_cast<std::size_t>(j)] = stepMapping_[k++];
      return false;
    }
    m.mapVertices[at] = MapVertex{ns, nt};
  }
  return true;
}

void SkinView::MoveSelection(double ds, double dt) {
  Model& m = app_.model;
  if (app_.editor.snapToGrid) {
    const auto snap = [](double& d) {
      if (d > -0.5 && d < 0) d = 0;
      if (d > 0 && d < 0.5) d = 0.5;
    };
    snap(ds);
    snap(dt);
  }
  const float oldS = boxMinS_, oldT = boxMinT_;
  boxMinS_ += static_cast<float>(ds);
  boxMaxS_ += static_cast<float>(ds);
  boxMinT_ += static_cast<float>(dt);
  boxMaxT_ += static_cast<float>(dt);
  if (app_.editor.snapToGrid) {
    for (float* v : {&boxMinS_, &boxMaxS_, &boxMinT_, &boxMaxT_}) *v = std::trunc(*v);
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
  pushInside(boxMinS_, boxMaxS_, static_cast<float>(m.skinWidth - 1));
  pushInside(boxMinT_, boxMaxT_, static_cast<float>(m.skinHeight - 1));
  const float moveS = boxMinS_ - oldS, moveT = boxMinT_ - oldT;
  for (int i = 0, count = MapVertexCount(); i < count; ++i) {
    const auto at = static_cast<std::size_t>(i);
    if (at >= m.mapVertexSelected.size() || !m.mapVertexSelected[at]) continue;
    MapVertex& v = m.mapVertices[at];
    v.s += moveS;
    v.t += moveT;
    if (app_.editor.snapToGrid) {
      v.s = std::trunc(v.s);
      v.t = std::trunc(v.t);
    }
  }
}

void SkinView::EndMappingDrag() {
  Model& m = app_.model;
  savedSkin_ = {};
  savedMapping_ = {};
  stepMapping_ = {};
  m.WeldMapVertices(1);
  // The weld drops the temporary slot; what it held before goes back, so a
  // click that moved nothing leaves the model exactly as it was.
  if (grabSlot_ >= m.numMapVertices && static_cast<std::size_t>(grabSlot_) < m.mapVertices.size())
    m.mapVertices[static_cast<std::size_t>(grabSlot_)] = grabSlotBefore_;
  grabSlot_ = -1;
  for (int i = 0, n = TriangleCount(); i < n; ++i) m.triangles[static_cast<std::size_t>(i)].flags &= ~TRI_MARKED;
  Send(REDRAW_FULL, kBothViewsShow);
}

// The skin as saved at the press, with every marked triangle's pixels
// carried to where its mapping now lies.
void SkinView::Resample() {
  Model& m = app_.model;
  Skin* skin = m.currentSkin;
  if (!app_.editor.dragPixelsWithMapping || !skin || savedSkin_.size() != skin->pixels.size() ||
      !SkinDrawable(skin))
    return;
  skin->pixels = savedSkin_;
  ComputeRowOffsets(skin);
  CRasterizer& r = app_.rasterizer;
  const RasterTarget target = RasterTarget::Bytes(skin->pixels.data(), skin->width, skin->height);
  r.BindTexture(savedSkin_.data(), skin->rowOffset.data(), skin->width, skin->height);
  r.BeginFrame();
  const int limit = std::min(OverlayVertexLimit(), static_cast<int>(savedMapping_.size()));
  for (int i = 0, n = TriangleCount(); i < n; ++i) {
    const Triangle& tri = m.triangles[static_cast<std::size_t>(i)];
    if (!(tri.flags & TRI_MARKED)) continue;
    V4 pts[4];
    bool ok = true;
    for (int k = 0; k < 3 && ok; ++k) {
      const int index = tri.mapIndex[k];
      ok = index >= 0 && index < limit;
      if (!ok) break;
      const MapVertex& now = m.mapVertices[static_cast<std::size_t>(index)];
      const MapVertex& was = savedMapping_[static_cast<std::size_t>(index)];
      ok = std::isfinite(now.s) && std::isfinite(now.t);
      pts[k][0] = ResampleCorner(now.s);
      pts[k][1] = ResampleCorner(now.t);
      pts[k][2] = ResampleTexCoord(was.s, skin->width);
      pts[k][3] = ResampleTexCoord(was.t, skin->height);
    }
    if (!ok) continue;
    std::copy(std::begin(pts[0]), std::end(pts[0]), std::begin(pts[3]));
    r.FillTriTexRounded(target, pts);
  }
  // The skin may be closed before the next picture binds another texture.
  r.UnbindTexture();
}

void SkinView::BeginFrameEdit(int x, int y) {
  MappingFrame& f = app_.editor.mappingFrame;
  float s = 0, t = 0;
  ClientToSkin(x, y, s, t);
  const float d = kFrameTolerance;
  if (s < f.left - d || s > f.right + d || t < f.top - d || t > f.bottom + d) {
    dragState_ = DragState::FrameNew;
    f.left = f.right = s;
    f.top = f.bottom = t;
    Redraw(REDRAW_FULL, kShowNow);
    ShowNow();
  } else if (s > f.left + d && s < f.right - d && t > f.top + d && t < f.bottom - d) {
    dragState_ = DragState::FrameMove;
  } else if (std::fabs(std::trunc(s - f.left)) <= d) {
    dragState_ = DragState::FrameLeft;
  } else if (std::fabs(std::trunc(s - f.right)) <= d) {
    dragState_ = DragState::FrameRight;
  } else if (std::fabs(std::trunc(t - f.top)) <= d) {
    dragState_ = DragState::FrameTop;
  } else {
    dragState_ = DragState::FrameBottom;
  }
}

void SkinView::FrameEditMove(int x, int y) {
  MappingFrame& f = app_.editor.mappingFrame;
  const bool lockX = app_.editor.lockX, lockY = app_.editor.lockY;
  float s = 0, t = 0;
  ClientToSkin(x, y, s, t);
  switch (dragState_) {
    case DragState::FrameNew: {
      float ps = 0, pt = 0;
      ClientToSkin(pressX_, pressY_, ps, pt);
      f.left = s;
      f.top = t;
      f.right = ps;
      f.bottom = pt;
      break;
    }
    case DragState::FrameMove: {
      const auto ds = static_cast<float>((x - lastX_) / viewZoom_);
      const auto dt = static_cast<float>((y - lastY_) / viewZoom_);
      if (!lockX) {
        f.left += ds;
        f.right += ds;
      }
      if (!lockY) {
        f.top += dt;
        f.bottom += dt;
      }
      break;
    }
    case DragState::FrameLeft:
      if (!lockX) f.left = s;
      break;
    case DragState::FrameRight:
      if (!lockX) f.right = s;
      break;
    case DragState::FrameTop:
      if (!lockY) f.top = t;
      break;
    case DragState::FrameBottom:
      if (!lockY) f.bottom = t;
      break;
    default:
      return;
  }
  Redraw(REDRAW_FULL, kShowNow);
  ShowNow();
}
