#pragma once
// The skin view's own drawing primitives: the skin as an upright textured
// rectangle and the mapping's edges as lines. Unlike the general fillers,
// which work out their values from where the clip rectangle cuts an edge,
// every pixel here depends on the corners or end points alone, so any part
// of the picture can be drawn again by itself, and a picture moved by whole
// pixels is the picture of the moved corners.

#include <cstdint>

// A rectangle of buffer pixels, corners inclusive.
struct PixelBox {
  int left = 0, top = 0, right = -1, bottom = -1;
  bool empty() const { return left > right || top > bottom; }
};

PixelBox Intersect(const PixelBox& a, const PixelBox& b);

// The skin drawn as the textured filler draws the four corners (xl, ya) u0 v0,
// (xr, ya) u1 v0, (xr, yb) u1 v1, (xl, yb) u0 v1 when they lie inside its clip
// rectangle (texel coordinates in 16.16), for xl < xr and yb < ya.
struct SkinQuad {
  std::int32_t xl = 0, xr = 0, yb = 0, ya = 0;
  std::int32_t u0 = 0, v0 = 0, u1 = 0, v1 = 0;
  bool operator==(const SkinQuad&) const = default;
};

// The quad's pixels inside `box` into `frame` (rows `pitch` apart), with the
// offset of the texel each shows into `tags` unless that is null. The
// texture is `texels` with row y starting at rowOffset[y].
void FillSkinQuad(const SkinQuad& quad, const PixelBox& box, std::uint8_t* frame, std::int32_t* tags, int pitch,
                  const std::uint8_t* texels, const std::int32_t* rowOffset);

// A mapping edge as the line drawer draws it between the two end points
// when both lie inside the target; only the pixels inside `box` are written.
struct SkinLine {
  std::int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  std::uint8_t colour = 0;
  bool operator==(const SkinLine&) const = default;
};
void DrawSkinLine(const SkinLine& line, const PixelBox& box, std::uint8_t* frame, int pitch);

// Every corner or end point on a picture of width x height. Only then do
// the two above give the general filler's and line drawer's pixels: these
// clip nothing, where those start again from where the picture's edge cuts.
bool InsidePicture(const SkinQuad& quad, int width, int height);
bool InsidePicture(const SkinLine& line, int width, int height);
