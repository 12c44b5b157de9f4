#include <gtest/gtest.h>

#include "image/image_files.h"
#include "image/new_skin.h"
#include "image/picture_builders.h"
#include "support/scripted_ui.h"
#include "support/shown.h"
#include "support/test_support.h"

namespace {

constexpr int kW = 4, kH = 2;

std::vector<std::uint8_t> FileOf(const std::string& kind) {
  auto skin = MakeBlankSkin("p", kW, kH, GreyRampPalette());
  for (int i = 0; i < kW * kH; ++i) skin->pixels[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 30);
  TgaLayout tga;
  tga.width = kW;
  tga.height = kH;
  tga.data.assign(kW * kH * 3, 90);
  if (kind == "pcx") return EncodePcx(*skin);
  if (kind == "bmp") return EncodeBmp(*skin);
  if (kind == "png8") return EncodePng8(skin->pixels, kW, kH, skin->palette);
  if (kind == "jpg") return BuildJpeg(kW, kH, std::vector<std::uint8_t>(kW * kH * 3, 90));
  if (kind == "tga") return BuildTga(tga);
  return BuildRgbaPng(kW, kH, std::vector<std::uint8_t>(kW * kH * 4, 255));
}

}  // namespace

// Save writes a skin back in the format it came from, whatever the picture
// turned into in memory.
TEST(PictureFormat, TheLoaderRecordsWhichFormatAPictureCameFrom) {
  const struct {
    const char* kind;
    std::uint8_t format;
  } cases[] = {{"pcx", FORMAT_PCX}, {"bmp", FORMAT_BMP}, {"png8", FORMAT_PNG},
               {"png32", FORMAT_PNG}, {"tga", FORMAT_TGA}, {"jpg", FORMAT_JPEG}};
  TempDir dir;
  ScriptedUi ui;
  for (const auto& c : cases) {
    WriteBytes(dir.File(c.kind), FileOf(c.kind));
    auto skin = Shown(ui, LoadSkinImage(dir.File(c.kind), GreyRampPalette()));
    ASSERT_TRUE(skin) << c.kind;
    EXPECT_EQ(skin->format, c.format) << c.kind;
  }
}

// A linked skin saved as PNG is read back by the model loader's plain
// reader: it takes the palette PNGs the program writes, not pictures that
// need a palette chosen for them.
TEST(PictureFormat, ThePlainReaderTakesPalettePngsOnly) {
  TempDir dir;
  ScriptedUi ui;
  WriteBytes(dir.File("a.png"), FileOf("png8"));
  auto skin = Shown(ui, LoadSkinImage(dir.File("a.png")));
  ASSERT_TRUE(skin);
  EXPECT_EQ(skin->format, FORMAT_PNG);
  EXPECT_EQ(skin->pixels[3], 90);

  WriteBytes(dir.File("b.png"), FileOf("png32"));
  EXPECT_FALSE(Shown(ui, LoadSkinImage(dir.File("b.png"))));
  ASSERT_EQ(ui.texts().size(), 1u);
  EXPECT_EQ(ui.texts()[0].rfind(kNotValidSkinText, 0), 0u) << ui.texts()[0];
}
