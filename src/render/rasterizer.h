#pragma once
// The one software rasterizer: triangle fillers and line drawers over 8-bit
// palette-indexed targets with a 16-bit depth buffer and a 32-bit tag buffer.
//
// Vertices are arrays of 32-bit integers: x and y in whole pixels, then the
// attributes in 16.16 fixed point (colour, texel u/v, light level, map mu/mv,
// depth; see the filler list below for which kind takes what). Every filler
// takes the three corners followed by a copy of the first; FillTriTex and
// FillTriTexOfsTag take four corners followed by a copy of the first.
//
// What the callers promise (checked by assert in debug builds):
//  - of the target: Rows <= 8192, 0 <= ClipRight <= Pitch - 1,
//    0 <= ClipBottom <= Rows - 1, and every buffer in use holds Pitch x Rows
//    elements;
//  - texture coordinates stay on the texture, light levels on ShadeTable and
//    map coordinates on the 256 x 256 ShadeMap (texcoord_clamp.h helps); for
//    the map-lit fillers every ShadeMap value is a row of ShadeTable;
//  - line end points lie inside the target (ClipLine first).
// Under those promises nothing is written outside Pitch x Rows and nothing is
// read outside the texture, shade table or map.
//
// The target is a value handed to every call; the rasterizer itself holds
// only its per-row tables and the texture and shade tables it reads. Not
// re-entrant: the per-row tables are shared by all calls on one object.

#include <cstdint>
#include <vector>

constexpr int kRasterMaxRows = 8192;
constexpr int kRasterMaxAttributes = 5;

using V2 = std::int32_t[2];  // x, y
using V3 = std::int32_t[3];  // x, y, a0
using V4 = std::int32_t[4];  // x, y, a0, a1
using V5 = std::int32_t[5];  // x, y, a0 .. a2
using V6 = std::int32_t[6];  // x, y, a0 .. a3
using V7 = std::int32_t[7];  // x, y, a0 .. a4

// Where a filler or line drawer draws: the buffers, their common addressing
// (pixel (x, y) at y * Pitch + x in each, so Pitch is also the row length of
// the depth and tag buffers) and the rectangle it may write. Only the buffers
// a call uses need be set.
struct RasterTarget {
  std::uint8_t* FrameBuffer = nullptr;     // 8-bit palette indices
  std::uint16_t* ColorBuffer16 = nullptr;  // 5:5:5 RGB
  std::uint16_t* DepthBuffer = nullptr;    // smaller is nearer
  std::int32_t* PixelTagBuffer = nullptr;
  std::int32_t Pitch = 0;
  std::int32_t Rows = 0;
  std::int32_t ClipRight = -1;  // largest x written, normally Pitch - 1
  std::int32_t ClipBottom = -1;  // largest y written, normally Rows - 1
  // Of those, the rows this call may write. A picture drawn in bands, the
  // same calls once per band, comes out the same to the byte as drawn whole:
  // edges are clipped and walked against the clip rectangle alone, and the
  // band only decides which of the resulting pixels are written.
  std::int32_t BandTop = 0;
  std::int32_t BandBottom = 2147483647;
  // The depth-tested fillers pass over a triangle whose every pixel would
  // lose the depth test, without walking it. The rasterizer keeps an upper
  // bound of the depth buffer per block of 8 x 8 pixels to tell; depth only
  // falls while triangles are drawn, so the bounds hold until the buffer is
  // cleared, which must come with BeginFrame (or another target).
  bool SkipHidden = false;

  // A width x height 8-bit buffer, clipped to its edges. Rows past what the
  // per-row tables hold are left out of reach.
  static RasterTarget Bytes(std::uint8_t* pixels, int width, int height);
};

class CRasterizer {
 public:
  CRasterizer();
  CRasterizer(const CRasterizer&) = delete;
  CRasterizer& operator=(const CRasterizer&) = delete;

