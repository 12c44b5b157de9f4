// Files that must be refused, and saves that must fail cleanly.

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>

#include "image/image_builders.h"
#include "image/image_files.h"
#include "support/scripted_ui.h"
#include "support/shown.h"
#include "support/test_support.h"

namespace {

const char kNotValid[] = "This file does not appear to be a valid skin";
const char kNot8Bit[] = "BMPs must be 8bit! - Aborting";
const char kDamaged[] = "This skin file is damaged or truncated";
const char kSize[] = "Skins must be 1 to 32767 pixels wide and 1 to 2048 rows high";

struct BadFile {
  const char* what;
  std::vector<std::uint8_t> bytes;
  std::string message;
};

PcxLayout SmallPcx() {
  PcxLayout l;
  l.xmax = 2;
  l.ymax = 1;
  l.bytesPerLine = 4;
  l.data = {1, 2, 3, 0, 4, 5, 6, 0};
  return l;
}

BmpLayout SmallBmp() {
  BmpLayout l;
  l.width = 3;
  l.height = 2;
  l.colours = TestColours(256);
  l.pixelData = {4, 5, 6, 0, 1, 2, 3, 0};
  return l;
}

std::vector<BadFile> BadFiles() {
  std::vector<BadFile> cases;
  auto pcx = [&](const char* what, auto change, const std::string& message) {
    PcxLayout l = SmallPcx();
    change(l);
    cases.push_back({what, BuildPcx(l), message});
  };
  auto bmp = [&](const char* what, auto change, const std::string& message) {
    BmpLayout l = SmallBmp();
    change(l);
    cases.push_back({what, BuildBmp(l), message});
  };

  cases.push_back({"empty file", {}, kNotValid});
  cases.push_back({"one byte", {0x0A}, kNotValid});
  cases.push_back({"unknown magic", std::vector<std::uint8_t>(2000, 'x'), kNotValid});

  pcx("run data ends early", [](PcxLayout& l) { l.data.resize(7); l.marker = false; }, kDamaged);
  pcx("run count without its value", [](PcxLayout& l) { l.data = {1, 2, 3, 0, 4, 5, 0xC2}; l.marker = false; },
      kDamaged);
  pcx("bytes per line below width", [](PcxLayout& l) { l.bytesPerLine = 2; }, kDamaged);
  pcx("bytes per line zero", [](PcxLayout& l) { l.bytesPerLine = 0; }, kDamaged);
  pcx("width zero", [](PcxLayout& l) { l.xmin = 3; }, kSize);
  pcx("negative height", [](PcxLayout& l) { l.ymin = 5; }, kSize);
  pcx("2049 rows", [](PcxLayout& l) { l.ymax = 2048; l.data.assign(2049 * 4, 1); }, kSize);
  pcx("32768 columns", [](PcxLayout& l) { l.xmin = -1; l.xmax = 32766; }, kSize);
  pcx("huge image, little data", [](PcxLayout& l) { l.xmax = 32766; l.ymax = 2047; l.bytesPerLine = 32768; },
      kDamaged);
  pcx("four bits per pixel", [](PcxLayout& l) { l.bitsPerPixel = 4; },
      "Only 8-bit single-plane PCX skins can be read");
  pcx("three planes", [](PcxLayout& l) { l.planes = 3; }, "Only 8-bit single-plane PCX skins can be read");
  {
    std::vector<std::uint8_t> shortPcx = BuildPcx(SmallPcx());
    shortPcx.resize(600);
    cases.push_back({"PCX shorter than header and palette", shortPcx, kDamaged});
  }

  cases.push_back({"BM and nothing else", {'B', 'M'}, kDamaged});
  {
    std::vector<std::uint8_t> cut = BuildBmp(SmallBmp());
    cut.resize(40);
    cases.push_back({"BMP info header cut", cut, kDamaged});
  }
  bmp("24-bit BMP", [](BmpLayout& l) { l.bitCount = 24; }, kNot8Bit);
  bmp("RLE BMP", [](BmpLayout& l) { l.compression = 1; }, "Compressed BMPs cannot be read");
  bmp("top-down BMP", [](BmpLayout& l) { l.height = -2; }, "Top-down BMPs cannot be read");
  bmp("BMP width zero", [](BmpLayout& l) { l.width = 0; }, kSize);
  bmp("BMP 2049 rows", [](BmpLayout& l) { l.height = 2049; }, kSize);
  bmp("BMP 40000 columns", [](BmpLayout& l) { l.width = 40000; }, kSize);
  bmp("BMP info size too small", [](BmpLayout& l) { l.infoSize = 12; }, kDamaged);
  bmp("BMP pixels past the end", [](BmpLayout& l) { l.pixelData.resize(6); }, kDamaged);
  bmp("BMP pixel offset past the end", [](BmpLayout& l) { l.pixelOffset = 0xFFFFFFF0; }, kDamaged);
  bmp("BMP table outside the file",
      [](BmpLayout& l) {
        l.colours = TestColours(4);  // 256 announced
        l.pixelOffset = 14 + 40;
      },
      kDamaged);
  {
    std::vector<std::uint8_t> far = BuildBmp(SmallBmp());
    Le32(far, 14, 0xFFFFFFF0u);  // colour table 4 GB on
    cases.push_back({"BMP info size past the end", far, kDamaged});
  }
  return cases;
}

}  // namespace

