// Palettes alone, from a Photoshop ACT file (exactly 768 bytes), the colour
// table of an 8-bit BMP or the trailer of a PCX.

#include <algorithm>

#include "image/image_bytes.h"
#include "image/image_files.h"
#include "platform/files.h"

namespace {

constexpr std::size_t kPaletteSize = 768;

}  // namespace

bool ParsePaletteBytes(std::span<const std::uint8_t> bytes, Palette& palette) {
  if (bytes.size() < kPaletteSize) return false;
  // ACT files carry no magic; their size is their only mark, so a 768-byte
  // file is one whatever it holds, and an ACT with the trailing count words
  // (772 bytes) is not.
  if (bytes.size() == kPaletteSize) {
    std::copy(bytes.begin(), bytes.end(), palette.begin());
    return true;
  }
  if (bytes[0] == 'B' && bytes[1] == 'M') {
    if (GetU16(bytes, 14 + 14) != 8) return false;
    return ReadBmpColourTable(bytes, palette);
  }
  if (bytes[0] == 0x0A && bytes[1] == 0x05) {
    std::copy(bytes.end() - kPaletteSize, bytes.end(), palette.begin());
    return true;
  }
  return false;
}

bool LoadPaletteFile(const std::string& path, Palette& palette, int* cause) {
  auto bytes = ReadFileBytes(path, cause, kMaxPaletteFileBytes);
  return bytes && ParsePaletteBytes(*bytes, palette);
}
