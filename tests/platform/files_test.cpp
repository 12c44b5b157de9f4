#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/files.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

TEST(FolderPart, KeepsRootsAndAcceptsBothSeparators) {
  EXPECT_EQ(FolderPart("/q2/baseq2/models/a.md2"), "/q2/baseq2/models");
  EXPECT_EQ(FolderPart("models\\tank\\skin.pcx"), "models\\tank");
  EXPECT_EQ(FolderPart("/a.md2"), "/");
  EXPECT_EQ(FolderPart("C:\\a.md2"), "C:\\");
  EXPECT_EQ(FolderPart("a.md2"), "");
  EXPECT_EQ(FileNamePart("models\\tank/skin.pcx"), "skin.pcx");
}

TEST(ExtensionOf, LooksOnlyAtTheFileName) {
  EXPECT_EQ(ExtensionOf("/a/skin.PCX"), "pcx");
  EXPECT_EQ(ExtensionOf("/my.dir/a"), "");
  EXPECT_EQ(ExtensionOf("noext"), "");
}

TEST(WildcardMatch, IgnoresCaseAndBacktracks) {
  EXPECT_TRUE(WildcardMatch("*.PCX", "skin.pcx"));
  EXPECT_TRUE(WildcardMatch("*.PCX", "a.b.Pcx"));
  EXPECT_FALSE(WildcardMatch("*.PCX", "skin.pcx.bak"));
  EXPECT_TRUE(WildcardMatch("s?in*.bmp", "SKIN_red.BMP"));
  EXPECT_FALSE(WildcardMatch("*.bmp", "bmp"));
  EXPECT_TRUE(WildcardMatch("*", ""));
}

TEST(FindFiles, ListsMatchingRegularFilesSortedWithoutCase) {
  TempDir dir;
  WriteBytes(dir.File("b.PCX"), {1});
  WriteBytes(dir.File("A.pcx"), {1});
  WriteBytes(dir.File("c.bmp"), {1});
  fs::create_directory(dir.File("d.pcx"));
  auto found = FindFiles(dir.path(), "*.PCX");
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(FileNamePart(found[0]), "A.pcx");
  EXPECT_EQ(FileNamePart(found[1]), "b.PCX");
  EXPECT_TRUE(FindFiles(dir.File("missing"), "*").empty());
}

TEST(ResolvePath, MatchesEachComponentWithoutCase) {
  TempDir dir;
  fs::create_directories(dir.File("Models/Tank"));
  WriteBytes(dir.File("Models/Tank/Skin.PCX"), {1});
  EXPECT_EQ(ResolvePath(dir.path() + "\\models\\tank\\skin.pcx"), dir.File("Models/Tank/Skin.PCX"));
  // As written when it exists; unchanged (with '/') when nothing matches.
  EXPECT_EQ(ResolvePath(dir.File("Models/Tank/Skin.PCX")), dir.File("Models/Tank/Skin.PCX"));
  EXPECT_EQ(ResolvePath(dir.path() + "\\models\\nope.pcx"), dir.path() + "/models/nope.pcx");
  FolderGuard guard(dir.path());
  EXPECT_EQ(ResolvePath("MODELS\\TANK\\SKIN.pcx"), "Models/Tank/Skin.PCX");
}

