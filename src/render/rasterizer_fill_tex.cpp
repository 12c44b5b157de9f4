// Textured fillers: the skin as it is or lit through ShadeTable (by a light
// level or by a phong map's light rows). The two four-corner ones let the
// skin view draw the whole skin rectangle in one call.

#include "render/rasterizer_span.h"

void CRasterizer::FillTriTex(const V4* pts) {
  Fill<Source::Texture, false, TagRule::None>(pts[0], 4, 0, 0);
}

void CRasterizer::FillTriTexRounded(const V4* pts) {
  Fill<Source::Texture, false, TagRule::None, true>(pts[0], 3, 0, 0);
}

void CRasterizer::FillTriTexOfsTag(const V4* pts) {
  Fill<Source::Texture, false, TagRule::TexelOffset>(pts[0], 4, 0, 0);
}

template <int Values>
void CRasterizer::FillTriTexDepth(const std::int32_t (*pts)[Values], TagRule rule,
                                  std::int32_t tag) {
  static_assert(Values >= 5 && Values <= 7, "u, v, [light | mu, mv,] depth");
  constexpr Source S = Values == 5   ? Source::Texture
                       : Values == 6 ? Source::TextureLit
                                     : Source::TextureMapLit;
  switch (rule) {
    case TagRule::None: Fill<S, true, TagRule::None>(pts[0], 3, 0, 0); return;
    case TagRule::Fixed: Fill<S, true, TagRule::Fixed>(pts[0], 3, 0, tag); return;
    case TagRule::TexelOffset: Fill<S, true, TagRule::TexelOffset>(pts[0], 3, 0, 0); return;
  }
}

template void CRasterizer::FillTriTexDepth<5>(const std::int32_t (*)[5], TagRule, std::int32_t);
template void CRasterizer::FillTriTexDepth<6>(const std::int32_t (*)[6], TagRule, std::int32_t);
template void CRasterizer::FillTriTexDepth<7>(const std::int32_t (*)[7], TagRule, std::int32_t);

void CRasterizer::FillTriTexZ(const V5* pts) { FillTriTexDepth(pts, TagRule::None); }
void CRasterizer::FillTriTexZTag(const V5* pts, std::int32_t tag) { FillTriTexDepth(pts, TagRule::Fixed, tag); }
void CRasterizer::FillTriTexZOfsTag(const V5* pts) { FillTriTexDepth(pts, TagRule::TexelOffset); }
void CRasterizer::FillTriTexLitZ(const V6* pts) { FillTriTexDepth(pts, TagRule::None); }
void CRasterizer::FillTriTexLitZTag(const V6* pts, std::int32_t tag) { FillTriTexDepth(pts, TagRule::Fixed, tag); }
void CRasterizer::FillTriTexLitZOfsTag(const V6* pts) { FillTriTexDepth(pts, TagRule::TexelOffset); }
void CRasterizer::FillTriTexMapLitZ(const V7* pts) { FillTriTexDepth(pts, TagRule::None); }
void CRasterizer::FillTriTexMapLitZTag(const V7* pts, std::int32_t tag) { FillTriTexDepth(pts, TagRule::Fixed, tag); }
void CRasterizer::FillTriTexMapLitZOfsTag(const V7* pts) { FillTriTexDepth(pts, TagRule::TexelOffset); }
