// Fillers that show a phong or environment map itself, for the untextured
// map modes: the map value is the colour, or an offset into a ramp.

#include "render/rasterizer_span.h"

void CRasterizer::FillTriMapZ(const RasterTarget& target, const V5* pts) {
  Fill<Source::Map, true, TagRule::None>(target, pts[0], 3, 0, 0);
}

void CRasterizer::FillTriMapZTag(const RasterTarget& target, const V5* pts, std::int32_t tag) {
  Fill<Source::Map, true, TagRule::Fixed>(target, pts[0], 3, 0, tag);
}

void CRasterizer::FillTriMapBaseZ(const RasterTarget& target, const V5* pts, std::uint8_t base) {
  Fill<Source::MapBase, true, TagRule::None>(target, pts[0], 3, base, 0);
}

void CRasterizer::FillTriMapBaseZTag(const RasterTarget& target, const V5* pts, std::int32_t tag,
                                     std::uint8_t base) {
  Fill<Source::MapBase, true, TagRule::Fixed>(target, pts[0], 3, base, tag);
}
