// A pan by whole pixels moves the skin view's picture instead of drawing it
// again: the skin and the lines are drawn from their corners and end points
// alone, so the moved picture is the picture of the moved scene, and only
// the strips the move uncovers are drawn.

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "editor/mapping_transform.h"
#include "editor/skin_picture.h"
#include "editor/workspace.h"

bool SkinPicture::ScrollTo(const Scene& scene, bool writeTags) {
  const Scene& was = drawn_;
  if (!drawnValid_ || (writeTags && !drawnTags_)) return false;
  // The stretch colours follow the screen, not the skin.
  if (app_.editor.showStretch) return false;
  // Only what lies wholly on the picture is drawn the same however it is
  // clipped; the rest starts again from the picture's edge.
  if (!scene.movable || !was.movable || scene.overlay != was.overlay) return false;
  if (scene.width != was.width || scene.height != was.height || scene.covered != was.covered ||
      scene.background != was.background || scene.quads.empty() || scene.quads.size() != was.quads.size() ||
      scene.lines.size() != was.lines.size())
    return false;
  Skin* skin = app_.model.CurrentSkin();
  if (!SkinDrawable(skin) || scene.palette != was.palette || skin->pixels != shown_) return false;
  const int dx = scene.quads[0].xl - was.quads[0].xl;
  const int dy = scene.quads[0].yb - was.quads[0].yb;
  if (std::abs(dx) >= scene.width || std::abs(dy) >= scene.height) return false;
  for (std::size_t i = 0; i < scene.quads.size(); ++i) {
    SkinQuad moved = was.quads[i];
    moved.xl += dx, moved.xr += dx, moved.yb += dy, moved.ya += dy;
    if (!(moved == scene.quads[i])) return false;
  }
  for (std::size_t i = 0; i < scene.lines.size(); ++i) {
    SkinLine moved = was.lines[i];
    moved.x0 += dx, moved.x1 += dx, moved.y0 += dy, moved.y1 += dy;
    if (!(moved == scene.lines[i])) return false;
  }
  // A pan of less than a pixel that moved no corner and no end leaves every pixel as it is.
  if (dx != 0 || dy != 0) MovePicture(dx, dy, writeTags);
  ComputeRowOffsets(skin);  // the strips read the texels through them
  const int w = scene.width, h = scene.height;
  // The uncovered columns over every row, then the uncovered rows beside them.
  PixelBox columns{dx > 0 ? 0 : w + dx, 0, dx > 0 ? dx - 1 : w - 1, h - 1};
  PixelBox rows{dx > 0 ? dx : 0, dy > 0 ? 0 : h + dy, dx < 0 ? w + dx - 1 : w - 1, dy > 0 ? dy - 1 : h - 1};
  if (dx != 0) DrawArea(scene, columns, writeTags, true);
  if (dy != 0) DrawArea(scene, rows, writeTags, true);
  // The selection's dashes follow the screen too: where its outline and the
  // floating piece were, moved, and where they are now are drawn again.
  const PixelBox all{0, 0, w - 1, h - 1};
  const PixelBox moved{was.tools.left + dx, was.tools.top + dy, was.tools.right + dx, was.tools.bottom + dy};
  if (!was.tools.empty()) DrawArea(scene, Intersect(moved, all), writeTags, true);
  DrawArea(scene, scene.tools, writeTags, true);
  return true;
}

// Moves the picture (and its tags) dx pixels right and dy rows up the buffer.
void SkinPicture::MovePicture(int dx, int dy, bool writeTags) {
  const int w = view_.width, h = view_.height;
  const std::size_t n = static_cast<std::size_t>(w - std::abs(dx));
  const int from = std::max(0, -dx), to = std::max(0, dx);
  const auto at = [w](int y) { return static_cast<std::size_t>(y) * static_cast<std::size_t>(w); };
  // The picture goes into the spare buffer, which then takes its place:
  // with nothing read after it is written, the rows can move on every thread.
  spare_.resize(frame_.size());
  const int first = std::max(0, dy), last = std::min(h, h + dy) - 1;
  const auto rows = [&](int top, int bottom) {
    for (int y = top; y <= bottom; ++y) std::memcpy(spare_.data() + at(y) + to, frame_.data() + at(y - dy) + from, n);
  };
  ForRowBands(first, last, [&](int, int top, int bottom) { rows(top, bottom); });
  frame_.swap(spare_);
  if (!writeTags) return;
  // Rows are taken from below when the picture moves up, so each is read
  // before it is written over.
  const auto moveTags = [&](int y) {
    std::memmove(tags_.data() + at(y) + to, tags_.data() + at(y - dy) + from, n * sizeof(std::int32_t));
  };
  if (dy > 0) {
    for (int y = h - 1; y >= dy; --y) moveTags(y);
  } else {
    for (int y = 0; y < h + dy; ++y) moveTags(y);
  }
}
