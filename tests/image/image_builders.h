#pragma once
// Hand-made PCX and BMP files for the reader tests, laid out field by field
// so odd layouts (window origins, runs, short tables) can be made on purpose.

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "image/skin.h"

inline void Le16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  b[at] = v & 0xFF;
  b[at + 1] = (v >> 8) & 0xFF;
}
inline void Le32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  Le16(b, at, v & 0xFFFF);
  Le16(b, at + 2, v >> 16);
}
inline std::uint32_t ReadLe16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b.at(at) | (b.at(at + 1) << 8);
}
inline std::uint32_t ReadLe32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return ReadLe16(b, at) | (ReadLe16(b, at + 2) << 16);
}

// A palette where every byte differs from its neighbours.
inline Palette TestPalette(int salt = 0) {
  Palette p{};
  for (int i = 0; i < 256; ++i) {
    p[3 * i] = static_cast<std::uint8_t>(i + salt);
    p[3 * i + 1] = static_cast<std::uint8_t>(i * 7 + 3 + salt);
    p[3 * i + 2] = static_cast<std::uint8_t>(255 - i + salt);
  }
  return p;
}

struct PcxLayout {
  std::int16_t xmin = 0, ymin = 0, xmax = 0, ymax = 0;
  std::uint16_t bytesPerLine = 0;
  std::uint8_t bitsPerPixel = 8;
  std::uint8_t planes = 1;
  std::vector<std::uint8_t> data;  // run-length data as stored
  Palette palette = TestPalette();
  bool marker = true;
};

inline std::vector<std::uint8_t> BuildPcx(const PcxLayout& l) {
  // Sized up front: GCC 12 warns falsely about inserting into a fresh vector.
  std::vector<std::uint8_t> f(128 + l.data.size() + (l.marker ? 1 : 0) + 768, 0);
  f[0] = 0x0A;
  f[1] = 0x05;
  f[2] = 1;
  f[3] = l.bitsPerPixel;
  Le16(f, 4, static_cast<std::uint16_t>(l.xmin));
  Le16(f, 6, static_cast<std::uint16_t>(l.ymin));
  Le16(f, 8, static_cast<std::uint16_t>(l.xmax));
  Le16(f, 10, static_cast<std::uint16_t>(l.ymax));
  f[65] = l.planes;
  Le16(f, 66, l.bytesPerLine);
  auto at = std::copy(l.data.begin(), l.data.end(), f.begin() + 128);
  if (l.marker) *at++ = 12;
  std::copy(l.palette.begin(), l.palette.end(), at);
  return f;
}

struct BmpLayout {
  std::int32_t width = 0, height = 0;
  std::uint16_t bitCount = 8;
  std::uint32_t compression = 0;
  std::uint32_t coloursUsed = 0;
  std::uint32_t infoSize = 40;
  std::vector<std::array<std::uint8_t, 3>> colours;  // R, G, B, stored as B, G, R, 0
  std::vector<std::uint8_t> pixelData;                // rows as stored, padding included
  std::int64_t pixelOffset = -1;                      // -1: right after the table
};

inline std::vector<std::uint8_t> BuildBmp(const BmpLayout& l) {
  std::size_t table = 14 + l.infoSize;
  std::size_t data = table + 4 * l.colours.size();
  std::vector<std::uint8_t> f(data, 0);
  f[0] = 'B';
  f[1] = 'M';
  Le32(f, 2, static_cast<std::uint32_t>(data + l.pixelData.size()));
  Le32(f, 10, static_cast<std::uint32_t>(l.pixelOffset >= 0 ? l.pixelOffset : static_cast<std::int64_t>(data)));
  Le32(f, 14, l.infoSize);
  Le32(f, 18, static_cast<std::uint32_t>(l.width));
  Le32(f, 22, static_cast<std::uint32_t>(l.height));
  Le16(f, 26, 1);
  Le16(f, 28, l.bitCount);
  Le32(f, 30, l.compression);
  Le32(f, 46, l.coloursUsed);
  for (std::size_t i = 0; i < l.colours.size(); ++i) {
    f[table + 4 * i] = l.colours[i][2];
    f[table + 4 * i + 1] = l.colours[i][1];
    f[table + 4 * i + 2] = l.colours[i][0];
  }
  f.insert(f.end(), l.pixelData.begin(), l.pixelData.end());
  return f;
}

inline std::vector<std::array<std::uint8_t, 3>> TestColours(int count, int salt = 0) {
  Palette p = TestPalette(salt);
  std::vector<std::array<std::uint8_t, 3>> c(count);
  for (int i = 0; i < count; ++i) c[i] = {p[3 * i], p[3 * i + 1], p[3 * i + 2]};
  return c;
}
