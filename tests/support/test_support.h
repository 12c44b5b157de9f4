#pragma once
// Helpers shared by the test suites: scratch folders and small files.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A fresh empty folder under the system temp folder, removed with the object.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> ReadBytes(const std::string& path);

// Runs `body` in a child process as an ordinary user (uid and gid 65534 when
// the tests run as root, who may write anything; as the same user otherwise)
// and gives what it returned (0..255), or -1 when the child could not run.
// Whatever the child touches must be reachable by that user.
int RunAsOrdinaryUser(const std::function<int()>& body);

// Restores the current folder when it goes out of scope; the second form
// first moves into `enter`, for tests of what depends on where a command
// runs.
class FolderGuard {
 public:
  FolderGuard();
  explicit FolderGuard(const std::string& enter);
  ~FolderGuard();

 private:
  std::string saved_;
};