TEST(ImageRead, HostileFilesGiveNothingAndOneMessage) {
  TempDir dir;
  for (const BadFile& bad : BadFiles()) {
    SCOPED_TRACE(bad.what);
    WriteBytes(dir.File("bad"), bad.bytes);
    ScriptedUi ui;
    EXPECT_EQ(Shown(ui, LoadSkinImage(dir.File("bad"))), nullptr);
    // The reader judges bytes; the message still names the file they came from.
    EXPECT_EQ(ui.texts(), std::vector<std::string>{bad.message + "\n" + dir.File("bad")});
  }
}

TEST(ImageRead, MissingFileGivesNothingWithoutAMessage) {
  TempDir dir;
  ScriptedUi ui;
  EXPECT_EQ(Shown(ui, LoadSkinImage(dir.File("none.pcx"))), nullptr);
  EXPECT_EQ(Shown(ui, LoadSkinImage(dir.path())), nullptr);
  EXPECT_TRUE(ui.texts().empty());
}

namespace {

Skin TwoByTwo() {
  Skin s;
  s.width = 2;
  s.height = 2;
  s.pixels = {1, 2, 3, 4};
  s.format = FORMAT_PCX;
  return s;
}

}  // namespace

TEST(ImageWrite, MissingFolderShowsTheCauseAndKeepsTheFormat) {
  TempDir dir;
  const std::string cause = "Error Saving: 2 (No such file or directory)\n";
  Skin skin = TwoByTwo();
  ScriptedUi ui;
  EXPECT_FALSE(Shown(ui, WriteBmp(skin, dir.File("no/such/folder/x.bmp"))));
  EXPECT_EQ(skin.format, FORMAT_PCX);
  skin.format = FORMAT_BMP;
  EXPECT_FALSE(Shown(ui, WritePcx(skin, dir.File("no/such/folder/x.pcx"))));
  EXPECT_EQ(skin.format, FORMAT_BMP);
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{cause + dir.File("no/such/folder/x.bmp"),
                                                  cause + dir.File("no/such/folder/x.pcx")}));
}

TEST(ImageWrite, FailedSaveLeavesTheOldFileWhole) {
  // A file-size limit below the new file's size stops the save while it
  // writes, after the target was found to exist. The limit binds only a child.
  TempDir dir;
  const std::string target = dir.File("skin.pcx");
  const std::vector<std::uint8_t> old = {9, 8, 7, 6, 5};
  WriteBytes(target, old);
  const pid_t child = ::fork();
  if (child == 0) {
    const rlimit limit{64, 64};
    std::signal(SIGXFSZ, SIG_IGN);
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(9);
    Skin skin = TwoByTwo();
    ScriptedUi ui;
    if (Shown(ui, WritePcx(skin, target)) || Shown(ui, WriteBmp(skin, target))) ::_exit(1);
    if (skin.format != FORMAT_PCX) ::_exit(2);
    const std::string cause = "Error Saving: 27 (File too large)\n" + target;
    ::_exit(ui.texts() == std::vector<std::string>{cause, cause} ? 0 : 3);
  }
  int status = -1;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(ReadBytes(target), old);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(ImageWrite, ReadOnlyFolderShowsTheCause) {
  TempDir dir;
  const std::string target = dir.File("keep.bmp");
  WriteBytes(target, {1, 2, 3});
  ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);
  // The write and its checks run as an ordinary user, whom the folder binds.
  const int failed = RunAsOrdinaryUser([&] {
    Skin skin = TwoByTwo();
    ScriptedUi ui;
    if (Shown(ui, WriteBmp(skin, target))) return 1;
    if (skin.format != FORMAT_PCX) return 2;
    if (ui.texts() != std::vector<std::string>{"Error Saving: 13 (Permission denied)\n" + target}) return 3;
    return 0;
  });
  ::chmod(dir.path().c_str(), 0755);
  EXPECT_EQ(failed, 0);
  EXPECT_EQ(ReadBytes(target), (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST(ImageWrite, RecordWhosePixelsDoNotMatchItsSizeIsNotWritten) {
  TempDir dir;
  Skin skin = TwoByTwo();
  skin.pixels.resize(3);
  ScriptedUi ui;
  EXPECT_FALSE(Shown(ui, WritePcx(skin, dir.File("x.pcx"))));
  EXPECT_FALSE(std::filesystem::exists(dir.File("x.pcx")));
  EXPECT_EQ(skin.format, FORMAT_PCX);
  EXPECT_EQ(ui.texts().size(), 1u);
}
