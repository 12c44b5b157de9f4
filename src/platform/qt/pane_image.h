#pragma once
// A pane's picture in the window's own pixel format: 8-bit through its
// palette, or 24-bit B, G, R, turned the right way up, into 32-bit pixels.
// Either into an image the caller keeps from frame to frame (drawing a
// 32-bit image is a plain copy; an 8-bit one would be converted by Qt on
// every paint, into a fresh full-size buffer), or straight into a part of
// the window's own 32-bit backing store.

#include <QImage>
#include <QRect>

#include "platform/pane.h"

class ThreadPool;

// The picture can be converted: pixels, a size, rows long enough, and a
// palette for an 8-bit one.
bool PaneImageUsable(const PaneImage& image);

// Fills `target` (reallocated only when the size changes). False, and
// `target` left as it was, when the picture is empty or inconsistent (rows
// shorter than its width, an 8-bit picture without a palette). With a pool
// of more than one thread a large picture is converted in bands on it.
bool PaneImageToScreen(const PaneImage& image, QImage& target, ThreadPool* pool = nullptr);

// Converts `area` of the picture (picture coordinates, top row first, inside
// the picture) into 32-bit pixels at `out`, whose rows lie `outStride` bytes
// apart: out is where the area's top left pixel goes. False, nothing
// written, for an inconsistent picture or an area outside it.
bool PaneImageToPixels(const PaneImage& image, const QRect& area, std::uint32_t* out, qsizetype outStride,
                       ThreadPool* pool = nullptr);
