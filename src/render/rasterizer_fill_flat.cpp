// Untextured fillers: one colour or interpolated colour, with or without the
// depth test and the per-pixel tag.

#include "render/rasterizer_span.h"

void CRasterizer::FillTriFlat(const RasterTarget& target, const V2* pts, std::uint8_t colour) {
  Fill<Source::Flat, false, TagRule::None>(target, pts[0], 3, colour, 0);
}

void CRasterizer::FillTriGouraud(const RasterTarget& target, const V3* pts) {
  Fill<Source::Gouraud, false, TagRule::None>(target, pts[0], 3, 0, 0);
}

void CRasterizer::FillTriFlatZ(const RasterTarget& target, const V3* pts, std::uint8_t colour) {
  Fill<Source::Flat, true, TagRule::None>(target, pts[0], 3, colour, 0);
}

void CRasterizer::FillTriFlatZTag(const RasterTarget& target, const V3* pts, std::uint8_t colour,
                                  std::int32_t tag) {
  Fill<Source::Flat, true, TagRule::Fixed>(target, pts[0], 3, colour, tag);
}

void CRasterizer::FillTriGouraudZ(const RasterTarget& target, const V4* pts) {
  Fill<Source::Gouraud, true, TagRule::None>(target, pts[0], 3, 0, 0);
}

void CRasterizer::FillTriGouraudZTag(const RasterTarget& target, const V4* pts, std::int32_t tag) {
  Fill<Source::Gouraud, true, TagRule::Fixed>(target, pts[0], 3, 0, tag);
}
