// The program as a process under limits the user or the system sets: a file
// size limit, settings files that are not what they claim.

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "image/image_files.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

struct ProcessRun {
  bool exited = false;  // false: ended by a signal
  int code = -1;
  std::string err;
};

// Runs the program in a child process with at most `maxFileBytes` per file
// written (0: no limit). A program that hangs is ended after half a minute.
ProcessRun RunLimited(const std::vector<std::string>& args, const std::string& errFile, rlim_t maxFileBytes = 0) {
  // Everything the child needs is made before the fork.
  std::vector<char*> argv{const_cast<char*>(SKINTOOL_BINARY)};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::string offscreen = "QT_QPA_PLATFORM=offscreen";
  std::vector<char*> env{offscreen.data()};
  for (char** e = environ; *e; ++e)
    if (std::string(*e).rfind("QT_QPA_PLATFORM=", 0) != 0) env.push_back(*e);
  env.push_back(nullptr);
  const rlimit limit{maxFileBytes, maxFileBytes};

  const pid_t child = ::fork();
  if (child == 0) {
    const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int null = ::open("/dev/null", O_RDWR);
    if (err < 0 || null < 0 || ::dup2(err, 2) < 0 || ::dup2(null, 1) < 0 || ::dup2(null, 0) < 0) ::_exit(127);
    if (maxFileBytes != 0 && ::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(127);
    ::alarm(30);
    ::execve(SKINTOOL_BINARY, argv.data(), env.data());
    ::_exit(127);
  }
  ProcessRun run;
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child) return run;
  run.exited = WIFEXITED(status);
  run.code = run.exited ? WEXITSTATUS(status) : -1;
  const std::vector<std::uint8_t> err = ReadBytes(errFile);
  run.err.assign(err.begin(), err.end());
  return run;
}

}  // namespace

TEST(ProcessLimits, ASavePastTheFileSizeLimitFailsWithAMessageAndLeavesNothing) {
  TempDir dir, out;
  Skin skin;
  skin.width = skin.height = 256;
  skin.pixels.assign(256 * 256, 200);
  const std::string in = dir.File("in.pcx");
  WriteBytes(in, EncodePcx(skin));
  for (const char* name : {"out.bmp", "out.pcx"}) {
    const std::string target = out.File(name);
    const ProcessRun run = RunLimited({"convert", in, target}, dir.File("stderr.txt"), 16384);
    EXPECT_TRUE(run.exited) << name;
    EXPECT_EQ(run.code, 1) << name;
    EXPECT_NE(run.err.find(target), std::string::npos) << run.err;
    EXPECT_TRUE(fs::is_empty(out.path())) << name;
  }
}

TEST(ProcessLimits, TheEditorRefusesASettingsFileThatIsNoneWithAMessageNamingIt) {
  TempDir dir;
  const std::string pipe = dir.File("settings.ini"), huge = dir.File("huge.ini");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  WriteBytes(huge, std::vector<std::uint8_t>((1 << 20) + 1, 'x'));
  for (const std::string& profile : {pipe, huge, dir.path()}) {
    const ProcessRun run = RunLimited({"--profile", profile}, dir.File("stderr.txt"));
    EXPECT_TRUE(run.exited) << profile;
    EXPECT_EQ(run.code, 1) << profile;
    EXPECT_NE(run.err.find(profile), std::string::npos) << run.err;
  }
}
