#pragma once
// Small triangles, scanned straight from their corners. The edge walk
// (ScanEdgeN) costs a set-up and a run of hard-to-guess branches per edge,
// which is most of what a triangle of a few pixels costs. Each edge's points
// on a row follow in closed form from its start, though, so for a triangle
// at most kDirectRows rows tall and kDirectColumns columns wide the ends of
// all its rows, and their values, are worked out at once, a row per lane of
// a vector register, edge after edge, without the walk and without the
// per-row tables. Only the rasterizer's own files include this.
//
// The result is the walk's to the bit: the same points, the same end kept
// when two edges reach the same x (the earlier edge), and values reached by
// the same number of the same truncated steps.
//
// It takes AVX-512 (16 rows to a register, and masks to choose by), asked of
// the processor at run time; without it every triangle is walked.

#include <cstddef>
#include <cstdint>

#if (defined(__x86_64__) || defined(__i386__)) && (defined(__GNUC__) || defined(__clang__))
#define SKINTOOL_DIRECT_SCAN 1
// GCC 12's AVX-512 intrinsics start some results from a register they call
// undefined, which its own uninitialized-value check then reports.
#if !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuninitialized"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <immintrin.h>
#if !defined(__clang__)
#pragma GCC diagnostic pop
#endif
#endif

#include "render/rasterizer_divide.h"

// The triangles scanned directly: rows, at least and at most, and columns
// between the leftmost and rightmost corner. Below kDirectLeastRows the walk
// costs less: its few rows are soon walked, where the scan always works out
// all sixteen.
constexpr int kDirectLeastRows = 6;
constexpr int kDirectRows = 16;
constexpr int kDirectColumns = 64;

#if defined(SKINTOOL_DIRECT_SCAN)
#define SKINTOOL_AVX512 __attribute__((target("avx2,avx512f,avx512bw,avx512vl")))
inline const bool kDirectScanRuns = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("avx512f") &&
                                    __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vl");
#else
inline constexpr bool kDirectScanRuns = false;
#endif

// The closed forms, for the walk from a to b (Bresenham's, the error
// starting at 2 minor - major and a minor step taken when it is not
// negative): step j lies minor j / major rounded, floor((2 minor j +
// major) / (2 major)), across the minor direction. So
//  - a y-major edge (dy >= dx) has one point on its row i: step i, that far
//    across;
//  - an x-major edge has on its row i the steps from ceil(major (2i - 1) /
//    (2 minor)) (0 on the first row) up to one before the next row's first
//    (major on the last row), each as far across as its step.
// Both divide by twice the edge's rows: 2 minor across, 2 major down.
template <int N>
class DirectTriangle {
 public:
  // False, with nothing else worked out, when the triangle is too large or
  // the processor cannot scan it. Every corner must lie inside the clip
  // rectangle (x and y from 0 to 8191).
  bool Setup(const std::int32_t* a, const std::int32_t* b, const std::int32_t* c) {
    top_ = Least(a[1], b[1], c[1]);
    bottom_ = Greatest(a[1], b[1], c[1]);
    if (bottom_ - top_ >= kDirectRows || Greatest(a[0], b[0], c[0]) - Least(a[0], b[0], c[0]) >= kDirectColumns ||
        !kDirectScanRuns)
      return false;
#if defined(SKINTOOL_DIRECT_SCAN)
    Scan(a, b, c);
#endif
    return true;
  }

  std::int32_t Top() const { return top_; }
  std::int32_t Bottom() const { return bottom_; }

  // Row y, top <= y <= bottom, as the walk would leave it in the tables: its
  // leftmost and rightmost x, and their values (value k at [k * kStride]).
  // Every row has pixels.
  static constexpr std::ptrdiff_t kStride = kDirectRows;
  [[gnu::always_inline]] bool Take(std::int32_t y, std::int32_t& xl, std::int32_t& xr, const std::int32_t*& left,
                                   const std::int32_t*& right) const {
    xl = leftX_[y - top_];
    xr = rightX_[y - top_];
    left = leftValues_[0] + (y - top_);
    right = rightValues_[0] + (y - top_);
    return true;
  }

