// Fillers that light through ShadeTable (by a light level or by a phong or
// environment map) and the ones that show the map itself.

#include "render/rasterizer_span.h"

void CRasterizer::FillTriMapZ(const V5* pts) {
  Fill<Source::Map, true, TagRule::None>(pts[0], 3, 0, 0);
}

void CRasterizer::FillTriMapZTag(const V5* pts, std::int32_t tag) {
  Fill<Source::Map, true, TagRule::Fixed>(pts[0], 3, 0, tag);
}

void CRasterizer::FillTriMapBaseZ(const V5* pts, std::uint8_t base) {
  Fill<Source::MapBase, true, TagRule::None>(pts[0], 3, base, 0);
}

void CRasterizer::FillTriMapBaseZTag(const V5* pts, std::int32_t tag, std::uint8_t base) {
  Fill<Source::MapBase, true, TagRule::Fixed>(pts[0], 3, base, tag);
}

void CRasterizer::FillTriTexLitZ(const V6* pts) {
  Fill<Source::TextureLit, true, TagRule::None>(pts[0], 3, 0, 0);
}

void CRasterizer::FillTriTexLitZTag(const V6* pts, std::int32_t tag) {
  Fill<Source::TextureLit, true, TagRule::Fixed>(pts[0], 3, 0, tag);
}

void CRasterizer::FillTriTexLitZOfsTag(const V6* pts) {
  Fill<Source::TextureLit, true, TagRule::TexelOffset>(pts[0], 3, 0, 0);
}

void CRasterizer::FillTriTexMapLitZ(const V7* pts) {
  Fill<Source::TextureMapLit, true, TagRule::None>(pts[0], 3, 0, 0);
}

void CRasterizer::FillTriTexMapLitZTag(const V7* pts, std::int32_t tag) {
  Fill<Source::TextureMapLit, true, TagRule::Fixed>(pts[0], 3, 0, tag);
}

void CRasterizer::FillTriTexMapLitZOfsTag(const V7* pts) {
  Fill<Source::TextureMapLit, true, TagRule::TexelOffset>(pts[0], 3, 0, 0);
}
