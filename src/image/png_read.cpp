#include "image/png_read.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

#include "image/image_bytes.h"
#include "image/image_files.h"
#include "platform/file_error.h"

namespace {

struct Source {
  std::span<const std::uint8_t> bytes;
  std::size_t at = 0;
};

void ReadFromSource(png_structp png, png_bytep out, png_size_t length) {
  auto* source = static_cast<Source*>(png_get_io_ptr(png));
  if (source->bytes.size() - source->at < length) png_error(png, "truncated");
  std::memcpy(out, source->bytes.data() + source->at, length);
  source->at += length;
}

void Quiet(png_structp, png_const_charp) {}

// libpng prints an error to stderr unless its handler leaves by itself; the
// message the user sees is ours, naming the file.
[[noreturn]] void Fail(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// What the decode found, kept outside the frame that libpng may jump out
// of so nothing there needs destroying.
struct Decode {
  const char* problem = kDamagedSkinText;
  int width = 0, height = 0;
  bool indexed = false;
  Palette palette{};
  std::vector<std::uint8_t> pixels;
  std::vector<png_bytep> rows;
};

// Only plain data and libpng calls live here: an error longjmps back to the
// setjmp with no C++ object between.
bool Run(png_structp png, png_infop info, Decode& d) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_read_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  if (width == 0 || height == 0 || width > static_cast<png_uint_32>(kMaxImageWidth) ||
      height > static_cast<png_uint_32>(kMaxImageRows)) {
    d.problem = kSkinSizeText;
    return false;
  }
  const int type = png_get_color_type(png, info);
  d.indexed = type == PNG_COLOR_TYPE_PALETTE;
  if (d.indexed) {
    png_colorp entries = nullptr;
    int count = 0;
    if (png_get_PLTE(png, info, &entries, &count) != 0) {
      for (int i = 0; i < count && i < 256; ++i) {
        d.palette[static_cast<std::size_t>(i) * 3] = entries[i].red;
        d.palette[static_cast<std::size_t>(i) * 3 + 1] = entries[i].green;
        d.palette[static_cast<std::size_t>(i) * 3 + 2] = entries[i].blue;
      }
    }
    png_set_packing(png);
  } else {
    png_set_scale_16(png);
    png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS) != 0) png_set_tRNS_to_alpha(png);
    if ((type & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  }
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const std::size_t rowBytes = static_cast<std::size_t>(width) * (d.indexed ? 1 : 4);
  if (png_get_rowbytes(png, info) != rowBytes) return false;
  d.width = static_cast<int>(width);
  d.height = static_cast<int>(height);
  d.pixels.resize(rowBytes * height);
  d.rows.resize(height);
  for (std::size_t y = 0; y < height; ++y) d.rows[y] = d.pixels.data() + y * rowBytes;
  png_read_image(png, d.rows.data());
  png_read_end(png, nullptr);
  return true;
}

}  // namespace

bool IsPng(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= 8 && png_sig_cmp(bytes.data(), 0, 8) == 0;
}

FileResult<DecodedPicture> ParsePng(std::span<const std::uint8_t> bytes) {
  if (!IsPng(bytes)) {
    return FileError{kNotValidSkinText};
  }
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, Quiet);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  Source source{bytes, 0};
  Decode d;
  bool ok = false;
  if (png && info) {
    png_set_read_fn(png, &source, ReadFromSource);
    ok = Run(png, info, d);
  }
  png_destroy_read_struct(png ? &png : nullptr, info ? &info : nullptr, nullptr);
  if (!ok) {
    return FileError{d.problem};
  }
  DecodedPicture picture;
  if (d.indexed) {
    auto skin = std::make_unique<Skin>();
    skin->width = static_cast<std::int16_t>(d.width);
    skin->height = static_cast<std::int16_t>(d.height);
    skin->pixels = std::move(d.pixels);
    skin->palette = d.palette;
    FinishParsedSkin(*skin, FORMAT_PCX);
    picture.indexed = std::move(skin);
  } else {
    picture.trueColour = {d.width, d.height, std::move(d.pixels)};
  }
  return picture;
}