 private:
  static std::int32_t Least(std::int32_t a, std::int32_t b, std::int32_t c) {
    const std::int32_t ab = a < b ? a : b;
    return ab < c ? ab : c;
  }
  static std::int32_t Greatest(std::int32_t a, std::int32_t b, std::int32_t c) {
    const std::int32_t ab = a > b ? a : b;
    return ab > c ? ab : c;
  }

#if defined(SKINTOOL_DIRECT_SCAN)
  // Rows top .. top + 15 in the lanes, every edge in turn; each row keeps
  // the least key (x, then the edge) on the left, the greatest on the right,
  // and the values of the edge that gave it. What each edge needs is first
  // worked out for the three at once, an edge per lane. Picked by masks
  // rather than branches: which way an edge runs and whether it crosses a
  // row are what a branch predictor cannot guess.
  SKINTOOL_AVX512 void Scan(const std::int32_t* a, const std::int32_t* b, const std::int32_t* c) {
    // Lane permutations giving each row the next row's quotient along the
    // walk: the row below for a walk down, the row above for a walk up.
    const __m512i nextDown = _mm512_setr_epi32(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 15);
    const __m512i nextUp = _mm512_setr_epi32(0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14);
    const __m512i rowInLane = _mm512_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    const __m128i one = _mm_set1_epi32(1);

    // Edge e runs from corner e to corner e + 1: lanes a b c (a).
    const __m128i px = _mm_setr_epi32(a[0], b[0], c[0], a[0]);
    const __m128i py = _mm_setr_epi32(a[1], b[1], c[1], a[1]);
    const __m128i qx = _mm_shuffle_epi32(px, _MM_SHUFFLE(1, 0, 2, 1));
    const __m128i qy = _mm_shuffle_epi32(py, _MM_SHUFFLE(1, 0, 2, 1));
    const __m128i dx = _mm_abs_epi32(_mm_sub_epi32(qx, px));
    const __m128i towardY = _mm_sub_epi32(qy, py);
    const __m128i dy = _mm_abs_epi32(towardY);
    const __m128i major = _mm_max_epi32(dx, dy);
    const __m128i minor = _mm_min_epi32(dx, dy);
    // Row index along the walk at the top row: (top - ay) sy.
    const __m128i topIndex = _mm_sign_epi32(_mm_sub_epi32(_mm_set1_epi32(top_), py), _mm_or_si128(_mm_srai_epi32(towardY, 31), one));
    // `near`: the y-major point's distance across, floor((2 minor i +
    // major) / (2 major)), or the x-major row's first step, ceil(major (2i -
    // 1) / (2 minor)) as floor((2 major i + 2 minor - 1 - major) / (2 minor)).
    const __m128i xMajor = _mm_cmpgt_epi32(dx, dy);
    const __m128i twiceMajor = _mm_add_epi32(major, major), twiceMinor = _mm_add_epi32(minor, minor);
    const __m128i nearScale = _mm_blendv_epi8(twiceMinor, twiceMajor, xMajor);
    const __m128i nearBias = _mm_blendv_epi8(major, _mm_sub_epi32(_mm_sub_epi32(twiceMinor, one), major), xMajor);
    // The quotients by q = 2 dy are the high halves of n r: for 2 <= q < 2
    // kDirectRows and 0 <= n < 2^16 / q, r = floor(2^16 / q) + 1 overshoots
    // 2^16 / q by at most 1, so n r / 2^16 overshoots n / q by less than
    // 1 / q, the least distance from a quotient that is not whole to the next
    // whole one. The numerators of the rows an edge crosses stay below
    // 2 x 63 x 15 + 29 (the columns limit x-major edges to 63 steps, the
    // rows y-major ones to 15), inside 2^16 / 30. r comes from a float
    // division, far nearer than 1 / 30 to the true 2^16 / q; 0 for an edge
    // within one row, where no quotient is needed.
    const __m128i twiceDy = _mm_add_epi32(dy, dy);
    const __m128i reciprocal = _mm_and_si128(
        _mm_add_epi32(_mm_cvttps_epi32(_mm_div_ps(_mm_set1_ps(65536.0f), _mm_cvtepi32_ps(twiceDy))), one),
        _mm_cmpgt_epi32(dy, _mm_setzero_si128()));
    // The per-step change of each value, as the walk works it out: the
    // difference over the major count truncated, through the reciprocal the
    // walk's table holds (worked out by the same two roundings), then wrapped
    // to 32 bits (an integer below 2^51 added to 1.5 x 2^52 lies in the low
    // bits).
    const __m256d inverse =
        _mm256_mul_pd(_mm256_div_pd(_mm256_set1_pd(1.0), _mm256_cvtepi32_pd(_mm_max_epi32(major, one))),
                      _mm256_set1_pd(kReciprocalEnlargement));
    const __m256d magic = _mm256_set1_pd(6755399441055744.0);

    // Kept in memory and broadcast from there edge by edge: held in
    // registers they would crowd out the rows' own.
    struct alignas(16) EdgeLanes {
      std::int32_t topIndex[4], dy[4], nearScale[4], nearBias[4], reciprocal[4], major[4], px[4], ty[4];
      std::int32_t starts[N > 0 ? N : 1][4], steps[N > 0 ? N : 1][4];
    } edges;
    const auto keep = [](std::int32_t* lanes, __m128i v) SKINTOOL_AVX512 {
      _mm_store_si128(reinterpret_cast<__m128i*>(lanes), v);
    };
    keep(edges.topIndex, topIndex);
    keep(edges.dy, dy);
    keep(edges.nearScale, nearScale);
    keep(edges.nearBias, nearBias);
    keep(edges.reciprocal, reciprocal);
    keep(edges.major, major);
    keep(edges.px, px);
    keep(edges.ty, towardY);
    for (int k = 0; k < N; ++k) {
      const __m128i starts = _mm_setr_epi32(a[2 + k], b[2 + k], c[2 + k], a[2 + k]);
      const __m256d from = _mm256_cvtepi32_pd(starts);
      const __m256d to = _mm256_cvtepi32_pd(_mm_shuffle_epi32(starts, _MM_SHUFFLE(1, 0, 2, 1)));
      const __m256d quotient =
          _mm256_round_pd(_mm256_mul_pd(_mm256_sub_pd(to, from), inverse), _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC);
      keep(edges.starts[k], starts);
      keep(edges.steps[k], _mm256_cvtepi64_epi32(_mm256_castpd_si256(_mm256_add_pd(quotient, magic))));
    }
    // Which way each edge runs and whether it is x-major, a bit per edge.
    const unsigned up = static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(towardY)));
    const unsigned behind = static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpgt_epi32(px, qx))));
    const unsigned wide = static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(xMajor)));

    __m512i leftKey = _mm512_set1_epi32(2147483647), rightKey = _mm512_set1_epi32(-2147483647 - 1);
    __m512i left[N > 0 ? N : 1], right[N > 0 ? N : 1];
    for (int k = 0; k < N; ++k) left[k] = right[k] = _mm512_setzero_si512();
