#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>

#include "cli/cli_run.h"
#include "cli/render_setup.h"
#include "image/image_files.h"
#include "platform/files.h"
#include "support/scripted_ui.h"
#include "support/shown.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

class RenderCli : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    base_ = dir_->path() + "/baseq2";
    CliRun r = Cli({"demo", base_});
    ASSERT_EQ(r.code, 0) << r.err;
    model_ = base_ + "/models/demo/tris.md2";
  }
  static void TearDownTestSuite() { delete dir_; }

  static std::unique_ptr<Skin> Read(const std::string& path) {
    ScriptedUi ui;
    return Shown(ui, LoadSkinImage(path));
  }

  static TempDir* dir_;
  static std::string base_, model_;
  FolderGuard guard_;
};
TempDir* RenderCli::dir_ = nullptr;
std::string RenderCli::base_, RenderCli::model_;

TEST_F(RenderCli, EveryModeRendersTheDemoToABmpOfTheRequestedSize) {
  for (int mode = 0; mode < 10; ++mode) {
    std::string name = "m";  // built in steps: GCC 12 -O3 misreads the concatenation (-Wrestrict)
    name += std::to_string(mode);
    name += ".bmp";
    const std::string out = dir_->File(name);
    CliRun r = Cli({"render", model_, out, "--mode", std::to_string(mode), "--size", "90x60", "--center", "--no-guide"});
    ASSERT_EQ(r.code, 0) << mode << r.err;
    auto image = Read(out);
    ASSERT_TRUE(image) << mode;
    EXPECT_EQ(image->width, 90);
    EXPECT_EQ(image->height, 60);
    // The model covers the centre, the background a corner.
    EXPECT_NE(image->pixels[30 * 90 + 45], image->pixels[0]) << mode;
  }
}

TEST_F(RenderCli, TexturedDefaultShowsOnlySkinColoursInTheSkinPalette) {
  CliRun r = Cli({"render", model_, dir_->File("t.png"), "--center", "--distance", "120", "--no-guide"});
  ASSERT_EQ(r.code, 0) << r.err;
  CliRun bmp = Cli({"render", model_, dir_->File("t.bmp"), "--center", "--distance", "120", "--no-guide"});
  ASSERT_EQ(bmp.code, 0) << bmp.err;
  auto image = Read(dir_->File("t.bmp"));
  auto skin = Read(base_ + "/models/demo/skin.pcx");
  ASSERT_TRUE(image && skin);
  EXPECT_EQ(image->width, 640);
  EXPECT_EQ(image->palette, skin->palette);
  // Every model pixel shows a colour the skin has.
  std::vector<bool> inSkin(256);
  for (std::uint8_t p : skin->pixels) inSkin[p] = true;
  const std::uint8_t background = image->pixels[0];
  for (std::uint8_t p : image->pixels)
    if (p != background) {
      ASSERT_TRUE(inSkin[p]) << int(p);
    }
}

TEST_F(RenderCli, PictureRowsRunTopFirst) {
  // The demo skin paints the head green (palette ramp 2, indices 32..47) and
  // the legs brown (ramps 1 and 12); standing upright, the head must come
  // out in the top rows of the picture and the legs in the bottom ones.
  CliRun r = Cli({"render", model_, dir_->File("o.bmp"), "--size", "160x120", "--no-guide"});
  ASSERT_EQ(r.code, 0) << r.err;
  auto image = Read(dir_->File("o.bmp"));
  ASSERT_TRUE(image);
  auto ramp = [](int index) { return index / 16; };
  int greenTop = 0, brownTop = 0, greenBottom = 0, brownBottom = 0;
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 160; ++x) {
      int k = ramp(image->pixels[y * 160 + x]);
      bool green = k == 2, brown = k == 1 || k == 12;
      if (y < 30) greenTop += green, brownTop += brown;
      if (y >= 90) greenBottom += green, brownBottom += brown;
    }
  EXPECT_GT(greenTop, 50);
  EXPECT_GT(greenTop, 4 * brownTop);
  EXPECT_GT(brownBottom, 50);
  EXPECT_GT(brownBottom, 4 * greenBottom);
}

TEST_F(RenderCli, LitModeWithoutUsableColormapShowsTheMessage) {
  WriteBytes(dir_->File("bad.pcx"), {1, 2, 3});
  CliRun r = Cli({"render", model_, dir_->File("x.png"), "--mode", "Textured, G-Shade", "--colormap", dir_->File("bad.pcx")});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("The Colormap.pcx file needed for Tex+G-shaded mode is not set as the default palette under "
                       "preferences!"),
            std::string::npos)
      << r.err;
}

