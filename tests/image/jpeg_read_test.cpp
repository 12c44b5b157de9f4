#include <gtest/gtest.h>

#include <cstdlib>

#include "image/image_files.h"
#include "image/jpeg_read.h"
#include "image/picture_builders.h"
#include "support/scripted_ui.h"
#include "support/shown.h"

namespace {

std::vector<std::uint8_t> Flat(int w, int h, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  std::vector<std::uint8_t> rgb;
  for (int i = 0; i < w * h; ++i) rgb.insert(rgb.end(), {r, g, b});
  return rgb;
}

// Offset of the frame header's height field (SOF0 marker + 5).
std::size_t FrameSizeAt(const std::vector<std::uint8_t>& jpeg) {
  for (std::size_t i = 0; i + 1 < jpeg.size(); ++i)
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) return i + 5;
  ADD_FAILURE() << "no frame header";
  return 0;
}

TEST(JpegRead, ReadsAnOpaqueTrueColourPicture) {
  ScriptedUi ui;
  auto picture = Shown(ui, ParseJpeg(BuildJpeg(24, 17, Flat(24, 17, 200, 100, 50))));
  ASSERT_TRUE(picture);
  EXPECT_FALSE(picture->indexed);
  EXPECT_EQ(picture->trueColour.width, 24);
  EXPECT_EQ(picture->trueColour.height, 17);
  ASSERT_EQ(picture->trueColour.rgba.size(), 24u * 17u * 4u);
  // Quality 100 of one flat colour comes back within rounding.
  const std::uint8_t want[4] = {200, 100, 50, 255};
  for (std::size_t i = 0; i < picture->trueColour.rgba.size(); ++i)
    ASSERT_LE(std::abs(picture->trueColour.rgba[i] - want[i % 4]), 2) << i;
}

TEST(JpegRead, RefusesDamagedAndHostileFilesWithAMessage) {
  const auto good = BuildJpeg(16, 16, Flat(16, 16, 1, 2, 3));
  const std::size_t size = FrameSizeAt(good);
  auto sized = [&](int h, int w) {
    auto b = good;
    b[size] = static_cast<std::uint8_t>(h >> 8);
    b[size + 1] = static_cast<std::uint8_t>(h);
    b[size + 2] = static_cast<std::uint8_t>(w >> 8);
    b[size + 3] = static_cast<std::uint8_t>(w);
    return b;
  };
  auto truncated = good;
  truncated.resize(good.size() * 2 / 3);
  struct Bad {
    const char* name;
    std::vector<std::uint8_t> bytes;
    const char* text;
  };
  std::vector<Bad> cases = {
      {"start marker only", {0xFF, 0xD8, 0xFF}, kDamagedSkinText},
      {"truncated in the scan", truncated, kDamagedSkinText},
      {"garbage after the start", {0xFF, 0xD8, 0xFF, 0x00, 0x12, 0x34, 0x56, 0x78}, kDamagedSkinText},
      {"too wide", sized(16, 40000), kSkinSizeText},
      {"too tall", sized(3000, 16), kSkinSizeText},
      {"no rows", sized(0, 16), kDamagedSkinText},
      {"not a JPEG", {0xFF, 0xD9, 0xFF}, kNotValidSkinText},
  };
  for (const Bad& c : cases) {
    ScriptedUi ui;
    EXPECT_FALSE(Shown(ui, ParseJpeg(c.bytes))) << c.name;
    ASSERT_EQ(ui.texts().size(), 1u) << c.name;
    EXPECT_EQ(ui.texts()[0], c.text) << c.name;
  }
}

}  // namespace
