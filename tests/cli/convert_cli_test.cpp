#include <gtest/gtest.h>

#include <random>

#include "cli_run.h"
#include "image/colour.h"
#include "image/image_files.h"
#include "image/picture_builders.h"
#include "support/scripted_ui.h"
#include "support/shown.h"
#include "support/test_support.h"

namespace {

class ConvertTrueColour : public ::testing::Test {
 protected:
  void SetUp() override {
    std::mt19937 rng(3);
    for (auto& v : palette_) v = static_cast<std::uint8_t>(rng());
    // A repeated entry: its second copy must never be chosen.
    for (int c = 0; c < 3; ++c) palette_[200 * 3 + c] = palette_[20 * 3 + c];
    WriteBytes(dir_.File("pal.act"), std::vector<std::uint8_t>(palette_.begin(), palette_.end()));
    for (int i = 0; i < kW * kH; ++i) {
      rgba_.insert(rgba_.end(), {static_cast<std::uint8_t>(rng()), static_cast<std::uint8_t>(rng()),
                                 static_cast<std::uint8_t>(rng()), 255});
    }
    rgba_[3] = 0;    // see-through
    rgba_[7] = 127;  // still see-through
    rgba_[11] = 128; // opaque
    WriteBytes(dir_.File("in.png"), BuildRgbaPng(kW, kH, rgba_));
  }

  std::unique_ptr<Skin> Load(const std::string& name) {
    ScriptedUi ui;
    return Shown(ui, LoadSkinImage(dir_.File(name)));
  }

  static constexpr int kW = 37, kH = 23;
  TempDir dir_;
  Palette palette_{};
  std::vector<std::uint8_t> rgba_;
};

TEST_F(ConvertTrueColour, EachPixelTakesTheNearestPaletteEntry) {
  for (const char* out : {"out.pcx", "out.bmp", "out.png"}) {
    CliRun run = Cli({"convert", dir_.File("in.png"), dir_.File(out), "--palette", dir_.File("pal.act")});
    ASSERT_EQ(run.code, 0) << out << run.err;
    ScriptedUi ui;
    auto skin = std::string(out) == "out.png" ? Shown(ui, LoadSkinImage(dir_.File(out), palette_)) : Load(out);
    ASSERT_TRUE(skin) << out;
    ASSERT_EQ(skin->width, kW);
    ASSERT_EQ(skin->height, kH);
    EXPECT_EQ(skin->palette, palette_);
    EXPECT_EQ(skin->pixels[0], 255);
    EXPECT_EQ(skin->pixels[1], 255);
    for (std::size_t i = 2; i < skin->pixels.size(); ++i)
      ASSERT_EQ(skin->pixels[i], NearestPaletteEntry(palette_, rgba_[i * 4], rgba_[i * 4 + 1], rgba_[i * 4 + 2]))
          << out << " pixel " << i;
  }
}

TEST_F(ConvertTrueColour, DitheringChangesThePictureButKeepsItInThePalette) {
  // A grey palette of four steps makes the difference plain.
  Palette steps{};
  for (int i = 0; i < 4; ++i) steps[i * 3] = steps[i * 3 + 1] = steps[i * 3 + 2] = static_cast<std::uint8_t>(i * 85);
  WriteBytes(dir_.File("steps.act"), std::vector<std::uint8_t>(steps.begin(), steps.end()));
  ASSERT_EQ(Cli({"convert", dir_.File("in.png"), dir_.File("plain.pcx"), "--palette", dir_.File("steps.act")}).code, 0);
  ASSERT_EQ(Cli({"convert", dir_.File("in.png"), dir_.File("dith.pcx"), "--palette", dir_.File("steps.act"),
                 "--dither"}).code, 0);
  auto plain = Load("plain.pcx"), dith = Load("dith.pcx");
  ASSERT_TRUE(plain && dith);
  EXPECT_NE(plain->pixels, dith->pixels);
  EXPECT_EQ(dith->pixels[0], 255);
  for (std::size_t i = 2; i < dith->pixels.size(); ++i) ASSERT_LT(dith->pixels[i], 4) << i;
}

TEST_F(ConvertTrueColour, EightBitPicturesMapThroughTheirColoursOrKeepTheirPalette) {
  Skin skin;
  skin.width = 4;
  skin.height = 1;
  skin.pixels = {0, 1, 2, 3};
  skin.palette = GreyRampPalette();
  for (int c = 0; c < 3; ++c) skin.palette[3 * 3 + c] = palette_[77 * 3 + c];
  ScriptedUi ui;
  ASSERT_TRUE(Shown(ui, WriteBmp(skin, dir_.File("grey.bmp"))));
  ASSERT_EQ(Cli({"convert", dir_.File("grey.bmp"), dir_.File("kept.png")}).code, 0);
  ASSERT_EQ(Cli({"convert", dir_.File("grey.bmp"), dir_.File("mapped.pcx"), "--palette", dir_.File("pal.act")}).code, 0);
  auto kept = Shown(ui, LoadSkinImage(dir_.File("kept.png"), palette_));
  auto mapped = Load("mapped.pcx");
  ASSERT_TRUE(kept && mapped);
  EXPECT_EQ(kept->pixels, skin.pixels);
  EXPECT_EQ(kept->palette, skin.palette);
  EXPECT_EQ(mapped->palette, palette_);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(mapped->pixels[i], NearestPaletteEntry(palette_, i, i, i));
  EXPECT_EQ(mapped->pixels[3], NearestPaletteEntry(palette_, palette_[231], palette_[232], palette_[233]));
}

TEST_F(ConvertTrueColour, RefusalsLeaveTheOutputAlone) {
  WriteBytes(dir_.File("old.pcx"), {1, 2, 3});
  CliRun noPalette = Cli({"convert", dir_.File("in.png"), dir_.File("old.pcx")});
  EXPECT_EQ(noPalette.code, 1);
  EXPECT_NE(noPalette.err.find("--palette"), std::string::npos);

  auto bad = BuildRgbaPng(kW, kH, rgba_);
  bad.resize(bad.size() / 2);
  WriteBytes(dir_.File("bad.png"), bad);
  CliRun damaged = Cli({"convert", dir_.File("bad.png"), dir_.File("old.pcx"), "--palette", dir_.File("pal.act")});
  EXPECT_EQ(damaged.code, 1);
  EXPECT_NE(damaged.err.find(kDamagedSkinText), std::string::npos);

  WriteBytes(dir_.File("short.tga"), BuildTga({10, 0, 0, 0, 0, 4, 4, 24, 0, {}, {}, {0x90, 1, 2, 3}}));
  CliRun run = Cli({"convert", dir_.File("short.tga"), dir_.File("old.pcx"), "--palette", dir_.File("pal.act")});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find(kDamagedSkinText), std::string::npos);

  CliRun noSuchPalette = Cli({"convert", dir_.File("in.png"), dir_.File("old.pcx"), "--palette", dir_.File("x.act")});
  EXPECT_EQ(noSuchPalette.code, 1);
  EXPECT_EQ(ReadBytes(dir_.File("old.pcx")), (std::vector<std::uint8_t>{1, 2, 3}));
}

}  // namespace
