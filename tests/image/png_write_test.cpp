#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "image/png_read.h"
#include "image/png_write.h"
#include "support/scripted_ui.h"
#include "support/shown.h"
#include "support/test_support.h"

namespace {

std::span<const std::uint8_t> Bytes(const char* text) {
  return {reinterpret_cast<const std::uint8_t*>(text), std::strlen(text)};
}

TEST(PngChecksums, MatchTheKnownCheckValues) {
  EXPECT_EQ(Crc32(Bytes("123456789")), 0xCBF43926u);
  EXPECT_EQ(Adler32(Bytes("Wikipedia")), 0x11E60398u);
  // Continuing a checksum over a split input gives the checksum of the whole.
  EXPECT_EQ(Crc32(Bytes("6789"), Crc32(Bytes("12345"))), 0xCBF43926u);
  EXPECT_EQ(Adler32(Bytes("pedia"), Adler32(Bytes("Wiki"))), 0x11E60398u);
  // Long runs of 0xFF overflow a sum that is not reduced in time.
  std::vector<std::uint8_t> ones(100000, 0xFF);
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t v : ones) {
    a = (a + v) % 65521;
    b = (b + a) % 65521;
  }
  EXPECT_EQ(Adler32(ones), (b << 16) | a);
}

struct DecodedPng {
  std::uint32_t width = 0, height = 0;
  std::vector<std::uint8_t> palette, pixels;
};

DecodedPng Decode(const std::vector<std::uint8_t>& d) {
  ScriptedUi ui;
  auto picture = Shown(ui, ParsePng(d));
  EXPECT_TRUE(picture && picture->indexed);
  if (!picture || !picture->indexed) return {};
  const Skin& skin = *picture->indexed;
  return {static_cast<std::uint32_t>(skin.width), static_cast<std::uint32_t>(skin.height),
          std::vector<std::uint8_t>(skin.palette.begin(), skin.palette.end()), skin.pixels};
}

TEST(PngWrite, RoundTripsPixelsAndPaletteCompressed) {
  const int w = 300, h = 300;
  std::vector<std::uint8_t> pixels(w * h);
  for (int i = 0; i < w * h; ++i) pixels[i] = static_cast<std::uint8_t>(i * 7 + i / w);
  Palette palette;
  for (int i = 0; i < 768; ++i) palette[i] = static_cast<std::uint8_t>(i * 3);
  const auto file = EncodePng8(pixels, w, h, palette);
  DecodedPng png = Decode(file);
  EXPECT_EQ(png.width, 300u);
  EXPECT_EQ(png.height, 300u);
  EXPECT_EQ(png.pixels, pixels);
  EXPECT_EQ(png.palette, std::vector<std::uint8_t>(palette.begin(), palette.end()));
  // A flat picture compresses far below its pixel count.
  EXPECT_LT(EncodePng8(std::vector<std::uint8_t>(w * h, 3), w, h, palette).size(), 4000u);

  DecodedPng tiny = Decode(EncodePng8(std::vector<std::uint8_t>{9}, 1, 1, palette));
  EXPECT_EQ(tiny.pixels, std::vector<std::uint8_t>{9});
}

TEST(PngWrite, RefusesMismatchedSizesAndReportsWriteFailures) {
  Palette palette{};
  EXPECT_TRUE(EncodePng8(std::vector<std::uint8_t>(5), 2, 2, palette).empty());
  EXPECT_TRUE(EncodePng8({}, 0, 0, palette).empty());

  TempDir dir;
  Skin skin;
  skin.width = 2;
  skin.height = 2;
  skin.pixels = {1, 2, 3, 4};
  ScriptedUi ui;
  ASSERT_TRUE(Shown(ui, WritePng(skin, dir.File("a.png"))));
  EXPECT_EQ(Decode(ReadBytes(dir.File("a.png"))).pixels, skin.pixels);
  EXPECT_FALSE(Shown(ui, WritePng(skin, dir.File("no/such/folder/a.png"))));
  ASSERT_EQ(ui.texts().size(), 1u);
  EXPECT_EQ(ui.texts()[0].rfind("Error Saving: ", 0), 0u);
}

}  // namespace
