#include "image/jpeg_read.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

#include "image/image_files.h"
#include "platform/file_error.h"

namespace {

struct ErrorHandler {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

[[noreturn]] void Fail(j_common_ptr info) {
  std::longjmp(reinterpret_cast<ErrorHandler*>(info->err)->jump, 1);
}

// libjpeg makes up grey rows for data that ends early and only warns; a
// skin with made-up rows is a damaged skin, so that warning fails the read.
// Other warnings (stray bytes between markers) are common and harmless.
void Warn(j_common_ptr info, int level) {
  if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) Fail(info);
}

struct Decode {
  const char* problem = kDamagedSkinText;
  TrueColourPicture picture;
};

// Only plain data and libjpeg calls live here: an error longjmps back to
// the setjmp with no C++ object between.
bool Run(jpeg_decompress_struct& cinfo, ErrorHandler& errors, std::span<const std::uint8_t> bytes, Decode& d) {
  if (setjmp(errors.jump)) return false;
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&cinfo, TRUE);
  if (cinfo.image_width == 0 || cinfo.image_height == 0 ||
      cinfo.image_width > static_cast<JDIMENSION>(kMaxImageWidth) ||
      cinfo.image_height > static_cast<JDIMENSION>(kMaxImageRows)) {
    d.problem = kSkinSizeText;
    return false;
  }
  cinfo.out_color_space = JCS_EXT_RGBX;
  jpeg_start_decompress(&cinfo);
  const std::size_t w = cinfo.output_width, h = cinfo.output_height;
  if (cinfo.output_components != 4 || w != cinfo.image_width || h != cinfo.image_height) return false;
  d.picture.width = static_cast<int>(w);
  d.picture.height = static_cast<int>(h);
  d.picture.rgba.resize(w * h * 4);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = d.picture.rgba.data() + static_cast<std::size_t>(cinfo.output_scanline) * w * 4;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  return true;
}

}  // namespace

bool IsJpeg(std::span<const std::uint8_t> bytes) {
  return bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}

FileResult<DecodedPicture> ParseJpeg(std::span<const std::uint8_t> bytes) {
  if (!IsJpeg(bytes)) {
    return FileError{kNotValidSkinText};
  }
  jpeg_decompress_struct cinfo{};
  ErrorHandler errors{};
  cinfo.err = jpeg_std_error(&errors.base);
  errors.base.error_exit = Fail;
  errors.base.emit_message = Warn;
  Decode d;
  const bool ok = Run(cinfo, errors, bytes, d);
  jpeg_destroy_decompress(&cinfo);
  if (!ok) {
    return FileError{d.problem};
  }
  // RGBX leaves the fourth byte to the library; a JPEG is opaque throughout.
  for (std::size_t i = 3; i < d.picture.rgba.size(); i += 4) d.picture.rgba[i] = 255;
  DecodedPicture picture;
  picture.trueColour = std::move(d.picture);
  return picture;
}
