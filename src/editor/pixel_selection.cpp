#include "editor/pixel_selection.h"

#include <algorithm>
#include <array>

#include "editor/skin_painter.h"
#include "image/palette_matcher.h"

namespace {

std::size_t At(int x, int y, int width) {
  return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x);
}

// A selection over the box of `x0..x1` x `y0..y1` clipped to the skin, with
// `chosen(x, y)` for each skin texel in it.
template <class Chosen>
PixelSelection Clipped(int x0, int y0, int x1, int y1, int w, int h, Chosen&& chosen) {
  PixelSelection s;
  if (x0 > x1) std::swap(x0, x1);
  if (y0 > y1) std::swap(y0, y1);
  x0 = std::max(x0, 0);
  y0 = std::max(y0, 0);
  x1 = std::min(x1, w - 1);
  y1 = std::min(y1, h - 1);
  if (x0 > x1 || y0 > y1) return s;
  s.x = x0;
  s.y = y0;
  s.width = x1 - x0 + 1;
  s.height = y1 - y0 + 1;
  s.inside.assign(static_cast<std::size_t>(s.width) * static_cast<std::size_t>(s.height), 0);
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) s.inside[At(x - x0, y - y0, s.width)] = chosen(x, y) ? 1 : 0;
  return s;
}

}  // namespace

bool PixelSelection::Contains(int sx, int sy) const {
  const int dx = sx - x, dy = sy - y;
  if (dx < 0 || dy < 0 || dx >= width || dy >= height) return false;
  return inside[At(dx, dy, width)] != 0;
}

PixelSelection PixelSelection::Rectangle(int x0, int y0, int x1, int y1, int skinWidth, int skinHeight) {
  return Clipped(x0, y0, x1, y1, skinWidth, skinHeight, [](int, int) { return true; });
}

PixelSelection PixelSelection::Lasso(const std::vector<std::pair<int, int>>& points, int skinWidth, int skinHeight) {
  if (points.empty()) return {};
  int x0 = points[0].first, x1 = x0, y0 = points[0].second, y1 = y0;
  for (const auto& [px, py] : points) {
    x0 = std::min(x0, px), x1 = std::max(x1, px);
    y0 = std::min(y0, py), y1 = std::max(y1, py);
  }
  std::vector<std::uint8_t> outline(static_cast<std::size_t>(x1 - x0 + 1) * static_cast<std::size_t>(y1 - y0 + 1), 0);
  const int ow = x1 - x0 + 1;
  for (std::size_t i = 0; i < points.size(); ++i) {
    const auto& a = points[i];
    const auto& b = points[(i + 1) % points.size()];
    ForEachLineTexel(a.first, a.second, b.first, b.second,
                     [&](int x, int y) { outline[At(x - x0, y - y0, ow)] = 1; });
  }
  const auto inPolygon = [&](int x, int y) {
    bool in = false;
    for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
      const double xi = points[i].first, yi = points[i].second, xj = points[j].first, yj = points[j].second;
      if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
    }
    return in;
  };
  return Clipped(x0, y0, x1, y1, skinWidth, skinHeight,
                 [&](int x, int y) { return outline[At(x - x0, y - y0, ow)] != 0 || inPolygon(x, y); });
}

SkinPiece CopyPixels(const Skin& skin, const PixelSelection& s) {
  SkinPiece piece;
  if (s.empty() || s.x + s.width > skin.width || s.y + s.height > skin.height) return piece;
  piece.width = s.width;
  piece.height = s.height;
  piece.palette = skin.palette;
  piece.inside = s.inside;
  piece.pixels.resize(s.inside.size());
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) piece.pixels[At(x, y, s.width)] = skin.pixels[At(s.x + x, s.y + y, skin.width)];
  return piece;
}

int ErasePixels(Skin& skin, const PixelSelection& s, std::uint8_t colour, const EditorState& editor) {
  int changed = 0;
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) {
      if (!s.inside[At(x, y, s.width)] || s.x + x >= skin.width || s.y + y >= skin.height) continue;
      std::uint8_t& texel = skin.pixels[At(s.x + x, s.y + y, skin.width)];
      if (editor.protectedColours[texel] || texel == colour) continue;
      texel = colour;
      ++changed;
    }
  return changed;
}

