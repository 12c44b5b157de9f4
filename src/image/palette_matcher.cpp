#include "image/palette_matcher.h"

#include <algorithm>

namespace {

std::size_t Axis(int channel, int coordinate) { return static_cast<std::size_t>((channel * 32 + coordinate) * 256); }

}  // namespace

PaletteMatcher::PaletteMatcher(const Palette& palette)
    : nearAxis_(3 * 32 * 256), farAxis_(3 * 32 * 256), cellStart_(kCells, -1), cellCount_(kCells, 0) {
  for (int i = 0; i < 256; ++i)
    for (int c = 0; c < 3; ++c) colour_[i][c] = palette[static_cast<std::size_t>(i * 3 + c)];
  for (int c = 0; c < 3; ++c)
    for (int k = 0; k < 32; ++k) {
      const int lo = k * 8, hi = lo + 7;
      for (int i = 0; i < 256; ++i) {
        const int v = colour_[i][c];
        const int dNear = v < lo ? lo - v : (v > hi ? v - hi : 0);
        const int dFar = std::max(v - lo, hi - v);
        nearAxis_[Axis(c, k) + static_cast<std::size_t>(i)] = dNear * dNear;
        farAxis_[Axis(c, k) + static_cast<std::size_t>(i)] = dFar * dFar;
      }
    }
}

void PaletteMatcher::FillCell(int cell) {
  const std::int32_t* nr = &nearAxis_[Axis(0, cell >> 10)];
  const std::int32_t* ng = &nearAxis_[Axis(1, (cell >> 5) & 31)];
  const std::int32_t* nb = &nearAxis_[Axis(2, cell & 31)];
  const std::int32_t* fr = &farAxis_[Axis(0, cell >> 10)];
  const std::int32_t* fg = &farAxis_[Axis(1, (cell >> 5) & 31)];
  const std::int32_t* fb = &farAxis_[Axis(2, cell & 31)];
  std::int32_t nearest[256];
  std::int32_t bound = 0x7FFFFFFF;
  for (int i = 0; i < 256; ++i) {
    nearest[i] = nr[i] + ng[i] + nb[i];
    bound = std::min(bound, fr[i] + fg[i] + fb[i]);
  }
  // An entry whose nearest point equals the bound may still tie the entry
  // that set it, and a tie can go to it, so it stays.
  const std::size_t start = candidates_.size();
  for (int i = 0; i < 256; ++i)
    if (nearest[i] <= bound) candidates_.push_back({nearest[i], i});
  std::sort(candidates_.begin() + static_cast<std::ptrdiff_t>(start), candidates_.end(),
            [](const Candidate& a, const Candidate& b) {
              return a.nearest != b.nearest ? a.nearest < b.nearest : a.index < b.index;
            });
  cellStart_[static_cast<std::size_t>(cell)] = static_cast<std::int32_t>(start);
  cellCount_[static_cast<std::size_t>(cell)] = static_cast<std::uint16_t>(candidates_.size() - start);
}

std::uint8_t PaletteMatcher::Search(int cell, int r, int g, int b) const {
  const Candidate* list = candidates_.data() + cellStart_[static_cast<std::size_t>(cell)];
  const Candidate* end = list + cellCount_[static_cast<std::size_t>(cell)];
  std::int32_t best = 0;
  std::int32_t bestDistance = 0x7FFFFFFF;
  for (; list != end && list->nearest <= bestDistance; ++list) {
    const std::int32_t* c = colour_[list->index];
    const std::int32_t dr = c[0] - r, dg = c[1] - g, db = c[2] - b;
    const std::int32_t d = dr * dr + dg * dg + db * db;
    if (d < bestDistance || (d == bestDistance && list->index < best)) {
      bestDistance = d;
      best = list->index;
    }
  }
  return static_cast<std::uint8_t>(best);
}
