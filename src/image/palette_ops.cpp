#include "image/palette_ops.h"

#include <cmath>
#include <utility>

#include "image/image_files.h"

bool RepaletteSkin(Skin& skin, const std::string& path) {
  // A BMP colour table that turns out short would leave a half-copied
  // palette behind; the skin only takes a palette that was read whole.
  Palette loaded = skin.palette;
  if (!LoadPaletteFile(path, loaded)) return false;
  skin.palette = loaded;
  return true;
}

void InvertPalette(Skin& skin) {
  for (int i = 0; i < 128; ++i) {
    for (int c = 0; c < 3; ++c)
      std::swap(skin.palette[static_cast<std::size_t>(i * 3 + c)],
                skin.palette[static_cast<std::size_t>((255 - i) * 3 + c)]);
  }
}

void InvertPixels(Skin& skin) {
  for (auto& v : skin.pixels) v = static_cast<std::uint8_t>(255 - v);
  for (auto& v : skin.storedPixels) v = static_cast<std::uint8_t>(255 - v);
}

void InvertBoth(Skin& skin) {
  InvertPalette(skin);
  InvertPixels(skin);
}

void ReplaceColours(Skin& skin, std::uint8_t s, std::uint8_t e, std::uint8_t t0, std::uint8_t t1) {
  const int low = s < e ? s : e;
  const int high = s < e ? e : s;
  // One answer per index, so the floating-point rule runs 256 times at most
  // rather than once per pixel.
  int remap[256];
  for (int c = 0; c < 256; ++c) {
    if (c < low || c > high) {
      remap[c] = c;
      continue;
    }
    int value = t0;
    if (s != e) {
      const double step = static_cast<double>(t1 - t0) / static_cast<double>(e - s);
      value = t0 + static_cast<int>(std::trunc(step * static_cast<double>(c - s)));
    }
    remap[c] = value & 0xFF;
  }
  for (auto& v : skin.pixels) v = static_cast<std::uint8_t>(remap[v]);
}
