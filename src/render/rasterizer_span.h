#pragma once
// Shared body of every triangle filler: clip the edges into a polygon, walk
// the polygon into the per-row tables, then fill the rows. Only the
// rasterizer's own files include this.

#include <cassert>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

#include "render/rasterizer.h"
#include "render/rasterizer_direct.h"
#include "render/rasterizer_divide.h"

constexpr std::int32_t kSpanEmptyLeft = 2147483647;
constexpr std::int32_t kSpanEmptyRight = -2147483647 - 1;

// Per-row step of one attribute across a span of n pixels, truncated toward
// zero; the last pixel therefore never quite reaches the right value.
inline std::int32_t SpanStep(std::int32_t left, std::int32_t right, const Divisor& n) {
  return static_cast<std::int32_t>(n.Divide(std::int64_t{right} - left));
}

inline std::int32_t SpanStepRounded(std::int32_t left, std::int32_t right, const Divisor& n) {
  return static_cast<std::int32_t>(n.Divide(std::int64_t{right} - left + 0x8000));
}

// Bresenham walk from a to b; both lie inside the clip rectangle. Attributes
// accumulate in unsigned arithmetic so that a step rounded for a one-pixel
// edge can never overflow.
template <int N>
void CRasterizer::ScanEdgeN(const std::int32_t* a, const std::int32_t* b) {
  const std::int32_t ax = a[0], ay = a[1], bx = b[0], by = b[1];
  assert(ax >= 0 && ax <= clipRight_ && bx >= 0 && bx <= clipRight_);
  assert(ay >= 0 && ay <= clipBottom_ && by >= 0 && by <= clipBottom_);
  const std::int32_t top = ay < by ? ay : by;
  const std::int32_t bottom = ay < by ? by : ay;
  if (top < spanTop_) spanTop_ = top;
  if (bottom > spanBottom_) spanBottom_ = bottom;
  if (top < scanTop_) scanTop_ = top;
  if (bottom > scanBottom_) scanBottom_ = bottom;

  const std::int32_t dx = bx >= ax ? bx - ax : ax - bx;
  const std::int32_t dy = by >= ay ? by - ay : ay - by;
  const std::int32_t sx = bx >= ax ? 1 : -1;
  const std::int32_t sy = by >= ay ? 1 : -1;
  const bool xMajor = dy < dx;
  const std::int32_t major = xMajor ? dx : dy;
  const std::int32_t minor = xMajor ? dy : dx;

  std::uint32_t cur[N > 0 ? N : 1];
  std::uint32_t step[N > 0 ? N : 1];
  // A single point (major 0) never steps, whatever its step says.
  const Divisor perStep(major > 0 ? major : 1);
  for (int k = 0; k < N; ++k) {
    cur[k] = static_cast<std::uint32_t>(a[2 + k]);
    step[k] = static_cast<std::uint32_t>(perStep.Divide(std::int64_t{b[2 + k]} - a[2 + k]));
  }

  const auto offerLeft = [this](std::int32_t x, std::int32_t y, const std::uint32_t* attrs) {
    if (x < spanLeft_[y]) {
      spanLeft_[y] = x;
      for (int k = 0; k < N; ++k) leftAttr_[y][k] = static_cast<std::int32_t>(attrs[k]);
    }
  };
  const auto offerRight = [this](std::int32_t x, std::int32_t y, const std::uint32_t* attrs) {
    if (x > spanRight_[y]) {
      spanRight_[y] = x;
      for (int k = 0; k < N; ++k) rightAttr_[y][k] = static_cast<std::int32_t>(attrs[k]);
    }
  };

  std::int32_t error = 2 * minor - major;
  std::int32_t x = ax, y = ay;
  if (!xMajor) {
    // One point per row. The minor step is taken without a branch: which
    // way it goes is what a branch predictor cannot guess.
    for (std::int32_t i = 0;; ++i) {
      offerLeft(x, y, cur);
      offerRight(x, y, cur);
      if (i == major) break;
      const std::int32_t diagonal = ~(error >> 31);  // all ones when error >= 0
      x += sx & diagonal;
      y += sy;
      error += 2 * minor - ((2 * major) & diagonal);
      for (int k = 0; k < N; ++k) cur[k] += step[k];
    }
    return;
  }
  // A run of points per row. Within one edge every x is met once, so only
  // the two ends of a run can change the row's extremes; offering just them
  // gives the same tables as offering every point.
  //
  // The runs are counted rather than walked point by point. Step j of the
  // walk above stays in its row while the error is negative and moves down
  // a row otherwise; the error grows by 2 minor per step and drops by
  // 2 major on a move. At a move the error lies in [0, 2 minor), so every
  // row after the first starts with an error in [2 minor - 2 major,
  // 4 minor - 2 major), a window 2 minor wide: such a row stays for K - 1 or
  // K steps, K = ceil((major - minor) / minor), the longer when the error is
  // below -2 minor (K - 1). The first row's stay is worked out by itself.
  // Point j lies at ax + j sx with the attributes a + j step.
  std::int32_t runX = x;
  std::uint32_t runAttr[N > 0 ? N : 1];
  for (int k = 0; k < N; ++k) runAttr[k] = cur[k];
  const auto flush = [&]() {
    if (sx > 0) {
      offerLeft(runX, y, runAttr);
      offerRight(x, y, cur);
    } else {
      offerLeft(x, y, cur);
      offerRight(runX, y, runAttr);
    }
  };
  const auto advance = [&](std::int32_t count) {
    x += sx * count;
    for (int k = 0; k < N; ++k) cur[k] += static_cast<std::uint32_t>(count) * step[k];
  };
  if (minor > 0) {
    const Divisor perMinor(minor);
    const std::int32_t longStay = static_cast<std::int32_t>(perMinor.Divide(major - 1));  // K
    const std::int32_t longBelow = -2 * minor * (longStay - 1);
    // First row: the smallest stay that brings the error to 0 or above,
    // ceil(-error / (2 minor)), taken as floor((-error - 1) / 2 / minor) + 1.
    std::int32_t stay =
        error >= 0 ? 0 : static_cast<std::int32_t>(perMinor.Divide((-error - 1) >> 1)) + 1;
    std::int32_t at = 0;  // the step the walk has reached
    while (at + stay < major) {
      at += stay;
      error += 2 * minor * stay;
      advance(stay);
      flush();
      y += sy;
      error += 2 * (minor - major);
      ++at;
      advance(1);
      runX = x;
      for (int k = 0; k < N; ++k) runAttr[k] = cur[k];
      stay = longStay - 1 + (error < longBelow ? 1 : 0);
    }
    advance(major - at);
  } else {
    advance(major);  // one row
  }
  flush();
}

