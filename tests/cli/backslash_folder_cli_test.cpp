#include <gtest/gtest.h>

#include <filesystem>

#include "cli/cli_run.h"
#include "platform/files.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

// A '\' in a folder the user names is part of its name: every command works
// in it as in any other folder.
TEST(CliBackslashFolder, EveryCommandWorksInAFolderWithABackslashInItsName) {
  TempDir dir;
  ASSERT_EQ(Cli({"demo", dir.File("plain/baseq2")}).code, 0);
  fs::rename(dir.File("plain"), dir.File("my\\quake2"));
  const std::string base = dir.File("my\\quake2/baseq2");
  const std::string model = base + "/models/demo/tris.md2", skin = base + "/models/demo/skin.pcx";
  const struct {
    std::vector<std::string> args;
    std::string made;  // the file the command writes, if any
  } cases[] = {
      {{"info", model}, ""},
      {{"info", model, "--base", base}, ""},
      {{"resave", model, base + "/copy.md2"}, base + "/copy.md2"},
      {{"convert", skin, base + "/skin.bmp"}, base + "/skin.bmp"},
      {{"render", model, base + "/view.png"}, base + "/view.png"},
      {{"layout", model, base + "/layout.png"}, base + "/layout.png"},
      {{"mapping", "export", model, base + "/map.vmp"}, base + "/map.vmp"},
  };
  for (const auto& c : cases) {
    const CliRun run = Cli(c.args);
    EXPECT_EQ(run.code, 0) << c.args[0] << "\n" << run.err;
    EXPECT_EQ(run.err, "") << c.args[0];
    EXPECT_TRUE(c.made.empty() || FileExists(c.made)) << c.made;
  }
}
