#include "editor/snapshot.h"

#include <algorithm>
#include <utility>

#include "editor/model_view.h"
#include "editor/workspace.h"
#include "render/render_mode.h"

namespace {

// The first `width` columns of every buffer row, the rows turned top first.
std::unique_ptr<Skin> FromBuffer(const Viewport& v, int width, const Palette& palette) {
  if (v.width <= 0 || v.height <= 0 || width <= 0 || width > v.width ||
      v.frameBuffer.size() < static_cast<std::size_t>(v.width) * static_cast<std::size_t>(v.height))
    return nullptr;
  auto skin = std::make_unique<Skin>();
  skin->width = static_cast<std::int16_t>(width);
  skin->height = v.height;
  skin->palette = palette;
  skin->pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(v.height));
  for (int y = 0; y < v.height; ++y) {
    const std::uint8_t* row = v.frameBuffer.data() + static_cast<std::size_t>(v.height - 1 - y) * v.width;
    std::copy(row, row + width, skin->pixels.begin() + static_cast<std::ptrdiff_t>(y) * width);
  }
  ComputeRowOffsets(skin.get());
  return skin;
}

// The reach of the picture from the projection's centre, in pixels: left,
// right, below, above. The centre is (buffer width / 2, height / 2), rows
// counted from the bottom; `width` is what is kept of the buffer's columns.
struct Reach {
  double side[4];
};

Reach ReachOf(int bufferWidth, int width, int height) {
  const int cx = bufferWidth / 2, cy = height / 2;
  return Reach{{static_cast<double>(cx), static_cast<double>(width - 1 - cx), static_cast<double>(cy),
                static_cast<double>(height - 1 - cy)}};
}

// The view's picture scaled as one, as large as fits in the new size: the
// field of view across the fitted picture stays the view's, so nothing the
// view showed is cut and the rest of the new size shows more around it.
double FittedProjectionSide(const Viewport& view, int width, int height) {
  const Reach from = ReachOf(view.width, view.width, view.height);
  const Reach to = ReachOf((width + 3) & ~3, width, height);
  double scale = -1;
  for (int i = 0; i < 4; ++i) {
    if (from.side[i] <= 0) continue;
    const double s = to.side[i] / from.side[i];
    if (scale < 0 || s < scale) scale = s;
  }
  const double side = std::min<int>(view.width, view.height);
  return scale > 0 ? side * scale : 0;
}

}  // namespace

std::unique_ptr<Skin> TakeSnapshot(Workspace& ws, ModelView& view, bool custom, int width, int height) {
  if (!custom) return FromBuffer(ws.viewport, std::min<int>(width, ws.viewport.width), view.snapshotPalette());
  Viewport& v = ws.viewport;
  // The view's own buffers wait aside, untouched, while the custom picture
  // is drawn; nothing re-renders them afterwards.
  Viewport kept;
  std::swap(kept.frameBuffer, v.frameBuffer);
  std::swap(kept.lightLevels, v.lightLevels);
  std::swap(kept.depthBuffer, v.depthBuffer);
  std::swap(kept.tagBuffer, v.tagBuffer);
  kept.width = v.width;
  kept.height = v.height;
  const double keptSide = v.projectionSide;
  v.projectionSide = FittedProjectionSide(v, width, height);
  ResizeViewport(v, width, height, IsLitTexturedIndex(ws.renderModes.renderModeIndex));
  view.RenderView(REDRAW_FULL, kShowNow);
  v.projectionSide = keptSide;
  std::unique_ptr<Skin> skin = FromBuffer(v, width, view.snapshotPalette());
  std::swap(kept.frameBuffer, v.frameBuffer);
  std::swap(kept.lightLevels, v.lightLevels);
  std::swap(kept.depthBuffer, v.depthBuffer);
  std::swap(kept.tagBuffer, v.tagBuffer);
  v.width = kept.width;
  v.height = kept.height;
  return skin;
}
