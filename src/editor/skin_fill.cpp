#include "editor/skin_fill.h"

#include <array>
#include <utility>
#include <vector>

int FillAt(SkinPainter& painter, int x, int y, const FillOptions& options) {
  const Skin& skin = painter.skin();
  const int w = skin.width, h = skin.height;
  const std::size_t area = static_cast<std::size_t>(w > 0 ? w : 0) * static_cast<std::size_t>(h > 0 ? h : 0);
  if (x < 0 || y < 0 || x >= w || y >= h || skin.pixels.size() != area) return 0;
  const std::vector<std::uint8_t>* mask = painter.mask();
  const auto allowed = [mask](std::size_t i) { return !mask || (i < mask->size() && (*mask)[i]); };
  const std::size_t seed = static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x);
  if (!allowed(seed)) return 0;

  // Which palette entries count as the seed's colour.
  std::array<bool, 256> same{};
  const std::uint8_t* rgb = skin.palette.data();
  const int s = skin.pixels[seed];
  const long long limit = static_cast<long long>(options.tolerance) * options.tolerance;
  for (int i = 0; i < 256; ++i) {
    long long d2 = 0;
    for (int k = 0; k < 3; ++k) {
      const long long d = static_cast<long long>(rgb[3 * i + k]) - rgb[3 * s + k];
      d2 += d * d;
    }
    same[static_cast<std::size_t>(i)] = d2 <= limit;
  }
  // Each texel's state: 0 not to be filled, 1 matching, 2 in the region.
  constexpr std::uint8_t kOpen = 1, kIn = 2;
  std::vector<std::uint8_t> state(area);
  for (std::size_t i = 0; i < area; ++i) state[i] = same[skin.pixels[i]] && allowed(i) ? kOpen : 0;
  if (!options.contiguous) return painter.Region(state, kOpen);
  const auto at = [w](int px, int py) {
    return static_cast<std::size_t>(py) * static_cast<std::size_t>(w) + static_cast<std::size_t>(px);
  };
  // Grown a run of a row at a time, with one seed for each run of open
  // texels above and below a run filled.
  std::vector<std::pair<int, int>> seeds{{x, y}};
  while (!seeds.empty()) {
    const auto [sx, sy] = seeds.back();
    seeds.pop_back();
    std::uint8_t* row = state.data() + at(0, sy);
    if (row[sx] != kOpen) continue;
    int left = sx, right = sx;
    while (left > 0 && row[left - 1] == kOpen) --left;
    while (right + 1 < w && row[right + 1] == kOpen) ++right;
    std::fill(row + left, row + right + 1, kIn);
    for (int ny : {sy - 1, sy + 1}) {
      if (ny < 0 || ny >= h) continue;
      const std::uint8_t* next = state.data() + at(0, ny);
      bool inRun = false;
      for (int nx = left; nx <= right; ++nx) {
        const bool open = next[nx] == kOpen;
        if (open && !inRun) seeds.emplace_back(nx, ny);
        inRun = open;
      }
    }
  }
  return painter.Region(state, kIn);
}
