#pragma once
// The nearest palette entry for many colours at a time, with exactly the
// answer of NearestPaletteEntry (squared RGB distance, lowest index on a
// tie) but without a search of all 256 entries per pixel.
//
// Colour space is cut into 32 x 32 x 32 cells of 8 x 8 x 8 colours. The
// first colour asked for in a cell fills that cell's list of candidates:
// every entry whose nearest point in the cell is no farther than the
// smallest farthest point of any entry. Only those can be nearest (or tie)
// anywhere in the cell, and they are kept in index order so the plain
// search's tie rule carries over.

#include <cstdint>
#include <vector>

#include "image/skin.h"

class PaletteMatcher {
 public:
  explicit PaletteMatcher(const Palette& palette);

  std::uint8_t Nearest(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    const int cell = (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3);
    if (cellStart_[static_cast<std::size_t>(cell)] < 0) FillCell(cell);
    return Search(cell, r, g, b);
  }

 private:
  static constexpr int kCells = 32 * 32 * 32;

  void FillCell(int cell);
  std::uint8_t Search(int cell, int r, int g, int b) const;

  std::int32_t colour_[256][3];
  // Start of each cell's candidates in candidates_, -1 until first asked;
  // a cell's list ends where cellCount_ says.
  std::vector<std::int32_t> cellStart_;
  std::vector<std::uint16_t> cellCount_;
  std::vector<std::uint8_t> candidates_;
};
