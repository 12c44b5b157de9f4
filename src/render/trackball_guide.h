#pragma once
// The circle and four handles drawn over the 3D view in camera mode.

#include <cstdint>

#include "render/viewport.h"

// Midpoint circle of `radius` around (cx, cy) plus a 7 x 7 square outline
// on each point where it meets the two axes, clipped to the buffer (rows of
// `width` pixels).
void DrawTrackballGuide(std::uint8_t* buffer, int width, int height, int cx, int cy, int radius,
                        std::uint8_t colour);

// The guide at the viewport's centre with radius trunc(min side * 0.45).
void DrawTrackballGuide(Viewport& viewport, std::uint8_t colour);
