#pragma once
// Painting skin texels through a view's per-pixel tag buffer: the 3D view
// and the skin view both find the texel under a client pixel this way.

#include <cstdint>
#include <vector>

#include "editor/editor_state.h"

class Workspace;
struct Skin;

// A view's tags: bottom-up rows `width` apart (width a multiple of 4 in the
// 3D view), client area clientWidth x height. A tag >= 0 is a texel offset
// y * skin width + x of the current skin.
struct TagView {
  const std::int32_t* tags = nullptr;
  int width = 0;        // row length of the buffer
  int clientWidth = 0;  // the shown part of each row
  int height = 0;

  // The tag under client pixel (x, y), y from the top; -1 outside.
  std::int32_t TagAt(int x, int y) const;
};

// One stroke's memory: which texels were painted, and for the Line brush the
// skin as it was at the press.
struct PaintStroke {
  std::vector<std::uint8_t> paintedMask;  // one byte per skin texel
  std::vector<std::uint8_t> lineBackup;
  bool active = false;

  // A zeroed mask for the current skin (and the backup for a Line stroke).
  void Begin(const Skin& skin, bool keepBackup);
  void End();
  void ClearMask();
};

// Paints the texel under (x, y) through the paint table once per stroke;
// true when a texel changed. Protected colours, tags < 0 and offsets outside
// the skin are skipped. Without a current skin or a begun stroke: false.
bool PaintAt(Workspace& workspace, PaintStroke& stroke, const TagView& view, int x, int y);

// Paints the texels under the line of client pixels from (x0, y0) to
// (x1, y1), clipped to the client area: the number of texels changed, or
// -1 when nothing of the line was in view (no skin, no stroke, clipped
// away). The caller sends the one Pixels refresh when it gets >= 0.
// The undo step name of a stroke with this brush ("Pencil Stroke").
const char* StrokeStepName(BrushKind kind);

// One mouse move of a stroke to (x, y): Point paints the texel under it,
// Pencil the line from (lastX, lastY), Line puts the skin back as it was at
// the press and paints the one line from (pressX, pressY). True when a
// Pixels refresh of both views is due.
bool ContinueStroke(Workspace& workspace, PaintStroke& stroke, const TagView& view, int pressX, int pressY,
                    int lastX, int lastY, int x, int y);

// The colour of the texel under (x, y) into the active colour slot; true
// when the slot changed.
bool PickColourAt(Workspace& workspace, const TagView& view, int x, int y);

int PaintSegment(Workspace& workspace, PaintStroke& stroke, const TagView& view, int x0, int y0, int x1,
                 int y1);
