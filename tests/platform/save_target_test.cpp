#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <iterator>

#include "platform/files.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

const std::vector<std::uint8_t> kOld{7, 7, 7, 7};
const std::vector<std::uint8_t> kNew{1, 2, 3};

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
  return info.st_mode;
}

}  // namespace

TEST(WriteFileAtomic, WritesThroughSymbolicLinksAndKeepsThem) {
  struct Case {
    const char* what;
    std::vector<std::pair<std::string, std::string>> links;  // name -> what it points to
    std::string save, target;
    bool targetExists;
  };
  const Case cases[] = {
      {"link in the same folder", {{"skin.pcx", "real.pcx"}}, "skin.pcx", "real.pcx", true},
      {"link to another folder", {{"skin.pcx", "other/real.pcx"}}, "skin.pcx", "other/real.pcx", true},
      {"chain of two links", {{"a.pcx", "b.pcx"}, {"b.pcx", "other/real.pcx"}}, "a.pcx", "other/real.pcx", true},
      {"dangling link", {{"skin.pcx", "other/new.pcx"}}, "skin.pcx", "other/new.pcx", false},
  };
  for (const Case& c : cases) {
    TempDir dir;
    fs::create_directory(dir.File("other"));
    if (c.targetExists) WriteBytes(dir.File(c.target), kOld);
    for (const auto& [name, to] : c.links) fs::create_symlink(to, dir.File(name));
    EXPECT_EQ(WriteFileAtomic(dir.File(c.save), kNew), 0) << c.what;
    for (const auto& link : c.links) EXPECT_TRUE(S_ISLNK(ModeOf(dir.File(link.first)))) << c.what;
    EXPECT_TRUE(S_ISREG(ModeOf(dir.File(c.target)))) << c.what;
    EXPECT_EQ(ReadBytes(dir.File(c.save)), kNew) << c.what;
    // Nothing but the target and the links is left in either folder.
    std::size_t entries = 0;
    for (const auto& folder : {dir.path(), dir.File("other")})
      for (const auto& e : fs::directory_iterator(folder)) entries += e.is_directory() ? 0 : 1;
    EXPECT_EQ(entries, c.links.size() + 1) << c.what;
  }
}

TEST(WriteFileAtomic, RefusesALinkLoopAFolderAndAPipe) {
  TempDir dir;
  fs::create_symlink("b.pcx", dir.File("a.pcx"));
  fs::create_symlink("a.pcx", dir.File("b.pcx"));
  EXPECT_EQ(WriteFileAtomic(dir.File("a.pcx"), kNew), ELOOP);
  fs::create_directory(dir.File("folder"));
  fs::create_symlink("folder", dir.File("c.pcx"));
  EXPECT_EQ(WriteFileAtomic(dir.File("c.pcx"), kNew), EISDIR);
  EXPECT_TRUE(fs::is_empty(dir.File("folder")));
  ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
  EXPECT_EQ(WriteFileAtomic(dir.File("pipe"), kNew), kCauseNotRegularFile);
  EXPECT_TRUE(S_ISFIFO(ModeOf(dir.File("pipe"))));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 5);
}

TEST(WriteFileAtomic, KeepsThePermissionBitsOfTheFileItReplaces) {
  for (mode_t mode : {0640, 0755, 0600, 0604}) {
    TempDir dir;
    const std::string target = dir.File("model.md2");
    WriteBytes(target, kOld);
    ASSERT_EQ(::chmod(target.c_str(), mode), 0);
    EXPECT_EQ(WriteFileAtomic(target, kNew), 0);
    EXPECT_EQ(ModeOf(target) & 07777, mode) << std::oct << mode;
    EXPECT_EQ(ReadBytes(target), kNew);
  }
  // A new file takes the umask like any other.
  TempDir dir;
  const mode_t mask = ::umask(022);
  EXPECT_EQ(WriteFileAtomic(dir.File("new.md2"), kNew), 0);
  ::umask(mask);
  EXPECT_EQ(ModeOf(dir.File("new.md2")) & 07777, 0644u);
}

// Root may write anything, so the refusal is checked as an ordinary user
// saving over a read-only file in a folder it may write.
TEST(WriteFileAtomic, RefusesAFileTheUserMayNotWriteAndLeavesIt) {
  TempDir dir;
  const std::string folder = dir.File("shared");
  fs::create_directory(folder);
  ASSERT_EQ(::chmod(folder.c_str(), 0777), 0);
  ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
  const std::string target = folder + "/skin.pcx";
  WriteBytes(target, kOld);
  ASSERT_EQ(::chmod(target.c_str(), 0444), 0);
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(target.c_str(), 0, 0), 0);
  }

  EXPECT_EQ(RunAsOrdinaryUser([&] { return WriteFileAtomic(target, kNew); }), EACCES);
  EXPECT_EQ(ReadBytes(target), kOld);
  EXPECT_EQ(ModeOf(target) & 07777, 0444u);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}
