#pragma once
// Helpers shared by the test suites: scratch folders and small files.

#include <cstdint>
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
