#include "editor/model_mirror.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

Vec3 Sub(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
float Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// The point of triangle abc nearest p, as barycentric weights (Ericson,
// Real-Time Collision Detection, 5.1.5).
void NearestOnTriangle(const Vec3& p, const Vec3& a, const Vec3& b, const Vec3& c, float w[3]) {
  const Vec3 ab = Sub(b, a), ac = Sub(c, a), ap = Sub(p, a);
  const float d1 = Dot(ab, ap), d2 = Dot(ac, ap);
  if (d1 <= 0 && d2 <= 0) return void((w[0] = 1, w[1] = 0, w[2] = 0));
  const Vec3 bp = Sub(p, b);
  const float d3 = Dot(ab, bp), d4 = Dot(ac, bp);
  if (d3 >= 0 && d4 <= d3) return void((w[0] = 0, w[1] = 1, w[2] = 0));
  const float vc = d1 * d4 - d3 * d2;
  if (vc <= 0 && d1 >= 0 && d3 <= 0) {
    const float v = d1 / (d1 - d3);
    return void((w[0] = 1 - v, w[1] = v, w[2] = 0));
  }
  const Vec3 cp = Sub(p, c);
  const float d5 = Dot(ab, cp), d6 = Dot(ac, cp);
  if (d6 >= 0 && d5 <= d6) return void((w[0] = 0, w[1] = 0, w[2] = 1));
  const float vb = d5 * d2 - d1 * d6;
  if (vb <= 0 && d2 >= 0 && d6 <= 0) {
    const float u = d2 / (d2 - d6);
    return void((w[0] = 1 - u, w[1] = 0, w[2] = u));
  }
  const float va = d3 * d6 - d5 * d4;
  if (va <= 0 && (d4 - d3) >= 0 && (d5 - d6) >= 0) {
    const float u = (d4 - d3) / ((d4 - d3) + (d5 - d6));
    return void((w[0] = 0, w[1] = 1 - u, w[2] = u));
  }
  const float denom = 1.0f / (va + vb + vc);
  const float v = vb * denom, u = vc * denom;
  w[0] = 1 - v - u;
  w[1] = v;
  w[2] = u;
}

Vec3 Blend(const Vec3 p[3], const float w[3]) {
  return {w[0] * p[0].x + w[1] * p[1].x + w[2] * p[2].x, w[0] * p[0].y + w[1] * p[1].y + w[2] * p[2].y,
          w[0] * p[0].z + w[1] * p[1].z + w[2] * p[2].z};
}

}  // namespace

ModelMirror::ModelMirror(const Model& model, int skinWidth, int skinHeight, int axis)
    : width_(skinWidth), height_(skinHeight), axis_(axis) {
  const std::size_t area = static_cast<std::size_t>(std::max(skinWidth, 0)) * static_cast<std::size_t>(std::max(skinHeight, 0));
  known_.assign(area, -2);
  if (!model.CurrentFrame()) return;
  for (int i = 0; i < model.TriangleCount(); ++i) {
    const Triangle& tri = model.triangles[static_cast<std::size_t>(i)];
    if (tri.flags & TRI_HIDDEN) continue;
    Face f{};
    bool ok = true;
    for (int k = 0; k < 3; ++k) {
      const int v = tri.vertexIndex[k], m = tri.mapIndex[k];
      if (v < 0 || v >= model.VertexCount() || m < 0 || static_cast<std::size_t>(m) >= model.mapVertices.size()) {
        ok = false;
        break;
      }
      f.p[k] = model.CurrentFrame()[v];
      f.s[k] = model.mapVertices[static_cast<std::size_t>(m)].s;
      f.t[k] = model.mapVertices[static_cast<std::size_t>(m)].t;
      // A damaged model's far-off or missing numbers take no part.
      for (float x : {f.p[k].x, f.p[k].y, f.p[k].z, f.s[k], f.t[k]}) ok = ok && std::fabs(x) < 1e7f;
    }
    if (!ok) continue;
    f.low = {std::min({f.p[0].x, f.p[1].x, f.p[2].x}), std::min({f.p[0].y, f.p[1].y, f.p[2].y}),
             std::min({f.p[0].z, f.p[1].z, f.p[2].z})};
    f.high = {std::max({f.p[0].x, f.p[1].x, f.p[2].x}), std::max({f.p[0].y, f.p[1].y, f.p[2].y}),
              std::max({f.p[0].z, f.p[1].z, f.p[2].z})};
    faces_.push_back(f);
  }
  BuildSkinCells();
  BuildSpaceCells();
}

