#include "image/skin_resize.h"

#include <cstddef>
#include <vector>

#include "image/image_files.h"

std::string CheckSkinResize(int oldWidth, int oldHeight, int width, int height, bool enforceLimits) {
  if (width == oldWidth && height == oldHeight) return kResizeSameSizeText;
  if (width <= 0 || height <= 0) return kResizeZeroText;
  if (enforceLimits) {
    if (width % 4 != 0) return kResizeWidthMultipleText;
    if (width > kSkinLimitWidth || height > kSkinLimitHeight) return kResizeTooLargeText;
  }
  // The record's sizes are 16-bit and a texture addresses at most 2048 rows;
  // beyond that the skin could not be drawn or saved.
  if (width > kMaxImageWidth || height > kMaxImageRows) return kSkinSizeText;
  return "";
}

void ResampleSkin(Skin& skin, int width, int height) {
  const int oldW = skin.width;
  const int oldH = skin.height;
  std::vector<std::uint8_t> out(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  // A record whose buffer does not match its size has nothing trustworthy to
  // sample; it comes out blank rather than read past its end.
  if (oldW <= 0 || oldH <= 0 ||
      skin.pixels.size() != static_cast<std::size_t>(oldW) * static_cast<std::size_t>(oldH)) {
    skin.pixels.assign(out.size(), 0);
    skin.width = static_cast<std::int16_t>(width);
    skin.height = static_cast<std::int16_t>(height);
    skin.storedPixels = skin.pixels;
    ComputeRowOffsets(&skin);
    return;
  }
  // Column sources once per resample; doubles make x * oldW / W exact enough
  // that truncation never lands on the wrong side of a whole number.
  std::vector<int> column(static_cast<std::size_t>(width));
  for (int x = 0; x < width; ++x)
    column[static_cast<std::size_t>(x)] = static_cast<int>(static_cast<double>(x) * oldW / width);
  for (int y = 0; y < height; ++y) {
    const int sy = static_cast<int>(static_cast<double>(y) * oldH / height);
    const std::uint8_t* src = skin.pixels.data() + static_cast<std::size_t>(sy) * static_cast<std::size_t>(oldW);
    std::uint8_t* dst = out.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
    for (int x = 0; x < width; ++x) dst[x] = src[column[static_cast<std::size_t>(x)]];
  }
  skin.pixels = std::move(out);
  skin.width = static_cast<std::int16_t>(width);
  skin.height = static_cast<std::int16_t>(height);
  skin.storedPixels = skin.pixels;
  ComputeRowOffsets(&skin);
}

float ScaleMapCoordinate(float coordinate, int oldSize, int newSize) {
  return static_cast<float>(newSize * (static_cast<double>(coordinate) + 0.5) / oldSize);
}

bool ResizeSkinImage(Skin& skin, int width, int height, bool enforceLimits, std::string* error) {
  auto fail = [&](const std::string& text) {
    if (error) *error = text;
    return false;
  };
  if (skin.width <= 0 || skin.height <= 0 ||
      skin.pixels.size() != static_cast<std::size_t>(skin.width) * static_cast<std::size_t>(skin.height))
    return fail("The image has no usable pixels");
  if (width == skin.width && height == skin.height) return true;
  std::string refused = CheckSkinResize(skin.width, skin.height, width, height, enforceLimits);
  if (!refused.empty()) return fail(refused);
  ResampleSkin(skin, width, height);
  return true;
}
