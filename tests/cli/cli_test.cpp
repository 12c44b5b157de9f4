#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/cli.h"
#include "cli/cli_run.h"
#include "cli/cli_args.h"
#include "image/image_files.h"
#include "model/md2_builder.h"
#include "platform/files.h"
#include "support/scripted_ui.h"
#include "support/shown.h"
#include "support/test_support.h"

namespace {

// One demo base folder for the whole suite: making it runs the reader and
// writer of every file kind.
class CliDemo : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    base_ = dir_->path() + "/Quake2/BaseQ2";
    CliRun r = Cli({"demo", base_});
    ASSERT_EQ(r.code, 0) << r.err;
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  static std::string Model() { return base_ + "/models/demo/tris.md2"; }
  static TempDir* dir_;
  static std::string base_;
};
TempDir* CliDemo::dir_ = nullptr;
std::string CliDemo::base_;

}  // namespace

TEST(Cli, UsageErrorsExitTwo) {
  EXPECT_EQ(Cli({}).code, 2);
  EXPECT_EQ(Cli({"frobnicate"}).code, 2);
  EXPECT_EQ(Cli({"info"}).code, 2);
  EXPECT_EQ(Cli({"info", "a.md2", "--base"}).code, 2);
  EXPECT_EQ(Cli({"info", "a.md2", "--bogus", "x"}).code, 2);
  EXPECT_EQ(Cli({"convert", "a.pcx", "b.gif"}).code, 2);
  CliRun help = Cli({"--help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_NE(help.out.find("resave"), std::string::npos);
  EXPECT_EQ(Cli({"--version"}).out, "skintool 1\n");  // the version the window title shows
}

TEST(Cli, EditorStartsWhenNoCommandIsGiven) {
  const char* none[] = {"skintool"};
  const char* md2[] = {"skintool", "-md2", "x.md2"};
  const char* info[] = {"skintool", "info", "x.md2"};
  EXPECT_FALSE(IsCommandLineInvocation(1, none));
  EXPECT_FALSE(IsCommandLineInvocation(3, md2));
  EXPECT_TRUE(IsCommandLineInvocation(3, info));
}

TEST(CliArgs, BaseFolderIsTheNearestBaseq2AboveTheModel) {
  TempDir dir;
  std::filesystem::create_directories(dir.File("Q2/BASEQ2/models/x"));
  EXPECT_EQ(DefaultBaseFolder(dir.File("Q2/BASEQ2/models/x/tris.md2")), dir.File("Q2/BASEQ2"));
  EXPECT_EQ(DefaultBaseFolder(dir.File("Q2/tris.md2")), dir.File("Q2"));
}

TEST_F(CliDemo, InfoPrintsTheStatsRowsAndSkinNames) {
  CliRun r = Cli({"info", Model()});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err, "");  // the skin resolves under the base folder found above the model
  for (const char* row : {"Vertices: ", "Mapping Verts: ", "Triangles: ", "Frames: 8\n", "Linked Skins: 1\n",
                          "External Skins: 0\n", "Skin Width: 256\n", "Skin Height: 256\n", "Wasted Space: ",
                          "Skins:\n  models/demo/skin.pcx\n"})
    EXPECT_NE(r.out.find(row), std::string::npos) << row;
}

TEST_F(CliDemo, InfoWithTheWrongBaseFolderUsesATemporarySkin) {
  CliRun r = Cli({"info", Model(), "--base", dir_->path()});
  ASSERT_EQ(r.code, 0);
  EXPECT_NE(r.err.find("External Skin does not exist....creating temporary skin."), std::string::npos);
  EXPECT_NE(r.out.find("models/demo/skin.pcx (temporary)"), std::string::npos);
}

TEST_F(CliDemo, ResaveOfTheProgramsOwnFileIsByteIdentical) {
  std::string out = dir_->File("again.md2");
  CliRun r = Cli({"resave", Model(), out});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(ReadBytes(out), ReadBytes(Model()));
}

TEST_F(CliDemo, FailuresExitOneWithTheMessage) {
  CliRun missing = Cli({"info", dir_->File("nope.md2")});
  EXPECT_EQ(missing.code, 1);
  EXPECT_NE(missing.err.find("There was an error loading the specified file!"), std::string::npos);
  std::string skin = base_ + "/models/demo/skin.pcx";
  CliRun notMd2 = Cli({"resave", skin, dir_->File("x.md2")});
  EXPECT_EQ(notMd2.code, 1);
  EXPECT_NE(notMd2.err.find("This is not an MD2!"), std::string::npos);
  EXPECT_FALSE(FileExists(dir_->File("x.md2")));
  CliRun badTarget = Cli({"resave", Model(), dir_->File("no/such/dir/x.md2")});
  EXPECT_EQ(badTarget.code, 1);
  EXPECT_NE(badTarget.err.find("Error Saving: 2 (No such file or directory)"), std::string::npos);
}

TEST_F(CliDemo, ConvertRoundTripsPixelsAndPalette) {
  std::string skin = base_ + "/models/demo/skin.pcx";
  std::string bmp = dir_->File("skin.bmp"), pcx = dir_->File("again.PCX");
  ASSERT_EQ(Cli({"convert", skin, bmp}).code, 0);
  ASSERT_EQ(Cli({"convert", bmp, pcx}).code, 0);
  ScriptedUi ui;
  auto a = Shown(ui, LoadSkinImage(skin)), b = Shown(ui, LoadSkinImage(bmp)), c = Shown(ui, LoadSkinImage(pcx));
  ASSERT_TRUE(a && b && c);
  EXPECT_EQ(b->format, FORMAT_BMP);
  EXPECT_EQ(a->pixels, b->pixels);
  EXPECT_EQ(a->pixels, c->pixels);
  EXPECT_EQ(a->palette, c->palette);
  EXPECT_EQ(ReadBytes(skin), ReadBytes(pcx));  // the writer is deterministic
  CliRun bad = Cli({"convert", Model(), dir_->File("x.bmp")});
  EXPECT_EQ(bad.code, 1);
  EXPECT_NE(bad.err.find("This file does not appear to be a valid skin"), std::string::npos);
}

TEST_F(CliDemo, ConvertResizesWithTheSkinLimits) {
  std::string skin = base_ + "/models/demo/skin.pcx";
  std::string half = dir_->File("half.bmp");
  ASSERT_EQ(Cli({"convert", skin, half, "--resize", "128x128"}).code, 0);
  ScriptedUi ui;
  auto a = Shown(ui, LoadSkinImage(skin)), b = Shown(ui, LoadSkinImage(half));
  ASSERT_TRUE(a && b);
  ASSERT_EQ(b->width, 128);
  ASSERT_EQ(b->height, 128);
  // Nearest neighbour: new (x, y) takes old (2x, 2y).
  for (int y = 0; y < 128; y += 17)
    for (int x = 0; x < 128; x += 13) EXPECT_EQ(b->pixels[y * 128 + x], a->pixels[2 * y * 256 + 2 * x]);

  CliRun wide = Cli({"convert", skin, dir_->File("wide.pcx"), "--resize", "642x100"});
  EXPECT_EQ(wide.code, 1);
  EXPECT_NE(wide.err.find("The Width must be a multiple of 4!"), std::string::npos);
  EXPECT_FALSE(FileExists(dir_->File("wide.pcx")));
  EXPECT_EQ(Cli({"convert", skin, dir_->File("wide.pcx"), "--resize", "642x100", "--no-limits"}).code, 0);
  EXPECT_EQ(Cli({"convert", skin, dir_->File("x.pcx"), "--resize", "12"}).code, 2);
}

TEST(CliDemoFolder, RelativePathsAreTakenFromWhereTheCommandRuns) {
  TempDir dir;
  FolderGuard guard(dir.path());
  CliRun r = Cli({"demo", "demo/baseq2", "--profile", "demo/skintool.ini"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(FileExists(dir.File("demo/skintool.ini")));
  EXPECT_TRUE(FileExists(dir.File("demo/baseq2/models/demo/tris.md2")));
  auto bytes = ReadBytes(dir.File("demo/skintool.ini"));
  std::string ini(bytes.begin(), bytes.end());
  EXPECT_NE(ini.find("BaseDir=" + dir.File("demo/baseq2") + "\n"), std::string::npos) << ini;
}

TEST(CliInput, DevicesPipesFoldersAndHugeFilesAreRefusedAtOnce) {
  TempDir dir;
  const std::string fifo = dir.File("pipe"), folder = dir.File("folder"), big = dir.File("big.md2");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::filesystem::create_directories(folder);
  {
    std::ofstream grow(big, std::ios::binary);
    grow.seekp((std::streamoff{65} << 20) - 1);
    grow.put('\0');
  }
  const std::string quad = dir.File("quad.md2"), out = dir.File("out.pcx");
  WriteBytes(quad, QuadMd2().Bytes());
  for (const std::string& input : {std::string("/dev/zero"), fifo, folder, big}) {
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"info", input}, std::vector<std::string>{"convert", input, out},
          std::vector<std::string>{"mapping", "import", quad, input, dir.File("never.md2")}}) {
      const CliRun r = Cli(command);
      EXPECT_EQ(r.code, 1) << command[0] << " " << input;
      EXPECT_FALSE(r.err.empty()) << command[0] << " " << input;
    }
  }
  EXPECT_EQ(Cli({"mapping", "import", quad, fifo, dir.File("never.md2")}).err,
            "Error Loading: 10001 (not a regular file)\n" + fifo + "\n");
  EXPECT_EQ(Cli({"mapping", "import", quad, big, dir.File("never.md2")}).err,
            "Error Loading: 10002 (larger than any file of its kind can be)\n" + big + "\n");
  EXPECT_FALSE(FileExists(out));
  EXPECT_FALSE(FileExists(dir.File("never.md2")));
}
