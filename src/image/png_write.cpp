#include "image/png_write.h"

#include <algorithm>
#include <array>

#include "image/image_bytes.h"

namespace {

const std::array<std::uint32_t, 256>& CrcTable() {
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  return table;
}

void PutBE32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v >> 24));
  out.push_back(static_cast<std::uint8_t>(v >> 16));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
  out.push_back(static_cast<std::uint8_t>(v));
}

void PutChunk(std::vector<std::uint8_t>& out, const char type[5], const std::vector<std::uint8_t>& data) {
  PutBE32(out, static_cast<std::uint32_t>(data.size()));
  std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  PutBE32(out, Crc32(std::span<const std::uint8_t>(out.data() + start, out.size() - start)));
}

// A zlib stream of stored blocks (at most 65535 bytes each).
std::vector<std::uint8_t> StoredZlib(const std::vector<std::uint8_t>& raw) {
  std::vector<std::uint8_t> z;
  z.reserve(raw.size() + raw.size() / 65535 * 5 + 16);
  z.push_back(0x78);  // deflate, 32K window
  z.push_back(0x01);  // no preset dictionary; (0x78 << 8 | 0x01) % 31 == 0
  std::size_t pos = 0;
  do {
    std::size_t len = raw.size() - pos;
    if (len > 65535) len = 65535;
    bool last = pos + len == raw.size();
    z.push_back(last ? 1 : 0);
    z.push_back(static_cast<std::uint8_t>(len));
    z.push_back(static_cast<std::uint8_t>(len >> 8));
    z.push_back(static_cast<std::uint8_t>(~len));
    z.push_back(static_cast<std::uint8_t>(~len >> 8));
    z.insert(z.end(), raw.begin() + static_cast<std::ptrdiff_t>(pos),
             raw.begin() + static_cast<std::ptrdiff_t>(pos + len));
    pos += len;
  } while (pos < raw.size());
  PutBE32(z, Adler32(raw));
  return z;
}

}  // namespace

std::uint32_t Crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc) {
  const auto& table = CrcTable();
  std::uint32_t c = crc ^ 0xFFFFFFFFu;
  for (std::uint8_t b : bytes) c = table[(c ^ b) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

std::uint32_t Adler32(std::span<const std::uint8_t> bytes, std::uint32_t adler) {
  std::uint32_t a = adler & 0xFFFF, b = adler >> 16;
  std::size_t i = 0;
  while (i < bytes.size()) {
    // 5552 bytes keep the sums inside 32 bits between reductions.
    std::size_t end = std::min(bytes.size(), i + 5552);
    for (; i < end; ++i) {
      a += bytes[i];
      b += a;
    }
    a %= 65521;
    b %= 65521;
  }
  return (b << 16) | a;
}

std::vector<std::uint8_t> EncodePng8(std::span<const std::uint8_t> pixels, int width, int height,
                                     const Palette& palette) {
  if (width <= 0 || height <= 0) return {};
  const std::size_t w = static_cast<std::size_t>(width), h = static_cast<std::size_t>(height);
  if (pixels.size() != w * h) return {};

  std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> ihdr;
  PutBE32(ihdr, static_cast<std::uint32_t>(width));
  PutBE32(ihdr, static_cast<std::uint32_t>(height));
  ihdr.insert(ihdr.end(), {8, 3, 0, 0, 0});  // 8 bits, palette, deflate, filter 0, no interlace
  PutChunk(out, "IHDR", ihdr);
  PutChunk(out, "PLTE", std::vector<std::uint8_t>(palette.begin(), palette.end()));

  std::vector<std::uint8_t> raw;
  raw.reserve((w + 1) * h);
  for (std::size_t y = 0; y < h; ++y) {
    raw.push_back(0);  // filter: none
    raw.insert(raw.end(), pixels.begin() + static_cast<std::ptrdiff_t>(y * w),
               pixels.begin() + static_cast<std::ptrdiff_t>((y + 1) * w));
  }
  PutChunk(out, "IDAT", StoredZlib(raw));
  PutChunk(out, "IEND", {});
  return out;
}

bool WritePng(const Skin& skin, const std::string& path, Ui& ui) {
  std::vector<std::uint8_t> bytes;
  if (HasWritablePixels(skin)) bytes = EncodePng8(skin.pixels, skin.width, skin.height, skin.palette);
  return SaveImageBytes(bytes, path, ui);
}