// Whether a triangle (three corners and the copy of the first, `values`
// apart) lies where neither clipper would touch an edge: then its edges are
// corners 1 -> 2, 2 -> 3 and 3 -> 1, as they are.
inline bool CRasterizer::WellInside(const std::int32_t* pts, int values) const {
  const std::int32_t* const p1 = pts + values;
  const std::int32_t* const p2 = pts + 2 * values;
  const std::int32_t* const p3 = pts + 3 * values;
  const auto insideX = [this](const std::int32_t* p) { return (p[0] > 0) & (p[0] < clipRight_); };
  const auto insideY = [this](const std::int32_t* p) { return (p[1] > 0) & (p[1] < clipBottom_); };
  return insideX(pts) & insideX(p1) & insideX(p2) & insideX(p3) & insideY(p1) & insideY(p2) & insideY(p3);
}

// pts: corners + 1 vertices of N + 2 values each, the last a copy of the first.
template <int N>
void CRasterizer::BuildSpans(const std::int32_t* pts, int corners) {
  constexpr int kValues = N + 2;
  if (corners == 3) {
    // Mesh triangles lie well inside the clip rectangle nearly always; then
    // both clippers would pass every edge through untouched and the edge
    // list is corners 1, 2, 3 closed by 1, so those are walked in place,
    // without building the list.
    const std::int32_t* const p1 = pts + kValues;
    const std::int32_t* const p2 = pts + 2 * kValues;
    const std::int32_t* const p3 = pts + 3 * kValues;
    if (WellInside(pts, kValues)) {
      ScanEdgeN<N>(p1, p2);
      ScanEdgeN<N>(p2, p3);
      ScanEdgeN<N>(p3, p1);
      return;
    }
  }
  // Each edge adds at most two vertices, plus the closing copy.
  std::int32_t poly[9][kValues];
  int count = 0;
  for (int e = 0; e < corners; ++e) {
    std::int32_t a[kValues], b[kValues];
    std::memcpy(a, pts + e * kValues, sizeof a);
    std::memcpy(b, pts + (e + 1) * kValues, sizeof b);
    // Most edges lie well inside; the clipper leaves those untouched.
    const bool inside = a[0] > 0 && b[0] > 0 && a[0] < clipRight_ && b[0] < clipRight_;
    if (inside) {
      clipFlag_ = 0;
    } else if (!ClipEdge(a, b, kValues, 0, clipRight_)) {
      continue;
    }
    if (clipFlag_) std::memcpy(poly[count++], a, sizeof a);
    std::memcpy(poly[count++], b, sizeof b);
  }
  if (count == 0) return;
  std::memcpy(poly[count], poly[0], sizeof poly[0]);
  for (int i = 0; i < count; ++i) {
    std::int32_t a[kValues], b[kValues];
    std::memcpy(a, poly[i], sizeof a);
    std::memcpy(b, poly[i + 1], sizeof b);
    const bool inside = a[1] > 0 && b[1] > 0 && a[1] < clipBottom_ && b[1] < clipBottom_;
    if (inside) {
      clipFlag_ = 0;
      ScanEdgeN<N>(a, b);
    } else if (ClipEdge(a, b, kValues, 1, clipBottom_)) {
      ScanEdgeN<N>(a, b);
    }
  }
}

