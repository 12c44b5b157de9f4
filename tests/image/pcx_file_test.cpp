#include <gtest/gtest.h>

#include "image/image_builders.h"
#include "image/image_files.h"
#include "platform/files.h"
#include "support/scripted_ui.h"
#include "support/shown.h"
#include "support/test_support.h"

namespace {

Skin MakeSkin(int width, int height, const std::vector<std::uint8_t>& pixels) {
  Skin s;
  s.width = static_cast<std::int16_t>(width);
  s.height = static_cast<std::int16_t>(height);
  s.pixels = pixels;
  s.storedPixels = pixels;
  s.palette = TestPalette(5);
  return s;
}

std::unique_ptr<Skin> LoadBytes(const std::vector<std::uint8_t>& file, ScriptedUi& ui) {
  TempDir dir;
  WriteBytes(dir.File("t.pcx"), file);
  return Shown(ui, LoadSkinImage(dir.File("t.pcx")));
}

}  // namespace

TEST(PcxWrite, HeaderAndEscapedPixelsWithOddRowPadding) {
  TempDir dir;
  ScriptedUi ui;
  Skin skin = MakeSkin(3, 2, {0, 191, 192, 255, 0xC1, 63});
  skin.format = FORMAT_BMP;
  ASSERT_TRUE(Shown(ui, WritePcx(skin, dir.File("out.pcx"))));
  EXPECT_EQ(skin.format, FORMAT_PCX);
  EXPECT_TRUE(ui.texts().empty());

  std::vector<std::uint8_t> header(128, 0);
  header[0] = 10;
  header[1] = 5;
  header[2] = 1;
  header[3] = 8;
  header[8] = 2;   // Xmax
  header[10] = 1;  // Ymax
  header[12] = 3;  // width in the horizontal resolution
  header[14] = 2;  // height in the vertical resolution
  header[65] = 1;
  header[66] = 4;  // bytes per line: 3 rounded up to even
  header[68] = 2;
  const std::vector<std::uint8_t> data = {0, 191, 0xC1, 192, 0, 0xC1, 255, 0xC1, 0xC1, 63, 0};

  std::vector<std::uint8_t> file = ReadBytes(dir.File("out.pcx"));
  ASSERT_EQ(file.size(), 128 + data.size() + 1 + 768);
  EXPECT_EQ(std::vector<std::uint8_t>(file.begin(), file.begin() + 128), header);
  EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + 128, file.begin() + 128 + data.size()), data);
  EXPECT_EQ(file[file.size() - 769], 12);
  EXPECT_TRUE(std::equal(skin.palette.begin(), skin.palette.end(), file.end() - 768));
}

TEST(PcxWrite, EvenWidthHasNoPaddingAndEveryHighValueIsAPair) {
  Skin skin = MakeSkin(2, 2, {0xC0, 0x3F, 0x40, 0xFF});
  std::vector<std::uint8_t> file = EncodePcx(skin);
  const std::vector<std::uint8_t> data = {0xC1, 0xC0, 0x3F, 0x40, 0xC1, 0xFF};
  ASSERT_EQ(file.size(), 128 + data.size() + 769);
  EXPECT_EQ(ReadLe16(file, 66), 2u);
  EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + 128, file.begin() + 128 + data.size()), data);
}

TEST(PcxRead, RoundTripOf255By3) {
  TempDir dir;
  ScriptedUi ui;
  std::vector<std::uint8_t> pixels(255 * 3);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i * 31 + 7);
  Skin skin = MakeSkin(255, 3, pixels);
  ASSERT_TRUE(Shown(ui, WritePcx(skin, dir.File("r.pcx"))));
  auto back = Shown(ui, LoadSkinImage(dir.File("r.pcx")));
  ASSERT_TRUE(back);
  EXPECT_EQ(back->width, 255);
  EXPECT_EQ(back->height, 3);
  EXPECT_EQ(back->pixels, pixels);
  EXPECT_EQ(back->palette, skin.palette);
  EXPECT_TRUE(ui.texts().empty());
}

