#include "editor/skin_painter.h"

#include <algorithm>
#include <cstdlib>

std::vector<TexelOffset> BrushFootprint(int size, BrushShape shape) {
  size = std::clamp(size, 1, kMaxBrushSize);
  const int reach = (size - 1) / 2;
  const double centre = (size - 1) / 2.0;
  const double radius = size / 2.0;
  std::vector<TexelOffset> out;
  for (int j = 0; j < size; ++j)
    for (int i = 0; i < size; ++i) {
      const double dx = i - centre, dy = j - centre;
      if (shape == BrushShape::Round && dx * dx + dy * dy > radius * radius) continue;
      out.push_back({i - reach, j - reach});
    }
  return out;
}

void ForEachLineTexel(int x0, int y0, int x1, int y1, const std::function<void(int, int)>& texel) {
  const int dx = std::abs(x1 - x0), dy = std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int err = dx - dy;
  for (;;) {
    texel(x0, y0);
    if (x0 == x1 && y0 == y1) return;
    const int e2 = 2 * err;
    if (e2 > -dy) {
      err -= dy;
      x0 += sx;
    }
    if (e2 < dx) {
      err += dx;
      y0 += sy;
    }
  }
}

SkinPainter::SkinPainter(Skin& skin, const EditorState& editor)
    : skin_(skin),
      editor_(editor),
      ramps_(FindPaletteRamps(skin.palette)),
      footprint_(BrushFootprint(editor.brushSize, editor.brushShape)),
      size_(std::clamp(editor.brushSize, 1, kMaxBrushSize)),
      painted_(skin.pixels.size(), 0) {}

void SkinPainter::ForgetStroke() { std::fill(painted_.begin(), painted_.end(), std::uint8_t{0}); }

bool SkinPainter::PaintOffset(std::size_t offset) {
  if (offset >= skin_.pixels.size() || painted_[offset]) return false;
  if (mask_ && (offset >= mask_->size() || !(*mask_)[offset])) return false;
  std::uint8_t& texel = skin_.pixels[offset];
  if (editor_.protectedColours[texel]) return false;
  std::uint8_t next = texel;
  switch (editor_.ink) {
    case PaintInk::RampUp:
      next = ramps_.brighter[texel];
      break;
    case PaintInk::RampDown:
      next = ramps_.darker[texel];
      break;
    default:
      next = editor_.paintTable[texel];
      break;
  }
  if (next != texel && editor_.ink != PaintInk::Paint && editor_.protectedColours[next]) return false;
  painted_[offset] = 1;
  if (next == texel) return false;
  texel = next;
  return true;
}

int SkinPainter::Texel(int x, int y) {
  const int w = skin_.width, h = skin_.height;
  if (wrap_ && w > 0 && h > 0) {
    x = ((x % w) + w) % w;
    y = ((y % h) + h) % h;
  }
  if (x < 0 || y < 0 || x >= w || y >= h) return 0;
  const auto at = [w](int px, int py) { return static_cast<std::size_t>(py) * static_cast<std::size_t>(w) + static_cast<std::size_t>(px); };
  // A texel the stroke has painted had its mirror image painted with it.
  if (painted_[at(x, y)]) return 0;
  int changed = PaintOffset(at(x, y)) ? 1 : 0;
  switch (editor_.symmetry) {
    case Symmetry::SkinX:
      changed += PaintOffset(at(w - 1 - x, y)) ? 1 : 0;
      break;
    case Symmetry::SkinY:
      changed += PaintOffset(at(x, h - 1 - y)) ? 1 : 0;
      break;
    case Symmetry::None:
      break;
    default:
      if (mirror_) {
        const int m = mirror_(static_cast<int>(at(x, y)));
        if (m >= 0) changed += PaintOffset(static_cast<std::size_t>(m)) ? 1 : 0;
      }
      break;
  }
  return changed;
}

int SkinPainter::Offset(std::int64_t offset) {
  const std::int64_t w = skin_.width;
  if (w <= 0 || offset < 0 || offset >= static_cast<std::int64_t>(skin_.pixels.size())) return 0;
  return Texel(static_cast<int>(offset % w), static_cast<int>(offset / w));
}

int SkinPainter::Region(const std::vector<std::uint8_t>& region, std::uint8_t value) {
  const std::size_t area = std::min(region.size(), skin_.pixels.size());
  int changed = 0;
  if (editor_.symmetry == Symmetry::None && !mask_ && editor_.ink == PaintInk::Paint) {
    // The common case without a mirror, a mask or a ramp, as PaintOffset
    // does it.
    std::uint8_t* pixels = skin_.pixels.data();
    for (std::size_t i = 0; i < area; ++i) {
      if (region[i] != value || painted_[i] || editor_.protectedColours[pixels[i]]) continue;
      painted_[i] = 1;
      const std::uint8_t next = editor_.paintTable[pixels[i]];
      changed += next != pixels[i] ? 1 : 0;
      pixels[i] = next;
    }
    return changed;
  }
  for (std::size_t i = 0; i < area; ++i)
    if (region[i] == value) changed += editor_.symmetry == Symmetry::None ? (PaintOffset(i) ? 1 : 0) : Offset(static_cast<std::int64_t>(i));
  return changed;
}

int SkinPainter::Stamp(int x, int y) {
  int changed = 0;
  for (const TexelOffset& o : footprint_) changed += Texel(x + o.dx, y + o.dy);
  return changed;
}

int SkinPainter::Segment(int x0, int y0, int x1, int y1) {
  int changed = 0;
  ForEachLineTexel(x0, y0, x1, y1, [&](int x, int y) { changed += Stamp(x, y); });
  return changed;
}
