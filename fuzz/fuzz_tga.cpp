// Feeds arbitrary bytes to the TGA reader. Whatever it reads must have a
// pixel buffer of its stated size, and must survive being mapped into a
// palette.

#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <span>

#include "image/image_files.h"
#include "image/tga_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A reader's refusal is the fuzzer's everyday input.
  auto picture = ParseTga(std::span<const std::uint8_t>(data, size));
  if (!picture) return 0;
  if (picture->indexed) {
    const Skin& s = *picture->indexed;
    if (s.pixels.size() != static_cast<std::size_t>(s.width) * static_cast<std::size_t>(s.height)) std::abort();
    return 0;
  }
  const TrueColourPicture& tc = picture->trueColour;
  if (tc.rgba.size() != static_cast<std::size_t>(tc.width) * static_cast<std::size_t>(tc.height) * 4) std::abort();
  auto skin = SkinFromPicture(std::move(*picture), GreyRampPalette(), size % 2 == 0);
  if (!skin || skin->pixels.size() != static_cast<std::size_t>(tc.width) * static_cast<std::size_t>(tc.height))
    std::abort();
  return 0;
}
