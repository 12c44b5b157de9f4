// Passing over triangles that lie wholly behind what is drawn already. A
// triangle's pixels take depths between its corners' (edges and spans step
// by truncated amounts from one end toward the other), so when its nearest
// corner is no nearer than the farthest depth anywhere it could reach, no
// pixel passes the test and nothing would be written.

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "render/rasterizer.h"

namespace {

// The largest of rows top..bottom, columns left..right of the buffer.
std::uint16_t LargestDepth(const std::uint16_t* buffer, std::ptrdiff_t pitch, std::int32_t left, std::int32_t right,
                           std::int32_t top, std::int32_t bottom) {
#if defined(__SSE2__)
  if (right - left == 7) {
    // Eight at a time, compared as signed after moving the range down.
    const __m128i flip = _mm_set1_epi16(static_cast<short>(0x8000));
    __m128i largest = _mm_set1_epi16(static_cast<short>(0x8000));
    for (std::int32_t y = top; y <= bottom; ++y) {
      const __m128i row = _mm_loadu_si128(reinterpret_cast<const __m128i*>(buffer + y * pitch + left));
      largest = _mm_max_epi16(largest, _mm_xor_si128(row, flip));
    }
    largest = _mm_max_epi16(largest, _mm_shuffle_epi32(largest, _MM_SHUFFLE(1, 0, 3, 2)));
    largest = _mm_max_epi16(largest, _mm_shuffle_epi32(largest, _MM_SHUFFLE(2, 3, 0, 1)));
    largest = _mm_max_epi16(largest, _mm_shufflelo_epi16(largest, _MM_SHUFFLE(2, 3, 0, 1)));
    return static_cast<std::uint16_t>(_mm_cvtsi128_si32(largest) ^ 0x8000);
  }
#endif
  std::uint16_t largest = 0;
  for (std::int32_t y = top; y <= bottom; ++y) {
    const std::uint16_t* row = buffer + y * pitch;
    for (std::int32_t x = left; x <= right; ++x) largest = std::max(largest, row[x]);
  }
  return largest;
}

}  // namespace

bool CRasterizer::Hidden(const RasterTarget& target, const std::int32_t* pts, int corners, int values, int depthAt) {
  std::int32_t x0 = pts[0], x1 = pts[0], y0 = pts[1], y1 = pts[1], nearest = pts[depthAt];
  for (int c = 1; c <= corners; ++c) {
    const std::int32_t* v = pts + c * values;
    x0 = std::min(x0, v[0]);
    x1 = std::max(x1, v[0]);
    y0 = std::min(y0, v[1]);
    y1 = std::max(y1, v[1]);
    nearest = std::min(nearest, v[depthAt]);
  }
  // A negative depth value would wrap as the fillers step it.
  if (nearest < 0) return false;
  const std::uint16_t depth = static_cast<std::uint16_t>(nearest >> 16);
  // The pixels the fill could write: the corners' box on the clip rectangle
  // and the band.
  const std::int32_t bandTop = std::max(target.BandTop, 0);
  const std::int32_t bandBottom = std::min(target.BandBottom, clipBottom_);
  x0 = std::max(x0, 0);
  x1 = std::min(x1, clipRight_);
  y0 = std::max(y0, bandTop);
  y1 = std::min(y1, bandBottom);
  if (x0 > x1 || y0 > y1) return false;  // the fill finds nothing to do by itself

  const std::uint16_t* const buffer = target.DepthBuffer;
  const std::ptrdiff_t pitch = target.Pitch;
  // A corner over a farther depth is most likely seen: drawn without looking
  // further, which is always right, as a triangle that proves hidden would
  // have written nothing anyway.
  for (int c = 0; c < corners; ++c) {
    const std::int32_t* v = pts + c * values;
    if (v[0] >= x0 && v[0] <= x1 && v[1] >= y0 && v[1] <= y1 && buffer[v[1] * pitch + v[0]] > depth) return false;
  }

  DepthBlocks& b = blocks_;
  if (b.depth != target.DepthBuffer || b.pitch != target.Pitch || b.right != clipRight_ || b.bottom != clipBottom_ ||
      b.bandTop != bandTop || b.bandBottom != bandBottom) {
    b.depth = target.DepthBuffer;
    b.pitch = target.Pitch;
    b.right = clipRight_;
    b.bottom = clipBottom_;
    b.bandTop = bandTop;
    b.bandBottom = bandBottom;
    b.across = (clipRight_ >> 3) + 1;
    const std::size_t count = static_cast<std::size_t>(b.across) * static_cast<std::size_t>((clipBottom_ >> 3) + 1);
    if (b.largest.size() < count) {
      b.largest.resize(count);
      b.stamps.resize(count, 0);
    }
    // A new stamp makes every block untrusted; on wrapping, the old stamps go.
    if (++b.stamp == 0) {
      std::fill(b.stamps.begin(), b.stamps.end(), 0u);
      b.stamp = 1;
    }
  }
  for (std::int32_t by = y0 >> 3; by <= y1 >> 3; ++by) {
    // Only the band's rows: the rest belong to other threads.
    const std::int32_t top = std::max(by << 3, bandTop), bottom = std::min((by << 3) + 7, bandBottom);
    for (std::int32_t bx = x0 >> 3; bx <= x1 >> 3; ++bx) {
      const std::size_t at =
          static_cast<std::size_t>(by) * static_cast<std::size_t>(b.across) + static_cast<std::size_t>(bx);
      // A block's bound stays above its depths while triangles are drawn;
      // when it is not low enough it is worked out again.
      if (b.stamps[at] != b.stamp || b.largest[at] > depth) {
        const std::int32_t left = bx << 3, right = std::min(left + 7, clipRight_);
        b.largest[at] = LargestDepth(buffer, pitch, left, right, top, bottom);
        b.stamps[at] = b.stamp;
        if (b.largest[at] > depth) return false;
      }
    }
  }
  return true;
}
