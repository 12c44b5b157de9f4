// Recovery copies in a state folder other users may reach, and copies that
// declare more than the program can hold.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>

#include "editor/recovery_copy.h"
#include "platform/process_id.h"
#include "platform/profile.h"
#include "shell/recovery.h"
#include "shell/recovery_session.h"
#include "support/scripted_ui.h"

namespace fs = std::filesystem;

namespace {

struct Desk {
  TempDir dir;
  ScriptedUi ui;
  MemoryProfile profile;
  std::string base = dir.path() + "/base";
  std::string state = dir.path() + "/state";
  std::string model = recovery_session::WriteQuadModel(base);
  std::unique_ptr<App> app = Fresh();

  Desk() {
    EXPECT_EQ(app->LoadMd2(model), 1);
    fs::create_directories(state);
  }
  std::unique_ptr<App> Fresh() {
    profile.WriteInt("Preferences", "DirScan_Prompt", 1);
    auto a = std::make_unique<App>(ui, profile);
    a->baseFolder = base;
    a->recovery.SetRoot(state, CurrentProcessId());
    return a;
  }
};

int DeadPid() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  return static_cast<int>(child);
}

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
  return info.st_mode & 07777;
}

uid_t OwnerOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
  return info.st_uid;
}

}  // namespace

TEST(RecoverySafety, ACopyFolderThatIsALinkOrNotTheUsersOwnIsNeverWrittenThrough) {
  struct Case {
    const char* what;
    std::function<int(const std::string& folder, const std::string& victim)> plant;
  };
  const Case cases[] = {
      {"a link to another folder",
       [](const std::string& f, const std::string& v) { return ::symlink(v.c_str(), f.c_str()) == 0 ? 0 : errno; }},
      {"the user's folder open to others",
       [](const std::string& f, const std::string&) { return ::mkdir(f.c_str(), 0700) || ::chmod(f.c_str(), 0755); }},
      {"another user's folder", [](const std::string& f, const std::string&) {
         return RunAsOrdinaryUser([f] { return ::mkdir(f.c_str(), 0700) == 0 ? 0 : errno; });
       }},
  };
  for (const Case& c : cases) {
    Desk d;
    ASSERT_EQ(::chmod(d.state.c_str(), 01777), 0);
    const std::string victim = d.dir.File("victim"), folder = d.app->recovery.folder();
    fs::create_directories(victim);
    ASSERT_EQ(::chmod(victim.c_str(), 0755), 0);
    WriteBytes(victim + "/keep.bin", {1, 2, 3});
    ASSERT_EQ(c.plant(folder, victim), 0) << c.what;
    // Run as an ordinary user, "another user" is this one, whose own 0700
    // folder is fine to use.
    const bool refused = ModeOf(folder) != 0700 || OwnerOf(folder) != ::geteuid();

    recovery_session::PlayEdits(*d.app, 0, 3);
    const bool started = d.app->recovery.WriteNow(d.app->document, 0);
    const int result = d.app->recovery.writer().Wait();
    EXPECT_EQ(started && result == 0, !refused) << c.what;
    EXPECT_EQ(ReadBytes(victim + "/keep.bin"), (std::vector<std::uint8_t>{1, 2, 3})) << c.what;
    EXPECT_EQ(ModeOf(victim), 0755u) << c.what;
    EXPECT_FALSE(fs::exists(victim + "/index.txt")) << c.what;
    EXPECT_EQ(fs::exists(folder + "/index.txt"), !refused) << c.what;

    d.app->recovery.Discard();
    EXPECT_TRUE(fs::exists(victim + "/keep.bin")) << c.what;
    EXPECT_EQ(fs::exists(fs::symlink_status(folder)), refused) << c.what << ": removed only when it was the copy";
  }
}

TEST(RecoverySafety, StartOffersNoCopyThroughALinkOrAFolderOpenToOthers) {
  Desk d;
  recovery_session::PlayEdits(*d.app, 0, 3);
  const RecoverySnapshot snapshot = TakeRecoverySnapshot(d.app->document);
  const std::string elsewhere = d.dir.File("elsewhere");
  ASSERT_EQ(WriteRecoveryCopy(elsewhere, snapshot, "1", 1700000000, 1), 0);
  const int linkPid = DeadPid(), openPid = DeadPid();
  const std::string link = d.state + "/recovery-" + std::to_string(linkPid);
  const std::string open = d.state + "/recovery-" + std::to_string(openPid);
  ASSERT_EQ(::symlink(elsewhere.c_str(), link.c_str()), 0);
  ASSERT_EQ(WriteRecoveryCopy(open, snapshot, "1", 1700000000, openPid), 0);
  ASSERT_EQ(::chmod(open.c_str(), 0755), 0);

  auto app = d.Fresh();
  d.ui.Clear();
  d.ui.QueueAnswer(MsgAnswer::No);
  d.ui.QueueAnswer(MsgAnswer::No);
  EXPECT_FALSE(OfferRecovery(*app));
  EXPECT_TRUE(d.ui.texts().empty());
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_TRUE(fs::exists(elsewhere + "/index.txt"));
  EXPECT_TRUE(fs::exists(open + "/index.txt"));
  EXPECT_EQ(ModeOf(elsewhere), 0700u);
}

TEST(RecoverySafety, AnIndexDeclaringMoreThanTheProgramCanHoldIsSetAsideUnasked) {
  Desk d;
  recovery_session::PlayEdits(*d.app, 0, 2);
  const int pid = DeadPid();
  const std::string copy = d.state + "/recovery-" + std::to_string(pid);
  ASSERT_EQ(WriteRecoveryCopy(copy, TakeRecoverySnapshot(d.app->document), "1", 0, pid), 0);
  // Four files of 1 GiB each: every one alone within what a file may be,
  // together far past a model and its skins at their largest.
  std::vector<std::uint8_t> index = ReadBytes(copy + "/index.txt");
  std::string text(index.begin(), index.end());
  text.erase(text.find("file "));
  for (const char* name : {"model-1.bin", "skin-1-0.bin", "skin-1-1.bin", "skin-1-2.bin"})
    text += std::string("file ") + name + " 1073741824 0\n";
  text += "end\n";
  WriteBytes(copy + "/index.txt", std::vector<std::uint8_t>(text.begin(), text.end()));

  EXPECT_FALSE(ReadRecoveryIndex(copy));
  d.ui.Clear();
  d.ui.QueueAnswer(MsgAnswer::Yes);
  EXPECT_FALSE(OfferRecovery(*d.app));
  ASSERT_EQ(d.ui.texts().size(), 1u) << "refused before the question";
  EXPECT_EQ(d.ui.texts()[0].rfind(kRestoreFailedText, 0), 0u) << d.ui.texts()[0];
  EXPECT_TRUE(fs::exists(d.state + "/damaged-recovery-" + std::to_string(pid) + "/index.txt"));

  d.ui.Clear();
  EXPECT_FALSE(OfferRecovery(*d.Fresh()));
  EXPECT_TRUE(d.ui.texts().empty()) << "a copy set aside is not offered again";
}
