#include "image/new_skin.h"

#include <cstddef>

std::unique_ptr<Skin> MakeBlankSkin(const std::string& name, int width, int height, const Palette& palette) {
  auto skin = std::make_unique<Skin>();
  skin->name = name;
  skin->flags = SKIN_EXTERNAL;
  skin->hasFile = 0;
  skin->format = FORMAT_PCX;
  skin->palette = palette;
  skin->width = static_cast<std::int16_t>(width);
  skin->height = static_cast<std::int16_t>(height);
  std::size_t count = width > 0 && height > 0 ? static_cast<std::size_t>(width) * static_cast<std::size_t>(height) : 0;
  skin->pixels.assign(count, 0);
  skin->storedPixels.assign(count, 0);
  ComputeRowOffsets(skin.get());
  return skin;
}

void FillSkin(Skin& skin, std::uint8_t colour) { skin.pixels.assign(skin.pixels.size(), colour); }

void FillCheckerboard(Skin& skin, std::uint8_t same, std::uint8_t differ) {
  const int w = skin.width, h = skin.height;
  if (skin.pixels.size() != static_cast<std::size_t>(w > 0 ? w : 0) * static_cast<std::size_t>(h > 0 ? h : 0)) return;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      skin.pixels[static_cast<std::size_t>(y) * w + x] = (((x >> 2) ^ (y >> 2)) & 1) == 0 ? same : differ;
}

void DrawGridDots(Skin& skin, std::uint8_t oddColumns, std::uint8_t evenColumns) {
  const int w = skin.width, h = skin.height;
  if (skin.pixels.size() != static_cast<std::size_t>(w > 0 ? w : 0) * static_cast<std::size_t>(h > 0 ? h : 0)) return;
  for (int y = 0; y < h; y += 2)
    for (int x = 1; x < w; x += 2) skin.pixels[static_cast<std::size_t>(y) * w + x] = oddColumns;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; x += 2) skin.pixels[static_cast<std::size_t>(y) * w + x] = evenColumns;
}
