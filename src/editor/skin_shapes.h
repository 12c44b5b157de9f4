#pragma once
// Lines, rectangles and ellipses on the skin, drawn with the brush (outlines
// as strokes of its footprint) through a painter. Corners are texels, both
// included; a rectangle or ellipse spans the box they make.

#include "editor/skin_painter.h"

enum class ShapeKind { Line, Rectangle, Ellipse };

// With Shift held: a line's end moved onto the nearest multiple of 45
// degrees from its start, a box's made square (the longer side kept).
void ConstrainShapeEnd(ShapeKind kind, int x0, int y0, int& x1, int& y1);

// Whether texel (x, y) lies in the ellipse inscribed in the box from
// (x0, y0) to (x1, y1): within the ellipse through the box's outer edges.
bool InEllipse(int x0, int y0, int x1, int y1, int x, int y);

// The number of texels changed.
int DrawShape(SkinPainter& painter, ShapeKind kind, int x0, int y0, int x1, int y1, bool filled);
