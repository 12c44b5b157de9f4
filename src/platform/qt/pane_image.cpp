#include "platform/qt/pane_image.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/thread_pool.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

int BytesPerPixel(const PaneImage& image) {
  if (!image.pixels || image.width <= 0 || image.height <= 0) return 0;
  const int bytes = image.bitsPerPixel == 8 ? 1 : image.bitsPerPixel == 24 ? 3 : 0;
  if (bytes == 0 || image.stride < image.width * bytes) return 0;
  if (bytes == 1 && !image.palette) return 0;
  return bytes;
}

// Below this many pixels a conversion is over before the threads wake.
constexpr qsizetype kBandedPixels = 256 * 1024;

#if defined(__SSE2__)
// Two pixels per look-up: the colours of every pair of palette indices,
// the first pixel's in the low half (x86 reads the first byte as the low
// one). It halves the loads that bound a big conversion; being half a
// megabyte, it is made once per palette, and only for pictures big enough
// to pay for it.
constexpr qsizetype kPairedPixels = 64 * 1024;

const std::uint64_t* PairColours(const std::array<std::uint32_t, 256>& colours) {
  struct Pairs {
    std::array<std::uint32_t, 256> colours{};
    std::vector<std::uint64_t> pairs;
  };
  // Two panes of different palettes may take turns.
  thread_local Pairs kept[2];
  thread_local int older = 0;
  for (const Pairs& k : kept)
    if (!k.pairs.empty() && k.colours == colours) return k.pairs.data();
  Pairs& k = kept[older];
  older ^= 1;
  k.colours = colours;
  k.pairs.resize(65536);
  for (std::size_t i = 0; i < 65536; ++i) k.pairs[i] = colours[i & 255] | std::uint64_t{colours[i >> 8]} << 32;
  return k.pairs.data();
}
#endif

}  // namespace

bool PaneImageUsable(const PaneImage& image) { return BytesPerPixel(image) != 0; }

bool PaneImageToPixels(const PaneImage& image, const QRect& area, std::uint32_t* out, qsizetype outStride,
                       ThreadPool* pool) {
  const int bytesPerPixel = BytesPerPixel(image);
  if (bytesPerPixel == 0 || !out) return false;
  if (area.isEmpty() || !QRect(0, 0, image.width, image.height).contains(area)) return false;
  std::array<std::uint32_t, 256> table{};
  if (bytesPerPixel == 1) {
    const auto& pal = *image.palette;
    for (int i = 0; i < 256; ++i) table[static_cast<std::size_t>(i)] = qRgb(pal[i * 3], pal[i * 3 + 1], pal[i * 3 + 2]);
  }
  // Everything the loops read in locals of the lambda: the 32-bit stores
  // into the picture could otherwise be taken to change what a reference
  // points at, and it would be read again for every pixel.
  const int left = area.left(), width = area.width(), top = area.top(), height = image.height;
  const std::uint32_t* const colours = table.data();
#if defined(__SSE2__)
  const std::uint64_t* const pairs =
      bytesPerPixel == 1 && qsizetype{width} * area.height() >= kPairedPixels ? PairColours(table) : nullptr;
#endif
  const std::uint8_t* const pixels = image.pixels;
  const std::size_t stride = static_cast<std::size_t>(image.stride);
  const bool bottomUp = image.bottomUp;
  std::uint8_t* const outBytes = reinterpret_cast<std::uint8_t*>(out);
  const auto rows = [=](int first, int last) {
    for (int y = first; y <= last; ++y) {
      const int row = top + y;
      const int source = bottomUp ? height - 1 - row : row;
      const std::uint8_t* in = pixels + static_cast<std::size_t>(source) * stride +
                               static_cast<std::size_t>(left) * static_cast<std::size_t>(bytesPerPixel);
      std::uint32_t* const line = reinterpret_cast<std::uint32_t*>(outBytes + y * outStride);
      if (bytesPerPixel == 1) {
        int x = 0;
#if defined(__SSE2__)
        // The picture is written once and not read back here: stores that
        // pass the cache spare reading every line of the window in first,
        // half the memory traffic of a big picture.
        for (; x < width && (reinterpret_cast<std::uintptr_t>(line + x) & 15) != 0; ++x) line[x] = colours[in[x]];
        if (pairs)
          for (; x + 8 <= width; x += 8) {
            std::uint64_t eight;
            std::memcpy(&eight, in + x, sizeof eight);
            const auto pair = [&](int at) { return static_cast<long long>(pairs[(eight >> (16 * at)) & 0xFFFF]); };
            _mm_stream_si128(reinterpret_cast<__m128i*>(line + x), _mm_set_epi64x(pair(1), pair(0)));
            _mm_stream_si128(reinterpret_cast<__m128i*>(line + x + 4), _mm_set_epi64x(pair(3), pair(2)));
          }
        for (; x + 4 <= width; x += 4) {
          const __m128i four = _mm_set_epi32(static_cast<int>(colours[in[x + 3]]), static_cast<int>(colours[in[x + 2]]),
                                             static_cast<int>(colours[in[x + 1]]), static_cast<int>(colours[in[x]]));
          _mm_stream_si128(reinterpret_cast<__m128i*>(line + x), four);
        }
#endif
        for (; x < width; ++x) line[x] = colours[in[x]];
      } else {
        for (int x = 0; x < width; ++x, in += 3) line[x] = qRgb(in[2], in[1], in[0]);
      }
    }
#if defined(__SSE2__)
    _mm_sfence();  // the streamed stores are seen before the band counts as done
#endif
  };
  const int count = area.height();
  const int bands = pool && qsizetype{width} * count >= kBandedPixels ? std::min(pool->Threads(), count) : 1;
  if (bands <= 1) {
    rows(0, count - 1);
    return true;
  }
  pool->Run(bands, [&](int band) {
    rows(static_cast<int>(static_cast<long long>(count) * band / bands),
         static_cast<int>(static_cast<long long>(count) * (band + 1) / bands) - 1);
  });
  return true;
}

bool PaneImageToScreen(const PaneImage& image, QImage& target, ThreadPool* pool) {
  if (BytesPerPixel(image) == 0) return false;
  if (target.width() != image.width || target.height() != image.height || target.format() != QImage::Format_RGB32) {
    QImage fresh(image.width, image.height, QImage::Format_RGB32);
    if (fresh.isNull()) return false;
    target = std::move(fresh);
  }
  return PaneImageToPixels(image, QRect(0, 0, image.width, image.height),
                           reinterpret_cast<std::uint32_t*>(target.bits()), target.bytesPerLine(), pool);
}
