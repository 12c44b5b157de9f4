#include "image/palette_matcher.h"

#include <algorithm>

PaletteMatcher::PaletteMatcher(const Palette& palette)
    : cellStart_(kCells, -1), cellCount_(kCells, 0) {
  for (int i = 0; i < 256; ++i)
    for (int c = 0; c < 3; ++c) colour_[i][c] = palette[static_cast<std::size_t>(i * 3 + c)];
}

void PaletteMatcher::FillCell(int cell) {
  const int lo[3] = {(cell >> 10) << 3, ((cell >> 5) & 31) << 3, (cell & 31) << 3};
  std::int32_t nearest[256];
  std::int32_t bound = 0x7FFFFFFF;
  for (int i = 0; i < 256; ++i) {
    std::int32_t near = 0, far = 0;
    for (int c = 0; c < 3; ++c) {
      const int v = colour_[i][c];
      const int hi = lo[c] + 7;
      const int dNear = v < lo[c] ? lo[c] - v : (v > hi ? v - hi : 0);
      const int dFar = std::max(v - lo[c], hi - v);
      near += dNear * dNear;
      far += dFar * dFar;
    }
    nearest[i] = near;
    bound = std::min(bound, far);
  }
  // An entry whose nearest point equals the bound may still tie the entry
  // that set it, and a tie goes to the lower index, so it stays.
  cellStart_[static_cast<std::size_t>(cell)] = static_cast<std::int32_t>(candidates_.size());
  std::uint16_t count = 0;
  for (int i = 0; i < 256; ++i) {
    if (nearest[i] <= bound) {
      candidates_.push_back(static_cast<std::uint8_t>(i));
      ++count;
    }
  }
  cellCount_[static_cast<std::size_t>(cell)] = count;
}

std::uint8_t PaletteMatcher::Search(int cell, int r, int g, int b) const {
  const std::uint8_t* list = candidates_.data() + cellStart_[static_cast<std::size_t>(cell)];
  const int count = cellCount_[static_cast<std::size_t>(cell)];
  std::uint8_t best = list[0];
  std::int32_t bestDistance = 0x7FFFFFFF;
  for (int k = 0; k < count; ++k) {
    const std::int32_t* c = colour_[list[k]];
    const std::int32_t dr = c[0] - r, dg = c[1] - g, db = c[2] - b;
    const std::int32_t d = dr * dr + dg * dg + db * db;
    if (d < bestDistance) {
      bestDistance = d;
      best = list[k];
    }
  }
  return best;
}
