// Line drawers. One walk serves them all: from the upper end down, the
// minor coordinate advancing when a 16-bit fraction accumulator wraps, so the
// end point is always exact. The drawers differ only in how they plot.

#include "render/rasterizer_span.h"

namespace {

// solid(x, y) plots the end points and the pure horizontal, vertical and
// diagonal cases; blend(x, y, acc, nx, ny) plots a step of a steep or shallow
// line, (nx, ny) being its neighbour on the minor side.
template <class Solid, class Blend>
void WalkLine(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
              Solid&& solid, Blend&& blend) {
  if (y0 > y1) {
    std::swap(x0, x1);
    std::swap(y0, y1);
  }
  solid(x0, y0);
  const std::int32_t dy = y1 - y0;
  const std::int32_t dx = x1 - x0;
  const std::int32_t sx = dx < 0 ? -1 : 1;
  const std::int32_t c = dx < 0 ? -dx : dx;
  std::int32_t x = x0, y = y0;
  if (dy == 0) {
    for (std::int32_t i = 0; i < c; ++i) solid(x += sx, y);
    return;
  }
  if (dx == 0) {
    for (std::int32_t i = 0; i < dy; ++i) solid(x, ++y);
    return;
  }
  if (c == dy) {
    for (std::int32_t i = 0; i < dy; ++i) solid(x += sx, ++y);
    return;
  }
  std::uint32_t acc = 0;
  if (c < dy) {
    if (dy > 1) {
      const std::uint32_t step = (static_cast<std::uint32_t>(c) << 16) / static_cast<std::uint32_t>(dy);
      for (std::int32_t i = 0; i < dy - 1; ++i) {
        acc += step;
        if (acc > 0xFFFF) {
          acc &= 0xFFFF;
          x += sx;
        }
        ++y;
        blend(x, y, acc, x + sx, y);
      }
    }
  } else {
    const std::uint32_t step = (static_cast<std::uint32_t>(dy) << 16) / static_cast<std::uint32_t>(c);
    for (std::int32_t i = 0; i < c - 1; ++i) {
      acc += step;
      if (acc > 0xFFFF) {
        acc &= 0xFFFF;
        ++y;
      }
      x += sx;
      blend(x, y, acc, x, y + 1);
    }
  }
  solid(x1, y1);
}

// The lines without anti-aliasing plot every step of the walk alike.
template <class Plot>
void WalkSolidLine(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1, Plot&& plot) {
  WalkLine(x0, y0, x1, y1, plot,
           [&](std::int32_t x, std::int32_t y, std::uint32_t, std::int32_t, std::int32_t) {
             plot(x, y);
           });
}

inline std::uint16_t Blend555(std::uint16_t a, std::uint16_t b, std::uint32_t weightA) {
  // Per component: a * w/32 + b * (32 - w)/32, rounded down.
  std::uint32_t out = 0;
  for (int shift = 0; shift <= 10; shift += 5) {
    const std::uint32_t ca = (a >> shift) & 31u;
    const std::uint32_t cb = (b >> shift) & 31u;
    out |= ((ca * weightA + cb * (32u - weightA)) >> 5) << shift;
  }
  return static_cast<std::uint16_t>(out);
}

// Runs draw(keep) with keep(y) telling whether row y is the target's to
// write. The walk is the whole line's either way, so a line drawn band by
// band plots what it plots at once; a target without a band gets a keep the
// compiler folds away.
template <class Draw>
void InBand(const RasterTarget& target, std::int32_t y0, std::int32_t y1, Draw&& draw) {
  const std::int32_t top = target.BandTop, bottom = target.BandBottom;
  if (top <= 0 && bottom >= target.Rows - 1) {
    draw([](std::int32_t) { return true; });
    return;
  }
  // An anti-aliased step also touches the row below its own.
  if ((y0 > y1 ? y0 : y1) + 1 < top || (y0 < y1 ? y0 : y1) > bottom) return;
  draw([top, bottom](std::int32_t y) { return y >= top && y <= bottom; });
}

}  // namespace

// The drawers refuse end points outside the target outright: every pixel of
// the walk (neighbours included) lies in the end points' bounding box, so
// this one check keeps a careless caller from writing outside the buffers.
bool CRasterizer::LineEndsInside(const RasterTarget& target, std::int32_t x0, std::int32_t y0,
                                 std::int32_t x1, std::int32_t y1) {
  const bool inside = PointInsideTarget(target, x0, y0) && PointInsideTarget(target, x1, y1);
  assert(inside);
  return inside;
}

void CRasterizer::DrawLine(const RasterTarget& target, std::int32_t x0, std::int32_t y0,
                           std::int32_t x1, std::int32_t y1, std::uint8_t colour) {
  if (!LineEndsInside(target, x0, y0, x1, y1)) return;
  assert(target.FrameBuffer);
  std::uint8_t* const frame = target.FrameBuffer;
  const std::ptrdiff_t pitch = target.Pitch;
  InBand(target, y0, y1, [&](auto keep) {
    WalkSolidLine(x0, y0, x1, y1, [&](std::int32_t x, std::int32_t y) {
      if (keep(y)) frame[y * pitch + x] = colour;
    });
  });
}

