#pragma once
// JPEG pictures through libjpeg: grey or colour, always true colour, all
// opaque. Damaged files (bad markers, data that ends before the last row)
// and pictures beyond the skin limits are refused before their pixels are
// allocated.

#include <cstdint>
#include <span>

#include "image/true_colour.h"
#include "platform/file_error.h"


// The largest JPEG at 32767 x 2048, three components, none subsampled: a
// baseline Huffman code is at most 16 bits and its value 11 bits (DC) or 10
// (AC), so an 8 x 8 block takes at most 27 + 63 x 26 bits, about 3.3 bytes a
// sample, under 10 bytes a pixel; 1 MiB more for markers, tables and
// metadata: 672,116,736 bytes.
inline constexpr std::uintmax_t kMaxJpegFileBytes = 10ull * 32767 * 2048 + (1u << 20);

bool IsJpeg(std::span<const std::uint8_t> bytes);
FileResult<DecodedPicture> ParseJpeg(std::span<const std::uint8_t> bytes);
