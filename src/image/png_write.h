#pragma once
// 8-bit palette PNG output (compressed, through libpng) for pictures of the
// 3D view, layouts and converted skins.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "image/skin.h"
#include "platform/file_error.h"

// CRC-32 (the PNG/zip polynomial), continued from `crc` (0 to start).
std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);
// Adler-32 of the zlib stream trailer, continued from `adler` (1 to start).
std::uint32_t Adler32(std::span<const std::uint8_t> bytes, std::uint32_t adler = 1);

// The PNG file of `width` x `height` palette indices (top row first) with
// all 256 palette entries. Empty when the size is not positive or does not
// match the pixel count.
std::vector<std::uint8_t> EncodePng8(std::span<const std::uint8_t> pixels, int width, int height,
                                     const Palette& palette);

// Writes the record as a PNG (temporary file and rename); on failure gives
// "Error Saving: " with the cause number, names the path and leaves any old
// file. A skin is refused beyond the 2048 rows the readers take back.
WriteResult WritePng(const Skin& skin, const std::string& path);
// The same for a picture that is never read back as a skin (a layout, a
// render): any size the record holds.
WriteResult WritePngPicture(const Skin& picture, const std::string& path);
