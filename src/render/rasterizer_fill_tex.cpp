// Textured fillers without lighting. The two four-corner ones let the skin
// view draw the whole skin rectangle in one call.

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

void CRasterizer::FillTriTexZ(const V5* pts) {
  Fill<Source::Texture, true, TagRule::None>(pts[0], 3, 0, 0);
}

void CRasterizer::FillTriTexZTag(const V5* pts, std::int32_t tag) {
  Fill<Source::Texture, true, TagRule::Fixed>(pts[0], 3, 0, tag);
}

void CRasterizer::FillTriTexZOfsTag(const V5* pts) {
  Fill<Source::Texture, true, TagRule::TexelOffset>(pts[0], 3, 0, 0);
}
