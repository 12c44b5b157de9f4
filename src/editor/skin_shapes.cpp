#include "editor/skin_shapes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

void ConstrainShapeEnd(ShapeKind kind, int x0, int y0, int& x1, int& y1) {
  const int dx = x1 - x0, dy = y1 - y0;
  const int ax = std::abs(dx), ay = std::abs(dy);
  if (kind == ShapeKind::Line) {
    // Nearest of the eight directions: straight when one side is under
    // tan(22.5 degrees) of the other, else diagonal.
    constexpr double kTan22 = 0.41421356;
    if (ay <= ax * kTan22) {
      y1 = y0;
    } else if (ax <= ay * kTan22) {
      x1 = x0;
    } else {
      const int d = std::max(ax, ay);
      x1 = x0 + (dx < 0 ? -d : d);
      y1 = y0 + (dy < 0 ? -d : d);
    }
    return;
  }
  const int d = std::max(ax, ay);
  x1 = x0 + (dx < 0 ? -d : d);
  y1 = y0 + (dy < 0 ? -d : d);
}

bool InEllipse(int x0, int y0, int x1, int y1, int x, int y) {
  const double cx = (x0 + x1) / 2.0, cy = (y0 + y1) / 2.0;
  const double rx = std::abs(x1 - x0) / 2.0 + 0.5, ry = std::abs(y1 - y0) / 2.0 + 0.5;
  const double u = (x - cx) / rx, v = (y - cy) / ry;
  return u * u + v * v <= 1.0;
}

int DrawShape(SkinPainter& painter, ShapeKind kind, int x0, int y0, int x1, int y1, bool filled) {
  if (kind == ShapeKind::Line) return painter.Segment(x0, y0, x1, y1);
  const int left = std::min(x0, x1), right = std::max(x0, x1);
  const int top = std::min(y0, y1), bottom = std::max(y0, y1);
  int changed = 0;
  if (kind == ShapeKind::Rectangle) {
    if (filled)
      for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) changed += painter.Texel(x, y);
    changed += painter.Segment(left, top, right, top);
    changed += painter.Segment(right, top, right, bottom);
    changed += painter.Segment(right, bottom, left, bottom);
    changed += painter.Segment(left, bottom, left, top);
    return changed;
  }
  // The ellipse: its inside filled, or the inside texels with a 4-neighbour
  // outside stamped with the brush.
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x) {
      if (!InEllipse(left, top, right, bottom, x, y)) continue;
      const bool edge = !InEllipse(left, top, right, bottom, x - 1, y) ||
                        !InEllipse(left, top, right, bottom, x + 1, y) ||
                        !InEllipse(left, top, right, bottom, x, y - 1) ||
                        !InEllipse(left, top, right, bottom, x, y + 1);
      if (filled) changed += painter.Texel(x, y);
      if (edge) changed += painter.Stamp(x, y);
    }
  return changed;
}