int ModelMirror::operator()(int offset) {
  if (offset < 0 || static_cast<std::size_t>(offset) >= known_.size()) return -1;
  std::int32_t& k = known_[static_cast<std::size_t>(offset)];
  if (k == -2) k = Find(offset);
  return k;
}

template <class Cells>
void ModelMirror::CellLists::Build(std::size_t cellCount, std::size_t faceCount, Cells&& cells) {
  start.assign(cellCount + 1, 0);
  for (std::size_t i = 0; i < faceCount; ++i) cells(i, [&](std::size_t c) { ++start[c + 1]; });
  for (std::size_t c = 0; c < cellCount; ++c) start[c + 1] += start[c];
  faces.resize(static_cast<std::size_t>(start[cellCount]));
  std::vector<std::int32_t> next(start.begin(), start.end() - 1);
  for (std::size_t i = 0; i < faceCount; ++i)
    cells(i, [&](std::size_t c) { faces[static_cast<std::size_t>(next[c]++)] = static_cast<std::int32_t>(i); });
}

void ModelMirror::BuildSkinCells() {
  skinColumns_ = std::max(1, (width_ + kSkinCell - 1) / kSkinCell);
  skinRows_ = std::max(1, (height_ + kSkinCell - 1) / kSkinCell);
  const auto cells = [&](std::size_t i, auto&& emit) {
    const Face& f = faces_[i];
    const float s0 = std::min({f.s[0], f.s[1], f.s[2]}), s1 = std::max({f.s[0], f.s[1], f.s[2]});
    const float t0 = std::min({f.t[0], f.t[1], f.t[2]}), t1 = std::max({f.t[0], f.t[1], f.t[2]});
    if (!(s1 >= 0 && t1 >= 0 && s0 < width_ && t0 < height_)) return;  // off the skin
    const auto cell = [](float v, int count) { return std::clamp(static_cast<int>(std::max(v, 0.0f)) / kSkinCell, 0, count - 1); };
    const int c0 = cell(s0, skinColumns_), c1 = cell(s1, skinColumns_);
    const int r0 = cell(t0, skinRows_), r1 = cell(t1, skinRows_);
    for (int r = r0; r <= r1; ++r)
      for (int c = c0; c <= c1; ++c)
        emit(static_cast<std::size_t>(r) * static_cast<std::size_t>(skinColumns_) + static_cast<std::size_t>(c));
  };
  skinCells_.Build(static_cast<std::size_t>(skinColumns_) * static_cast<std::size_t>(skinRows_), faces_.size(), cells);
}

