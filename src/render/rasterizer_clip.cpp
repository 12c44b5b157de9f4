// Clipping: triangle edges by repeated halving, lines in 16.16 parametric
// form, view-space segments against the near plane; and the point-in-polygon
// test the editors pick with.

#include <cstring>

#include "render/rasterizer_span.h"

namespace {

// Halves [low, high] until a midpoint lands exactly on `bound` along `axis`,
// keeping each midpoint with the end across the bound from it. Midpoints stay
// between the ends, so 64-bit sums shifted back always fit 32 bits.
void Bisect(std::int32_t* low, std::int32_t* high, int values, int axis, std::int32_t bound,
            std::int32_t* result) {
  std::int32_t lo[kRasterMaxAttributes + 2], hi[kRasterMaxAttributes + 2];
  std::memcpy(lo, low, sizeof(std::int32_t) * values);
  std::memcpy(hi, high, sizeof(std::int32_t) * values);
  for (;;) {
    std::int32_t mid[kRasterMaxAttributes + 2];
    for (int k = 0; k < values; ++k)
      mid[k] = static_cast<std::int32_t>((std::int64_t{lo[k]} + hi[k]) >> 1);
    if (mid[axis] == bound) {
      std::memcpy(result, mid, sizeof(std::int32_t) * values);
      return;
    }
    if (mid[axis] < bound) {
      std::memcpy(lo, mid, sizeof(std::int32_t) * values);
    } else {
      std::memcpy(hi, mid, sizeof(std::int32_t) * values);
    }
  }
}

}  // namespace

bool CRasterizer::ClipEdge(std::int32_t* a, std::int32_t* b, int values, int axis,
                           std::int32_t bound) {
  clipFlag_ = 0;
  // On equal coordinates a counts as the high end.
  std::int32_t* low = b[axis] < a[axis] ? b : a;
  std::int32_t* high = low == a ? b : a;
  if (a[axis] == b[axis]) {
    low = b;
    high = a;
  }
  if (low[axis] > bound || high[axis] < 0) return false;
  if (low[axis] <= 0) {
    if (high[axis] == 0) {
      std::memcpy(low, high, sizeof(std::int32_t) * values);
    } else {
      Bisect(low, high, values, axis, 0, low);
    }
    if (low == a) clipFlag_ = 1;
  }
  if (high[axis] < bound) return true;
  if (high[axis] != bound) {
    Bisect(low, high, values, axis, bound, high);
    if (high == a) clipFlag_ = 1;
  }
  return true;
}

bool CRasterizer::ClipEdgeX(const RasterTarget& target, std::int32_t* a, std::int32_t* b, int values) {
  if (values < 2 || values > kRasterMaxAttributes + 2) return false;
  if (!PrepareClip(target)) return false;
  return ClipEdge(a, b, values, 0, clipRight_);
}

bool CRasterizer::ClipEdgeY(const RasterTarget& target, std::int32_t* a, std::int32_t* b, int values) {
  if (values < 2 || values > kRasterMaxAttributes + 2) return false;
  if (!PrepareClip(target)) return false;
  return ClipEdge(a, b, values, 1, clipBottom_);
}

bool CRasterizer::ClipLine(const RasterTarget& target, std::int32_t& x0, std::int32_t& y0,
                           std::int32_t& x1, std::int32_t& y1) {
  // 64-bit throughout: a far-off end point must not overflow the products.
  std::int64_t ax = x0, ay = y0, bx = x1, by = y1;
  const std::int64_t right = std::int64_t{target.Pitch} - 1;
  const std::int64_t bottom = std::int64_t{target.Rows} - 1;
  if (ax > bx) {
    std::swap(ax, bx);
    std::swap(ay, by);
  }
  if (bx < 0 || ax > right) return false;
  if (ax < 0) {
    const std::int64_t g = (-ax * 65536) / (bx - ax);
    ay += (g * (by - ay)) >> 16;
    ax = 0;
  }
  if (bx > right) {
    const std::int64_t g = ((bx - right) * 65536) / (bx - ax);
    by -= (g * (by - ay)) >> 16;
    bx = right;
  }
  if (ay > by) {
    std::swap(ax, bx);
    std::swap(ay, by);
  }
  if (by < 0 || ay > bottom) return false;
  if (ay < 0) {
    const std::int64_t g = (-ay * 65536) / (by - ay);
    ax += (g * (bx - ax)) >> 16;
    ay = 0;
  }
  if (by > bottom) {
    const std::int64_t g = ((by - bottom) * 65536) / (by - ay);
    bx -= (g * (bx - ax)) >> 16;
    by = bottom;
  }
  x0 = static_cast<std::int32_t>(ax);
  y0 = static_cast<std::int32_t>(ay);
  x1 = static_cast<std::int32_t>(bx);
  y1 = static_cast<std::int32_t>(by);
  return true;
}

bool CRasterizer::ClipSegmentNear(float* p0, float* p1) {
  constexpr float kNear = kNearPlane;
  float* nearPoint = p0[2] <= p1[2] ? p0 : p1;
  float* farPoint = nearPoint == p0 ? p1 : p0;
  if (farPoint[2] < kNear) return false;
  if (nearPoint[2] >= kNear) return true;
  const float d = farPoint[2] - kNear;
  const float depth = farPoint[2] - nearPoint[2];
  nearPoint[1] = farPoint[1] - d * (farPoint[1] - nearPoint[1]) / depth;
  nearPoint[0] = farPoint[0] - d * (farPoint[0] - nearPoint[0]) / depth;
  nearPoint[2] = kNear;
  return true;
}

bool CRasterizer::PointInPolygon(float s, float t, const float* points, int count) {
  if (count < 3 || points == nullptr) return false;
  bool inside = false;
  const float* p = points + 2 * (count - 1);
  for (int i = 0; i < count; ++i) {
    const float* q = points + 2 * i;
    if ((p[0] < s && s <= q[0]) || (q[0] < s && s <= p[0])) {
      const float* a = p[0] < q[0] ? p : q;
      const float* b = a == p ? q : p;
      if ((b[1] - a[1]) * (s - a[0]) > (b[0] - a[0]) * (t - a[1])) inside = !inside;
    }
    p = q;
  }
  return inside;
}
