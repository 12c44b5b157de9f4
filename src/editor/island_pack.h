#pragma once
// Rectangles laid out side by side in a frame: the largest first, in rows,
// each row's items as high as its first one or lower, at one common scale
// chosen as large as the frame allows. The gap between two rectangles is a
// fixed number of texels whatever the scale, so paint laid along one
// island's edge never reaches the next.

#include <vector>

struct PackItem {
  double width = 0, height = 0;  // in the caller's units, before scaling
};

struct PackPlacement {
  double x = 0, y = 0;   // top-left corner in the frame, in texels
  bool turned = false;   // laid a quarter turn round: width and height swap
};

struct PackResult {
  bool fits = false;  // false: not even the smallest scale leaves room for the gaps
  double scale = 0;   // texels per caller unit
  std::vector<PackPlacement> places;  // by item
};

// `turn`: an item taller than wide may be laid on its side, which keeps the
// rows low.
PackResult PackRectangles(const std::vector<PackItem>& items, double frameWidth, double frameHeight, double margin,
                          bool turn);
