#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "platform/link_place.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

// Sets (or, for nullptr, clears) an environment variable for one scope.
struct ScopedEnv {
  const char* name;
  std::optional<std::string> old;
  ScopedEnv(const char* n, const char* value) : name(n) {
    if (const char* was = std::getenv(n)) old = was;
    value ? ::setenv(n, value, 1) : ::unsetenv(n);
  }
  ~ScopedEnv() { old ? ::setenv(name, old->c_str(), 1) : ::unsetenv(name); }
};

std::string MakeFolder(const std::string& path, mode_t mode) {
  fs::create_directory(path);
  ::chmod(path.c_str(), mode);
  return path;
}

}  // namespace

TEST(LinkPlace, OnlyAPeerOfThisVeryUserMayLink) {
  EXPECT_TRUE(PeerMayLink(1000u, 1000u));
  EXPECT_TRUE(PeerMayLink(0u, 0u));
  EXPECT_FALSE(PeerMayLink(65534u, 1000u));
  EXPECT_FALSE(PeerMayLink(1000u, 0u));
  EXPECT_FALSE(PeerMayLink(std::nullopt, 1000u));
}

TEST(LinkPlace, APrivateFolderIsARealFolderOfThisUsersThatNobodyElseMayEnter) {
  TempDir dir;
  const uid_t self = ::geteuid();
  const std::string own = MakeFolder(dir.File("own"), 0700);
  fs::create_directory_symlink(own, dir.File("link"));
  WriteBytes(dir.File("file"), {1});
  ::chmod(dir.File("file").c_str(), 0700);
  struct Case {
    std::string path;
    uid_t owner;
    bool isPrivate;
  };
  const Case cases[] = {{own, self, true},
                        {own, self + 1, false},
                        {MakeFolder(dir.File("open"), 0755), self, false},
                        {MakeFolder(dir.File("searchable"), 0711), self, false},
                        {dir.File("link"), self, false},
                        {dir.File("file"), self, false},
                        {dir.File("missing"), self, false}};
  for (const Case& c : cases) EXPECT_EQ(IsPrivateFolder(c.path, c.owner), c.isPrivate) << c.path;
}

TEST(LinkPlace, TheFolderIsTheRuntimeFolderWhenPrivateElseOneOfOursUnderTemp) {
  TempDir dir;
  const std::string runtime = MakeFolder(dir.File("runtime"), 0700);
  const std::string temp = MakeFolder(dir.File("temp"), 0755);
  const std::string ours = temp + "/skintool-" + std::to_string(::geteuid());
  ScopedEnv tmpdir("TMPDIR", temp.c_str());
  {
    ScopedEnv xdg("XDG_RUNTIME_DIR", (runtime + "/").c_str());
    EXPECT_EQ(PrivateLinkFolder(), runtime);
    EXPECT_FALSE(fs::exists(ours));
  }
  ::chmod(runtime.c_str(), 0755);
  ScopedEnv xdg("XDG_RUNTIME_DIR", runtime.c_str());
  EXPECT_EQ(PrivateLinkFolder(), ours);
  EXPECT_TRUE(IsPrivateFolder(ours, ::geteuid()));

  // Something else at that place is neither used nor changed.
  ::chmod(ours.c_str(), 0755);
  EXPECT_EQ(PrivateLinkFolder(), std::nullopt);
  EXPECT_EQ(fs::status(ours).permissions(), static_cast<fs::perms>(0755));
  fs::remove(ours);
  fs::create_directory_symlink(MakeFolder(dir.File("elsewhere"), 0700), ours);
  EXPECT_EQ(PrivateLinkFolder(), std::nullopt);
  EXPECT_TRUE(fs::is_symlink(ours));
}

TEST(LinkPlace, TheScopeIsTheDisplayWithoutItsScreenAndEachScopeHasItsOwnSocket) {
  EXPECT_EQ(LinkScopeOf("wayland-0", ":0"), "wayland-0");
  EXPECT_EQ(LinkScopeOf(nullptr, ":1.0"), ":1");
  EXPECT_EQ(LinkScopeOf("", "host:10.2"), "host:10");
  EXPECT_EQ(LinkScopeOf(nullptr, nullptr), "");
  // Names made plain for the file system must not merge two displays.
  EXPECT_NE(LinkSocketPath("/f", ":0", "t"), LinkSocketPath("/f", "_0", "t"));
  EXPECT_NE(LinkSocketPath("/f", ":0", "t"), LinkSocketPath("/f", ":0", "u"));
}
