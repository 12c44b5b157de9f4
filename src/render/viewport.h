#pragma once
// The 3D view's camera and its per-pixel buffers. Rows are stored bottom-up
// (row 0 is the bottom row) and the width is always a multiple of 4.

#include <cstdint>
#include <vector>

#include "model/model.h"
#include "render/camera_math.h"

// A picture between two frames while the model's animation plays: drawn
// `amount` of the way from the current frame to frame `toFrame`. An amount
// of 0, or a frame the model does not have, draws the current frame alone.
struct FrameBlend {
  int toFrame = -1;
  float amount = 0;
};

struct Viewport {
  std::vector<std::uint8_t> frameBuffer;   // palette indices
  std::vector<std::uint8_t> lightLevels;   // light rows 0..63; empty unless a lit textured mode wants it
  std::vector<std::uint16_t> depthBuffer;  // 0 nearest, 0xFFFF empty
  std::vector<std::int32_t> tagBuffer;     // triangle, texel offset, -1 nothing, < -1 companion
  std::int16_t width = -1;
  std::int16_t height = -1;

  float fieldOfView = 33.0f;  // degrees, across the smaller side
  Mat3 rotation;              // columns: camera right, up, toward-viewer in world axes
  float pan[3] = {0, 0, 0};   // minus the orbit centre
  float distance = 75.0f;     // orbit centre to eye
  // The pixels the field of view spans; 0: the smaller side. A snapshot of
  // another shape sets it for its render, so that it shows what the view
  // shows.
  double projectionSide = 0;

  // Camera-space position of every vertex of the current frame; grows with
  // the frame so a model above the nominal 2048-vertex limit still fits.
  std::vector<Vec3> cameraVertices = std::vector<Vec3>(2048);
  // The same for each companion, by its index in the model's list; empty for
  // one not shown.
  std::vector<std::vector<Vec3>> companionCameraVertices;

  FrameBlend blend;
};

// The largest view each way: a high-density screen's 3840 x 2160 and twice
// that fit.
constexpr int kMaxViewSide = 8192;

// Reallocates the buffers for a client area of `clientWidth` x `clientHeight`
// (the width is rounded up to a multiple of 4), each side held to
// kMaxViewSide. Sizes below 1, or buffers the memory cannot hold, leave empty
// buffers and width/height 0. `withLightLevels` also sizes lightLevels.
void ResizeViewport(Viewport& viewport, int clientWidth, int clientHeight, bool withLightLevels);

// Frame buffer to `background`, depth to 0xFFFF and, when asked, tags to -1.
void ClearViewport(Viewport& viewport, std::uint8_t background, bool clearTags);
// The same for rows top..bottom only (one band of the picture).
void ClearViewportRows(Viewport& viewport, std::uint8_t background, bool clearTags, int top, int bottom);

// Half the field of view in radians, with the constant the projection uses.
double HalfFieldOfView(const Viewport& viewport);

// Pixels per world unit at the orbit centre's depth: min(width, height) (or
// projectionSide) over the visible extent there. 0 for a buffer without
// pixels.
double PixelsPerUnit(const Viewport& viewport);
