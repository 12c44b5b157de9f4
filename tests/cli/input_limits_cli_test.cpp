#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "cli/cli_run.h"
#include "image/image_files.h"
#include "image/jpeg_read.h"
#include "image/png_read.h"
#include "image/tga_file.h"
#include "model/mapping_file.h"
#include "model/md2_builder.h"
#include "model/md2_file.h"
#include "platform/files.h"
#include "support/test_support.h"

namespace {

// A file of `size` bytes that takes no room on disk.
void Sparse(const std::string& path, std::uintmax_t size) {
  WriteBytes(path, {});
  std::filesystem::resize_file(path, size);
}

}  // namespace

// Every reader behind the command line is handed a device, a pipe, a folder
// and a file one byte larger than its format can be; each is refused at once
// with exit 1 and a message naming the file and why.
TEST(CliInput, EveryReaderRefusesDevicesPipesFoldersAndOversizedFiles) {
  TempDir dir;
  const std::string quad = dir.File("quad.md2"), fifo = dir.File("pipe"), folder = dir.File("folder");
  WriteBytes(quad, QuadMd2().Bytes());
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::filesystem::create_directory(folder);
  const std::uintmax_t picture =
      std::max({kMaxPcxFileBytes, kMaxBmpFileBytes, kMaxPngFileBytes, kMaxTgaFileBytes, kMaxJpegFileBytes});
  struct Reader {
    const char* what;
    std::uintmax_t limit;
    std::vector<std::string> (*command)(const std::string& dir, const std::string& quad, const std::string& in);
  };
  const Reader readers[] = {
      {"info", kMaxMd2FileBytes, [](auto&, auto&, auto& in) { return std::vector<std::string>{"info", in}; }},
      {"resave", kMaxMd2FileBytes,
       [](auto& d, auto&, auto& in) { return std::vector<std::string>{"resave", in, d + "/out.md2"}; }},
      {"convert", picture,
       [](auto& d, auto&, auto& in) { return std::vector<std::string>{"convert", in, d + "/out.png"}; }},
      {"convert --palette", kMaxPaletteFileBytes,
       [](auto& d, auto&, auto& in) { return std::vector<std::string>{"convert", in, d + "/out.pcx", "--palette", in}; }},
      {"mapping import", kMaxVmapFileBytes,
       [](auto& d, auto& q, auto& in) { return std::vector<std::string>{"mapping", "import", q, in, d + "/out.md2"}; }},
      {"render --skin", std::max(kMaxPcxFileBytes, kMaxBmpFileBytes),
       [](auto& d, auto& q, auto& in) { return std::vector<std::string>{"render", q, d + "/out.bmp", "--skin", in}; }},
  };
  for (const Reader& reader : readers) {
    const std::string big = dir.File("big");
    Sparse(big, reader.limit + 1);
    struct Input {
      std::string path, cause;
    };
    const Input inputs[] = {{"/dev/zero", "10001 (not a regular file)"},
                            {fifo, "10001 (not a regular file)"},
                            {folder, "21 (Is a directory)"},
                            {big, "10002 (larger than any file of its kind can be)"}};
    for (const Input& input : inputs) {
      const CliRun r = Cli(reader.command(dir.path(), quad, input.path));
      EXPECT_EQ(r.code, 1) << reader.what << " " << input.path;
      EXPECT_NE(r.err.find(input.cause), std::string::npos) << reader.what << " " << input.path << "\n" << r.err;
      EXPECT_NE(r.err.find(input.path), std::string::npos) << reader.what << " " << input.path << "\n" << r.err;
    }
    // At the limit the file is read and judged on its content instead (the
    // picture limits are hundreds of MiB: not worth reading here).
    if (reader.limit < (std::uintmax_t{64} << 20)) {
      Sparse(big, reader.limit);
      const CliRun atLimit = Cli(reader.command(dir.path(), quad, big));
      EXPECT_EQ(atLimit.err.find("10002"), std::string::npos) << reader.what << "\n" << atLimit.err;
    }
    std::filesystem::remove(big);
  }
  for (const char* out : {"out.md2", "out.png", "out.pcx", "out.bmp"}) EXPECT_FALSE(FileExists(dir.File(out))) << out;
}

TEST(CliExitCodes, SuccessFailureAndUsageAsDocumented) {
  TempDir dir;
  const std::string quad = dir.File("quad.md2"), damaged = dir.File("damaged.md2");
  WriteBytes(quad, QuadMd2().Bytes());
  auto cut = QuadMd2().Bytes();
  cut.resize(80);
  WriteBytes(damaged, cut);
  const std::string out = dir.File("out.bmp");
  struct Row {
    std::vector<std::string> args;
    int code;
  };
  const Row rows[] = {
      {{"--help"}, 0},
      {{"--version"}, 0},
      {{"info", quad}, 0},
      {{"resave", quad, dir.File("copy.md2")}, 0},
      {{"render", quad, out, "--size", "64x48", "--mode", "0"}, 0},
      {{"info", dir.File("missing.md2")}, 1},
      {{"info", damaged}, 1},
      {{"convert", dir.File("missing.pcx"), dir.File("x.pcx")}, 1},
      {{"resave", quad, dir.File("no/such/folder/x.md2")}, 1},
      {{"mapping", "import", quad, damaged, dir.File("y.md2")}, 1},
      {{}, 2},
      {{"frobnicate"}, 2},
      {{"info"}, 2},
      {{"info", quad, "--bogus"}, 2},
      {{"resave", quad}, 2},
      {{"convert", quad, dir.File("x.gif")}, 2},
      {{"render", quad, out, "--size", "64x"}, 2},
      {{"render", quad, out, "--frame", "99999999999"}, 2},
      {{"render", quad, out, "--frame", "1 "}, 2},
      {{"render", quad, out, "--distance"}, 2},
      {{"layout", quad, out, "--zoom", "2x"}, 2},
      {{"layout", quad, dir.File("x.gif")}, 2},
      {{"render", quad, dir.File("x.gif")}, 2},
      {{"bench", quad, "--repeat", "x"}, 2},
      {{"mapping", "rename", quad}, 2},
  };
  for (const Row& row : rows) {
    const CliRun r = Cli(row.args);
    std::string line;
    for (const auto& a : row.args) line += a + " ";
    EXPECT_EQ(r.code, row.code) << line << "\n" << r.err;
    // Failures say why; usage errors show the usage line.
    EXPECT_EQ(r.err.find("usage: skintool") != std::string::npos, row.code == 2) << line << "\n" << r.err;
    EXPECT_EQ(r.err.empty(), row.code == 0) << line;
  }
  EXPECT_NE(Cli({"--help"}).out.find("exit codes: 0"), std::string::npos);
}
