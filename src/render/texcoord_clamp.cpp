#include "render/texcoord_clamp.h"

#include <cmath>

namespace {

std::int32_t ClampTo(std::int64_t fixed, std::int64_t top) {
  if (top < 0 || fixed < 0) return 0;
  return static_cast<std::int32_t>(fixed > top ? top : fixed);
}

// Cells are int, so every bound stays below 2^47: far from double's limits.
std::int64_t ToFixed(double coordinate) {
  if (std::isnan(coordinate)) return 0;
  const double fixed = coordinate * 65536.0;
  if (fixed <= -9.0e15) return -1;
  if (fixed >= 9.0e15) return static_cast<std::int64_t>(9.0e15);
  return static_cast<std::int64_t>(fixed);  // truncates toward zero
}

}  // namespace

std::int32_t ClampTexCoord(std::int64_t fixed, int cells) {
  if (cells <= 0) return 0;
  const std::int64_t top = (std::int64_t{cells} << 16) - 1;
  return ClampTo(fixed, top > 0x7FFFFFFF ? 0x7FFFFFFF : top);
}

std::int32_t ClampTexCoordRounded(std::int64_t fixed, int cells) {
  if (cells <= 0) return 0;
  const std::int64_t top = (std::int64_t{cells - 1} << 16) + 0x7FFF;
  return ClampTo(fixed, top > 0x7FFF7FFF ? 0x7FFF7FFF : top);
}

std::int32_t TexCoordToFixed(double cellsCoordinate, int cells) {
  return ClampTexCoord(ToFixed(cellsCoordinate), cells);
}

std::int32_t TexCoordToFixedRounded(double cellsCoordinate, int cells) {
  return ClampTexCoordRounded(ToFixed(cellsCoordinate), cells);
}
