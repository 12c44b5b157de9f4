#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "image/png_write.h"
#include "support/scripted_ui.h"
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

std::uint32_t BE32(const std::vector<std::uint8_t>& d, std::size_t at) {
  return (std::uint32_t{d[at]} << 24) | (std::uint32_t{d[at + 1]} << 16) | (std::uint32_t{d[at + 2]} << 8) | d[at + 3];
}

// A reader for what the writer promises: chunks with good CRCs, a zlib
// stream of stored blocks, filter 0 on every row.
struct DecodedPng {
  std::uint32_t width = 0, height = 0;
  std::vector<std::uint8_t> palette, pixels;
};

DecodedPng Decode(const std::vector<std::uint8_t>& d) {
  DecodedPng out;
  const std::uint8_t magic[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  EXPECT_EQ(std::memcmp(d.data(), magic, 8), 0);
  std::vector<std::uint8_t> z;
  std::size_t at = 8;
  std::string last;
  while (at + 12 <= d.size()) {
    std::uint32_t len = BE32(d, at);
    std::string type(d.begin() + at + 4, d.begin() + at + 8);
    std::vector<std::uint8_t> body(d.begin() + at + 8, d.begin() + at + 8 + len);
    EXPECT_EQ(BE32(d, at + 8 + len), Crc32(std::span<const std::uint8_t>(d.data() + at + 4, len + 4))) << type;
    if (type == "IHDR") {
      out.width = BE32(body, 0);
      out.height = BE32(body, 4);
      EXPECT_EQ(body[8], 8);
      EXPECT_EQ(body[9], 3);
    } else if (type == "PLTE") {
      out.palette = body;
    } else if (type == "IDAT") {
      z.insert(z.end(), body.begin(), body.end());
    }
    last = type;
    at += 12 + len;
  }
  EXPECT_EQ(last, "IEND");
  EXPECT_EQ(at, d.size());
  EXPECT_EQ((z[0] * 256 + z[1]) % 31, 0);
  std::vector<std::uint8_t> raw;
  std::size_t p = 2;
  for (bool final = false; !final;) {
    final = z[p] & 1;
    EXPECT_EQ(z[p] & 6, 0);  // stored
    std::uint16_t len = static_cast<std::uint16_t>(z[p + 1] | z[p + 2] << 8);
    std::uint16_t nlen = static_cast<std::uint16_t>(z[p + 3] | z[p + 4] << 8);
    EXPECT_EQ(static_cast<std::uint16_t>(~len), nlen);
    raw.insert(raw.end(), z.begin() + p + 5, z.begin() + p + 5 + len);
    p += 5 + len;
  }
  EXPECT_EQ(BE32(z, p), Adler32(raw));
  EXPECT_EQ(p + 4, z.size());
  for (std::uint32_t y = 0; y < out.height; ++y) {
    EXPECT_EQ(raw[y * (out.width + 1)], 0);
    out.pixels.insert(out.pixels.end(), raw.begin() + y * (out.width + 1) + 1, raw.begin() + (y + 1) * (out.width + 1));
  }
  return out;
}

TEST(PngWrite, RoundTripsPixelsAndPaletteOverSeveralStoredBlocks) {
  // 300 x 300 rows of 301 bytes need two blocks of at most 65535 bytes.
  const int w = 300, h = 300;
  std::vector<std::uint8_t> pixels(w * h);
  for (int i = 0; i < w * h; ++i) pixels[i] = static_cast<std::uint8_t>(i * 7 + i / w);
  Palette palette;
  for (int i = 0; i < 768; ++i) palette[i] = static_cast<std::uint8_t>(i * 3);
  DecodedPng png = Decode(EncodePng8(pixels, w, h, palette));
  EXPECT_EQ(png.width, 300u);
  EXPECT_EQ(png.height, 300u);
  EXPECT_EQ(png.pixels, pixels);
  EXPECT_EQ(png.palette, std::vector<std::uint8_t>(palette.begin(), palette.end()));

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
  ASSERT_TRUE(WritePng(skin, dir.File("a.png"), ui));
  EXPECT_EQ(Decode(ReadBytes(dir.File("a.png"))).pixels, skin.pixels);
  EXPECT_FALSE(WritePng(skin, dir.File("no/such/folder/a.png"), ui));
  ASSERT_EQ(ui.texts().size(), 1u);
  EXPECT_EQ(ui.texts()[0].rfind("Error Saving: ", 0), 0u);
}

}  // namespace