#pragma GCC unroll 3
    for (int e = 0; e < 3; ++e) {
      const auto all = [](unsigned bits, int edge) -> __mmask16 {
        return static_cast<__mmask16>(0u - ((bits >> edge) & 1u));
      };
      const __mmask16 walksUp = all(up, e), isBehind = all(behind, e), isXMajor = all(wide, e);
      const auto spread = [e](const std::int32_t* lanes) SKINTOOL_AVX512 { return _mm512_set1_epi32(lanes[e]); };
      const __m512i i = _mm512_add_epi32(_mm512_mask_sub_epi32(rowInLane, walksUp, _mm512_setzero_si512(), rowInLane),
                                         spread(edges.topIndex));
      // 0 <= i <= dy, compared unsigned.
      const __m512i edgeDy = spread(edges.dy);
      const __mmask16 crosses = _mm512_cmple_epu32_mask(i, edgeDy);
      // Below 0 only on an x-major first row, where the first step is 0.
      const __m512i nearNumerator =
          _mm512_add_epi32(_mm512_mullo_epi32(i, spread(edges.nearScale)), spread(edges.nearBias));
      const __m512i near =
          _mm512_mulhi_epu16(_mm512_max_epi32(nearNumerator, _mm512_setzero_si512()), spread(edges.reciprocal));
      // The x-major run ends one before the next row's first step, or at the
      // last step on the edge's last row. A row the edge crosses before its
      // last always has the next row in the register.
      const __m512i following = _mm512_permutexvar_epi32(_mm512_mask_blend_epi32(walksUp, nextDown, nextUp), near);
      const __m512i runEnd = _mm512_mask_blend_epi32(_mm512_cmpeq_epi32_mask(i, edgeDy),
                                                     _mm512_sub_epi32(following, _mm512_set1_epi32(1)),
                                                     spread(edges.major));
      // The row's first and last points along the walk, how far across: the
      // same point on a y-major edge. The leftmost and rightmost of them: the
      // first and the last for a walk to the right, the other way round to
      // the left.
      const __m512i last = _mm512_mask_blend_epi32(isXMajor, near, runEnd);
      const __m512i lowAcross = _mm512_mask_blend_epi32(isBehind, near, last);
      const __m512i highAcross = _mm512_mask_blend_epi32(isBehind, last, near);
      const __m512i ax = spread(edges.px);
      const __m512i lowX = _mm512_mask_sub_epi32(_mm512_add_epi32(ax, lowAcross), isBehind, ax, lowAcross);
      const __m512i highX = _mm512_mask_sub_epi32(_mm512_add_epi32(ax, highAcross), isBehind, ax, highAcross);
      // The edge rides in the low bits of x, so that among equal x the
      // earliest edge has the least key on the left and the greatest on the
      // right: the strict comparisons then keep the earlier edge's end.
      const __m512i lowKey = _mm512_or_si512(_mm512_slli_epi32(lowX, 2), _mm512_set1_epi32(e));
      const __m512i highKey = _mm512_or_si512(_mm512_slli_epi32(highX, 2), _mm512_set1_epi32(3 - e));
      const __mmask16 takesLeft = _mm512_mask_cmplt_epi32_mask(crosses, lowKey, leftKey);
      const __mmask16 takesRight = _mm512_mask_cmpgt_epi32_mask(crosses, highKey, rightKey);
      leftKey = _mm512_mask_mov_epi32(leftKey, takesLeft, lowKey);
      rightKey = _mm512_mask_mov_epi32(rightKey, takesRight, highKey);
      // Steps along the walk to each end; the values there are the start's
      // plus the step taken that many times, wrapping at 32 bits.
      const __m512i lowAt = _mm512_mask_blend_epi32(isXMajor, i, lowAcross);
      const __m512i highAt = _mm512_mask_blend_epi32(isXMajor, i, highAcross);
      for (int k = 0; k < N; ++k) {
        const __m512i base = spread(edges.starts[k]);
        const __m512i step = spread(edges.steps[k]);
        left[k] = _mm512_mask_add_epi32(left[k], takesLeft, base, _mm512_mullo_epi32(lowAt, step));
        right[k] = _mm512_mask_add_epi32(right[k], takesRight, base, _mm512_mullo_epi32(highAt, step));
      }
    }
    _mm512_storeu_si512(leftX_, _mm512_srai_epi32(leftKey, 2));
    _mm512_storeu_si512(rightX_, _mm512_srai_epi32(rightKey, 2));
    for (int k = 0; k < N; ++k) {
      _mm512_storeu_si512(leftValues_[k], left[k]);
      _mm512_storeu_si512(rightValues_[k], right[k]);
    }
  }
#endif

  std::int32_t leftX_[kDirectRows], rightX_[kDirectRows];
  std::int32_t leftValues_[N > 0 ? N : 1][kDirectRows], rightValues_[N > 0 ? N : 1][kDirectRows];
  std::int32_t top_ = 0, bottom_ = -1;
};
