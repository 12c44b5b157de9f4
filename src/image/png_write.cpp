#include "image/png_write.h"

#include <algorithm>
#include <array>
#include <csetjmp>

#include <png.h>

#include "image/image_bytes.h"
#include "image/image_files.h"
#include "platform/files.h"
#include "platform/file_error.h"

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

struct Sink {
  std::vector<std::uint8_t> bytes;
};

void WriteToSink(png_structp png, png_bytep data, png_size_t length) {
  auto* sink = static_cast<Sink*>(png_get_io_ptr(png));
  sink->bytes.insert(sink->bytes.end(), data, data + length);
}

void FlushSink(png_structp) {}

void Quiet(png_structp, png_const_charp) {}

// libpng prints an error to stderr unless its handler leaves by itself; the
// caller reports the failure.
[[noreturn]] void Fail(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// Only plain data and libpng calls here: an error longjmps back to the
// setjmp with no C++ object in between. The vector in `sink` and `rows`
// belong to the caller's frame.
bool Encode(png_structp png, png_infop info, int width, int height, const Palette& palette,
            std::vector<png_bytep>& rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
               PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_color entries[256];
  for (int i = 0; i < 256; ++i) {
    entries[i].red = palette[static_cast<std::size_t>(i) * 3];
    entries[i].green = palette[static_cast<std::size_t>(i) * 3 + 1];
    entries[i].blue = palette[static_cast<std::size_t>(i) * 3 + 2];
  }
  png_set_PLTE(png, info, entries, 256);
  png_write_info(png, info);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  return true;
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

  std::vector<png_bytep> rows(h);
  // libpng only reads through these row pointers; its interface lacks const.
  auto* base = const_cast<std::uint8_t*>(pixels.data());
  for (std::size_t y = 0; y < h; ++y) rows[y] = base + y * w;
  Sink sink;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, Quiet);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  bool ok = false;
  if (png && info) {
    png_set_write_fn(png, &sink, WriteToSink, FlushSink);
    ok = Encode(png, info, width, height, palette, rows);
  }
  png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
  if (!ok) return {};
  return std::move(sink.bytes);
}

WriteResult WritePngPicture(const Skin& picture, const std::string& path) {
  std::vector<std::uint8_t> bytes;
  if (HasWritablePixels(picture)) bytes = EncodePng8(picture.pixels, picture.width, picture.height, picture.palette);
  return SaveImageBytes(bytes, path);
}

WriteResult WritePng(const Skin& skin, const std::string& path) {
  if (auto refused = RefuseBeyondReaders(skin, kMaxImageWidth, "a PNG skin", path)) return *refused;
  return WritePngPicture(skin, path);
}
