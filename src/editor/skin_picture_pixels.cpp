// The skin view's pixel tools: the floating piece drawn over the skin where
// it would land, and the outlines of the selection and of the piece in
// dashes of the palette's darkest and brightest colours, so they show on
// any skin.

#include <algorithm>
#include <cmath>

#include "editor/skin_picture.h"
#include "editor/workspace.h"

namespace {

struct Ink {
  std::uint8_t dark = 0, bright = 255;
};

Ink DashColours(const Palette& p) {
  Ink ink;
  int low = 1 << 30, high = -1;
  for (int i = 0; i < 256; ++i) {
    const int sum = p[static_cast<std::size_t>(3 * i)] + p[static_cast<std::size_t>(3 * i + 1)] +
                    p[static_cast<std::size_t>(3 * i + 2)];
    if (sum < low) low = sum, ink.dark = static_cast<std::uint8_t>(i);
    if (sum > high) high = sum, ink.bright = static_cast<std::uint8_t>(i);
  }
  return ink;
}

}  // namespace

// The client column and row where texel (s, t) starts.
int SkinPicture::TexelColumn(int s) const {
  return static_cast<int>(std::floor(view_.width / 2 + (s - view_.centreS) * static_cast<double>(view_.zoom)));
}

int SkinPicture::TexelRow(int t) const {
  return static_cast<int>(std::floor(view_.height / 2 + (t - view_.centreT) * static_cast<double>(view_.zoom)));
}

PixelBox SkinPicture::PixelToolsBox() const {
  const PixelTools& tools = app_.pixels;
  const int h = view_.height;
  PixelBox box;
  const auto add = [&](int x, int y, int width, int height) {
    // Client rows count down, buffer rows up.
    const PixelBox part{TexelColumn(x), h - TexelRow(y + height), TexelColumn(x + width) - 1, h - 1 - TexelRow(y)};
    box = box.empty() ? part
                      : PixelBox{std::min(box.left, part.left), std::min(box.top, part.top),
                                 std::max(box.right, part.right), std::max(box.bottom, part.bottom)};
  };
  if (tools.floating) add(tools.floatX, tools.floatY, tools.floating->width, tools.floating->height);
  if (!tools.selection.empty()) add(tools.selection.x, tools.selection.y, tools.selection.width, tools.selection.height);
  return Intersect(box, {0, 0, view_.width - 1, h - 1});
}

void SkinPicture::DrawPixelTools(const PixelBox& clip) {
  const PixelTools& tools = app_.pixels;
  if (tools.selection.empty() && !tools.floating) return;
  const int w = view_.width, h = view_.height;
  if (w <= 0 || h <= 0 || frame_.size() < static_cast<std::size_t>(w) * static_cast<std::size_t>(h)) return;
  const Ink ink = DashColours(palette_);
  // Client rows top..bottom of the clip.
  const int top = h - 1 - clip.bottom, bottom = h - 1 - clip.top;
  const auto put = [&](int x, int y, std::uint8_t colour) {
    if (x >= clip.left && y >= top && x <= clip.right && y <= bottom && x >= 0 && y >= 0 && x < w && y < h)
      frame_[static_cast<std::size_t>(x) + static_cast<std::size_t>(h - 1 - y) * static_cast<std::size_t>(w)] = colour;
  };
  const auto column = [&](int s) { return TexelColumn(s); };
  const auto row = [&](int t) { return TexelRow(t); };
  // Whether texel (x, y) belongs to a region given by its box and mask.
  struct Region {
    int x, y, width, height;
    const std::vector<std::uint8_t>* inside;
    bool Has(int tx, int ty) const {
      const int dx = tx - x, dy = ty - y;
      return dx >= 0 && dy >= 0 && dx < width && dy < height &&
             (*inside)[static_cast<std::size_t>(dy) * static_cast<std::size_t>(width) + static_cast<std::size_t>(dx)];
    }
  };
  const auto outline = [&](const Region& r) {
    for (int ty = r.y; ty < r.y + r.height; ++ty)
      for (int tx = r.x; tx < r.x + r.width; ++tx) {
        if (!r.Has(tx, ty)) continue;
        const int x0 = column(tx), x1 = column(tx + 1) - 1, y0 = row(ty), y1 = row(ty + 1) - 1;
        if (x1 < 0 || y1 < 0 || x0 >= w || y0 >= h) continue;
        const auto dash = [&](int a) { return (a / 4) % 2 ? ink.dark : ink.bright; };
        if (!r.Has(tx, ty - 1))
          for (int x = x0; x <= x1; ++x) put(x, y0, dash(x));
        if (!r.Has(tx, ty + 1))
          for (int x = x0; x <= x1; ++x) put(x, y1, dash(x));
        if (!r.Has(tx - 1, ty))
          for (int y = y0; y <= y1; ++y) put(x0, y, dash(y));
        if (!r.Has(tx + 1, ty))
          for (int y = y0; y <= y1; ++y) put(x1, y, dash(y));
      }
  };
  if (tools.floating) {
    const SkinPiece& piece = *tools.floating;
    const int cx0 = std::max(column(tools.floatX), std::max(clip.left, 0));
    const int cx1 = std::min(column(tools.floatX + piece.width), std::min(clip.right + 1, w));
    const int cy0 = std::max(row(tools.floatY), std::max(top, 0));
    const int cy1 = std::min(row(tools.floatY + piece.height), std::min(bottom + 1, h));
    for (int y = cy0; y < cy1; ++y)
      for (int x = cx0; x < cx1; ++x) {
        float s = 0, t = 0;
        view_.ClientToSkin(x, y, s, t);
        const int px = static_cast<int>(std::floor(s)) - tools.floatX, py = static_cast<int>(std::floor(t)) - tools.floatY;
        if (px < 0 || py < 0 || px >= piece.width || py >= piece.height) continue;
        const std::size_t at = static_cast<std::size_t>(py) * static_cast<std::size_t>(piece.width) + static_cast<std::size_t>(px);
        if (piece.inside[at]) put(x, y, piece.pixels[at]);
      }
    outline({tools.floatX, tools.floatY, piece.width, piece.height, &piece.inside});
  }
  const PixelSelection& s = tools.selection;
  if (!s.empty()) outline({s.x, s.y, s.width, s.height, &s.inside});
}
