#pragma once
// A pane's picture in the window's own pixel format: 8-bit through its
// palette, or 24-bit B, G, R, turned the right way up, into a 32-bit image
// the caller keeps from frame to frame. Drawing a 32-bit image is a plain
// copy; an 8-bit one would be converted by Qt on every paint, into a fresh
// full-size buffer.

#include <QImage>

#include "platform/pane.h"

// Fills `target` (reallocated only when the size changes). False, and
// `target` left as it was, when the picture is empty or inconsistent (rows
// shorter than its width, an 8-bit picture without a palette).
bool PaneImageToScreen(const PaneImage& image, QImage& target);
