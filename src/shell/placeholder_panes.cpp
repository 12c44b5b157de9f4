#include "shell/placeholder_panes.h"

#include <algorithm>
#include <string_view>

#include "shell/app.h"

namespace {

int RoundUp4(int w) { return (std::max(w, 0) + 3) & ~3; }

}  // namespace

void PlaceholderStrip::Resize(int clientWidth, int clientHeight) {
  const int width = std::max(clientWidth, 0);
  const int height = std::max(clientHeight, 0);
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  stride_ = RoundUp4(width_ * 3);
  pixels_.assign(static_cast<std::size_t>(stride_) * static_cast<std::size_t>(height_), grey_);
}

void PlaceholderStrip::Redraw(int, int) {
  ++redrawCount;
  std::fill(pixels_.begin(), pixels_.end(), grey_);
}

PaneImage PlaceholderStrip::Image() const {
  PaneImage image;
  image.pixels = pixels_.empty() ? nullptr : pixels_.data();
  image.width = width_;
  image.height = height_;
  image.stride = stride_;
  image.bitsPerPixel = 24;
  image.bottomUp = true;
  return image;
}

void PlaceholderStrip::MouseDown(const MouseEvent& e) {
  if (std::string_view(WindowName()) != "Gradient Box" || e.button != MouseButton::Left) return;
  app_.messages.Send(WndMessage{WndTarget::ShellWnd, "VRK-BarAdjust", 0, 0});
}

CursorKind PlaceholderStrip::Cursor() const {
  return std::string_view(WindowName()) == "Gradient Box" ? CursorKind::SizeWE : CursorKind::Arrow;
}
