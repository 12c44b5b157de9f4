#include <gtest/gtest.h>

#include "image/image_files.h"
#include "image/picture_builders.h"
#include "image/tga_file.h"
#include "support/scripted_ui.h"
#include "support/shown.h"

namespace {

std::vector<std::uint8_t> Bgr(std::initializer_list<std::uint8_t> bytes) { return bytes; }

struct ReadCase {
  const char* name;
  TgaLayout layout;
  std::vector<std::uint8_t> rgba;  // expected, top row first
};

TEST(TgaFile, ReadsEveryKindOrderAndPacking) {
  // A 2 x 2 picture: red, green over blue, white (B, G, R in the file).
  const std::vector<std::uint8_t> want = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255};
  const auto topRow = Bgr({0, 0, 255, 0, 255, 0});
  const auto bottomRow = Bgr({255, 0, 0, 255, 255, 255});
  auto rows = [](std::vector<std::uint8_t> a, const std::vector<std::uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  std::vector<ReadCase> cases;
  cases.push_back({"bottom-up 24-bit", {2, 0, 0, 0, 0, 2, 2, 24, 0, {}, {}, rows(bottomRow, topRow)}, want});
  cases.push_back({"top-down 24-bit with an id", {2, 0, 0, 0, 0, 2, 2, 24, 0x20, {'h', 'i'}, {}, rows(topRow, bottomRow)}, want});
  cases.push_back({"right to left", {2, 0, 0, 0, 0, 2, 2, 24, 0x30, {}, {},
                   Bgr({0, 255, 0, 0, 0, 255, 255, 255, 255, 255, 0, 0})}, want});
  // Run-length: a repeat packet of blue then white, and a raw packet of two.
  cases.push_back({"run-length 24-bit", {10, 0, 0, 0, 0, 2, 2, 24, 0, {}, {},
                   Bgr({0x80, 255, 0, 0, 0x00, 255, 255, 255, 0x01, 0, 0, 255, 0, 255, 0})}, want});
  // A run may carry on into the next row.
  cases.push_back({"run across rows", {10, 0, 0, 0, 0, 2, 2, 24, 0x20, {}, {}, Bgr({0x83, 9, 8, 7})},
                   {7, 8, 9, 255, 7, 8, 9, 255, 7, 8, 9, 255, 7, 8, 9, 255}});
  cases.push_back({"32-bit with alpha", {2, 0, 0, 0, 0, 1, 1, 32, 0x28, {}, {}, Bgr({1, 2, 3, 100})}, {3, 2, 1, 100}});
  cases.push_back({"32-bit without alpha bits", {2, 0, 0, 0, 0, 1, 1, 32, 0x20, {}, {}, Bgr({1, 2, 3, 0})}, {3, 2, 1, 255}});
  cases.push_back({"grey run-length", {11, 0, 0, 0, 0, 2, 1, 8, 0, {}, {}, Bgr({0x81, 77})}, {77, 77, 77, 255, 77, 77, 77, 255}});
  for (const ReadCase& c : cases) {
    ScriptedUi ui;
    auto picture = Shown(ui, ParseTga(BuildTga(c.layout)));
    ASSERT_TRUE(picture) << c.name;
    EXPECT_FALSE(picture->indexed) << c.name;
    EXPECT_EQ(picture->trueColour.rgba, c.rgba) << c.name;
    EXPECT_TRUE(ui.texts().empty()) << c.name;
  }
}

TEST(TgaFile, ColourMappedPicturesKeepTheirIndicesAndMap) {
  // Map entries 10 and 11 (B, G, R); pixels name them directly.
  TgaLayout l{1, 1, 10, 2, 24, 3, 1, 8, 0x20, {}, {1, 2, 3, 4, 5, 6}, {10, 11, 10}};
  ScriptedUi ui;
  auto picture = Shown(ui, ParseTga(BuildTga(l)));
  ASSERT_TRUE(picture && picture->indexed);
  EXPECT_EQ(picture->indexed->pixels, (std::vector<std::uint8_t>{10, 11, 10}));
  EXPECT_EQ(picture->indexed->palette[30], 3);
  EXPECT_EQ(picture->indexed->palette[32], 1);
  EXPECT_EQ(picture->indexed->palette[33], 6);
  EXPECT_EQ(picture->indexed->palette[0], 0);
}

TEST(TgaFile, RefusesDamagedAndHostileFilesWithAMessage) {
  struct Bad {
    const char* name;
    std::vector<std::uint8_t> bytes;
    const char* text;
  };
  auto tga = [](TgaLayout l) { return BuildTga(l); };
  auto cut = [](std::vector<std::uint8_t> b, std::size_t n) {
    b.resize(b.size() - n);
    return b;
  };
  const TgaLayout plain{2, 0, 0, 0, 0, 2, 2, 24, 0, {}, {}, std::vector<std::uint8_t>(12, 50)};
  std::vector<Bad> cases = {
      {"header only part there", cut(tga(plain), 12 + 5), kNotValidSkinText},
      {"pixels end early", cut(tga(plain), 1), kDamagedSkinText},
      {"id runs past the end", [&] { auto b = tga(plain); b[0] = 200; return b; }(), kDamagedSkinText},
      {"run past the last pixel", tga({10, 0, 0, 0, 0, 2, 2, 24, 0, {}, {}, Bgr({0x84, 1, 2, 3})}), kDamagedSkinText},
      {"raw packet past the data", tga({10, 0, 0, 0, 0, 2, 2, 24, 0, {}, {}, Bgr({0x03, 1, 2, 3, 4, 5, 6})}), kDamagedSkinText},
      {"runs stop early", tga({10, 0, 0, 0, 0, 2, 2, 24, 0, {}, {}, Bgr({0x81, 1, 2, 3})}), kDamagedSkinText},
      {"index below the map", tga({1, 1, 10, 2, 24, 2, 1, 8, 0, {}, std::vector<std::uint8_t>(6), {10, 9}}), kTgaColourMapText},
      {"index past the map", tga({1, 1, 10, 2, 24, 2, 1, 8, 0, {}, std::vector<std::uint8_t>(6), {12, 10}}), kTgaColourMapText},
      {"map ends early", cut(tga({1, 1, 0, 200, 24, 1, 1, 8, 0, {}, std::vector<std::uint8_t>(30), {}}), 0), kDamagedSkinText},
      {"mapped without a map", tga({1, 0, 0, 0, 0, 1, 1, 8, 0, {}, {}, {0}}), kTgaKindText},
      {"16-bit colour", tga({2, 0, 0, 0, 0, 1, 1, 16, 0, {}, {}, {0, 0}}), kTgaKindText},
      {"too wide", tga({2, 0, 0, 0, 0, 40000, 1, 24, 0, {}, {}, {}}), kSkinSizeText},
      {"too tall", tga({10, 0, 0, 0, 0, 1, 3000, 24, 0, {}, {}, {}}), kSkinSizeText},
      {"no pixels", tga({2, 0, 0, 0, 0, 0, 5, 24, 0, {}, {}, {}}), kSkinSizeText},
      {"huge but short run data", tga({10, 0, 0, 0, 0, 30000, 2000, 32, 0, {}, {}, Bgr({0xFF, 1, 2, 3, 4})}), kDamagedSkinText},
  };
  for (const Bad& c : cases) {
    ScriptedUi ui;
    EXPECT_FALSE(Shown(ui, ParseTga(c.bytes))) << c.name;
    ASSERT_EQ(ui.texts().size(), 1u) << c.name;
    EXPECT_EQ(ui.texts()[0], c.text) << c.name;
  }
}

}  // namespace