inline void CRasterizer::KeepBandRows(const RasterTarget& target, std::int32_t& top, std::int32_t& bottom) {
  for (std::int32_t y = top; y <= bottom && y < target.BandTop; ++y) {
    spanLeft_[y] = kSpanEmptyLeft;
    spanRight_[y] = kSpanEmptyRight;
  }
  for (std::int32_t y = bottom; y >= top && y > target.BandBottom; --y) {
    spanLeft_[y] = kSpanEmptyLeft;
    spanRight_[y] = kSpanEmptyRight;
  }
  if (top < target.BandTop) top = target.BandTop;
  if (bottom > target.BandBottom) bottom = target.BandBottom;
}

// The rows of the triangle under way as the walk left them in the tables.
// Take reads row y and empties it, so that the next triangle needs no
// clearing; false when the row is empty.
struct CRasterizer::TableRows {
  static constexpr std::ptrdiff_t kStride = 1;  // value k of an end at [k * kStride]
  CRasterizer& r;
  [[gnu::always_inline]] bool Take(std::int32_t y, std::int32_t& xl, std::int32_t& xr, const std::int32_t*& left,
                                   const std::int32_t*& right) const {
    xl = r.spanLeft_[y];
    xr = r.spanRight_[y];
    r.spanLeft_[y] = kSpanEmptyLeft;
    r.spanRight_[y] = kSpanEmptyRight;
    left = r.leftAttr_[y];
    right = r.rightAttr_[y];
    return xl <= xr;
  }
};

constexpr int SourceAttributes(int source) {
  // Flat, Gouraud, Texture, TextureLit, TextureMapLit, Map, MapBase
  constexpr int kCounts[] = {0, 1, 2, 3, 4, 2, 2};
  return kCounts[source];
}

