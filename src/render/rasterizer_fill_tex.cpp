// Textured fillers: the skin as it is or lit through ShadeTable (by a light
// level or by a phong map's light rows). The two four-corner ones let the
// skin view draw the whole skin rectangle in one call.

#include "render/rasterizer_span.h"

void CRasterizer::FillTriTex(const RasterTarget& target, const V4* pts) {
  Fill<Source::Texture, false, TagRule::None>(target, pts[0], 4, 0, 0);
}

void CRasterizer::FillTriTexRounded(const RasterTarget& target, const V4* pts) {
  Fill<Source::Texture, false, TagRule::None, true>(target, pts[0], 3, 0, 0);
}

void CRasterizer::FillTriTexOfsTag(const RasterTarget& target, const V4* pts) {
  Fill<Source::Texture, false, TagRule::TexelOffset>(target, pts[0], 4, 0, 0);
}

template <int Values, CRasterizer::TagRule Rule>
void CRasterizer::FillTriTexDepth(const RasterTarget& target, const std::int32_t (*pts)[Values],
                                  std::int32_t tag) {
  static_assert(Values >= 5 && Values <= 7, "u, v, [light | mu, mv,] depth");
  constexpr Source S = Values == 5   ? Source::Texture
                       : Values == 6 ? Source::TextureLit
                                     : Source::TextureMapLit;
  Fill<S, true, Rule>(target, pts[0], 3, 0, tag);
}

using Rule = CRasterizer::TagRule;
using Target = const RasterTarget&;
template void CRasterizer::FillTriTexDepth<5, Rule::None>(Target, const std::int32_t (*)[5], std::int32_t);
template void CRasterizer::FillTriTexDepth<5, Rule::Fixed>(Target, const std::int32_t (*)[5], std::int32_t);
template void CRasterizer::FillTriTexDepth<5, Rule::TexelOffset>(Target, const std::int32_t (*)[5], std::int32_t);
template void CRasterizer::FillTriTexDepth<6, Rule::None>(Target, const std::int32_t (*)[6], std::int32_t);
template void CRasterizer::FillTriTexDepth<6, Rule::Fixed>(Target, const std::int32_t (*)[6], std::int32_t);
template void CRasterizer::FillTriTexDepth<6, Rule::TexelOffset>(Target, const std::int32_t (*)[6], std::int32_t);
template void CRasterizer::FillTriTexDepth<7, Rule::None>(Target, const std::int32_t (*)[7], std::int32_t);
template void CRasterizer::FillTriTexDepth<7, Rule::Fixed>(Target, const std::int32_t (*)[7], std::int32_t);
template void CRasterizer::FillTriTexDepth<7, Rule::TexelOffset>(Target, const std::int32_t (*)[7], std::int32_t);
