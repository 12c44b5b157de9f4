#pragma once
// The skin view's picture: the current skin drawn flat at the view's zoom
// and pan, the background around it, the mapping's edges and frame over it,
// and the pixel tools; with a tag per pixel naming the texel it shows. A pan
// by whole pixels moves the picture and draws only what it uncovers.

#include <cstdint>
#include <functional>
#include <vector>

#include "editor/skin_view_fill.h"
#include "editor/tools/skin_view_transform.h"
#include "image/skin.h"
#include "model/model.h"

class Workspace;
class CRasterizer;

class SkinPicture {
 public:
  // `view` is the pane's, read at every draw.
  SkinPicture(Workspace& workspace, const SkinViewTransform& view);

  // A redraw of the given kind at the view as it is now.
  void Draw(int kind);
  // New buffers for the view's size, cleared.
  void Allocate(std::size_t pixels);

  const std::vector<std::uint8_t>& frame() const { return frame_; }
  const std::vector<std::int32_t>& tags() const { return tags_; }
  // The current skin's palette, grey without a skin.
  const Palette& palette() const { return palette_; }

 private:
  // What a Full or Quick redraw draws: the skin's rectangles (nine when
  // tiled), the overlay's lines in the order drawn, and what colours them.
  struct Scene {
    std::vector<SkinQuad> quads;
    std::vector<SkinLine> lines;
    bool covered = false;  // the skin covers every pixel
    std::uint8_t background = 0;
    Palette palette{};
    int width = 0, height = 0;
    PixelBox tools;  // where the pixel tools were drawn
    bool overlay = false;  // the mapping's lines are drawn
    // `lines` holds the overlay's, kept because every skin rectangle lies on
    // the picture (otherwise they are drawn as they are found).
    bool linesKept = false;
    // Every skin rectangle and overlay line lies on the picture, where they
    // are drawn the same however the picture is clipped.
    bool movable = false;
  };

  // --- drawing (skin_picture.cpp) ---
  void NormaliseMappingFrame();
  void MakeScene(Scene& scene) const;
  // The background (unless covered), the skin and, when `all`, the pixel
  // tools and the overlay's lines, inside `box` alone. A skin rectangle
  // that crosses the picture's edge goes through the general filler `r`
  // (rows of `box`, which then spans the picture's width); without one it
  // is left out.
  void DrawArea(const Scene& scene, const PixelBox& box, bool writeTags, bool all, CRasterizer* r = nullptr);
  // The overlay's lines over the whole picture, through the line drawer
  // (which leaves a line on the picture as it is, and clips the others).
  void DrawOverlayLines(const Scene& scene);
  // fn(band, top, bottom) over rows first..last: in bands, each on its own
  // render thread, for a big picture; all at once (band 0) for a small one.
  void ForRowBands(int first, int last, const std::function<void(int, int, int)>& fn);
  // fn(rasterizer, top, bottom) for every band of the whole picture.
  template <class BandFn>
  void InBands(BandFn&& fn);
  bool SkinCoversBuffer() const;
  void RecolourSkinPixels();
  // line(SkinLine) for the mapping's edges and frame, in the order drawn.
  template <class LineFn>
  void OverlayLines(LineFn&& line) const;
  // The pixel selection's outline and the floating piece, inside `clip`
  // alone, and the buffer pixels they may reach (skin_picture_pixels.cpp).
  void DrawPixelTools(const PixelBox& clip);
  PixelBox PixelToolsBox() const;
  int TexelColumn(int s) const;
  int TexelRow(int t) const;
  bool EdgeEnd(const MapVertex& v, std::int32_t& x, std::int32_t& y) const;
  int OverlayVertexLimit() const;
  // --- moving the picture (skin_picture_scroll.cpp) ---
  // When the scene is the one shown moved by whole pixels (a pan), moves the
  // picture and draws only the strips it uncovers; false, nothing done,
  // when anything else changed.
  bool ScrollTo(const Scene& scene, bool writeTags);
  void MovePicture(int dx, int dy, bool writeTags);


  Workspace& app_;
  const SkinViewTransform& view_;
  std::vector<std::uint8_t> frame_;
  std::vector<std::int32_t> tags_;
  Palette palette_{};
  // The skin's texels as the picture shows them, so a redraw of changed
  // pixels recolours only the part of the picture over what changed.
  std::vector<std::uint8_t> shown_;
  // The scene the picture shows, when a Full or Quick redraw (or a move of
  // one) made it, and whether the tags are that picture's too.
  Scene drawn_;
  bool drawnValid_ = false;
  bool drawnTags_ = false;
  Scene scene_;  // the next one, kept to reuse its room
  std::vector<std::uint8_t> spare_;  // where a move puts the picture
};
