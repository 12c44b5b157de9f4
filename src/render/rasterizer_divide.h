#pragma once
// Exact truncating division by a reciprocal, for the fillers' per-row and
// per-edge steps. Only the rasterizer's own files include this.

#include <array>
#include <cassert>
#include <cstdint>

// Division by one span length or edge length, shared by all attributes: a
// multiplication per attribute by an enlarged reciprocal, then the
// conversion's truncation toward zero. The result is the integer quotient
// truncated toward zero, exactly, for any divisor n >= 1 and |num| < 2^33:
//
// The reciprocal is 1/n enlarged by the factor 1 + 2^-40; its two roundings
// of at most 2^-53 each leave it strictly above 1/n and below
// (1 + 2^-39) / n. The product, rounded once more, therefore never falls
// below |num| / n and exceeds it by less than 2^33 / n * 2^-39 = 2^-6 / n,
// while a quotient that is not an integer lies at least 1 / n below the next
// one: the truncation gives the true quotient's. Multiplication and
// truncation are symmetric in sign, so negative numerators follow.
//
// The reciprocals of the usual lengths come from a table: a division per
// row costs more than the rest of a short span's set-up together.
constexpr double kReciprocalEnlargement = 1.0 + 1.0 / 1099511627776.0;  // 1 + 2^-40
constexpr int kReciprocalLimit = 4096;
inline constexpr std::array<double, kReciprocalLimit + 1> kReciprocals = [] {
  std::array<double, kReciprocalLimit + 1> table{};  // entry 0 unused
  for (int n = 1; n <= kReciprocalLimit; ++n) table[n] = (1.0 / n) * kReciprocalEnlargement;
  return table;
}();

class Divisor {
 public:
  explicit Divisor(std::int32_t den)
      // The unsigned comparison keeps a broken promise (den < 1) off the table.
      : inverse_(static_cast<std::uint32_t>(den) - 1u < kReciprocalLimit
                     ? kReciprocals[static_cast<std::size_t>(den)]
                     : (1.0 / den) * kReciprocalEnlargement) {
    assert(den >= 1);
  }
  std::int64_t Divide(std::int64_t num) const {
    return static_cast<std::int64_t>(static_cast<double>(num) * inverse_);
  }

 private:
  double inverse_;
};

