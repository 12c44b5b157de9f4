#pragma once
// The nearest palette entry for many colours at a time, with exactly the
// answer of NearestPaletteEntry (squared RGB distance, lowest index on a
// tie) but without a search of all 256 entries per pixel.
//
// Colour space is cut into 32 x 32 x 32 cells of 8 x 8 x 8 colours. The
// first colour asked for in a cell fills that cell's list of candidates:
// every entry whose nearest point in the cell is no farther than the
// smallest farthest point of any entry. Only those can be nearest (or tie)
// anywhere in the cell. The list runs from the entry closest to the cell
// outwards, so a search stops at the first entry that cannot beat (or tie)
// the best found; a tie between entries goes to the lower index explicitly.

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

  struct Candidate {
    std::int32_t nearest;  // squared distance to the closest colour of the cell
    std::int32_t index;
  };

  void FillCell(int cell);
  std::uint8_t Search(int cell, int r, int g, int b) const;

  std::int32_t colour_[256][3];
  // Per channel and cell coordinate, each entry's squared distance along
  // that channel to the cell's nearest and farthest value: a cell's box
  // distances are then three additions per entry.
  std::vector<std::int32_t> nearAxis_, farAxis_;  // [channel][32][256]
  // Start of each cell's candidates, -1 until first asked; the list ends
  // where cellCount_ says.
  std::vector<std::int32_t> cellStart_;
  std::vector<std::uint16_t> cellCount_;
  std::vector<Candidate> candidates_;
};
