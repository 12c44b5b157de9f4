#pragma once
// The bucket: the texels whose colour lies within a tolerance of the
// clicked one's (distance in the palette's RGB), either those connected to
// it (edge to edge) or every one on the skin, painted through a painter, so
// ink, protected colours, mask and symmetry hold as for a stroke. The
// colours are judged as they were before the fill began.

#include "editor/skin_painter.h"

struct FillOptions {
  int tolerance = 0;
  bool contiguous = true;
};

// The number of texels changed; 0 when (x, y) is off the skin or masked out.
int FillAt(SkinPainter& painter, int x, int y, const FillOptions& options);
