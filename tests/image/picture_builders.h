#pragma once
// Hand-made PNG, TGA and JPEG files for the picture reader tests. The PNGs
// are assembled chunk by chunk with stored deflate blocks, so a test can
// give any header (odd sizes, bad checksums) without going through the
// library under test.

#include <jpeglib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "image/png_write.h"

inline void PutBe32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<std::uint8_t>(v >> s));
}

inline void PutPngChunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& body) {
  PutBe32(out, static_cast<std::uint32_t>(body.size()));
  std::vector<std::uint8_t> typed(type, type + 4);
  typed.insert(typed.end(), body.begin(), body.end());
  out.insert(out.end(), typed.begin(), typed.end());
  PutBe32(out, Crc32(typed));
}

// A PNG of `rows` (each already holding its samples, big-endian for 16-bit)
// of the given colour type and depth, filter 0 on every row.
inline std::vector<std::uint8_t> BuildPng(std::uint32_t width, std::uint32_t height, int depth, int colourType,
                                          const std::vector<std::vector<std::uint8_t>>& rows,
                                          const std::vector<std::uint8_t>& plte = {}) {
  std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> ihdr;
  PutBe32(ihdr, width);
  PutBe32(ihdr, height);
  ihdr.insert(ihdr.end(), {static_cast<std::uint8_t>(depth), static_cast<std::uint8_t>(colourType), 0, 0, 0});
  PutPngChunk(out, "IHDR", ihdr);
  if (!plte.empty()) PutPngChunk(out, "PLTE", plte);
  std::vector<std::uint8_t> raw;
  for (const auto& row : rows) {
    raw.push_back(0);
    raw.insert(raw.end(), row.begin(), row.end());
  }
  // One stored block: the test pictures stay far below 65535 bytes.
  std::vector<std::uint8_t> z = {0x78, 0x01, 1, static_cast<std::uint8_t>(raw.size()),
                                 static_cast<std::uint8_t>(raw.size() >> 8),
                                 static_cast<std::uint8_t>(~raw.size()),
                                 static_cast<std::uint8_t>(~raw.size() >> 8)};
  z.insert(z.end(), raw.begin(), raw.end());
  PutBe32(z, Adler32(raw));
  PutPngChunk(out, "IDAT", z);
  PutPngChunk(out, "IEND", {});
  return out;
}

// An 8-bit RGBA PNG of the given pixels (4 bytes each, top row first).
inline std::vector<std::uint8_t> BuildRgbaPng(int width, int height, const std::vector<std::uint8_t>& rgba) {
  std::vector<std::vector<std::uint8_t>> rows;
  for (int y = 0; y < height; ++y)
    rows.emplace_back(rgba.begin() + y * width * 4, rgba.begin() + (y + 1) * width * 4);
  return BuildPng(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height), 8, 6, rows);
}

struct TgaLayout {
  std::uint8_t imageType = 2;  // 1, 2, 3 plain; 9, 10, 11 run-length
  std::uint8_t mapType = 0;
  std::uint16_t mapFirst = 0, mapLength = 0;
  std::uint8_t mapBits = 0;
  std::uint16_t width = 1, height = 1;
  std::uint8_t bits = 24;
  std::uint8_t descriptor = 0;  // 0x20 top row first, 0x10 right to left, low bits alpha
  std::vector<std::uint8_t> id, map, data;
};

inline std::vector<std::uint8_t> BuildTga(const TgaLayout& l) {
  std::vector<std::uint8_t> f(18, 0);
  f[0] = static_cast<std::uint8_t>(l.id.size());
  f[1] = l.mapType;
  f[2] = l.imageType;
  f[3] = static_cast<std::uint8_t>(l.mapFirst);
  f[4] = static_cast<std::uint8_t>(l.mapFirst >> 8);
  f[5] = static_cast<std::uint8_t>(l.mapLength);
  f[6] = static_cast<std::uint8_t>(l.mapLength >> 8);
  f[7] = l.mapBits;
  f[12] = static_cast<std::uint8_t>(l.width);
  f[13] = static_cast<std::uint8_t>(l.width >> 8);
  f[14] = static_cast<std::uint8_t>(l.height);
  f[15] = static_cast<std::uint8_t>(l.height >> 8);
  f[16] = l.bits;
  f[17] = l.descriptor;
  f.insert(f.end(), l.id.begin(), l.id.end());
  f.insert(f.end(), l.map.begin(), l.map.end());
  f.insert(f.end(), l.data.begin(), l.data.end());
  return f;
}

// A baseline JPEG of the given RGB pixels (3 bytes each) at quality 100.
inline std::vector<std::uint8_t> BuildJpeg(int width, int height, const std::vector<std::uint8_t>& rgb) {
  jpeg_compress_struct c{};
  jpeg_error_mgr errors{};
  c.err = jpeg_std_error(&errors);
  jpeg_create_compress(&c);
  unsigned char* mem = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &mem, &size);
  c.image_width = static_cast<JDIMENSION>(width);
  c.image_height = static_cast<JDIMENSION>(height);
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 100, TRUE);
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<std::uint8_t*>(rgb.data()) + c.next_scanline * static_cast<std::size_t>(width) * 3;
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  std::vector<std::uint8_t> out(mem, mem + size);
  jpeg_destroy_compress(&c);
  std::free(mem);
  return out;
}
