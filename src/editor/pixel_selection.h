#pragma once
// Pixel selections on a skin and the pieces they lift: a rectangle or a
// lasso of texels, copied, cut, erased; a piece floated, flipped and placed
// back; pieces to and from true-colour pictures (the system clipboard).
// Placing keeps the protected colours as painting does, and a picture is
// brought into the palette without ever producing a protected colour.

#include <cstdint>
#include <utility>
#include <vector>

#include "editor/editor_state.h"
#include "image/skin.h"
#include "image/true_colour.h"

// A block of texels; `inside` says which belong (a lasso's shape, a
// picture's opaque pixels).
struct SkinPiece {
  int width = 0, height = 0;
  std::vector<std::uint8_t> pixels;  // width x height palette indices, top row first
  std::vector<std::uint8_t> inside;  // 1 where the texel belongs to the piece
  Palette palette{};
  bool empty() const { return width <= 0 || height <= 0; }
};

// The selected texels of a skin: a box and which texels in it are chosen.
struct PixelSelection {
  int x = 0, y = 0, width = 0, height = 0;
  std::vector<std::uint8_t> inside;
  bool empty() const { return width <= 0 || height <= 0; }
  bool Contains(int sx, int sy) const;

  // The box between two texels (both included), clipped to the skin.
  static PixelSelection Rectangle(int x0, int y0, int x1, int y1, int skinWidth, int skinHeight);
  // The texels whose centres lie inside the polygon through the texels
  // `points` (even-odd rule), with the outline's own texels; clipped.
  static PixelSelection Lasso(const std::vector<std::pair<int, int>>& points, int skinWidth, int skinHeight);
};

SkinPiece CopyPixels(const Skin& skin, const PixelSelection& selection);
// The selected texels put to `colour`, protected ones kept: the number changed.
int ErasePixels(Skin& skin, const PixelSelection& selection, std::uint8_t colour, const EditorState& editor);
// The piece's texels written with its top-left corner at (x, y): those off
// the skin and over protected colours are left; a piece with another palette
// is matched to the skin's. The number changed.
int PlacePiece(Skin& skin, const SkinPiece& piece, int x, int y, const EditorState& editor);
// Mirrored left-right (`horizontal`) or top-bottom.
SkinPiece FlipPiece(const SkinPiece& piece, bool horizontal);

// A picture brought into `palette` (nearest colour, or dithered), never to a
// protected colour; pixels less than half opaque are left out of the piece.
SkinPiece PieceFromPicture(const TrueColourPicture& picture, const Palette& palette, const EditorState& editor,
                           bool dither);
// The piece's colours, texels outside it fully transparent.
TrueColourPicture PieceToPicture(const SkinPiece& piece);
