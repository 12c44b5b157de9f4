// Feeds arbitrary bytes to the PNG and JPEG readers, each in turn (the
// first byte picks one, so neither has to find its signature by chance).
// Whatever is read must have a pixel buffer of its stated size and must
// survive being mapped into a palette and written as a PNG again.

#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <span>
#include <vector>

#include "image/jpeg_read.h"
#include "image/png_read.h"
#include "image/png_write.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const bool png = (data[0] & 1) == 0;
  // Every input gets the signature it needs, and the rest is the fuzzer's.
  std::vector<std::uint8_t> bytes;
  if (png)
    bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  else
    bytes = {0xFF, 0xD8, 0xFF};
  bytes.insert(bytes.end(), data + 1, data + size);
  // A reader's refusal is the fuzzer's everyday input.
  auto picture = png ? ParsePng(bytes) : ParseJpeg(bytes);
  if (!picture) return 0;
  if (!picture->indexed) {
    const TrueColourPicture& tc = picture->trueColour;
    if (tc.rgba.size() != static_cast<std::size_t>(tc.width) * static_cast<std::size_t>(tc.height) * 4) std::abort();
  }
  auto skin = SkinFromPicture(std::move(*picture), GreyRampPalette(), false);
  if (!skin || skin->pixels.size() != static_cast<std::size_t>(skin->width) * static_cast<std::size_t>(skin->height))
    std::abort();
  auto again = ParsePng(EncodePng8(skin->pixels, skin->width, skin->height, skin->palette));
  if (!again || !again->indexed || again->indexed->pixels != skin->pixels) std::abort();
  return 0;
}
