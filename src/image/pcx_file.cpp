// PCX: ZSoft version 5, one 8-bit plane, run-length encoded, with the
// palette in the last 768 bytes of the file.

#include <algorithm>
#include <cstring>

#include "image/image_bytes.h"
#include "image/image_files.h"
#include "platform/files.h"
#include "platform/file_error.h"

namespace {

constexpr std::size_t kHeaderSize = 128;
constexpr std::size_t kPaletteSize = 768;

}  // namespace

FileResult<std::unique_ptr<Skin>> ParsePcx(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kHeaderSize + kPaletteSize) {
    return FileError{kDamagedSkinText};
  }
  // Older writers leave the plane count at 0; anything else but one plane of
  // 8 bits would decode into noise.
  const int bitsPerPixel = bytes[3];
  const int planes = bytes[65];
  if (bitsPerPixel != 8 || planes > 1) {
    return FileError{kPcxNot8BitText};
  }
  const int width = GetS16(bytes, 8) - GetS16(bytes, 4) + 1;
  const int height = GetS16(bytes, 10) - GetS16(bytes, 6) + 1;
  if (width <= 0 || height <= 0 || width > kMaxImageWidth || height > kMaxImageRows) {
    return FileError{kSkinSizeText};
  }
  const std::size_t bpl = GetU16(bytes, 66);
  // The run data lies between the header and the palette; it may not borrow
  // bytes from either.
  const std::size_t dataEnd = bytes.size() - kPaletteSize;
  const std::size_t rows = static_cast<std::size_t>(height);
  // A run byte pair yields at most 63 pixels, so a data block too small for
  // the whole image is known to be short before anything is allocated.
  if (bpl < static_cast<std::size_t>(width) || (dataEnd - kHeaderSize) * 63 < bpl * rows) {
    return FileError{kDamagedSkinText};
  }

  auto skin = std::make_unique<Skin>();
  skin->width = static_cast<std::int16_t>(width);
  skin->height = static_cast<std::int16_t>(height);
  skin->pixels.assign(static_cast<std::size_t>(width) * rows, 0);
  std::memcpy(skin->palette.data(), bytes.data() + dataEnd, kPaletteSize);

  // Runs flow on across row ends; of each bpl-byte row only the first
  // `width` bytes are pixels, the rest is padding. Runs past the last row are
  // cut there.
  const std::size_t w = static_cast<std::size_t>(width);
  std::uint8_t* out = skin->pixels.data();
  std::size_t row = 0, col = 0, at = kHeaderSize;
  while (row < rows) {
    if (at >= dataEnd) {
      return FileError{kDamagedSkinText};
    }
    std::uint8_t value = bytes[at++];
    std::size_t count = 1;
    if (value >= 0xC0) {
      if (at >= dataEnd) {
        return FileError{kDamagedSkinText};
      }
      count = value - 0xC0u;
      value = bytes[at++];
    }
    while (count > 0 && row < rows) {
      std::size_t n = std::min(count, bpl - col);
      if (col < w) std::memset(out + row * w + col, value, std::min(n, w - col));
      col += n;
      count -= n;
      if (col == bpl) {
        col = 0;
        ++row;
      }
    }
  }
  FinishParsedSkin(*skin, FORMAT_PCX);
  return skin;
}

constexpr int kMaxPcxWidth = 32766;

std::vector<std::uint8_t> EncodePcx(const Skin& skin) {
  if (!HasWritablePixels(skin)) return {};
  const std::size_t w = static_cast<std::size_t>(skin.width);
  const std::size_t h = static_cast<std::size_t>(skin.height);
  const std::size_t bpl = (w + 1) & ~std::size_t{1};

  std::vector<std::uint8_t> file(kHeaderSize, 0);
  file.reserve(kHeaderSize + 2 * bpl * h + 1 + kPaletteSize);
  file[0] = 10;
  file[1] = 5;
  file[2] = 1;
  file[3] = 8;
  PutU16(file, 8, static_cast<std::uint32_t>(w - 1));
  PutU16(file, 10, static_cast<std::uint32_t>(h - 1));
  // The resolution fields carry the image size, as readers of our files expect.
  PutU16(file, 12, static_cast<std::uint32_t>(w));
  PutU16(file, 14, static_cast<std::uint32_t>(h));
  file[65] = 1;
  PutU16(file, 66, static_cast<std::uint32_t>(bpl));
  PutU16(file, 68, 2);

  // Every pixel on its own: simple, and never longer than two bytes a pixel.
  const std::uint8_t* px = skin.pixels.data();
  for (std::size_t y = 0; y < h; ++y) {
    for (std::size_t x = 0; x < w; ++x) {
      std::uint8_t v = px[y * w + x];
      if ((v & 0xC0) == 0xC0) file.push_back(0xC1);
      file.push_back(v);
    }
    if (bpl != w) file.push_back(0);
  }
  file.push_back(12);
  file.insert(file.end(), skin.palette.begin(), skin.palette.end());
  return file;
}

WriteResult WritePcx(Skin& skin, const std::string& path) {
  // Rows are padded to an even length whose count other readers take as a
  // signed 16-bit number: 32767 pixels would need 32768.
  if (auto refused = RefuseBeyondReaders(skin, kMaxPcxWidth, "a PCX", path)) return *refused;
  WriteResult saved = SaveImageBytes(EncodePcx(skin), path);
  if (saved) skin.format = FORMAT_PCX;
  return saved;
}
