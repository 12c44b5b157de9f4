#include <gtest/gtest.h>

#include <filesystem>

#include "image/image_files.h"
#include "model/default_palette.h"
#include "platform/files.h"
#include "support/test_support.h"

// The chosen palette file first; when there is none, or it cannot be read,
// the base folder's Pics/COLORMAP.pcx (names match in any case).
TEST(DefaultPalette, FallsBackToTheBaseFoldersColormapBeforeTheGreyRamp) {
  TempDir base;
  Skin colormap;
  colormap.width = 4;
  colormap.height = 2;
  colormap.pixels.assign(8, 0);
  for (int i = 0; i < 768; ++i) colormap.palette[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>((i / 3) ^ 0x55);
  std::filesystem::create_directories(base.File("Pics"));
  WriteBytes(base.File("Pics/COLORMAP.pcx"), EncodePcx(colormap));
  WriteBytes(base.File("chosen.act"), std::vector<std::uint8_t>(768, 9));

  const struct {
    const char* path;
    std::uint8_t first;  // entry 0's red
  } cases[] = {{"", 0x55}, {"missing.act", 0x55}, {"chosen.act", 9}};
  for (const auto& c : cases) {
    Palette p{};
    LoadDefaultPalette(c.path, base.path(), p);
    EXPECT_EQ(p[0], c.first) << c.path;
    EXPECT_EQ(p[767], c.first == 9 ? 9 : (255 ^ 0x55)) << c.path;
  }
}
