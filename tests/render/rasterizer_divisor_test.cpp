// The per-row and per-edge divisions are done with a reciprocal; they must
// still truncate exactly like integer division.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "render/rasterizer_span.h"

namespace {

TEST(RasterDivisor, TruncatesExactlyLikeIntegerDivision) {
  std::mt19937_64 rng(3);
  const std::int64_t extremes[] = {0, 1, -1, 0xFFFF, 0x10000, 4294967295LL, -4294967295LL,
                                   4294967295LL + 0x8000};
  std::vector<std::int32_t> dens;
  for (std::int32_t den = 1; den <= 5000; den += (den < 600 ? 1 : 7)) dens.push_back(den);
  // Beyond the table the reciprocal is worked out on the spot.
  for (std::int32_t den : {32767, 65536, 1000003, 2147483647}) dens.push_back(den);
  for (std::int32_t den : dens) {
    const Divisor d(den);
    for (std::int64_t num : extremes) ASSERT_EQ(d.Divide(num), num / den) << num << "/" << den;
    for (int i = 0; i < 200; ++i) {
      // Exact multiples and their neighbours are where a reciprocal slips.
      const std::int64_t k = static_cast<std::int64_t>(rng() % (4294967296ULL / den)) *
                             (rng() & 1 ? 1 : -1);
      for (std::int64_t num : {k * den, k * den + 1, k * den - 1}) {
        ASSERT_EQ(d.Divide(num), num / den) << num << "/" << den;
      }
      const std::int64_t any = static_cast<std::int64_t>(rng() % 8589934591ULL) - 4294967295LL;
      ASSERT_EQ(d.Divide(any), any / den) << any << "/" << den;
    }
  }
}

}  // namespace