TEST(ResolvePathIn, TakesRelativeNamesBelowTheFolderAndAbsoluteOnesAsTheyAre) {
  TempDir base, elsewhere;
  fs::create_directories(base.File("Models/Tank"));
  WriteBytes(base.File("Models/Tank/Skin.PCX"), {1});
  WriteBytes(elsewhere.File("Skin.PCX"), {2});
  // The current folder holds a file of the same name: it must not be picked.
  FolderGuard guard(elsewhere.path());
  const struct {
    std::string folder, name, want;
  } cases[] = {
      {base.path(), "models\\tank\\skin.pcx", base.File("Models/Tank/Skin.PCX")},
      {base.path() + "/", "Models/Tank/Skin.PCX", base.File("Models/Tank/Skin.PCX")},
      {base.path(), "models/none.pcx", base.File("models/none.pcx")},
      {base.path(), elsewhere.File("skin.pcx"), elsewhere.File("Skin.PCX")},
      {"", "SKIN.pcx", "Skin.PCX"},
      {base.path(), "", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ResolvePathIn(c.folder, c.name), c.want) << c.folder << " | " << c.name;
  // The name a new file gets keeps its case even where another case exists.
  EXPECT_EQ(PathIn(base.path(), "models\\TANK\\new.pcx"), base.File("models/TANK/new.pcx"));
  EXPECT_EQ(PathIn("", "a\\b.pcx"), "a/b.pcx");
}

TEST(FolderUsable, LooksWithoutMovingTheCurrentFolder) {
  TempDir dir;
  fs::create_directory(dir.File("sub"));
  fs::create_directory(dir.File("locked"));
  WriteBytes(dir.File("file"), {1});
  const std::string here = fs::current_path().string();
  EXPECT_TRUE(FolderUsable(dir.File("sub")));
  // The user's '\' is part of a folder's name, never a separator.
  fs::create_directory(dir.File("a\\b"));
  EXPECT_TRUE(FolderUsable(dir.File("a\\b")));
  EXPECT_FALSE(FolderUsable(dir.path() + "\\sub"));
  EXPECT_FALSE(FolderUsable(dir.File("file")));
  EXPECT_FALSE(FolderUsable(dir.File("missing")));
  EXPECT_FALSE(FolderUsable(""));
  ::chmod(dir.File("locked").c_str(), 0);
  // Permissions do not bind root, who can enter any folder.
  if (::geteuid() != 0) {
    EXPECT_FALSE(FolderUsable(dir.File("locked")));
  }
  ::chmod(dir.File("locked").c_str(), 0755);
  EXPECT_EQ(fs::current_path().string(), here);
}

TEST(WriteFileAtomic, ReplacesTheFileWhole) {
  TempDir dir;
  std::string target = dir.File("out.bin");
  WriteBytes(target, {9, 9, 9, 9, 9});
  std::vector<std::uint8_t> data{1, 2, 3};
  EXPECT_EQ(WriteFileAtomic(target, data), 0);
  EXPECT_EQ(ReadBytes(target), data);
  // No temporary files are left behind.
  int files = 0;
  for (auto& e : fs::directory_iterator(dir.path())) (void)e, ++files;
  EXPECT_EQ(files, 1);
}

TEST(WriteFileAtomic, FailureLeavesTheOldFileAndGivesTheCause) {
  TempDir dir;
  EXPECT_EQ(WriteFileAtomic(dir.File("no/such/folder/x.bin"), std::vector<std::uint8_t>{1}), ENOENT);
  WriteBytes(dir.File("plain"), {1});
  EXPECT_EQ(WriteFileAtomic(dir.File("plain/x.bin"), std::vector<std::uint8_t>{1}), ENOTDIR);
  fs::create_directory(dir.File("ro"));
  std::string target = dir.File("ro/x.bin");
  WriteBytes(target, {7, 7});
  ::chmod(dir.path().c_str(), 0755);
  ::chmod(dir.File("ro").c_str(), 0555);
  EXPECT_EQ(RunAsOrdinaryUser([&] { return WriteFileAtomic(target, std::vector<std::uint8_t>{1, 2, 3}); }), EACCES);
  ::chmod(dir.File("ro").c_str(), 0755);
  EXPECT_EQ(ReadBytes(target), (std::vector<std::uint8_t>{7, 7}));
}

TEST(ReadFileBytes, GivesTheCauseOfAFailedOpen) {
  int cause = 0;
  EXPECT_FALSE(ReadFileBytes("/no/such/file", &cause).has_value());
  EXPECT_EQ(cause, ENOENT);
}
