#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include "cli/cli_run.h"
#include "image/image_builders.h"
#include "image/image_files.h"
#include "image/picture_builders.h"
#include "model/md2_builder.h"
#include "platform/files.h"
#include "support/test_support.h"

namespace {

struct BinaryRun {
  int code = -1;
  std::string err;
};

// The program itself, as a user runs it: what it prints on stderr, from
// libraries included, and its exit code.
BinaryRun RunBinary(const std::vector<std::string>& args, const TempDir& dir) {
  const std::string errFile = dir.File("stderr.txt");
  std::string command = std::string("'") + SKINTOOL_BINARY + "'";
  for (const std::string& a : args) command += " '" + a + "'";
  command += " >/dev/null 2>'" + errFile + "'";
  const int status = std::system(command.c_str());
  const std::vector<std::uint8_t> err = ReadBytes(errFile);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, std::string(err.begin(), err.end())};
}

std::vector<std::uint8_t> Md2With(int field, std::int32_t value) {
  std::vector<std::uint8_t> bytes = QuadMd2().Bytes();
  SetMd2Field(bytes, field, value);
  return bytes;
}

}  // namespace

// Whatever a command fails on (a damaged model, picture or mapping file, a
// frame or mode the model cannot give, a picture too large), stderr names
// the file, and no library adds a line of its own that names none.
TEST(CliFailure, EveryFailureNamesItsFile) {
  TempDir dir;
  const std::string base = dir.File("baseq2");
  std::filesystem::create_directories(base);
  auto put = [&](const std::string& name, const std::vector<std::uint8_t>& bytes) {
    WriteBytes(base + "/" + name, bytes);
    return base + "/" + name;
  };
  Skin skin;
  skin.width = skin.height = 8;
  skin.pixels.assign(64, 3);
  const std::string goodSkin = put("skin.pcx", EncodePcx(skin));
  TestMd2 skinned = QuadMd2();
  skinned.skins = {"skin.pcx"};
  const std::string model = put("skinned.md2", skinned.Bytes());
  const std::string bare = put("bare.md2", QuadMd2().Bytes());
  TestMd2 wide = QuadMd2();
  wide.skinWidth = wide.skinHeight = 2048;
  const std::string wideModel = put("wide.md2", wide.Bytes());
  TestMd2 badTriangle = QuadMd2();
  badTriangle.tris[1][0] = 9;

  std::vector<std::uint8_t> cutPcx = EncodePcx(skin);
  cutPcx.resize(140);
  BmpLayout deep;
  deep.width = deep.height = 2;
  deep.bitCount = 24;
  BmpLayout packed = deep;
  packed.bitCount = 8;
  packed.compression = 1;
  std::vector<std::uint8_t> junkPng = BuildRgbaPng(1, 1, {1, 2, 3, 255});
  junkPng.resize(40);
  std::vector<std::uint8_t> junkJpeg = BuildJpeg(8, 8, std::vector<std::uint8_t>(192, 99));
  junkJpeg.resize(junkJpeg.size() / 2);
  TgaLayout shortTga;
  shortTga.width = shortTga.height = 4;
  const std::vector<std::uint8_t> quad = QuadMd2().Bytes();
  const std::string out = dir.File("out.bmp");

  struct Case {
    std::vector<std::string> args;
    std::string file;  // the path stderr must name
  };
  std::vector<Case> cases;
  for (const auto& [name, bytes] : std::vector<std::pair<std::string, std::vector<std::uint8_t>>>{
           {"not.md2", {'P', 'K', 3, 4}},
           {"cut.md2", std::vector<std::uint8_t>(quad.begin(), quad.begin() + 40)},
           {"negative.md2", Md2With(kFieldNumXyz, -1)},
           {"frames.md2", Md2With(kFieldOfsFrames, 1 << 24)},
           {"triangles.md2", Md2With(kFieldNumTris, 5000)},
           {"skins.md2", Md2With(kFieldNumSkins, 100)},
           {"index.md2", badTriangle.Bytes()}}) {
    const std::string file = put(name, bytes);
    cases.push_back({{"info", file}, file});
  }
  for (const auto& [name, bytes] : std::vector<std::pair<std::string, std::vector<std::uint8_t>>>{
           {"text.pcx", {'h', 'e', 'l', 'l', 'o'}},
           {"cut.pcx", cutPcx},
           {"deep.bmp", BuildBmp(deep)},
           {"packed.bmp", BuildBmp(packed)},
           {"junk.png", junkPng},
           {"junk.jpg", junkJpeg},
           {"short.tga", BuildTga(shortTga)}}) {
    const std::string file = put(name, bytes);
    cases.push_back({{"convert", file, dir.File("out.pcx")}, file});
  }
  const std::string trueColour = put("true.png", BuildRgbaPng(1, 1, {1, 2, 3, 255}));
  cases.push_back({{"convert", trueColour, dir.File("out.pcx")}, trueColour});
  cases.push_back({{"convert", goodSkin, dir.File("out.pcx"), "--resize", "6x4"}, goodSkin});
  cases.push_back({{"render", model, out, "--frame", "9"}, model});
  cases.push_back({{"render", bare, out, "--mode", "Textured"}, bare});
  cases.push_back({{"render", model, out, "--mode", "4"}, base + "/phongs"});
  cases.push_back({{"render", model, out, "--mode", "6"}, base + "/enviros"});
  const std::string colormap = put("colormap.pcx", {'x', 'y'});
  cases.push_back({{"render", model, out, "--mode", "7", "--colormap", colormap}, colormap});
  cases.push_back({{"layout", model, out, "--frame", "9"}, model});
  cases.push_back({{"layout", wideModel, dir.File("huge.png"), "--zoom", "5"}, dir.File("huge.png")});
  for (const auto& [name, bytes] : std::vector<std::pair<std::string, std::vector<std::uint8_t>>>{
           {"not.vmp", {'N', 'O', 'P', 'E', 0, 0, 0, 0}}, {"short.vmp", {'V', 'M', 'A', 'P'}}}) {
    const std::string file = put(name, bytes);
    cases.push_back({{"mapping", "import", model, file, dir.File("out.md2")}, file});
  }

  for (const Case& c : cases) {
    std::string line;
    for (const std::string& a : c.args) line += a + " ";
    const BinaryRun run = RunBinary(c.args, dir);
    EXPECT_EQ(run.code, 1) << line << "\n" << run.err;
    EXPECT_NE(run.err.find(c.file), std::string::npos) << line << "\n" << run.err;
    EXPECT_EQ(run.err.find("libpng"), std::string::npos) << line << "\n" << run.err;
  }
}