template <CRasterizer::Source S, bool Depth, CRasterizer::TagRule T, bool Rounded>
void CRasterizer::Fill(const RasterTarget& target, const std::int32_t* pts, int corners,
                       std::uint8_t colour, std::int32_t tag) {
  constexpr int kA = SourceAttributes(static_cast<int>(S));  // attributes before depth
  constexpr int N = kA + (Depth ? 1 : 0);
  [[maybe_unused]] constexpr bool kTextured =
      S == Source::Texture || S == Source::TextureLit || S == Source::TextureMapLit;
  if (!PrepareClip(target)) return;
  assert(TargetHonoursPromises(target));
  assert(!Depth || target.DepthBuffer);
  assert(T == TagRule::None || target.PixelTagBuffer);
  assert(!kTextured || (textureBase_ && textureRows_ && !textureRowStarts_.empty()));
  assert(!(S == Source::TextureLit || S == Source::TextureMapLit) || shadeTable_);
  assert(!(S == Source::Map || S == Source::MapBase || S == Source::TextureMapLit) ||
         shadeMap_);
  assert(VerticesHonourPromises<N>(pts, corners, S, Depth, Rounded));

  if constexpr (Depth) {
    if (target.SkipHidden && Hidden(target, pts, corners, N + 2, N + 1)) return;
  }
  // A triangle of kDirectLeastRows to kDirectRows rows is offered to the
  // direct scan first.
  if (corners == 3 && directShort_) {
    const std::int32_t y1 = pts[N + 2 + 1], y2 = pts[2 * (N + 2) + 1], y3 = pts[3 * (N + 2) + 1];
    const std::int32_t low = y1 < y2 ? y1 : y2, high = y1 < y2 ? y2 : y1;
    // Corners may lie anywhere before clipping: the rows between them are
    // counted in unsigned arithmetic, where the true count always fits.
    const std::uint32_t span = static_cast<std::uint32_t>(high > y3 ? high : y3) -
                               static_cast<std::uint32_t>(low < y3 ? low : y3);
    if (span - (kDirectLeastRows - 1) <= static_cast<std::uint32_t>(kDirectRows - kDirectLeastRows) &&
        FillShort<S, Depth, T, Rounded>(target, pts, colour, tag))
      return;
  }
  BuildSpans<N>(pts, corners);
  std::int32_t top = scanTop_, bottom = scanBottom_;
  if (top < target.BandTop || bottom > target.BandBottom) KeepBandRows(target, top, bottom);
  Paint<S, Depth, T, Rounded>(target, top, bottom, colour, tag, TableRows{*this});
  spanTop_ = spanBottom_ + 1;
  scanTop_ = kSpanEmptyLeft;
  scanBottom_ = kSpanEmptyRight;
}

// Scans a triangle straight from its corners when it is short enough, lies
// well inside the clip rectangle and the processor can; false, with nothing
// drawn, otherwise. Kept out of Fill, so that the walk's own path stays as
// it is.
template <CRasterizer::Source S, bool Depth, CRasterizer::TagRule T, bool Rounded>
bool CRasterizer::FillShort(const RasterTarget& target, const std::int32_t* pts, std::uint8_t colour,
                            std::int32_t tag) {
  constexpr int kValues = SourceAttributes(static_cast<int>(S)) + (Depth ? 1 : 0) + 2;
  // Rows a bare ScanEdge left in the tables belong to the walk.
  if (!WellInside(pts, kValues) || scanTop_ != kSpanEmptyLeft) return false;
  DirectTriangle<kValues - 2> direct;
  if (!direct.Setup(pts + kValues, pts + 2 * kValues, pts + 3 * kValues)) return false;
  const std::int32_t top = direct.Top() > target.BandTop ? direct.Top() : target.BandTop;
  const std::int32_t bottom = direct.Bottom() < target.BandBottom ? direct.Bottom() : target.BandBottom;
  Paint<S, Depth, T, Rounded>(target, top, bottom, colour, tag, direct);
  // The row range left behind is the one the walk leaves.
  if (direct.Bottom() > spanBottom_) spanBottom_ = direct.Bottom();
  spanTop_ = spanBottom_ + 1;
  return true;
}

