// Drives every triangle filler and line drawer with arbitrary corners, clip
// rectangles and targets, over buffers of exact size so that the sanitizers
// catch any access outside them. The callers' promises are kept (texture,
// shade and map coordinates clamped as the render modes clamp them; line
// ends clipped first); anything else goes. A filler must also leave every
// pixel outside its clip rectangle as it was, and draw the same with short
// triangles scanned directly as with every triangle walked.

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "render/rasterizer.h"
#include "render/texcoord_clamp.h"

namespace {

class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Empty() const { return pos_ >= size_; }
  std::uint32_t U8() { return pos_ < size_ ? data_[pos_++] : 0u; }
  std::uint32_t U16() { return U8() | U8() << 8; }
  std::uint32_t U32() { return U16() | U16() << 16; }
  // Mostly near the target, now and then anywhere at all.
  std::int32_t Coordinate() {
    const std::uint32_t kind = U8();
    if (kind < 16) return static_cast<std::int32_t>(U32());
    return static_cast<std::int32_t>(U16() % 1200) - 400;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

struct Target {
  int pitch, rows, texWidth, texHeight, shadeRows;
  std::vector<std::uint8_t> frame;
  std::vector<std::uint16_t> depth;
  std::vector<std::int32_t> tags;
  std::vector<std::uint16_t> color16;
  std::vector<std::uint8_t> texture;
  std::vector<std::int32_t> textureRows;
  std::vector<std::uint8_t> shade;
  std::vector<std::uint8_t> map;
};

// Attribute kinds: colour, texel u, texel v, rounded u / v, light level, map
// cell, depth.
enum Kind : char { kColour = 'c', kU = 'u', kV = 'v', kRu = 'U', kRv = 'V', kLevel = 'l', kMap = 'm', kDepth = 'z' };

std::int32_t Attribute(Bytes& in, char kind, const Target& t) {
  const std::int64_t raw = static_cast<std::int32_t>(in.U32());
  switch (kind) {
    case kU: return ClampTexCoord(raw, t.texWidth);
    case kV: return ClampTexCoord(raw, t.texHeight);
    case kRu: return ClampTexCoordRounded(raw, t.texWidth);
    case kRv: return ClampTexCoordRounded(raw, t.texHeight);
    case kLevel: return ClampTexCoord(raw, t.shadeRows);
    case kMap: return ClampTexCoord(raw, 256);
    default: return static_cast<std::int32_t>(raw);
  }
}

// Corners (plus the closing copy of the first) of W values: x, y, then the
// attributes named by `kinds`.
template <int W>
struct Corners {
  std::int32_t p[5][W];
  Corners(Bytes& in, const char* kinds, int corners, const Target& t) {
    for (int c = 0; c < corners; ++c) {
      p[c][0] = in.Coordinate();
      p[c][1] = in.Coordinate();
      for (int k = 0; k + 2 < W; ++k) p[c][2 + k] = Attribute(in, kinds[k], t);
    }
    std::memcpy(p[corners], p[0], sizeof p[0]);
  }
};

void Fill(CRasterizer& r, const RasterTarget& rt, Bytes& in, const Target& t, int which) {
  const std::uint8_t colour = static_cast<std::uint8_t>(in.U8());
  const std::int32_t tag = static_cast<std::int32_t>(in.U32());
  switch (which) {
    case 0: { Corners<2> c(in, "", 3, t); r.FillTriFlat(rt, c.p, colour); break; }
    case 1: { Corners<3> c(in, "c", 3, t); r.FillTriGouraud(rt, c.p); break; }
    case 2: { Corners<3> c(in, "z", 3, t); r.FillTriFlatZ(rt, c.p, colour); break; }
    case 3: { Corners<3> c(in, "z", 3, t); r.FillTriFlatZTag(rt, c.p, colour, tag); break; }
    case 4: { Corners<4> c(in, "cz", 3, t); r.FillTriGouraudZ(rt, c.p); break; }
    case 5: { Corners<4> c(in, "cz", 3, t); r.FillTriGouraudZTag(rt, c.p, tag); break; }
    case 6: { Corners<4> c(in, "uv", 4, t); r.FillTriTex(rt, c.p); break; }
    case 7: { Corners<4> c(in, "UV", 3, t); r.FillTriTexRounded(rt, c.p); break; }
    case 8: { Corners<4> c(in, "uv", 4, t); r.FillTriTexOfsTag(rt, c.p); break; }
    case 9: { Corners<5> c(in, "mmz", 3, t); r.FillTriMapZ(rt, c.p); break; }
    case 10: { Corners<5> c(in, "mmz", 3, t); r.FillTriMapZTag(rt, c.p, tag); break; }
    case 11: { Corners<5> c(in, "mmz", 3, t); r.FillTriMapBaseZ(rt, c.p, colour); break; }
    case 12: { Corners<5> c(in, "mmz", 3, t); r.FillTriMapBaseZTag(rt, c.p, tag, colour); break; }
    case 13: { Corners<5> c(in, "uvz", 3, t); r.FillTriTexZ(rt, c.p); break; }
    case 14: { Corners<5> c(in, "uvz", 3, t); r.FillTriTexZTag(rt, c.p, tag); break; }
    case 15: { Corners<5> c(in, "uvz", 3, t); r.FillTriTexZOfsTag(rt, c.p); break; }
    case 16: { Corners<6> c(in, "uvlz", 3, t); r.FillTriTexLitZ(rt, c.p); break; }
    case 17: { Corners<6> c(in, "uvlz", 3, t); r.FillTriTexLitZTag(rt, c.p, tag); break; }
    case 18: { Corners<6> c(in, "uvlz", 3, t); r.FillTriTexLitZOfsTag(rt, c.p); break; }
    case 19: { Corners<7> c(in, "uvmmz", 3, t); r.FillTriTexMapLitZ(rt, c.p); break; }
    case 20: { Corners<7> c(in, "uvmmz", 3, t); r.FillTriTexMapLitZTag(rt, c.p, tag); break; }
    default: { Corners<7> c(in, "uvmmz", 3, t); r.FillTriTexMapLitZOfsTag(rt, c.p); break; }
  }
}

void Line(const RasterTarget& rt, Bytes& in, int which) {
  std::int32_t x0 = in.Coordinate(), y0 = in.Coordinate();
  std::int32_t x1 = in.Coordinate(), y1 = in.Coordinate();
  const std::uint32_t value = in.U32();
  if (!CRasterizer::ClipLine(rt, x0, y0, x1, y1)) return;
  const auto colour = static_cast<std::uint8_t>(value);
  switch (which) {
    case 0: CRasterizer::DrawLine(rt, x0, y0, x1, y1, colour); break;
    case 1: CRasterizer::DrawLineAA(rt, x0, y0, x1, y1, colour); break;
    case 2: CRasterizer::DrawLineAATagged(rt, x0, y0, x1, y1, static_cast<std::int32_t>(value)); break;
    case 3: CRasterizer::DrawLineTagged(rt, x0, y0, x1, y1, colour, static_cast<std::int32_t>(value >> 8)); break;
    case 4: CRasterizer::DrawLine16(rt, x0, y0, x1, y1, static_cast<std::uint16_t>(value)); break;
    default: CRasterizer::DrawLineAA16(rt, x0, y0, x1, y1, static_cast<std::uint16_t>(value)); break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Bytes in(data, size);
  Target t;
  t.pitch = 1 + static_cast<int>(in.U16() % 400);
  t.rows = 1 + static_cast<int>(in.U16() % 300);
  t.texWidth = 1 + static_cast<int>(in.U8() % 64);
  t.texHeight = 1 + static_cast<int>(in.U8() % 64);
  t.shadeRows = 1 + static_cast<int>(in.U8() % 64);
  const std::size_t cells = static_cast<std::size_t>(t.pitch) * t.rows;
  constexpr std::uint8_t kUntouched = 0xA5;
  t.texture.resize(static_cast<std::size_t>(t.texWidth) * t.texHeight);
  for (std::size_t i = 0; i < t.texture.size(); ++i) t.texture[i] = static_cast<std::uint8_t>(i * 7);
  for (int v = 0; v < t.texHeight; ++v) t.textureRows.push_back(v * t.texWidth);
  t.shade.resize(static_cast<std::size_t>(t.shadeRows) * 256);
  for (std::size_t i = 0; i < t.shade.size(); ++i) t.shade[i] = static_cast<std::uint8_t>(i >> 3);
  t.map.resize(256 * 256);
  // The map-lit fillers take the map's values as rows of the shade table.
  for (std::size_t i = 0; i < t.map.size(); ++i)
    t.map[i] = static_cast<std::uint8_t>((i >> 9) % static_cast<std::size_t>(t.shadeRows));
  const auto clipRight = static_cast<std::int32_t>(in.U16() % static_cast<std::uint32_t>(t.pitch));
  const auto clipBottom = static_cast<std::int32_t>(in.U16() % static_cast<std::uint32_t>(t.rows));
  const Bytes ops = in;

  // The same calls twice: short triangles scanned directly where the
  // processor can, then every triangle walked; the pictures must agree.
  bool linesDrawn = false;
  std::vector<std::uint8_t> scannedFrame;
  std::vector<std::uint16_t> scannedDepth;
  std::vector<std::int32_t> scannedTags;
  for (int pass = 0; pass < 2; ++pass) {
    t.frame.assign(cells, kUntouched);
    t.depth.assign(cells, 0xFFFF);
    t.tags.assign(cells, -1);
    t.color16.assign(cells, 0);
    CRasterizer r;
    r.ScanShortTrianglesDirectly(pass == 0);
    RasterTarget rt;
    rt.Pitch = t.pitch;
    rt.Rows = t.rows;
    rt.ClipRight = clipRight;
    rt.ClipBottom = clipBottom;
    rt.FrameBuffer = t.frame.data();
    rt.DepthBuffer = t.depth.data();
    rt.PixelTagBuffer = t.tags.data();
    rt.ColorBuffer16 = t.color16.data();
    r.BindTexture(t.texture.data(), t.textureRows.data(), t.texWidth, t.texHeight);
    r.SetShadeTable(t.shade.data(), t.shadeRows);
    r.SetShadeMap(t.map.data());
    r.BeginFrame();

    Bytes play = ops;
    for (int op = 0; op < 64 && !play.Empty(); ++op) {
      const int which = static_cast<int>(play.U8() % 28);
      if (which < 22) {
        Fill(r, rt, play, t, which);
      } else {
        Line(rt, play, which - 22);
        linesDrawn = true;
      }
    }
    // Fillers stay inside the clip rectangle; lines may use the whole target.
    if (!linesDrawn) {
      for (int y = 0; y < t.rows; ++y)
        for (int x = 0; x < t.pitch; ++x)
          if ((x > rt.ClipRight || y > rt.ClipBottom) &&
              t.frame[static_cast<std::size_t>(y) * t.pitch + x] != kUntouched)
            std::abort();
    }
    for (int y = 0; y < t.rows && y < kRasterMaxRows; ++y)
      if (r.SpanLeft(y) != 2147483647 || r.SpanRight(y) != -2147483647 - 1) std::abort();
    if (pass == 0) {
      scannedFrame = t.frame;
      scannedDepth = t.depth;
      scannedTags = t.tags;
    } else if (scannedFrame != t.frame || scannedDepth != t.depth || scannedTags != t.tags) {
      std::abort();
    }
  }
  return 0;
}
