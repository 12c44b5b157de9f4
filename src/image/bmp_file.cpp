// BMP: 14-byte file header, an info header of at least 40 bytes, a colour
// table of B, G, R, 0 entries and bottom-up rows padded to four bytes.

#include <algorithm>
#include <cstring>

#include "image/image_bytes.h"
#include "image/image_files.h"
#include "platform/files.h"
#include "platform/file_error.h"

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kTableOffset = kFileHeaderSize + kInfoHeaderSize;
constexpr std::size_t kPixelOffset = kTableOffset + 256 * 4;

std::size_t Stride(std::size_t width) { return (width + 3) & ~std::size_t{3}; }

}  // namespace

int BmpColourTableEntries(std::span<const std::uint8_t> bytes) {
  std::uint32_t used = GetU32(bytes, kFileHeaderSize + 32);
  return used == 0 || used > 256 ? 256 : static_cast<int>(used);
}

bool ReadBmpColourTable(std::span<const std::uint8_t> bytes, Palette& palette) {
  const std::uint64_t infoSize = GetU32(bytes, kFileHeaderSize);
  if (infoSize < kInfoHeaderSize) return false;
  const std::uint64_t table = kFileHeaderSize + infoSize;
  const int entries = BmpColourTableEntries(bytes);
  if (table + 4u * static_cast<std::uint64_t>(entries) > bytes.size()) return false;
  for (int i = 0; i < entries; ++i) {
    std::size_t at = static_cast<std::size_t>(table) + 4u * static_cast<std::size_t>(i);
    palette[3 * i] = bytes[at + 2];
    palette[3 * i + 1] = bytes[at + 1];
    palette[3 * i + 2] = bytes[at];
  }
  return true;
}

FileResult<std::unique_ptr<Skin>> ParseBmp(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kTableOffset || GetU32(bytes, kFileHeaderSize) < kInfoHeaderSize) {
    return FileError{kDamagedSkinText};
  }
  if (GetU16(bytes, kFileHeaderSize + 14) != 8) {
    return FileError{kBmpNot8BitText};
  }
  if (GetU32(bytes, kFileHeaderSize + 16) != 0) {
    return FileError{kBmpCompressedText};
  }
  const std::int32_t width = GetS32(bytes, kFileHeaderSize + 4);
  const std::int32_t height = GetS32(bytes, kFileHeaderSize + 8);
  if (height < 0) {
    return FileError{kBmpTopDownText};
  }
  if (width <= 0 || height == 0 || width > kMaxImageWidth || height > kMaxImageRows) {
    return FileError{kSkinSizeText};
  }
  const std::size_t w = static_cast<std::size_t>(width);
  const std::size_t h = static_cast<std::size_t>(height);
  const std::size_t stride = Stride(w);
  const std::uint64_t pixelOffset = GetU32(bytes, 10);
  // The last row's padding may be missing; its pixels may not.
  if (pixelOffset + stride * (h - 1) + w > bytes.size()) {
    return FileError{kDamagedSkinText};
  }

  auto skin = std::make_unique<Skin>();
  if (!ReadBmpColourTable(bytes, skin->palette)) {
    return FileError{kDamagedSkinText};
  }
  skin->width = static_cast<std::int16_t>(width);
  skin->height = static_cast<std::int16_t>(height);
  skin->pixels.resize(w * h);
  const std::uint8_t* rows = bytes.data() + pixelOffset;
  for (std::size_t k = 0; k < h; ++k) std::memcpy(&skin->pixels[(h - 1 - k) * w], rows + k * stride, w);
  FinishParsedSkin(*skin, FORMAT_BMP);
  return skin;
}

std::vector<std::uint8_t> EncodeBmp(const Skin& skin) {
  if (!HasWritablePixels(skin)) return {};
  const std::size_t w = static_cast<std::size_t>(skin.width);
  const std::size_t h = static_cast<std::size_t>(skin.height);
  const std::size_t stride = Stride(w);

  std::vector<std::uint8_t> file(kPixelOffset + stride * h, 0);
  file[0] = 'B';
  file[1] = 'M';
  PutU32(file, 2, static_cast<std::uint32_t>(file.size()));
  PutU32(file, 10, static_cast<std::uint32_t>(kPixelOffset));
  PutU32(file, 14, static_cast<std::uint32_t>(kInfoHeaderSize));
  PutU32(file, 18, static_cast<std::uint32_t>(w));
  PutU32(file, 22, static_cast<std::uint32_t>(h));
  PutU16(file, 26, 1);
  PutU16(file, 28, 8);
  PutU32(file, 38, 100);
  PutU32(file, 42, 100);
  for (std::size_t i = 0; i < 256; ++i) {
    file[kTableOffset + 4 * i] = skin.palette[3 * i + 2];
    file[kTableOffset + 4 * i + 1] = skin.palette[3 * i + 1];
    file[kTableOffset + 4 * i + 2] = skin.palette[3 * i];
  }
  for (std::size_t k = 0; k < h; ++k)
    std::memcpy(&file[kPixelOffset + k * stride], &skin.pixels[(h - 1 - k) * w], w);
  return file;
}

WriteResult WriteBmp(Skin& skin, const std::string& path) {
  if (auto refused = RefuseBeyondReaders(skin, kMaxImageWidth, "a BMP", path)) return *refused;
  WriteResult saved = SaveImageBytes(EncodeBmp(skin), path);
  if (saved) skin.format = FORMAT_BMP;
  return saved;
}
