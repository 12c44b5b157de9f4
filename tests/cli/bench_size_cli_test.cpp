// `bench` and `render` take the sizes of today's high-density screens and a
// thread count, and refuse what lies beyond.

#include <gtest/gtest.h>

#include "cli/cli_run.h"
#include "support/test_support.h"

namespace {

TEST(BenchCli, TakesHighDensitySizesAndThreadCounts) {
  TempDir dir;
  const std::string base = dir.path() + "/baseq2";
  ASSERT_EQ(Cli({"demo", base}).code, 0);
  const std::string model = base + "/models/demo/tris.md2";
  struct Row {
    const char* size;
    const char* threads;
    int code;
  };
  const Row rows[] = {
      {"3840x2160", "2", 0}, {"8192x16", "3", 0}, {"16x8192", "1", 0},  {"8193x16", "1", 2},
      {"16x8193", "1", 2},   {"64x48", "0", 2},   {"64x48", "257", 2},
  };
  for (const Row& row : rows) {
    const CliRun r = Cli({"bench", model, "--size", row.size, "--threads", row.threads, "--frames", "1"});
    EXPECT_EQ(r.code, row.code) << row.size << " on " << row.threads << "\n" << r.err;
    if (row.code == 0) {
      EXPECT_NE(r.out.find("1 frames in"), std::string::npos) << r.out;
    }
  }
  // The picture files keep to 2048 rows; a wide one is written.
  EXPECT_EQ(Cli({"render", model, dir.File("big.bmp"), "--size", "8192x16"}).code, 0);
  EXPECT_EQ(Cli({"render", model, dir.File("big.bmp"), "--size", "8193x16"}).code, 2);
}

}  // namespace
