#include <gtest/gtest.h>

#include <random>

#include "image/colour.h"
#include "image/palette_matcher.h"

namespace {

struct PaletteCase {
  const char* name;
  Palette palette;
};

std::vector<PaletteCase> Palettes() {
  std::mt19937 rng(7);
  auto byte = [&] { return static_cast<std::uint8_t>(rng() & 0xFF); };
  std::vector<PaletteCase> cases;
  Palette random{};
  for (auto& v : random) v = byte();
  cases.push_back({"random", random});
  // Every colour twice or more: only the lower index may ever be answered.
  Palette duplicated{};
  for (int i = 0; i < 256; ++i)
    for (int c = 0; c < 3; ++c) duplicated[i * 3 + c] = random[(i % 40) * 3 + c];
  cases.push_back({"duplicated", duplicated});
  // Entries on cell corners and midpoints give exact ties between different
  // colours (a colour halfway between two entries).
  Palette lattice{};
  for (int i = 0; i < 256; ++i) {
    lattice[i * 3] = static_cast<std::uint8_t>((i & 7) * 36);
    lattice[i * 3 + 1] = static_cast<std::uint8_t>(((i >> 3) & 7) * 36);
    lattice[i * 3 + 2] = static_cast<std::uint8_t>((i >> 6) * 85);
  }
  cases.push_back({"lattice", lattice});
  Palette few{};  // mostly black, a handful of far colours
  for (int i = 250; i < 256; ++i)
    for (int c = 0; c < 3; ++c) few[i * 3 + c] = byte();
  cases.push_back({"mostly black", few});
  Palette clustered{};  // everything in one corner, far from most cells
  for (auto& v : clustered) v = static_cast<std::uint8_t>(240 + (byte() & 15));
  cases.push_back({"clustered", clustered});
  return cases;
}

TEST(PaletteMatcher, AnswersAsThePlainSearchTiesIncluded) {
  std::mt19937 rng(11);
  for (const PaletteCase& pc : Palettes()) {
    PaletteMatcher matcher(pc.palette);
    std::vector<std::array<std::uint8_t, 3>> colours;
    for (int i = 0; i < 20000; ++i)
      colours.push_back({static_cast<std::uint8_t>(rng()), static_cast<std::uint8_t>(rng()),
                         static_cast<std::uint8_t>(rng())});
    // Cell edges, where a pruning mistake would show first.
    for (int v : {0, 7, 8, 127, 128, 248, 255})
      for (int w : {0, 7, 8, 255}) colours.push_back({static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(w), 18});
    // The palette's own colours and the midpoints between neighbours.
    for (int i = 0; i < 255; ++i) {
      colours.push_back({pc.palette[i * 3], pc.palette[i * 3 + 1], pc.palette[i * 3 + 2]});
      colours.push_back({static_cast<std::uint8_t>((pc.palette[i * 3] + pc.palette[i * 3 + 3]) / 2),
                         static_cast<std::uint8_t>((pc.palette[i * 3 + 1] + pc.palette[i * 3 + 4]) / 2),
                         static_cast<std::uint8_t>((pc.palette[i * 3 + 2] + pc.palette[i * 3 + 5]) / 2)});
    }
    for (const auto& c : colours)
      ASSERT_EQ(matcher.Nearest(c[0], c[1], c[2]), NearestPaletteEntry(pc.palette, c[0], c[1], c[2]))
          << pc.name << " colour " << int(c[0]) << "," << int(c[1]) << "," << int(c[2]);
  }
}

}  // namespace