void ModelMirror::BuildSpaceCells() {
  if (faces_.empty()) return;
  low_ = high_ = faces_[0].p[0];
  for (const Face& f : faces_)
    for (const Vec3& v : f.p) {
      low_ = {std::min(low_.x, v.x), std::min(low_.y, v.y), std::min(low_.z, v.z)};
      high_ = {std::max(high_.x, v.x), std::max(high_.y, v.y), std::max(high_.z, v.z)};
    }
  // Cells the size of a typical face hold a few faces each, on a flat mesh
  // as on a round one; at most 64 cells a side.
  const float extent = std::max({high_.x - low_.x, high_.y - low_.y, high_.z - low_.z, 1e-3f});
  double sum = 0;
  for (const Face& f : faces_) sum += std::max({f.high.x - f.low.x, f.high.y - f.low.y, f.high.z - f.low.z});
  const float typical = static_cast<float>(sum / static_cast<double>(faces_.size()));
  cell_ = std::max({typical, extent / 64.0f, 1e-3f});
  const float size[3] = {high_.x - low_.x, high_.y - low_.y, high_.z - low_.z};
  const auto cellOf = [&](float v, float base, int axis) {
    return static_cast<int>(std::clamp((v - base) / cell_, 0.0f, static_cast<float>(dims_[axis] - 1)));
  };
  // A few faces far larger than the rest would each fill many cells: the
  // cells grow until the lists stay a few entries a face.
  for (;;) {
    for (int a = 0; a < 3; ++a) dims_[a] = static_cast<int>(std::clamp(size[a] / cell_ + 1, 1.0f, 64.0f));
    double entries = 0;
    for (const Face& f : faces_)
      entries += double(cellOf(f.high.x, low_.x, 0) - cellOf(f.low.x, low_.x, 0) + 1) *
                 (cellOf(f.high.y, low_.y, 1) - cellOf(f.low.y, low_.y, 1) + 1) *
                 (cellOf(f.high.z, low_.z, 2) - cellOf(f.low.z, low_.z, 2) + 1);
    if (entries <= 16.0 * static_cast<double>(faces_.size()) + 65536.0 || cell_ >= extent) break;
    cell_ *= 2;
  }
  const auto cells = [&](std::size_t i, auto&& emit) {
    const Face& f = faces_[i];
    const float mins[3] = {f.low.x, f.low.y, f.low.z}, maxs[3] = {f.high.x, f.high.y, f.high.z};
    const float base[3] = {low_.x, low_.y, low_.z};
    int lo[3], hi[3];
    for (int a = 0; a < 3; ++a) lo[a] = cellOf(mins[a], base[a], a), hi[a] = cellOf(maxs[a], base[a], a);
    for (int z = lo[2]; z <= hi[2]; ++z)
      for (int y = lo[1]; y <= hi[1]; ++y)
        for (int x = lo[0]; x <= hi[0]; ++x)
          emit((static_cast<std::size_t>(z) * static_cast<std::size_t>(dims_[1]) + static_cast<std::size_t>(y)) *
                   static_cast<std::size_t>(dims_[0]) +
               static_cast<std::size_t>(x));
  };
  spaceCells_.Build(static_cast<std::size_t>(dims_[0]) * static_cast<std::size_t>(dims_[1]) * static_cast<std::size_t>(dims_[2]),
                    faces_.size(), cells);
  seen_.assign(faces_.size(), 0);
}

// The face whose mapping holds skin point (s, t).
namespace {

bool Holds(const float fs[3], const float ft[3], float s, float t) {
  const float d = (fs[1] - fs[0]) * (ft[2] - ft[0]) - (fs[2] - fs[0]) * (ft[1] - ft[0]);
  if (std::fabs(d) < 1e-12f) return false;
  const float a = ((fs[1] - s) * (ft[2] - t) - (fs[2] - s) * (ft[1] - t)) / d;
  const float b = ((fs[2] - s) * (ft[0] - t) - (fs[0] - s) * (ft[2] - t)) / d;
  return a >= 0 && b >= 0 && 1 - a - b >= 0;
}

}  // namespace

const ModelMirror::Face* ModelMirror::FaceAtTexel(float s, float t) const {
  if (skinCells_.empty()) return nullptr;
  const int c = std::clamp(static_cast<int>(s) / kSkinCell, 0, skinColumns_ - 1);
  const int r = std::clamp(static_cast<int>(t) / kSkinCell, 0, skinRows_ - 1);
  for (std::int32_t i : skinCells_[static_cast<std::size_t>(r) * static_cast<std::size_t>(skinColumns_) + static_cast<std::size_t>(c)]) {
    const Face& f = faces_[static_cast<std::size_t>(i)];
    if (Holds(f.s, f.t, s, t)) return &f;
  }
  return nullptr;
}