  // The tables of the triangle under way, open for the callers' tests.
  std::int32_t SpanLeft(int y) const { return spanLeft_[y]; }    // 2147483647 when empty
  std::int32_t SpanRight(int y) const { return spanRight_[y]; }  // -2147483648 when empty
  std::int32_t SpanTop() const { return spanTop_; }
  std::int32_t SpanBottom() const { return spanBottom_; }
  // Set by the edge clippers: the start was moved.
  std::uint32_t ClipFlag() const { return clipFlag_; }

  // The texture of the textured fillers: texel (u, v) at base[rows[v] + u],
  // width x height texels. The fillers read through a table of row starts
  // made here, so bind again whenever the pixels or the rows move, and
  // unbind before they go away.
  void BindTexture(const std::uint8_t* base, const std::int32_t* rows, int width, int height);
  void UnbindTexture();
  // The lit fillers' table, [level * 256 + colour]; `rows` (its height) is
  // used only by debug-build checks of the vertices, 0 leaves them out.
  void SetShadeTable(const std::uint8_t* table, int rows) {
    shadeTable_ = table;
    shadeTableRows_ = rows;
  }
  // The 256 x 256 map of the map fillers, (mu, mv) at mv * 256 + mu.
  void SetShadeMap(const std::uint8_t* map) { shadeMap_ = map; }

  // Triangles of a few rows lying well inside the clip rectangle are scanned
  // straight from their corners instead of walked into the span tables,
  // where the processor can; the pixels are the same either way. On unless
  // turned off (for comparing).
  void ScanShortTrianglesDirectly(bool on) { directShort_ = on && DirectScanRuns(); }
  static bool DirectScanRuns();

  // Empties the span tables, and forgets what the depth buffer held; once
  // before the triangles of a picture, and again after a clear of its depth.
  void BeginFrame();

  // --- triangle fillers (vertex kind, pixel rule) ---
  void FillTriFlat(const RasterTarget& target, const V2* pts, std::uint8_t colour);
  void FillTriGouraud(const RasterTarget& target, const V3* pts);                     // colour
  void FillTriFlatZ(const RasterTarget& target, const V3* pts, std::uint8_t colour);  // depth
  void FillTriFlatZTag(const RasterTarget& target, const V3* pts, std::uint8_t colour, std::int32_t tag);
  void FillTriGouraudZ(const RasterTarget& target, const V4* pts);  // colour, depth
  void FillTriGouraudZTag(const RasterTarget& target, const V4* pts, std::int32_t tag);
  void FillTriTex(const RasterTarget& target, const V4* pts);  // u, v; FOUR corners + copy of the first
  void FillTriTexRounded(const RasterTarget& target, const V4* pts);  // u, v; span steps rounded
  void FillTriTexOfsTag(const RasterTarget& target, const V4* pts);   // u, v; FOUR corners + copy
  void FillTriMapZ(const RasterTarget& target, const V5* pts);        // mu, mv, depth
  void FillTriMapZTag(const RasterTarget& target, const V5* pts, std::int32_t tag);
  void FillTriMapBaseZ(const RasterTarget& target, const V5* pts, std::uint8_t base);
  void FillTriMapBaseZTag(const RasterTarget& target, const V5* pts, std::int32_t tag, std::uint8_t base);
  // The depth-tested textured fillers, one template over the vertex kind
  // (V5 u, v, depth: the skin as it is; V6 u, v, light level, depth: lit by
  // the level; V7 u, v, mu, mv, depth: lit through the shade map) and the tag
  // rule (none, `tag`, or the texel offset), and by name.
  enum class TagRule { None, Fixed, TexelOffset };
  template <int Values, TagRule Rule>
  void FillTriTexDepth(const RasterTarget& target, const std::int32_t (*pts)[Values], std::int32_t tag = 0);
  void FillTriTexZ(const RasterTarget& t, const V5* pts) { FillTriTexDepth<5, TagRule::None>(t, pts); }
  void FillTriTexZTag(const RasterTarget& t, const V5* pts, std::int32_t tag) {
    FillTriTexDepth<5, TagRule::Fixed>(t, pts, tag);
  }
  void FillTriTexZOfsTag(const RasterTarget& t, const V5* pts) { FillTriTexDepth<5, TagRule::TexelOffset>(t, pts); }
  void FillTriTexLitZ(const RasterTarget& t, const V6* pts) { FillTriTexDepth<6, TagRule::None>(t, pts); }
  void FillTriTexLitZTag(const RasterTarget& t, const V6* pts, std::int32_t tag) {
    FillTriTexDepth<6, TagRule::Fixed>(t, pts, tag);
  }
  void FillTriTexLitZOfsTag(const RasterTarget& t, const V6* pts) { FillTriTexDepth<6, TagRule::TexelOffset>(t, pts); }
  void FillTriTexMapLitZ(const RasterTarget& t, const V7* pts) { FillTriTexDepth<7, TagRule::None>(t, pts); }
  void FillTriTexMapLitZTag(const RasterTarget& t, const V7* pts, std::int32_t tag) {
    FillTriTexDepth<7, TagRule::Fixed>(t, pts, tag);
  }
  void FillTriTexMapLitZOfsTag(const RasterTarget& t, const V7* pts) {
    FillTriTexDepth<7, TagRule::TexelOffset>(t, pts);
  }

