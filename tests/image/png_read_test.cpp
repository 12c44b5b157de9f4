#include <gtest/gtest.h>

#include "image/image_files.h"
#include "image/picture_builders.h"
#include "image/png_read.h"
#include "image/png_write.h"
#include "support/scripted_ui.h"
#include "support/shown.h"
#include "support/test_support.h"

namespace {

struct ReadCase {
  const char* name;
  std::vector<std::uint8_t> file;
  std::vector<std::uint8_t> rgba;  // expected, 2 x 1 pixels
};

TEST(PngRead, TrueColourKindsBecomeEightBitRgba) {
  std::vector<ReadCase> cases = {
      {"RGB", BuildPng(2, 1, 8, 2, {{10, 20, 30, 40, 50, 60}}), {10, 20, 30, 255, 40, 50, 60, 255}},
      {"RGBA", BuildPng(2, 1, 8, 6, {{10, 20, 30, 0, 40, 50, 60, 200}}), {10, 20, 30, 0, 40, 50, 60, 200}},
      {"grey", BuildPng(2, 1, 8, 0, {{7, 250}}), {7, 7, 7, 255, 250, 250, 250, 255}},
      {"grey and alpha", BuildPng(2, 1, 8, 4, {{7, 9, 250, 255}}), {7, 7, 7, 9, 250, 250, 250, 255}},
      // 16-bit samples scale to 8 bits: v * 255 / 65535, rounded.
      {"16-bit RGB", BuildPng(2, 1, 16, 2, {{0xFF, 0xFF, 0x80, 0x00, 0x00, 0x00, 0x01, 0x01, 0x12, 0x34, 0xFF, 0x00}}),
       {255, 128, 0, 255, 1, 18, 254, 255}},
      {"2-bit grey", BuildPng(2, 1, 2, 0, {{0b01110000}}), {85, 85, 85, 255, 255, 255, 255, 255}},
  };
  for (const ReadCase& c : cases) {
    ScriptedUi ui;
    auto picture = Shown(ui, ParsePng(c.file));
    ASSERT_TRUE(picture) << c.name;
    EXPECT_FALSE(picture->indexed) << c.name;
    EXPECT_EQ(picture->trueColour.width, 2) << c.name;
    EXPECT_EQ(picture->trueColour.rgba, c.rgba) << c.name;
  }
}

TEST(PngRead, PalettePicturesKeepIndicesAndPalette) {
  // 4-bit indices widen to a byte each; entries past the PLTE are black.
  auto file = BuildPng(3, 1, 4, 3, {{0x21, 0x00}}, {1, 2, 3, 4, 5, 6, 7, 8, 9});
  ScriptedUi ui;
  auto picture = Shown(ui, ParsePng(file));
  ASSERT_TRUE(picture && picture->indexed);
  EXPECT_EQ(picture->indexed->pixels, (std::vector<std::uint8_t>{2, 1, 0}));
  EXPECT_EQ(picture->indexed->palette[8], 9);
  EXPECT_EQ(picture->indexed->palette[9], 0);

  // What the writer makes comes back index for index.
  std::vector<std::uint8_t> pixels(70 * 50);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i * 31 / 7);
  Palette palette{};
  for (int i = 0; i < 768; ++i) palette[i] = static_cast<std::uint8_t>(i * 5);
  auto written = Shown(ui, ParsePng(EncodePng8(pixels, 70, 50, palette)));
  ASSERT_TRUE(written && written->indexed);
  EXPECT_EQ(written->indexed->pixels, pixels);
  EXPECT_EQ(written->indexed->palette, palette);
  EXPECT_TRUE(ui.texts().empty());
}

TEST(PngRead, RefusesDamagedAndHostileFilesWithAMessage) {
  const auto good = BuildPng(2, 1, 8, 2, {{10, 20, 30, 40, 50, 60}});
  auto changed = [&](std::size_t at, std::uint8_t v) {
    auto b = good;
    b[at] = v;
    return b;
  };
  auto truncated = good;
  truncated.resize(good.size() - 20);  // inside IDAT
  auto noImageEnd = good;
  noImageEnd.resize(good.size() - 12);
  struct Bad {
    const char* name;
    std::vector<std::uint8_t> bytes;
    const char* text;
  };
  std::vector<Bad> cases = {
      {"signature only", std::vector<std::uint8_t>(good.begin(), good.begin() + 8), kDamagedSkinText},
      {"truncated in the pixels", truncated, kDamagedSkinText},
      {"no end marker", noImageEnd, kDamagedSkinText},
      {"bad header checksum", changed(29, good[29] ^ 1), kDamagedSkinText},
      {"unknown colour type", BuildPng(2, 1, 8, 5, {{1, 2}}), kDamagedSkinText},
      {"too wide", BuildPng(40000, 1, 8, 0, {{0}}), kSkinSizeText},
      {"too tall", BuildPng(1, 3000, 8, 0, {{0, 0}}), kSkinSizeText},
      {"absurd size", BuildPng(0x7FFFFFFF, 0x7FFFFFFF, 8, 6, {{0}}), kDamagedSkinText},
      {"too few rows", BuildPng(2, 4, 8, 0, {{1, 2}}), kDamagedSkinText},
      {"not a PNG", {0x89, 'P', 'N', 'X', 0, 0, 0, 0, 0}, kNotValidSkinText},
  };
  for (const Bad& c : cases) {
    ScriptedUi ui;
    EXPECT_FALSE(Shown(ui, ParsePng(c.bytes))) << c.name;
    ASSERT_EQ(ui.texts().size(), 1u) << c.name;
    EXPECT_EQ(ui.texts()[0], c.text) << c.name;
  }
}

}  // namespace
