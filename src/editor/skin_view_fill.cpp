#include "editor/skin_view_fill.h"

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

// The integer part of a 16.16 value kept in 32 bits, as the fillers index with it.
inline std::int32_t Whole(std::uint32_t value) { return static_cast<std::int32_t>(value) >> 16; }

// a + k * step in the 32 bits the fillers accumulate in.
inline std::uint32_t Stepped(std::int32_t a, std::int64_t k, std::int64_t step) {
  return static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(k) * static_cast<std::uint32_t>(step);
}

}  // namespace

PixelBox Intersect(const PixelBox& a, const PixelBox& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

void FillSkinQuad(const SkinQuad& q, const PixelBox& box, std::uint8_t* frame, std::int32_t* tags, int pitch,
                  const std::uint8_t* texels, const std::int32_t* rowOffset) {
  if (q.xr <= q.xl || q.ya <= q.yb) return;
  const PixelBox area = Intersect(box, {q.xl, q.yb, q.xr, q.ya});
  if (area.empty()) return;
  // The filler walks the right edge down from (xr, ya) and the left edge up
  // from (xl, yb), a truncated step per row each, then every row from its
  // left end with a truncated step per pixel over n = width + 1 pixels. The
  // bottom row's left end comes from the bottom edge, walked from xr.
  const std::int64_t n = std::int64_t{q.xr} - q.xl + 1;
  const std::int64_t w = std::int64_t{q.xr} - q.xl;
  const std::int64_t h = std::int64_t{q.ya} - q.yb;
  const std::int64_t leftStep = (std::int64_t{q.v0} - q.v1) / h;
  const std::int64_t rightStep = (std::int64_t{q.v1} - q.v0) / h;
  const std::int32_t bottomLeftU = static_cast<std::int32_t>(Stepped(q.u1, w, (std::int64_t{q.u0} - q.u1) / w));
  const std::int64_t du = (std::int64_t{q.u1} - q.u0) / n;
  // Every row but the bottom one starts from u0 with the same step: one
  // texel column per pixel column serves them all.
  std::vector<std::int32_t> column(static_cast<std::size_t>(area.right - area.left + 1));
  for (int x = area.left; x <= area.right; ++x)
    column[static_cast<std::size_t>(x - area.left)] = Whole(Stepped(q.u0, std::int64_t{x} - q.xl, du));
  for (int y = area.top; y <= area.bottom; ++y) {
    const std::int32_t vl = static_cast<std::int32_t>(Stepped(q.v1, std::int64_t{y} - q.yb, leftStep));
    const std::int32_t vr = static_cast<std::int32_t>(Stepped(q.v0, std::int64_t{q.ya} - y, rightStep));
    const std::int64_t dv = (std::int64_t{vr} - vl) / n;
    std::uint8_t* const out = frame + static_cast<std::ptrdiff_t>(y) * pitch;
    std::int32_t* const tagOut = tags ? tags + static_cast<std::ptrdiff_t>(y) * pitch : nullptr;
    if (y != q.yb && dv == 0) {
      const std::int32_t start = rowOffset[Whole(static_cast<std::uint32_t>(vl))];
      const std::uint8_t* const row = texels + start;
      const std::int32_t* const col = column.data() - area.left;
      for (int x = area.left; x <= area.right; ++x) out[x] = row[col[x]];
      if (tagOut)
        for (int x = area.left; x <= area.right; ++x) tagOut[x] = start + col[x];
      continue;
    }
    const std::int32_t ul = y == q.yb ? bottomLeftU : q.u0;
    const std::int64_t rowDu = (std::int64_t{q.u1} - ul) / n;
    for (int x = area.left; x <= area.right; ++x) {
      const std::int64_t k = std::int64_t{x} - q.xl;
      const std::int32_t at = rowOffset[Whole(Stepped(vl, k, dv))] + Whole(Stepped(ul, k, rowDu));
      out[x] = texels[at];
      if (tagOut) tagOut[x] = at;
    }
  }
}

void DrawSkinLine(const SkinLine& line, const PixelBox& box, std::uint8_t* frame, int pitch) {
  std::int64_t x0 = line.x0, y0 = line.y0, x1 = line.x1, y1 = line.y1;
  // The walk goes from the upper end down, as the line drawer's does.
  if (y0 > y1) {
    std::swap(x0, x1);
    std::swap(y0, y1);
  }
  if (std::max(x0, x1) < box.left || std::min(x0, x1) > box.right || y1 < box.top || y0 > box.bottom) return;
  const std::uint8_t colour = line.colour;
  const auto plot = [&](std::int64_t x, std::int64_t y) {
    if (x >= box.left && x <= box.right && y >= box.top && y <= box.bottom)
      frame[static_cast<std::ptrdiff_t>(y) * pitch + static_cast<std::ptrdiff_t>(x)] = colour;
  };
  plot(x0, y0);
  plot(x1, y1);
  const std::int64_t dy = y1 - y0, dx = x1 - x0;
  const std::int64_t sx = dx < 0 ? -1 : 1;
  const std::int64_t c = std::abs(dx);
  // Steps i = first..last of the walk that can land inside the box, given
  // that step i's coordinate along `axis` is start + sign * i.
  const auto steps = [](std::int64_t start, std::int64_t sign, std::int64_t low, std::int64_t high, std::int64_t& first,
                        std::int64_t& last) {
    const std::int64_t a = sign > 0 ? low - start : start - high;
    const std::int64_t b = sign > 0 ? high - start : start - low;
    first = std::max(first, a);
    last = std::min(last, b);
  };
  // The minor coordinate advances when a 16-bit fraction wraps; a line
  // longer than that fraction can count (which the line drawer, given only
  // points inside a picture, never meets) advances exactly instead.
  const std::int64_t major = std::max(c, dy), minor = std::min(c, dy);
  const bool exact = major > 0xFFFF;
  const std::int64_t step = major > 0 ? (minor << 16) / major : 0;
  const auto minorAt = [&](std::int64_t i) { return exact ? i * minor / major : (i * step) >> 16; };
  std::int64_t first = 1, last = major - 1;
  if (dy == 0 || dx == 0 || c == dy) last = major;  // the walk plots its last step itself
  if (c >= dy) {
    steps(x0, sx, box.left, box.right, first, last);
    if (dy == 0) {
      for (std::int64_t i = first; i <= last; ++i) plot(x0 + sx * i, y0);
    } else {
      for (std::int64_t i = first; i <= last; ++i) plot(x0 + sx * i, c == dy ? y0 + i : y0 + minorAt(i));
    }
  } else {
    steps(y0, 1, box.top, box.bottom, first, last);
    for (std::int64_t i = first; i <= last; ++i) plot(dx == 0 ? x0 : x0 + sx * minorAt(i), y0 + i);
  }
}

bool InsidePicture(const SkinQuad& q, int width, int height) {
  return q.xl >= 0 && q.xr < width && q.yb >= 0 && q.ya < height;
}

bool InsidePicture(const SkinLine& l, int width, int height) {
  const auto in = [&](std::int32_t x, std::int32_t y) { return x >= 0 && x < width && y >= 0 && y < height; };
  return in(l.x0, l.y0) && in(l.x1, l.y1);
}
