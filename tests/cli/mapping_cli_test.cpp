#include <gtest/gtest.h>

#include "cli/cli_run.h"
#include "model/md2_builder.h"
#include "platform/files.h"
#include "support/test_support.h"

TEST(MappingCli, ExportThenImportGivesTheModelBackAsAPlainResave) {
  TempDir dir;
  const std::string base = dir.path() + "/baseq2";
  ASSERT_EQ(Cli({"demo", base}).code, 0);
  const std::string quad = dir.File("quad.md2");
  WriteBytes(quad, QuadMd2().Bytes());
  const struct {
    std::string model;
    std::size_t triangles;
  } models[] = {{base + "/models/demo/tris.md2", 1176}, {quad, 2}};
  for (const auto& m : models) {
    const std::string vmp = dir.File("m.vmp"), out = dir.File("out.md2"), plain = dir.File("plain.md2");
    CliRun r = Cli({"mapping", "export", m.model, vmp});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(ReadBytes(vmp).size(), 12 + 24 * m.triangles);
    r = Cli({"mapping", "import", m.model, vmp, out});
    ASSERT_EQ(r.code, 0) << r.err;
    ASSERT_EQ(Cli({"resave", m.model, plain}).code, 0);
    EXPECT_EQ(ReadBytes(out), ReadBytes(plain)) << m.model;
  }

  std::vector<std::uint8_t> damaged = ReadBytes(dir.File("m.vmp"));
  damaged.resize(20);
  WriteBytes(dir.File("bad.vmp"), damaged);
  CliRun r = Cli({"mapping", "import", quad, dir.File("bad.vmp"), dir.File("never.md2")});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "This VMAP file ends before its last triangle!\n" + dir.File("bad.vmp") + "\n");
  EXPECT_FALSE(FileExists(dir.File("never.md2")));
  EXPECT_EQ(Cli({"mapping", "import", quad, dir.File("bad.vmp")}).code, 2);
  EXPECT_EQ(Cli({"mapping", "swap", quad}).code, 2);
}