int PlacePiece(Skin& skin, const SkinPiece& piece, int x, int y, const EditorState& editor) {
  if (piece.empty()) return 0;
  // Colours from another palette go to the skin's nearest entry that is not
  // protected.
  std::array<std::uint8_t, 256> remap{};
  for (int i = 0; i < 256; ++i) remap[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
  if (piece.palette != skin.palette) {
    TrueColourPicture colours;
    colours.width = 256;
    colours.height = 1;
    for (int i = 0; i < 256; ++i)
      colours.rgba.insert(colours.rgba.end(), {piece.palette[static_cast<std::size_t>(3 * i)],
                                               piece.palette[static_cast<std::size_t>(3 * i + 1)],
                                               piece.palette[static_cast<std::size_t>(3 * i + 2)], 255});
    const SkinPiece matched = PieceFromPicture(colours, skin.palette, editor, false);
    std::copy(matched.pixels.begin(), matched.pixels.end(), remap.begin());
  }
  int changed = 0;
  for (int py = 0; py < piece.height; ++py)
    for (int px = 0; px < piece.width; ++px) {
      const int sx = x + px, sy = y + py;
      if (sx < 0 || sy < 0 || sx >= skin.width || sy >= skin.height) continue;
      if (!piece.inside[At(px, py, piece.width)]) continue;
      std::uint8_t& texel = skin.pixels[At(sx, sy, skin.width)];
      const std::uint8_t next = remap[piece.pixels[At(px, py, piece.width)]];
      if (editor.protectedColours[texel] || texel == next) continue;
      texel = next;
      ++changed;
    }
  return changed;
}

SkinPiece FlipPiece(const SkinPiece& piece, bool horizontal) {
  SkinPiece out = piece;
  for (int y = 0; y < piece.height; ++y)
    for (int x = 0; x < piece.width; ++x) {
      const int fx = horizontal ? piece.width - 1 - x : x;
      const int fy = horizontal ? y : piece.height - 1 - y;
      out.pixels[At(fx, fy, piece.width)] = piece.pixels[At(x, y, piece.width)];
      out.inside[At(fx, fy, piece.width)] = piece.inside[At(x, y, piece.width)];
    }
  return out;
}

SkinPiece PieceFromPicture(const TrueColourPicture& picture, const Palette& palette, const EditorState& editor,
                           bool dither) {
  SkinPiece piece;
  const std::size_t count = static_cast<std::size_t>(std::max(picture.width, 0)) * static_cast<std::size_t>(std::max(picture.height, 0));
  if (count == 0 || picture.rgba.size() < count * 4) return piece;
  // The matcher sees only the allowed entries; the spare places repeat the
  // first of them, which wins every tie by its lower index.
  std::vector<std::uint8_t> allowed;
  for (int i = 0; i < 256; ++i)
    if (!editor.protectedColours[static_cast<std::size_t>(i)]) allowed.push_back(static_cast<std::uint8_t>(i));
  if (allowed.empty()) return piece;
  Palette reduced{};
  for (std::size_t i = 0; i < 256; ++i) {
    const std::size_t from = i < allowed.size() ? allowed[i] : allowed[0];
    for (int k = 0; k < 3; ++k) reduced[3 * i + static_cast<std::size_t>(k)] = palette[3 * from + static_cast<std::size_t>(k)];
  }
  const std::vector<std::uint8_t> mapped = MapToPalette(picture, reduced, dither);
  piece.width = picture.width;
  piece.height = picture.height;
  piece.palette = palette;
  piece.pixels.resize(count);
  piece.inside.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    piece.inside[i] = picture.rgba[4 * i + 3] >= kOpaqueAlphaFrom ? 1 : 0;
    piece.pixels[i] = piece.inside[i] ? allowed[std::min<std::size_t>(mapped[i], allowed.size() - 1)] : allowed[0];
  }
  return piece;
}

TrueColourPicture PieceToPicture(const SkinPiece& piece) {
  TrueColourPicture picture;
  if (piece.empty()) return picture;
  picture.width = piece.width;
  picture.height = piece.height;
  picture.rgba.resize(piece.pixels.size() * 4);
  for (std::size_t i = 0; i < piece.pixels.size(); ++i) {
    const std::size_t c = static_cast<std::size_t>(piece.pixels[i]) * 3;
    picture.rgba[4 * i] = piece.palette[c];
    picture.rgba[4 * i + 1] = piece.palette[c + 1];
    picture.rgba[4 * i + 2] = piece.palette[c + 2];
    picture.rgba[4 * i + 3] = piece.inside[i] ? 255 : 0;
  }
  return picture;
}
