#pragma once
// PNG pictures through libpng. A palette PNG keeps its indices and palette
// (1, 2 and 4-bit ones widened to a byte a pixel; entries it lacks are
// black); grey and RGB ones, with or without alpha, become true colour with
// 16-bit samples scaled to 8. Damaged files (bad signature, bad checksums,
// data that ends early) and pictures beyond the skin limits are refused
// before their pixels are allocated.

#include <cstdint>
#include <span>

#include "image/true_colour.h"
#include "platform/file_error.h"


// The largest PNG at 32767 x 2048: rows of 16-bit RGBA samples (8 bytes a
// pixel) and a filter byte, stored uncompressed: 536,872,960 bytes, plus 5
// bytes for each 65535-byte stored block, the 6 bytes of the zlib wrapper, 12
// bytes for each IDAT chunk of at least 8 KiB (what writers use) and 1 MiB for
// the signature, header, palette, interlace filter bytes and ancillary
// chunks: 538,732,538 bytes.
inline constexpr std::uintmax_t kPngRawBytes = 2048ull * (1 + 8ull * 32767);
inline constexpr std::uintmax_t kMaxPngFileBytes =
    kPngRawBytes + 5 * (kPngRawBytes / 65535 + 1) + 6 + 12 * (kPngRawBytes / 8192 + 1) + (1u << 20);

bool IsPng(std::span<const std::uint8_t> bytes);
FileResult<DecodedPicture> ParsePng(std::span<const std::uint8_t> bytes);
