#include <gtest/gtest.h>

#include <filesystem>

#include "platform/files.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

// A host folder may hold '\' in its name; skin paths kept in the stored form
// (every separator a '\') and names from model files still find their files.
TEST(ResolvePath, TakesABackslashAsPartOfANameWhereSuchANameExists) {
  TempDir dir;
  const std::string base = dir.File("q2\\base");
  fs::create_directories(base + "/Models");
  WriteBytes(base + "/Models/Skin.pcx", {1});
  // Where both readings exist, '\' is a separator, as in every model file.
  fs::create_directory(dir.File("x"));
  WriteBytes(dir.File("x/y.pcx"), {2});
  WriteBytes(dir.File("x\\y.pcx"), {3});
  const struct {
    std::string given, want;
  } cases[] = {
      {base + "/Models/Skin.pcx", base + "/Models/Skin.pcx"},
      {ToBackslashes(base + "/models/skin.pcx"), base + "/Models/Skin.pcx"},
      {ToBackslashes(base + "/Models/new.pcx"), base + "/Models/new.pcx"},
      {ToBackslashes(dir.File("x/y.pcx")), dir.File("x/y.pcx")},
  };
  for (const auto& c : cases) EXPECT_EQ(ResolvePath(c.given), c.want) << c.given;
  // A model file's name below the folder: only the name's '\' separates.
  EXPECT_EQ(ResolvePathIn(base, "models\\skin.pcx"), base + "/Models/Skin.pcx");
  EXPECT_EQ(PathIn(base, "Models\\new.pcx"), base + "/Models/new.pcx");
}