// Draws rows top .. bottom of a triangle whose row ends and their values
// `rows` gives (TableRows, or a DirectTriangle).
template <CRasterizer::Source S, bool Depth, CRasterizer::TagRule T, bool Rounded, class Rows>
[[gnu::always_inline]] inline void CRasterizer::Paint(const RasterTarget& target, std::int32_t top,
                                                      std::int32_t bottom, std::uint8_t colour, std::int32_t tag,
                                                      const Rows& rows) {
  constexpr int kA = SourceAttributes(static_cast<int>(S));  // attributes before depth
  constexpr int N = kA + (Depth ? 1 : 0);
  constexpr bool kTextured =
      S == Source::Texture || S == Source::TextureLit || S == Source::TextureMapLit;
  constexpr std::ptrdiff_t kStride = Rows::kStride;
  // Locals, so that the stores into the target cannot be taken to change them.
  std::uint8_t* const frame = target.FrameBuffer;
  std::uint16_t* const depthBuffer = target.DepthBuffer;
  std::int32_t* const tagBuffer = target.PixelTagBuffer;
  const std::uint8_t* const texture = textureBase_;
  const std::int32_t* const textureRows = textureRows_;
  const std::uint8_t* const* const rowStarts = textureRowStarts_.data();
  const std::uint8_t* const shade = shadeTable_;
  const std::uint8_t* const map = shadeMap_;

  if constexpr (S == Source::Flat && !Depth) {
    for (std::int32_t y = top; y <= bottom; ++y) {
      std::int32_t xl, xr;
      const std::int32_t *left, *right;
      if (!rows.Take(y, xl, xr, left, right)) continue;
      std::uint8_t* const px = frame + static_cast<std::ptrdiff_t>(y) * target.Pitch + xl;
      const std::int32_t n = xr - xl + 1;
      // Mesh spans are short: a call to memset costs more than it saves.
      if (n < 32) {
        for (std::int32_t i = 0; i < n; ++i) px[i] = colour;
      } else {
        std::memset(px, colour, static_cast<std::size_t>(n));
      }
    }
    return;
  }

  // One row's start: where it begins, its length, its values at the first
  // pixel and their steps. Each 16.16 value rides in the upper half of 64
  // bits: it wraps at 32 bits as before, and an arithmetic shift by 48
  // yields its integer part ready as an index, without a sign extension per
  // pixel.
  struct Row {
    std::ptrdiff_t offset = 0;
    std::ptrdiff_t n = 0;  // 0 for an empty row
    std::uint64_t a[kA > 0 ? kA : 1] = {};
    std::uint64_t d[kA > 0 ? kA : 1] = {};
    std::uint16_t z = 0, dz = 0;
  };
  const std::int32_t pitch = target.Pitch;
  const auto start = [&](std::int32_t y, Row& row) __attribute__((always_inline)) {
    std::int32_t xl, xr;
    const std::int32_t *left, *right;
    if (!rows.Take(y, xl, xr, left, right)) {
      row.n = 0;
      return;
    }
    const std::int32_t n = xr - xl + 1;
    row.offset = static_cast<std::ptrdiff_t>(y) * pitch + xl;
    row.n = n;
    // Steps only matter from the second pixel on; a one-pixel span keeps
    // its left values.
    const Divisor perPixel(n);
    for (int k = 0; k < kA; ++k) {
      const std::int32_t l = left[k * kStride], r = right[k * kStride];
      row.a[k] = std::uint64_t{static_cast<std::uint32_t>(l)} << 32;
      const bool rounded = Rounded && k < 2;
      row.d[k] = std::uint64_t{static_cast<std::uint32_t>(rounded ? SpanStepRounded(l, r, perPixel)
                                                                  : SpanStep(l, r, perPixel))}
                 << 32;
    }
    if constexpr (Depth) {
      const std::int32_t zl = left[(N - 1) * kStride] >> 16;
      const std::int32_t zr = right[(N - 1) * kStride] >> 16;
      row.z = static_cast<std::uint16_t>(zl);
      row.dz = static_cast<std::uint16_t>(perPixel.Divide(zr - zl));
    }
  };
  const auto whole = [](std::uint64_t value) __attribute__((always_inline)) {
    return static_cast<std::ptrdiff_t>(static_cast<std::int64_t>(value) >> 48);
  };
  const auto draw = [&](const Row& row) __attribute__((always_inline)) {
    std::uint64_t a[kA > 0 ? kA : 1];
    for (int k = 0; k < kA; ++k) a[k] = row.a[k];
    std::uint16_t z = row.z;
    // Pointers to the ends of the span and an index running from -n up to
    // 0: one counter serves every buffer and ends the loop by itself.
    std::uint8_t* const px = frame + row.offset + row.n;
    std::uint16_t* const zp = Depth ? depthBuffer + row.offset + row.n : nullptr;
    std::int32_t* const tp = T != TagRule::None ? tagBuffer + row.offset + row.n : nullptr;
    for (std::ptrdiff_t i = -row.n; i != 0; ++i) {
      bool write = true;
      if constexpr (Depth) write = z < zp[i];
      if (write) {
        std::uint8_t c = colour;
        std::ptrdiff_t texelOffset = 0;
        if constexpr (kTextured) {
          if constexpr (T == TagRule::TexelOffset) {
            texelOffset = textureRows[whole(a[1])] + whole(a[0]);
            c = texture[texelOffset];
          } else {
            // A row start saves adding the texture's base per pixel.
            c = rowStarts[whole(a[1])][whole(a[0])];
          }
        }
        if constexpr (S == Source::Gouraud) {
          c = static_cast<std::uint8_t>(whole(a[0]));
        } else if constexpr (S == Source::TextureLit) {
          c = shade[whole(a[2]) * 256 + c];
        } else if constexpr (S == Source::TextureMapLit) {
          const std::uint8_t level = map[whole(a[3]) * 256 + whole(a[2])];
          assert(shadeTableRows_ <= 0 || level < shadeTableRows_);
          c = shade[level * 256 + c];
        } else if constexpr (S == Source::Map || S == Source::MapBase) {
          c = map[whole(a[1]) * 256 + whole(a[0])];
          if constexpr (S == Source::MapBase) c = static_cast<std::uint8_t>(c + colour);
        }
        px[i] = c;
        if constexpr (Depth) zp[i] = z;
        if constexpr (T == TagRule::Fixed) tp[i] = tag;
        if constexpr (T == TagRule::TexelOffset) tp[i] = static_cast<std::int32_t>(texelOffset);
      }
      for (int k = 0; k < kA; ++k) a[k] += row.d[k];
      if constexpr (Depth) z = static_cast<std::uint16_t>(z + row.dz);
    }
  };

  // The next row's start is worked out before this row's pixels: its
  // divisions then overlap the pixel loop instead of waiting for its end.
  // The two rows take turns, so that neither is copied.
  if (top <= bottom) {
    Row rows[2];
    start(top, rows[0]);
    std::int32_t y = top;
    for (; y + 1 < bottom; y += 2) {
      start(y + 1, rows[1]);
      draw(rows[0]);
      start(y + 2, rows[0]);
      draw(rows[1]);
    }
    if (y < bottom) {
      start(y + 1, rows[1]);
      draw(rows[0]);
      draw(rows[1]);
    } else {
      draw(rows[0]);
    }
  }
}

