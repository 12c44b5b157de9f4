// Saving where other users are about: links they plant, files they own.
// As root the other user is uid 65534 in a child process; run as anyone
// else, the "other" user is the same one and the rules expect that too.

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

struct stat StatOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
  return info;
}

std::size_t EntriesIn(const std::string& folder) {
  return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

}  // namespace

TEST(WriteFileAtomic, FollowsALinkInAStickySharedFolderOnlyWhenItsOwnerIsTrusted) {
  struct Case {
    const char* what;
    mode_t folderMode;
    bool folderOfLinkMaker, linkByOther;
  };
  const Case cases[] = {
      {"another user's link in a sticky shared folder", 01777, false, true},
      {"the saver's own link there", 01777, false, false},
      {"another user's link in a shared folder without the sticky bit", 0777, false, true},
      {"a link by the sticky folder's owner", 01777, true, true},
  };
  for (const Case& c : cases) {
    TempDir dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    const std::string shared = dir.File("sharedtmp"), victim = dir.File("root-only");
    fs::create_directory(shared);
    ASSERT_EQ(::chmod(shared.c_str(), c.folderMode), 0);
    if (c.folderOfLinkMaker && ::geteuid() == 0) {
      ASSERT_EQ(::chown(shared.c_str(), 65534, 65534), 0);
    }
    WriteBytes(victim, kOld);
    ASSERT_EQ(::chmod(victim.c_str(), 0600), 0);
    const std::string link = shared + "/shot.png";
    auto plant = [&] { return ::symlink(victim.c_str(), link.c_str()) == 0 ? 0 : errno; };
    ASSERT_EQ(c.linkByOther ? RunAsOrdinaryUser(plant) : plant(), 0) << c.what;

    const struct stat linkInfo = StatOf(link), folderInfo = StatOf(shared);
    const bool refused = (c.folderMode & S_ISVTX) && linkInfo.st_uid != ::geteuid() &&
                         linkInfo.st_uid != folderInfo.st_uid;
    EXPECT_EQ(WriteFileAtomic(link, kNew), refused ? kCauseUntrustedLink : 0) << c.what;
    EXPECT_EQ(ReadBytes(victim), refused ? kOld : kNew) << c.what;
    EXPECT_TRUE(S_ISLNK(StatOf(link).st_mode)) << c.what;
    EXPECT_EQ(EntriesIn(shared), 1u) << c.what;
  }
  EXPECT_NE(SaveErrorText("/sharedtmp/shot.png", kCauseUntrustedLink).find("another user"), std::string::npos);
}

TEST(WriteFileAtomic, SavesUnderEveryNameTheFileSystemTakes) {
  for (std::size_t length : {1u, 243u, 244u, 255u}) {
    TempDir dir;
    const std::string target = dir.File(std::string(length - 1, 'n') + "x");
    EXPECT_EQ(WriteFileAtomic(target, kNew), 0) << length;
    EXPECT_EQ(ReadBytes(target), kNew) << length;
    EXPECT_EQ(EntriesIn(dir.path()), 1u) << length;
  }
}

// The saver may give the file back to its owner only as root; an ordinary
// saver becomes the owner and the set-id bits, which would now run as the
// saver, go.
TEST(WriteFileAtomic, KeepsOwnerGroupAndModeAsFarAsTheSaverMay) {
  struct Case {
    const char* what;
    mode_t mode;
    bool fileOfOther, savedByOther;
  };
  const Case cases[] = {
      {"another user's set-uid file saved by its writer", 04750, true, false},
      {"a world-writable set-uid file saved by another user", 04666, false, true},
      {"a world-writable set-gid file saved by another user", 02666, false, true},
  };
  const bool root = ::geteuid() == 0;
  for (const Case& c : cases) {
    TempDir dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
    const std::string target = dir.File("model.md2");
    WriteBytes(target, kOld);
    if (c.fileOfOther && root) {
      ASSERT_EQ(::chown(target.c_str(), 65534, 65534), 0);
    }
    ASSERT_EQ(::chmod(target.c_str(), c.mode), 0);
    const struct stat before = StatOf(target);

    auto save = [&] { return WriteFileAtomic(target, kNew); };
    EXPECT_EQ(c.savedByOther ? RunAsOrdinaryUser(save) : save(), 0) << c.what;
    const struct stat after = StatOf(target);
    const bool ownerKept = !(c.savedByOther && root);
    EXPECT_EQ(after.st_uid, ownerKept ? before.st_uid : 65534u) << c.what;
    EXPECT_EQ(after.st_gid, ownerKept ? before.st_gid : 65534u) << c.what;
    EXPECT_EQ(after.st_mode & 07777, ownerKept ? c.mode : c.mode & 0777) << c.what;
    EXPECT_EQ(ReadBytes(target), kNew) << c.what;
  }
}
