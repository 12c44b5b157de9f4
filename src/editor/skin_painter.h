#pragma once
// Painting on a skin in texel coordinates: the brush's footprint, the inks,
// strokes without gaps, and the symmetry that paints each texel's mirror
// image too. Every texel of a stroke, fill or shape goes through one
// painter, which keeps the protected colours, the selection's mask and the
// stroke's memory: a texel is painted at most once per stroke, so a tint
// stroke that crosses itself leaves no darker blob.

#include <cstdint>
#include <functional>
#include <vector>

#include "editor/editor_state.h"
#include "editor/palette_ramps.h"
#include "image/skin.h"

struct TexelOffset {
  int dx = 0, dy = 0;
  bool operator==(const TexelOffset&) const = default;
};

// The texels a brush of `size` (1 to kMaxBrushSize) covers around the texel
// it is centred on: a size x size block reaching (size - 1) / 2 texels left
// and up; a round brush keeps the texels whose centres lie within size / 2
// of the block's centre.
std::vector<TexelOffset> BrushFootprint(int size, BrushShape shape);

class SkinPainter {
 public:
  // Paints `skin` with the editor's ink, brush and symmetry; `ramps` are the
  // skin palette's (needed by the ramp inks).
  SkinPainter(Skin& skin, const EditorState& editor);

  // Only texels set in `mask` (one byte a texel) are painted; null: all.
  void SetMask(const std::vector<std::uint8_t>* mask) { mask_ = mask; }
  const std::vector<std::uint8_t>* mask() const { return mask_; }
  // The mirror image of a texel offset for the model-plane symmetries (-1:
  // none); the skin-line symmetries need none.
  void SetMirror(std::function<int(int)> mirror) { mirror_ = std::move(mirror); }
  // Texels off one edge come back in at the other (the tiled skin view).
  void SetWrap(bool wrap) { wrap_ = wrap; }
  // Forgets which texels the stroke painted (a shape redrawn as it is dragged).
  void ForgetStroke();

  // Paints texel (x, y) and its mirror image; texels outside the skin are
  // skipped. The number of texels changed.
  int Texel(int x, int y);
  // The texel at `offset` (y * width + x), as Texel does.
  int Offset(std::int64_t offset);
  // The brush's footprint centred on (x, y).
  int Stamp(int x, int y);
  // Every texel whose byte in `region` (one a texel of the skin) is `value`.
  int Region(const std::vector<std::uint8_t>& region, std::uint8_t value = 1);
  // The footprint at every texel of the line from (x0, y0) to (x1, y1): no gap.
  int Segment(int x0, int y0, int x1, int y1);

  const Skin& skin() const { return skin_; }
  int brushSize() const { return size_; }

 private:
  bool PaintOffset(std::size_t offset);

  Skin& skin_;
  const EditorState& editor_;
  PaletteRamps ramps_;
  std::vector<TexelOffset> footprint_;
  int size_ = 1;
  const std::vector<std::uint8_t>* mask_ = nullptr;
  std::function<int(int)> mirror_;
  std::vector<std::uint8_t> painted_;
  bool wrap_ = false;
};

// The texels of the line from (x0, y0) to (x1, y1), both ends included,
// each step moving one texel along the longer axis.
void ForEachLineTexel(int x0, int y0, int x1, int y1, const std::function<void(int, int)>& texel);