template <int N>
bool CRasterizer::VerticesHonourPromises(const std::int32_t* pts, int corners,
                                         Source source, bool depth, bool rounded) const {
  (void)depth;
  const auto within = [](std::int32_t value, int cells, bool roundedSteps) {
    if (cells <= 0) return true;  // size not given: nothing to check against
    const std::int64_t top = roundedSteps ? (std::int64_t{cells - 1} << 16) + 0x7FFF
                                          : (std::int64_t{cells} << 16) - 1;
    return value >= 0 && value <= top;
  };
  for (int i = 0; i <= corners; ++i) {
    const std::int32_t* v = pts + i * (N + 2) + 2;
    switch (source) {
      case Source::Texture:
      case Source::TextureLit:
      case Source::TextureMapLit:
        if (!within(v[0], textureWidth_, rounded) || !within(v[1], textureHeight_, rounded))
          return false;
        if (source == Source::TextureLit && !within(v[2], shadeTableRows_ ? shadeTableRows_ : 256, false))
          return false;
        if (source == Source::TextureMapLit && (!within(v[2], 256, false) || !within(v[3], 256, false)))
          return false;
        break;
      case Source::Map:
      case Source::MapBase:
        if (!within(v[0], 256, false) || !within(v[1], 256, false)) return false;
        break;
      default:
        break;
    }
  }
  return true;
}
