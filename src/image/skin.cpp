#include "image/skin.h"

void ComputeRowOffsets(Skin* skin) {
  if (!skin) return;
  int rows = skin->height < kMaxImageRows ? skin->height : kMaxImageRows;
  for (int y = 0; y < rows; ++y) skin->rowOffset[y] = y * skin->width;
}

Palette GreyRampPalette() {
  Palette p{};
  for (int i = 0; i < 256; ++i) p[3 * i] = p[3 * i + 1] = p[3 * i + 2] = static_cast<std::uint8_t>(i);
  return p;
}
