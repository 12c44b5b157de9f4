// Feeds arbitrary bytes to the skin and palette readers. Whatever is read
// must also survive a write and a second read unchanged in both formats.

#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <span>

#include "image/image_files.h"
#include "platform/headless_ui.h"

namespace {

// Messages go nowhere; a reader's refusal is the fuzzer's everyday input.
std::ostream& Nowhere() {
  static std::ostream nowhere(nullptr);
  return nowhere;
}

void CheckSame(const Skin& a, const Skin* b) {
  if (!b || a.width != b->width || a.height != b->height || a.pixels != b->pixels || a.palette != b->palette)
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::span<const std::uint8_t> bytes(data, size);
  HeadlessUi ui(Nowhere());
  Palette palette{};
  ParsePaletteBytes(bytes, palette);

  auto skin = ParseSkinImage(bytes, ui);
  if (!skin) return 0;
  if (skin->pixels.size() != static_cast<std::size_t>(skin->width) * static_cast<std::size_t>(skin->height) ||
      skin->storedPixels != skin->pixels)
    std::abort();
  auto pcx = EncodePcx(*skin);
  CheckSame(*skin, ParseSkinImage(pcx, ui).get());
  auto bmp = EncodeBmp(*skin);
  auto fromBmp = ParseSkinImage(bmp, ui);
  CheckSame(*skin, fromBmp.get());
  return 0;
}
