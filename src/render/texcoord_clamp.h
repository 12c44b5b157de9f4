#pragma once
// The fillers read texels, shade rows and map cells without checking; a
// model's mapping, however, may point anywhere (files are hostile and the
// editor lets the user drag corners off the skin). Every caller passes its
// 16.16 coordinates through these before they reach a filler.

#include <cstdint>

// A 16.16 coordinate kept on `cells` cells (texels of a row or column, shade
// table rows, 256 for a shade map): 0 .. cells * 65536 - 1. 0 when cells <= 0.
std::int32_t ClampTexCoord(std::int64_t fixed, int cells);

// For FillTriTexRounded, whose rounded span steps can overshoot the right
// edge by up to half a texel: 0 .. (cells - 1) * 65536 + 0x7FFF.
std::int32_t ClampTexCoordRounded(std::int64_t fixed, int cells);

// A coordinate in cells (integer part = cell index) as float, turned into
// clamped 16.16 by truncation; NaN becomes 0.
std::int32_t TexCoordToFixed(double cellsCoordinate, int cells);
std::int32_t TexCoordToFixedRounded(double cellsCoordinate, int cells);