void CRasterizer::DrawLineTagged(const RasterTarget& target, std::int32_t x0, std::int32_t y0,
                                 std::int32_t x1, std::int32_t y1, std::uint8_t colour, std::int32_t key) {
  if (!LineEndsInside(target, x0, y0, x1, y1)) return;
  assert(target.FrameBuffer && target.PixelTagBuffer);
  std::uint8_t* const frame = target.FrameBuffer;
  const std::int32_t* const tags = target.PixelTagBuffer;
  const std::ptrdiff_t pitch = target.Pitch;
  InBand(target, y0, y1, [&](auto keep) {
    WalkSolidLine(x0, y0, x1, y1, [&](std::int32_t x, std::int32_t y) {
      const std::ptrdiff_t i = y * pitch + x;
      if (keep(y) && tags[i] == key) frame[i] = colour;
    });
  });
}

void CRasterizer::DrawLine16(const RasterTarget& target, std::int32_t x0, std::int32_t y0,
                             std::int32_t x1, std::int32_t y1, std::uint16_t colour) {
  if (!LineEndsInside(target, x0, y0, x1, y1)) return;
  assert(target.ColorBuffer16);
  std::uint16_t* const frame = target.ColorBuffer16;
  const std::ptrdiff_t pitch = target.Pitch;
  InBand(target, y0, y1, [&](auto keep) {
    WalkSolidLine(x0, y0, x1, y1, [&](std::int32_t x, std::int32_t y) {
      if (keep(y)) frame[y * pitch + x] = colour;
    });
  });
}

void CRasterizer::DrawLineAA(const RasterTarget& target, std::int32_t x0, std::int32_t y0,
                             std::int32_t x1, std::int32_t y1, std::uint8_t base) {
  if (!LineEndsInside(target, x0, y0, x1, y1)) return;
  assert(target.FrameBuffer);
  std::uint8_t* const frame = target.FrameBuffer;
  const std::ptrdiff_t pitch = target.Pitch;
  InBand(target, y0, y1, [&](auto keep) {
    WalkLine(
        x0, y0, x1, y1,
        [&](std::int32_t x, std::int32_t y) {
          if (keep(y)) frame[y * pitch + x] = static_cast<std::uint8_t>(base + 63);
        },
        [&](std::int32_t x, std::int32_t y, std::uint32_t acc, std::int32_t nx, std::int32_t ny) {
          const std::uint32_t f = acc >> 10;
          if (keep(y)) {
            std::uint8_t& on = frame[y * pitch + x];
            on = static_cast<std::uint8_t>(base + (((on & 63u) * f + (63u - f) * 63u + 63u) >> 6));
          }
          if (keep(ny)) {
            std::uint8_t& side = frame[ny * pitch + nx];
            side = static_cast<std::uint8_t>(base + (((side & 63u) * (64u - f) + f * 63u) >> 6));
          }
        });
  });
}

void CRasterizer::DrawLineAATagged(const RasterTarget& target, std::int32_t x0, std::int32_t y0,
                                   std::int32_t x1, std::int32_t y1, std::int32_t key) {
  if (!LineEndsInside(target, x0, y0, x1, y1)) return;
  assert(target.FrameBuffer && target.PixelTagBuffer);
  std::uint8_t* const frame = target.FrameBuffer;
  const std::int32_t* const tags = target.PixelTagBuffer;
  const std::ptrdiff_t pitch = target.Pitch;
  InBand(target, y0, y1, [&](auto keep) {
    WalkLine(
        x0, y0, x1, y1,
        [&](std::int32_t x, std::int32_t y) {
          const std::ptrdiff_t i = y * pitch + x;
          if (keep(y) && tags[i] == key) frame[i] |= 63u;
        },
        [&](std::int32_t x, std::int32_t y, std::uint32_t acc, std::int32_t nx, std::int32_t ny) {
          const std::uint32_t f = acc >> 10;
          const std::ptrdiff_t i = y * pitch + x;
          if (keep(y) && tags[i] == key)
            frame[i] = static_cast<std::uint8_t>(
                frame[i] | (((frame[i] & 63u) * f + (63u - f) * 63u + 63u) >> 6));
          const std::ptrdiff_t j = ny * pitch + nx;
          if (keep(ny) && tags[j] == key)
            frame[j] = static_cast<std::uint8_t>(
                frame[j] | (((frame[j] & 63u) * (64u - f) + f * 63u) >> 6));
        });
  });
}

void CRasterizer::DrawLineAA16(const RasterTarget& target, std::int32_t x0, std::int32_t y0,
                               std::int32_t x1, std::int32_t y1, std::uint16_t colour) {
  if (!LineEndsInside(target, x0, y0, x1, y1)) return;
  assert(target.ColorBuffer16);
  std::uint16_t* const frame = target.ColorBuffer16;
  const std::ptrdiff_t pitch = target.Pitch;
  InBand(target, y0, y1, [&](auto keep) {
    WalkLine(
        x0, y0, x1, y1,
        [&](std::int32_t x, std::int32_t y) {
          if (keep(y)) frame[y * pitch + x] = colour;
        },
        [&](std::int32_t x, std::int32_t y, std::uint32_t acc, std::int32_t nx, std::int32_t ny) {
          const std::uint32_t m = acc >> 11;
          if (keep(y)) {
            std::uint16_t& on = frame[y * pitch + x];
            on = Blend555(on, colour, m);
          }
          if (keep(ny)) {
            std::uint16_t& side = frame[ny * pitch + nx];
            side = Blend555(colour, side, m);
          }
        });
  });
}