// The face nearest p, searched in shells of cells around p's cell until no
// face outside the shells searched can be nearer.
const ModelMirror::Face* ModelMirror::NearestFace(const Vec3& p, float w[3]) {
  if (spaceCells_.empty()) return nullptr;
  if (++lookup_ == 0) std::fill(seen_.begin(), seen_.end(), 0u), lookup_ = 1;
  const float base[3] = {low_.x, low_.y, low_.z};
  const float at[3] = {p.x, p.y, p.z};
  int home[3];
  for (int a = 0; a < 3; ++a)
    home[a] = static_cast<int>(std::clamp(std::floor((at[a] - base[a]) / cell_), 0.0f, static_cast<float>(dims_[a] - 1)));
  // A point outside the grid: the distance to the grid is a head start no
  // shell can beat.
  float outside2 = 0;
  for (int a = 0; a < 3; ++a) {
    const float lo = base[a], hi = base[a] + dims_[a] * cell_;
    const float d = at[a] < lo ? lo - at[a] : at[a] > hi ? at[a] - hi : 0;
    outside2 += d * d;
  }
  const Face* best = nullptr;
  float best2 = std::numeric_limits<float>::max();
  // A point on the surface (as the mirror image of a symmetric model's is)
  // has found its face.
  const float onSurface2 = (1e-3f * cell_) * (1e-3f * cell_);
  if (lastTo_) {
    float n[3];
    NearestOnTriangle(p, lastTo_->p[0], lastTo_->p[1], lastTo_->p[2], n);
    const Vec3 d = Sub(Blend(lastTo_->p, n), p);
    if (Dot(d, d) <= onSurface2) {
      w[0] = n[0], w[1] = n[1], w[2] = n[2];
      return lastTo_;
    }
  }
  const int reach = std::max({dims_[0], dims_[1], dims_[2]});
  for (int r = 0; r <= reach; ++r) {
    for (int z = home[2] - r; z <= home[2] + r; ++z)
      for (int y = home[1] - r; y <= home[1] + r; ++y)
        for (int x = home[0] - r; x <= home[0] + r; ++x) {
          if (std::max({std::abs(x - home[0]), std::abs(y - home[1]), std::abs(z - home[2])}) != r) continue;
          if (x < 0 || y < 0 || z < 0 || x >= dims_[0] || y >= dims_[1] || z >= dims_[2]) continue;
          for (std::int32_t i : spaceCells_[(static_cast<std::size_t>(z) * static_cast<std::size_t>(dims_[1]) +
                                             static_cast<std::size_t>(y)) *
                                                static_cast<std::size_t>(dims_[0]) +
                                            static_cast<std::size_t>(x)]) {
            if (seen_[static_cast<std::size_t>(i)] == lookup_) continue;
            seen_[static_cast<std::size_t>(i)] = lookup_;
            const Face& f = faces_[static_cast<std::size_t>(i)];
            // A face whose box is no nearer than the best needs no closer look.
            const float bx = std::max({f.low.x - p.x, 0.0f, p.x - f.high.x});
            const float by = std::max({f.low.y - p.y, 0.0f, p.y - f.high.y});
            const float bz = std::max({f.low.z - p.z, 0.0f, p.z - f.high.z});
            if (bx * bx + by * by + bz * bz >= best2) continue;
            float n[3];
            NearestOnTriangle(p, f.p[0], f.p[1], f.p[2], n);
            const Vec3 d = Sub(Blend(f.p, n), p);
            const float d2 = Dot(d, d);
            if (d2 < best2) best2 = d2, best = &f, w[0] = n[0], w[1] = n[1], w[2] = n[2];
            if (best2 <= onSurface2) return best;
          }
        }
    // Every face not tried lies wholly in cells at least r + 1 away.
    const float clear = r * cell_;
    if (best && best2 <= clear * clear + outside2) break;
  }
  return best;
}

int ModelMirror::Find(int offset) {
  const float s = static_cast<float>(offset % width_) + 0.5f, t = static_cast<float>(offset / width_) + 0.5f;
  const Face* from = lastFrom_ && Holds(lastFrom_->s, lastFrom_->t, s, t) ? lastFrom_ : FaceAtTexel(s, t);
  if (!from) return -1;
  lastFrom_ = from;
  float w[3] = {};
  {
    const Face& f = *from;
    const float d = (f.s[1] - f.s[0]) * (f.t[2] - f.t[0]) - (f.s[2] - f.s[0]) * (f.t[1] - f.t[0]);
    w[0] = ((f.s[1] - s) * (f.t[2] - t) - (f.s[2] - s) * (f.t[1] - t)) / d;
    w[1] = ((f.s[2] - s) * (f.t[0] - t) - (f.s[0] - s) * (f.t[2] - t)) / d;
    w[2] = 1 - w[0] - w[1];
  }
  Vec3 p = Blend(from->p, w);
  (axis_ == 0 ? p.x : axis_ == 1 ? p.y : p.z) *= -1;
  // The surface point nearest the mirror image.
  float n[3] = {};
  const Face* to = NearestFace(p, n);
  if (!to) return -1;
  lastTo_ = to;
  const float bs = n[0] * to->s[0] + n[1] * to->s[1] + n[2] * to->s[2];
  const float bt = n[0] * to->t[0] + n[1] * to->t[1] + n[2] * to->t[2];
  const int x = static_cast<int>(std::floor(bs)), y = static_cast<int>(std::floor(bt));
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return -1;
  return y * width_ + x;
}
