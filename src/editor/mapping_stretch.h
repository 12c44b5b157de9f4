#pragma once
// Where the mapping stretches or squashes the skin: each triangle's texel
// density measured against the model's as a whole, in its most stretched
// and its most squashed direction (so a sheared triangle of the right area
// shows too), and the triangles whose skin areas overlap. Drawn over the
// skin view as a line screen of colour with a legend.

#include <cstdint>
#include <vector>

#include "image/skin.h"
#include "model/model.h"

// Per triangle: log2 of the texel density along its worst direction over
// the model's average density. Negative: fewer texels than the average
// (the skin stretched over the model), positive: more (squashed). 0 for a
// triangle without area on the skin or on the model, and for hidden ones.
std::vector<float> MeasureStretch(const Model& model);

// Per triangle: non-zero when its skin area overlaps another visible
// triangle's. Triangles that lie exactly on top of each other (the same
// three skin positions, a mirrored or repeated part mapped once on purpose)
// do not count; neither do neighbours that only share an edge or a corner.
std::vector<std::uint8_t> FindOverlaps(const Model& model);

// Where the skin lies in the view: s, t at the view's centre, pixels per texel.
struct StretchView {
  double centreS = 0, centreT = 0, zoom = 1;
};

// The legend's steps, from most stretched to most squashed, as log2 of the
// density ratio at each step's middle.
inline constexpr int kStretchSteps = 7;
inline constexpr float kStretchStepValue[kStretchSteps] = {-2.5f, -1.5f, -0.75f, 0, 0.75f, 1.5f, 2.5f};

// The step a measured value falls in.
int StretchStep(float value);

// The two measurements kept between redraws (a pan or a repaint of the
// skin asks for the same again): worked out anew only when a triangle's
// skin corners, its corners on the current frame or its hidden flag changed.
class StretchCache {
 public:
  void Update(const Model& model);
  const std::vector<float>& stretch() const { return stretch_; }
  const std::vector<std::uint8_t>& overlaps() const { return overlaps_; }

 private:
  std::vector<float> key_, next_;
  std::vector<float> stretch_;
  std::vector<std::uint8_t> overlaps_;
};

// Draws the overlay into a bottom-up 8-bit frame `width` x `height` (rows
// `width` apart) whose colours are `palette`: every other row of each
// visible triangle in its step's colour, the overlapping triangles' edges
// in a colour of their own, and the legend along the bottom left. Without
// a cache the measurements are made for this picture alone.
void DrawStretchOverlay(const Model& model, const Palette& palette, std::uint8_t* frame, int width, int height,
                        const StretchView& view, StretchCache* cache = nullptr);
