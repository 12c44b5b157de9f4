// Untextured fillers: one colour or interpolated colour, with or without the
// depth test and the per-pixel tag.

#include "render/rasterizer_span.h"

void CRasterizer::FillTriFlat(const V2* pts, std::uint8_t colour) {
  Fill<Source::Flat, false, TagRule::None>(pts[0], 3, colour, 0);
}

void CRasterizer::FillTriGouraud(const V3* pts) {
  Fill<Source::Gouraud, false, TagRule::None>(pts[0], 3, 0, 0);
}

void CRasterizer::FillTriFlatZ(const V3* pts, std::uint8_t colour) {
  Fill<Source::Flat, true, TagRule::None>(pts[0], 3, colour, 0);
}

void CRasterizer::FillTriFlatZTag(const V3* pts, std::uint8_t colour, std::int32_t tag) {
  Fill<Source::Flat, true, TagRule::Fixed>(pts[0], 3, colour, tag);
}

void CRasterizer::FillTriGouraudZ(const V4* pts) {
  Fill<Source::Gouraud, true, TagRule::None>(pts[0], 3, 0, 0);
}

void CRasterizer::FillTriGouraudZTag(const V4* pts, std::int32_t tag) {
  Fill<Source::Gouraud, true, TagRule::Fixed>(pts[0], 3, 0, tag);
}
