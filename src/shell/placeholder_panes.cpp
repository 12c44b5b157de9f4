#include "shell/placeholder_panes.h"

#include <algorithm>

#include "shell/app.h"

namespace {

int RoundUp4(int w) { return (std::max(w, 0) + 3) & ~3; }

}  // namespace

void PlaceholderSkinView::Resize(int clientWidth, int clientHeight) {
  const int stride = RoundUp4(clientWidth);
  const int height = std::max(clientHeight, 0);
  if (clientWidth == width_ && height == height_) return;
  width_ = std::max(clientWidth, 0);
  height_ = height;
  stride_ = stride;
  pixels_.assign(static_cast<std::size_t>(stride_) * static_cast<std::size_t>(height_), 0);
  Redraw(0, 0x20);
}

void PlaceholderSkinView::Redraw(int, int) {
  ++redrawCount;
  const Skin* skin = app_.model.currentSkin;
  const std::uint8_t background = app_.editor.colourSlots[7];
  std::fill(pixels_.begin(), pixels_.end(), background);
  if (skin) {
    palette_ = skin->palette;
  } else {
    palette_ = GreyRampPalette();
    return;
  }
  const int w = std::min<int>(skin->width, width_);
  const int h = std::min<int>(skin->height, height_);
  if (skin->pixels.size() < static_cast<std::size_t>(skin->width) * static_cast<std::size_t>(skin->height)) return;
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* src = skin->pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(skin->width);
    std::uint8_t* dst = pixels_.data() + static_cast<std::size_t>(height_ - 1 - y) * static_cast<std::size_t>(stride_);
    std::copy(src, src + w, dst);
  }
}

PaneImage PlaceholderSkinView::Image() const {
  PaneImage image;
  image.pixels = pixels_.empty() ? nullptr : pixels_.data();
  image.width = width_;
  image.height = height_;
  image.stride = stride_;
  image.bitsPerPixel = 8;
  image.bottomUp = true;
  image.palette = &palette_;
  return image;
}