TEST(CliFailure, AnUnknownModeListsTheModes) {
  const char* const names[] = {"Wireframe",   "Wireframe, Solid",   "Flat Shaded",       "Gouraud Shaded",
                               "Phong Shaded", "Textured",           "Environment Mapped", "Textured, F-Shade",
                               "Textured, G-Shade", "Textured, P-Shade"};
  for (const char* command : {"render", "bench"}) {
    std::vector<std::string> args = {command, "model.md2"};
    if (std::string(command) == "render") args.push_back("out.bmp");
    args.insert(args.end(), {"--mode", "Sepia"});
    const CliRun run = Cli(args);
    EXPECT_EQ(run.code, 2) << command;
    EXPECT_NE(run.err.find("Unknown render mode: Sepia"), std::string::npos) << command;
    for (int i = 0; i < 10; ++i)
      EXPECT_NE(run.err.find(std::to_string(i) + " \"" + names[i] + "\""), std::string::npos) << command << run.err;
  }
}

// Zoom 5 of a 640 x 480 skin is 3200 x 2400: a PNG takes it, a BMP (read
// back as a skin, so 2048 rows at most) says which limit it passes.
TEST(CliFailure, LayoutPngTakesEveryZoomAndBmpNamesItsRowLimit) {
  TempDir dir;
  TestMd2 m = QuadMd2();
  m.skinWidth = 640;
  m.skinHeight = 480;
  const std::string model = dir.File("big.md2");
  WriteBytes(model, m.Bytes());

  const std::string png = dir.File("layout.png");
  const CliRun drawn = Cli({"layout", model, png, "--zoom", "5"});
  ASSERT_EQ(drawn.code, 0) << drawn.err;
  const std::vector<std::uint8_t> bytes = ReadBytes(png);
  ASSERT_GT(bytes.size(), 24u);
  auto bigEndian = [&](std::size_t at) {
    return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 | std::uint32_t{bytes[at + 2]} << 8 |
           bytes[at + 3];
  };
  EXPECT_EQ(bigEndian(16), 3200u);  // the IHDR's width and height
  EXPECT_EQ(bigEndian(20), 2400u);

  const std::string bmp = dir.File("layout.bmp");
  const CliRun refused = Cli({"layout", model, bmp, "--zoom", "5"});
  EXPECT_EQ(refused.code, 1);
  EXPECT_NE(refused.err.find("3200 x 2400 is more than the 2048 rows a BMP can hold\n" + bmp), std::string::npos)
      << refused.err;
  EXPECT_FALSE(FileExists(bmp));
}
