// Feeds arbitrary bytes to the skin and palette readers. Whatever is read
// must also survive a write and a second read unchanged in both formats.

#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <span>

#include "image/image_files.h"

namespace {

void CheckSame(const Skin& a, const Skin* b) {
  if (!b || a.width != b->width || a.height != b->height || a.pixels != b->pixels || a.palette != b->palette)
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::span<const std::uint8_t> bytes(data, size);
  Palette palette{};
  ParsePaletteBytes(bytes, palette);

  // A reader's refusal is the fuzzer's everyday input.
  auto parsed = ParseSkinImage(bytes);
  if (!parsed) return 0;
  const std::unique_ptr<Skin>& skin = *parsed;
  if (skin->pixels.size() != static_cast<std::size_t>(skin->width) * static_cast<std::size_t>(skin->height) ||
      skin->storedPixels != skin->pixels)
    std::abort();
  auto pcx = EncodePcx(*skin);
  auto fromPcx = ParseSkinImage(pcx);
  CheckSame(*skin, fromPcx ? fromPcx->get() : nullptr);
  auto bmp = EncodeBmp(*skin);
  auto fromBmp = ParseSkinImage(bmp);
  CheckSame(*skin, fromBmp ? fromBmp->get() : nullptr);
  return 0;
}
