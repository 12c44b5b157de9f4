#pragma once
// A rasterizer with a target of exact-size buffers, so that the sanitizers
// see any access outside them.

#include <cstdint>
#include <memory>
#include <vector>

#include "render/rasterizer.h"

struct RasterCanvas {
  RasterCanvas(int pitch, int rows, std::uint8_t background = 0)
      : r(std::make_unique<CRasterizer>()),
        frame(static_cast<std::size_t>(pitch) * rows, background),
        depth(static_cast<std::size_t>(pitch) * rows, 0xFFFF),
        tags(static_cast<std::size_t>(pitch) * rows, -1),
        color16(static_cast<std::size_t>(pitch) * rows, 0) {
    target.Pitch = pitch;
    target.Rows = rows;
    target.ClipRight = pitch - 1;
    target.ClipBottom = rows - 1;
    target.FrameBuffer = frame.data();
    target.DepthBuffer = depth.data();
    target.PixelTagBuffer = tags.data();
    target.ColorBuffer16 = color16.data();
    r->BeginFrame();
  }
  std::uint8_t& At(int x, int y) { return frame[static_cast<std::size_t>(y) * target.Pitch + x]; }
  std::int32_t& Tag(int x, int y) { return tags[static_cast<std::size_t>(y) * target.Pitch + x]; }
  std::uint16_t& Depth(int x, int y) {
    return depth[static_cast<std::size_t>(y) * target.Pitch + x];
  }
  std::uint16_t& Color16(int x, int y) {
    return color16[static_cast<std::size_t>(y) * target.Pitch + x];
  }

  std::unique_ptr<CRasterizer> r;
  RasterTarget target;
  std::vector<std::uint8_t> frame;
  std::vector<std::uint16_t> depth;
  std::vector<std::int32_t> tags;
  std::vector<std::uint16_t> color16;
};

// A texture of exact size whose texel (u, v) is (v * 16 + u + 1) & 255.
struct TestTexture {
  TestTexture(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h) {
    for (int v = 0; v < h; ++v) {
      rows.push_back(v * w);
      for (int u = 0; u < w; ++u) pixels[static_cast<std::size_t>(v) * w + u] =
          static_cast<std::uint8_t>(v * 16 + u + 1);
    }
  }
  void AttachTo(CRasterizer& r) const {
    r.BindTexture(pixels.data(), rows.data(), width, height);
  }
  int width, height;
  std::vector<std::uint8_t> pixels;
  std::vector<std::int32_t> rows;
};

constexpr std::int32_t Fx(int whole) { return whole * 65536; }