  // --- line drawers; both end points must lie inside the target ---
  // They keep no tables, so they need no rasterizer object.
  static void DrawLine(const RasterTarget& target, std::int32_t x0, std::int32_t y0, std::int32_t x1,
                       std::int32_t y1, std::uint8_t colour);
  static void DrawLineAA(const RasterTarget& target, std::int32_t x0, std::int32_t y0, std::int32_t x1,
                         std::int32_t y1, std::uint8_t base);
  static void DrawLineAATagged(const RasterTarget& target, std::int32_t x0, std::int32_t y0, std::int32_t x1,
                               std::int32_t y1, std::int32_t key);
  static void DrawLineTagged(const RasterTarget& target, std::int32_t x0, std::int32_t y0, std::int32_t x1,
                             std::int32_t y1, std::uint8_t colour, std::int32_t key);
  static void DrawLine16(const RasterTarget& target, std::int32_t x0, std::int32_t y0, std::int32_t x1,
                         std::int32_t y1, std::uint16_t colour);
  static void DrawLineAA16(const RasterTarget& target, std::int32_t x0, std::int32_t y0, std::int32_t x1,
                           std::int32_t y1, std::uint16_t colour);

  // Clips a segment to 0..Pitch-1 x 0..Rows-1 of the target in place; false,
  // with the end points unchanged, when nothing of it is visible.
  static bool ClipLine(const RasterTarget& target, std::int32_t& x0, std::int32_t& y0, std::int32_t& x1,
                       std::int32_t& y1);
  // Clips a view-space segment (x, y, z each) against z = kNearPlane in
  // place; false when both points lie nearer than that. Points at or beyond
  // it are left as they are.
  static constexpr float kNearPlane = 0.1f;
  static bool ClipSegmentNear(float* p0, float* p1);
  // Even-odd test of (s, t) against `count` points stored as s, t pairs.
  static bool PointInPolygon(float s, float t, const float* points, int count);

  // --- the building blocks of every filler, open for the callers' tests ---
  // Edge a -> b of `values` integers per vertex (x, y, attributes), clipped in
  // place to 0..ClipRight (X) or 0..ClipBottom (Y) of the target; false when
  // invisible. ClipFlag tells whether a was moved.
  bool ClipEdgeX(const RasterTarget& target, std::int32_t* a, std::int32_t* b, int values);
  bool ClipEdgeY(const RasterTarget& target, std::int32_t* a, std::int32_t* b, int values);
  // Walks a -> b (inside the target's clip rectangle) into the span tables.
  void ScanEdge(const RasterTarget& target, const std::int32_t* a, const std::int32_t* b, int attributes);

 private:
  enum class Source { Flat, Gouraud, Texture, TextureLit, TextureMapLit, Map, MapBase };