TEST(PcxRead, FillsTheRecord) {
  TempDir dir;
  FolderGuard guard(dir.path());
  PcxLayout l;
  l.xmax = 1;
  l.ymax = 1;
  l.bytesPerLine = 2;
  l.data = {1, 2, 3, 4};
  WriteBytes(dir.File("Skin.pcx"), BuildPcx(l));
  ScriptedUi ui;
  auto skin = Shown(ui, LoadSkinImage("Skin.pcx"));
  ASSERT_TRUE(skin);
  EXPECT_EQ(skin->name, "Skin.pcx");
  EXPECT_EQ(skin->path, dir.File("Skin.pcx"));
  EXPECT_EQ(skin->hasFile, 1);
  EXPECT_EQ(skin->flags, 0u);
  EXPECT_EQ(skin->format, FORMAT_PCX);
  EXPECT_EQ(skin->pixels, (std::vector<std::uint8_t>{1, 2, 3, 4}));
  EXPECT_EQ(skin->storedPixels, skin->pixels);
  EXPECT_EQ(skin->palette, TestPalette());
  EXPECT_EQ(skin->rowOffset[1], 2);
}

TEST(PcxRead, WindowOriginNeedNotBeZero) {
  PcxLayout l;
  l.xmin = 10;
  l.xmax = 12;
  l.ymin = -5;
  l.ymax = -4;
  l.bytesPerLine = 4;
  l.data = {1, 2, 3, 0, 4, 5, 6, 0};
  ScriptedUi ui;
  auto skin = LoadBytes(BuildPcx(l), ui);
  ASSERT_TRUE(skin);
  EXPECT_EQ(skin->width, 3);
  EXPECT_EQ(skin->height, 2);
  EXPECT_EQ(skin->pixels, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6}));
}

TEST(PcxRead, RunsFlowAcrossRowsAndPaddingIsDropped) {
  PcxLayout l;
  l.xmax = 2;
  l.ymax = 2;
  l.bytesPerLine = 4;
  // A run of 5 fills row 0 with its pad byte and the first pixel of row 1; a
  // run of count 0 writes nothing but eats its value byte.
  l.data = {0xC5, 9, 0xC0, 0xEE, 1, 2, 0x55, 0xC4, 7};
  ScriptedUi ui;
  auto skin = LoadBytes(BuildPcx(l), ui);
  ASSERT_TRUE(skin);
  EXPECT_EQ(skin->pixels, (std::vector<std::uint8_t>{9, 9, 9, 9, 1, 2, 7, 7, 7}));
  EXPECT_TRUE(ui.texts().empty());
}

TEST(PcxRead, RunPastTheLastRowIsCut) {
  PcxLayout l;
  l.xmax = 1;
  l.ymax = 0;
  l.bytesPerLine = 2;
  l.data = {0xFF, 5, 0xFF, 6};  // 63 + 63 pixels for an image of 2
  ScriptedUi ui;
  auto skin = LoadBytes(BuildPcx(l), ui);
  ASSERT_TRUE(skin);
  EXPECT_EQ(skin->pixels, (std::vector<std::uint8_t>{5, 5}));
  EXPECT_EQ(skin->palette, TestPalette());
}

TEST(PcxRead, PaletteMarkerIsNotRequired) {
  PcxLayout l;
  l.xmax = 0;
  l.ymax = 0;
  l.bytesPerLine = 1;
  l.data = {42};
  l.marker = false;
  ScriptedUi ui;
  auto skin = LoadBytes(BuildPcx(l), ui);
  ASSERT_TRUE(skin);
  EXPECT_EQ(skin->pixels, std::vector<std::uint8_t>{42});
  EXPECT_EQ(skin->palette, TestPalette());
}

TEST(PcxWrite, AWidthWhosePaddedRowASignedFieldCannotHoldIsRefused) {
  TempDir dir;
  for (const int width : {32766, 32767}) {
    ScriptedUi ui;
    Skin skin;
    skin.width = static_cast<std::int16_t>(width);
    skin.height = 1;
    skin.pixels.assign(static_cast<std::size_t>(width), 7);
    const std::string path = dir.File("wide" + std::to_string(width) + ".pcx");
    const bool written = Shown(ui, WritePcx(skin, path));
    EXPECT_EQ(written, width == 32766);
    EXPECT_EQ(FileExists(path), written);
    if (!written) {
      EXPECT_EQ(ui.texts(), std::vector<std::string>{
                                "Error Saving: 32767 x 1 is more than the 32766 columns a PCX can hold\n" + path});
    } else {
      const std::vector<std::uint8_t> bytes = ReadBytes(path);
      EXPECT_EQ(bytes[66] | bytes[67] << 8, 32766);  // bytes per line, even, below 32768
    }
  }
}
