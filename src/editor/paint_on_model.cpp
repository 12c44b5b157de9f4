#include "editor/paint_on_model.h"

#include <algorithm>

#include <cstdlib>

#include "editor/workspace.h"

std::int32_t TagView::TagAt(int x, int y) const {
  if (!tags || x < 0 || y < 0 || x >= clientWidth || x >= width || y >= height) return -1;
  return tags[static_cast<std::size_t>(x) + static_cast<std::size_t>(height - 1 - y) * static_cast<std::size_t>(width)];
}

void PaintStroke::Begin(const Skin& skin, bool keepBackup) {
  paintedMask.assign(skin.pixels.size(), 0);
  if (keepBackup)
    lineBackup = skin.pixels;
  else
    lineBackup.clear();
  active = true;
}

void PaintStroke::End() {
  paintedMask = {};
  lineBackup = {};
  active = false;
}

void PaintStroke::ClearMask() { std::fill(paintedMask.begin(), paintedMask.end(), std::uint8_t{0}); }

bool PaintAt(Workspace& app, PaintStroke& stroke, const TagView& view, int x, int y) {
  Skin* skin = app.model.CurrentSkin();
  if (!skin || !stroke.active) return false;
  const std::int32_t t = view.TagAt(x, y);
  if (t < 0) return false;
  // A tag buffer drawn for another skin (or a stale one) may name texels
  // this skin does not have.
  const auto offset = static_cast<std::size_t>(t);
  if (offset >= skin->pixels.size() || offset >= stroke.paintedMask.size()) return false;
  const std::uint8_t colour = skin->pixels[offset];
  if (app.editor.protectedColours[colour]) return false;
  if (stroke.paintedMask[offset]) return false;
  stroke.paintedMask[offset] = 1;
  skin->pixels[offset] = app.editor.paintTable[colour];
  return true;
}

namespace {

bool Inside(const TagView& view, int x, int y) {
  return x >= 0 && y >= 0 && x < view.clientWidth && y < view.height;
}

}  // namespace

int PaintSegment(Workspace& app, PaintStroke& stroke, const TagView& view, int x0, int y0, int x1, int y1) {
  if (!app.model.CurrentSkin() || !stroke.active) return -1;
  if (Inside(view, x0, y0) && Inside(view, x1, y1)) {
    if (x0 == x1 && y0 == y1) return PaintAt(app, stroke, view, x0, y0) ? 1 : 0;
  } else {
    if (x0 == x1 && y0 == y1) return -1;
    RasterTarget client;
    client.Pitch = view.clientWidth;
    client.Rows = view.height;
    std::int32_t ax = x0, ay = y0, bx = x1, by = y1;
    if (!CRasterizer::ClipLine(client, ax, ay, bx, by)) return -1;
    x0 = ax, y0 = ay, x1 = bx, y1 = by;
  }
  if (y0 > y1) {
    std::swap(x0, x1);
    std::swap(y0, y1);
  }
  int painted = 0;
  auto paint = [&](int x, int y) { painted += PaintAt(app, stroke, view, x, y) ? 1 : 0; };
  paint(x0, y0);
  const int dx = x1 - x0;
  const int d = std::abs(dx);
  const int step = dx < 0 ? -1 : 1;
  const int n = y1 - y0;
  int x = x0, y = y0;
  if (n == 0) {
    for (int i = 0; i < d; ++i) paint(x += step, y);
  } else if (d == 0) {
    for (int i = 0; i < n; ++i) paint(x, ++y);
  } else if (d == n) {
    for (int i = 0; i < n; ++i) paint(x += step, ++y);
  } else if (d < n) {
    const std::uint32_t f = static_cast<std::uint32_t>(d) * 65536u / static_cast<std::uint32_t>(n);
    std::uint32_t accumulator = 0;
    for (int i = 0; i < n - 1; ++i) {
      accumulator += f;
      if (accumulator > 0xFFFF) {
        accumulator &= 0xFFFF;
        x += step;
      }
      paint(x, ++y);
    }
    paint(x1, y1);
  } else {
    const std::uint32_t f = static_cast<std::uint32_t>(n) * 65536u / static_cast<std::uint32_t>(d);
    std::uint32_t accumulator = 0;
    for (int i = 0; i < d - 1; ++i) {
      accumulator += f;
      if (accumulator > 0xFFFF) {
        accumulator &= 0xFFFF;
        ++y;
      }
      x += step;
      paint(x, y);
    }
    paint(x1, y1);
  }
  return painted;
}

const char* StrokeStepName(BrushKind kind) {
  switch (kind) {
    case BrushKind::Point:
      return "Point Stroke";
    case BrushKind::Pencil:
      return "Pencil Stroke";
    case BrushKind::Line:
      return "Line Stroke";
  }
  return "Stroke";
}

bool ContinueStroke(Workspace& app, PaintStroke& stroke, const TagView& view, int pressX, int pressY, int lastX,
                    int lastY, int x, int y) {
  Skin* skin = app.model.CurrentSkin();
  if (!skin || !stroke.active) return false;
  switch (app.editor.brushKind) {
    case BrushKind::Point:
      return PaintAt(app, stroke, view, x, y);
    case BrushKind::Pencil:
      return PaintSegment(app, stroke, view, lastX, lastY, x, y) >= 0;
    case BrushKind::Line:
      // A backup of another size (the skin changed under the stroke) is
      // never copied over it.
      if (stroke.lineBackup.size() == skin->pixels.size()) skin->pixels = stroke.lineBackup;
      PaintSegment(app, stroke, view, pressX, pressY, x, y);
      stroke.ClearMask();
      return true;
  }
  return false;
}

bool PickColourAt(Workspace& app, const TagView& view, int x, int y) {
  const Skin* skin = app.model.CurrentSkin();
  if (!skin) return false;
  const std::int32_t t = view.TagAt(x, y);
  if (t < 0 || static_cast<std::size_t>(t) >= skin->pixels.size()) return false;
  const std::uint8_t colour = skin->pixels[static_cast<std::size_t>(t)];
  auto& slot = app.editor.colourSlots[static_cast<std::size_t>(std::clamp(app.editor.activeSlot, 0, 7))];
  if (slot == colour) return false;
  slot = colour;
  return true;
}
