#include <gtest/gtest.h>
#include <sys/stat.h>

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
  FolderGuard guard;
  ASSERT_TRUE(ChangeFolder(dir.path()));
  EXPECT_EQ(ResolvePath("MODELS\\TANK\\SKIN.pcx"), "Models/Tank/Skin.PCX");
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
  if (::geteuid() == 0) GTEST_SKIP() << "root ignores folder permissions";
  fs::create_directory(dir.File("ro"));
  std::string target = dir.File("ro/x.bin");
  WriteBytes(target, {7, 7});
  ::chmod(dir.File("ro").c_str(), 0555);
  EXPECT_EQ(WriteFileAtomic(target, std::vector<std::uint8_t>{1, 2, 3}), EACCES);
  ::chmod(dir.File("ro").c_str(), 0755);
  EXPECT_EQ(ReadBytes(target), (std::vector<std::uint8_t>{7, 7}));
}

TEST(ReadFileBytes, GivesTheCauseOfAFailedOpen) {
  int cause = 0;
  EXPECT_FALSE(ReadFileBytes("/no/such/file", &cause).has_value());
  EXPECT_EQ(cause, ENOENT);
}