  // The per-triangle clip rectangle: the target's bounds, narrowed to what
  // its buffers and the tables can hold. False when nothing can be drawn.
  bool PrepareClip(const RasterTarget& target);
  bool ClipEdge(std::int32_t* a, std::int32_t* b, int values, int axis, std::int32_t bound);
  template <int N>
  void ScanEdgeN(const std::int32_t* a, const std::int32_t* b);
  bool WellInside(const std::int32_t* pts, int values) const;
  template <int N>
  void BuildSpans(const std::int32_t* pts, int corners);
  // Empties the rows of the current triangle outside the target's band and
  // narrows top..bottom to the band.
  void KeepBandRows(const RasterTarget& target, std::int32_t& top, std::int32_t& bottom);
  template <Source S, bool Depth, TagRule T, bool Rounded = false>
  void Fill(const RasterTarget& target, const std::int32_t* pts, int corners, std::uint8_t colour,
            std::int32_t tag);
  template <Source S, bool Depth, TagRule T, bool Rounded>
  bool FillShort(const RasterTarget& target, const std::int32_t* pts, std::uint8_t colour, std::int32_t tag);
  struct TableRows;
  template <Source S, bool Depth, TagRule T, bool Rounded, class Rows>
  void Paint(const RasterTarget& target, std::int32_t top, std::int32_t bottom, std::uint8_t colour,
             std::int32_t tag, const Rows& rows);
  // True when every pixel the triangle or polygon could cover lies at a
  // depth nearer than or equal to its nearest corner's (SkipHidden).
  bool Hidden(const RasterTarget& target, const std::int32_t* pts, int corners, int values, int depthAt);
  template <int N>
  bool VerticesHonourPromises(const std::int32_t* pts, int corners, Source source,
                              bool depth, bool rounded) const;
  static bool TargetHonoursPromises(const RasterTarget& target);
  static bool PointInsideTarget(const RasterTarget& target, std::int32_t x, std::int32_t y);
  static bool LineEndsInside(const RasterTarget& target, std::int32_t x0, std::int32_t y0, std::int32_t x1,
                             std::int32_t y1);

  std::int32_t spanLeft_[kRasterMaxRows];
  // A row's two ends must not lie a multiple of 4 KiB apart: a load of one
  // right after a store to the other would wait for the store to finish, as
  // the processor matches them by their low address bits first.
  std::int32_t spanGap_[16] = {};
  std::int32_t spanRight_[kRasterMaxRows];
  std::int32_t spanTop_ = 2147483647;
  std::int32_t spanBottom_ = -2147483647 - 1;
  std::uint32_t clipFlag_ = 0;
  bool directShort_ = DirectScanRuns();

  const std::uint8_t* shadeTable_ = nullptr;
  int shadeTableRows_ = 0;
  const std::uint8_t* shadeMap_ = nullptr;
  const std::uint8_t* textureBase_ = nullptr;
  const std::int32_t* textureRows_ = nullptr;
  int textureWidth_ = 0;
  int textureHeight_ = 0;
  std::vector<const std::uint8_t*> textureRowStarts_;  // textureBase_ + textureRows_[v]

  std::int32_t clipRight_ = 0;
  std::int32_t clipBottom_ = -1;
  // Rows the current triangle touched: the rows outside are empty already.
  std::int32_t scanTop_ = 2147483647;
  std::int32_t scanBottom_ = -2147483647 - 1;
  // Attributes of the points that set spanLeft_ / spanRight_, a row's together.
  std::int32_t leftAttr_[kRasterMaxRows][kRasterMaxAttributes];
  std::int32_t attrGap_[16] = {};  // as spanGap_
  std::int32_t rightAttr_[kRasterMaxRows][kRasterMaxAttributes];

  // Hidden's blocks: at least the largest depth of each 8 x 8 block of the
  // target, trusted while its stamp is the current one. BeginFrame and a
  // change of target move the stamp on.
  struct DepthBlocks {
    const std::uint16_t* depth = nullptr;
    std::int32_t pitch = 0, right = -1, bottom = -1, bandTop = 0, bandBottom = -1;
    std::int32_t across = 0;
    std::uint32_t stamp = 1;
    std::vector<std::uint16_t> largest;
    std::vector<std::uint32_t> stamps;
  } blocks_;
};