TEST_F(RenderCli, RelativePathsAreTakenFromWhereTheCommandRuns) {
  TempDir work;
  FolderGuard here(work.path());
  const std::string model = fs::relative(model_, work.path()).string();
  CliRun r = Cli({"render", model, "out.png", "--size", "32x32"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(FileExists(work.File("out.png")));
  fs::create_directory(work.File("sub"));
  CliRun resave = Cli({"resave", model, "sub/copy.md2"});
  ASSERT_EQ(resave.code, 0) << resave.err;
  EXPECT_EQ(ReadBytes(work.File("sub/copy.md2")), ReadBytes(model_));
  // Nothing landed in the base folder instead.
  EXPECT_FALSE(FileExists(base_ + "/out.png"));
  EXPECT_FALSE(FileExists(base_ + "/sub/copy.md2"));
  EXPECT_EQ(fs::current_path().string(), work.path());
}

TEST_F(RenderCli, LitModesWithoutColormapOptionTakeTheBaseFoldersOwn) {
  TempDir other;
  const std::string base = other.File("baseq2");
  fs::create_directories(base + "/models/demo");
  fs::copy(base_ + "/models/demo", base + "/models/demo");
  const std::string model = base + "/models/demo/tris.md2";
  // A colormap where the command runs does not count.
  fs::create_directories(other.File("pics"));
  fs::copy_file(base_ + "/pics/colormap.pcx", other.File("pics/colormap.pcx"));
  FolderGuard here(other.path());
  CliRun none = Cli({"render", model, "lit.png", "--mode", "7", "--size", "32x32"});
  EXPECT_EQ(none.code, 1);
  EXPECT_NE(none.err.find("Tex+F-shaded mode is not set as the default palette"), std::string::npos) << none.err;
  fs::create_directories(base + "/pics");
  fs::copy_file(base_ + "/pics/colormap.pcx", base + "/pics/colormap.pcx");
  for (const char* mode : {"7", "8"}) {
    CliRun lit = Cli({"render", model, "lit.png", "--mode", mode, "--size", "32x32"});
    EXPECT_EQ(lit.code, 0) << mode << lit.err;
  }
}

TEST_F(RenderCli, CommandsLeaveTheirSettingsStoreUntouched) {
  std::ostringstream err;
  HeadlessView view(err);
  CliArgs args = ParseCliArgs({model_, "x.png", "--mode", "9", "--colormap", base_ + "/pics/colormap.pcx"},
                              kRenderValuedOptions, kRenderFlagOptions);
  ASSERT_EQ(SetUpHeadlessView(view, args, err), 0) << err.str();
  // The view has no settings store at all: a render reads none and so
  // can write none.
  view.ws.renderModes.Render(view.context, REDRAW_FULL, 32);
  EXPECT_EQ(err.str(), "");
}

TEST_F(RenderCli, ModelWithoutSkinsIsNeitherScannedNorAskedAbout) {
  TempDir dir;
  fs::copy_file(base_ + "/models/demo/skin.pcx", dir.File("a.pcx"));
  std::vector<std::uint8_t> bytes = ReadBytes(model_);
  bytes[20] = bytes[21] = bytes[22] = bytes[23] = 0;  // the header's skin count
  WriteBytes(dir.File("tris.md2"), bytes);
  CliRun r = Cli({"info", dir.File("tris.md2")});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out.substr(r.out.rfind("Skins:")), "Skins:\n");
}

TEST_F(RenderCli, RefusesBadArguments) {
  EXPECT_EQ(Cli({"render", model_}).code, 2);
  EXPECT_EQ(Cli({"render", model_, dir_->File("a.jpg")}).code, 2);
  EXPECT_EQ(Cli({"bench"}).code, 2);
}

TEST_F(RenderCli, BenchPrintsTheFrameRateLine) {
  CliRun r = Cli({"bench", model_, "--size", "64x48", "--mode", "Flat Shaded"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(std::regex_match(r.out, std::regex("100 frames in (\\d+ milliseconds = \\d+\\.\\d{6} fps|less than 1 "
                                                 "millisecond: too fast to measure)\n")))
      << r.out;
}

}  // namespace

TEST_F(RenderCli, BenchRepeatsItsRunsAndGivesTheMedian) {
  CliRun r = Cli({"bench", model_, "--frames", "3", "--repeat", "3", "--size", "64x48"});
  ASSERT_EQ(r.code, 0) << r.err;
  std::istringstream lines(r.out);
  std::vector<std::string> got;
  for (std::string line; std::getline(lines, line);) got.push_back(line);
  ASSERT_EQ(got.size(), 4u) << r.out;
  for (int i = 0; i < 3; ++i) EXPECT_EQ(got[static_cast<std::size_t>(i)].rfind("3 frames in ", 0), 0u) << got[static_cast<std::size_t>(i)];
  EXPECT_EQ(got[3].rfind("median: ", 0), 0u);
  EXPECT_NE(got[3].find(" fps"), std::string::npos);
  // One run of the default count prints the one line it always printed.
  r = Cli({"bench", model_, "--size", "64x48"});
  EXPECT_EQ(r.out.rfind("100 frames in ", 0), 0u);
  EXPECT_EQ(r.out.find("median"), std::string::npos);
  for (const char* bad : {"0", "-1", "5x", "", "1000001"}) EXPECT_EQ(Cli({"bench", model_, "--frames", bad}).code, 2) << bad;
  EXPECT_EQ(Cli({"bench", model_, "--repeat", "1001"}).code, 2);
}

TEST_F(RenderCli, BadOptionValuesAreUsageErrors) {
  const std::string out = dir_->File("x.bmp");
  const struct {
    std::vector<std::string> args;
    int code;
  } cases[] = {
      {{"render", model_, out, "--size", "abc"}, 2},
      {{"render", model_, out, "--size", "4294967312x16"}, 2},
      {{"render", model_, out, "--size", "15x100"}, 2},
      {{"render", model_, out, "--mode", "foo"}, 2},
      {{"render", model_, out, "--view", "sideways"}, 2},
      {{"render", model_, out, "--slots", "x"}, 2},
      {{"render", model_, out, "--distance", "-5"}, 2},
      {{"bench", model_, "--size", "abc"}, 2},
      {{"convert", base_ + "/models/demo/skin.pcx", out, "--resize", "4294967297x1", "--no-limits"}, 2},
      {{"convert", base_ + "/models/demo/skin.pcx", out, "--resize", "64x48junk"}, 2},
      {{"layout", model_, dir_->File("l.png"), "--frame", "1e3"}, 2},
      {{"render", model_, out, "--frame", "99"}, 1},  // a number, but not a frame of this model
      {{"render", dir_->File("missing.md2"), out}, 1},
      {{"render", model_, dir_->File("ok.bmp"), "--size", "64X48"}, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(Cli(c.args).code, c.code) << c.args[0] << " " << c.args.back();
}
