#include "editor/palette_ramps.h"

#include <cmath>

namespace {

double Brightness(const Palette& p, int i) {
  const auto at = [&](int k) { return static_cast<double>(p[static_cast<std::size_t>(3 * i + k)]); };
  return 0.299 * at(0) + 0.587 * at(1) + 0.114 * at(2);
}

double Distance(const Palette& p, int a, int b) {
  double sum = 0;
  for (int k = 0; k < 3; ++k) {
    const double d = static_cast<double>(p[static_cast<std::size_t>(3 * a + k)]) -
                     static_cast<double>(p[static_cast<std::size_t>(3 * b + k)]);
    sum += d * d;
  }
  return std::sqrt(sum);
}

constexpr double kJump = 64.0;     // a quarter of the cube's side
constexpr double kLevel = 0.5;     // brightness steps below this do not set a direction

}  // namespace

PaletteRamps FindPaletteRamps(const Palette& palette) {
  PaletteRamps r;
  int start = 0;
  int direction = 0;  // +1 brighter along the indices, -1 darker, 0 not known yet
  auto close = [&](int end) {
    for (int i = start; i <= end; ++i) {
      const auto u = static_cast<std::size_t>(i);
      r.first[u] = static_cast<std::uint8_t>(start);
      r.last[u] = static_cast<std::uint8_t>(end);
      const int up = direction >= 0 ? i + 1 : i - 1;
      const int down = direction >= 0 ? i - 1 : i + 1;
      r.brighter[u] = static_cast<std::uint8_t>(up >= start && up <= end ? up : i);
      r.darker[u] = static_cast<std::uint8_t>(down >= start && down <= end ? down : i);
    }
  };
  for (int i = 0; i < 255; ++i) {
    const double step = Brightness(palette, i + 1) - Brightness(palette, i);
    const int turn = step > kLevel ? 1 : step < -kLevel ? -1 : 0;
    const bool breaks = Distance(palette, i, i + 1) > kJump || (direction != 0 && turn != 0 && turn != direction);
    if (breaks) {
      close(i);
      start = i + 1;
      direction = 0;
    } else if (direction == 0) {
      direction = turn;
    }
  }
  close(255);
  return r;
}
