#pragma once
// The one 8-bit image record: skins, phong and environment maps, the colormap
// and snapshots. Pixels are palette indices, top row first, no row padding.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

using Palette = std::array<std::uint8_t, 768>;  // 256 x R, G, B

// The grey ramp, entry i = (i, i, i): the palette of every picture that has
// no palette of its own.
Palette GreyRampPalette();

constexpr std::uint32_t SKIN_EXTERNAL = 1;  // not referenced by the model file
constexpr std::uint8_t FORMAT_PCX = 1;
constexpr std::uint8_t FORMAT_BMP = 2;
constexpr std::uint8_t FORMAT_PNG = 3;
// Read but never written: a skin from one of these is saved under a new name.
constexpr std::uint8_t FORMAT_TGA = 4;
constexpr std::uint8_t FORMAT_JPEG = 5;
inline bool IsWritableSkinFormat(std::uint8_t format) {
  return format == FORMAT_PCX || format == FORMAT_BMP || format == FORMAT_PNG;
}
constexpr int kMaxImageRows = 2048;  // rows a row-offset table can address

struct Skin {
  std::string name;  // linked skin: relative to the base folder; external: full path
  std::string path;  // full path on disk
  int hasFile = 0;
  std::vector<std::uint8_t> pixels;        // width x height
  std::vector<std::uint8_t> storedPixels;  // what Revert restores
  std::uint32_t flags = 0;
  Palette palette{};
  std::int16_t width = 0;
  std::int16_t height = 0;
  std::uint8_t format = FORMAT_PCX;
  std::array<std::int32_t, kMaxImageRows> rowOffset{};
  // No file holds this skin as it stands (made here, or put back from a
  // recovery copy): it counts as changed until it is saved, whatever its
  // pixels are.
  bool modified = false;
  // The fingerprint (editor/skin_fingerprint.h) of what was last read or
  // written; the skin is changed while its own differs. 0 until the editor
  // takes it, which it does before the skin's first edit.
  std::uint64_t savedFingerprint = 0;
};

// Entry y of rowOffset = y * width for every y < height; nothing for null.
void ComputeRowOffsets(Skin* skin);
