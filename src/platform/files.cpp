#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

namespace fs = std::filesystem;

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

std::string FolderPart(const std::string& path) {
  size_t pos = path.find_last_of("/\\");
  if (pos == std::string::npos) return "";
  if (pos == 0) return path.substr(0, 1);
  // A drive root such as "C:\" keeps its separator.
  if (pos == 2 && path[1] == ':') return path.substr(0, 3);
  return path.substr(0, pos);
}

std::string FileNamePart(const std::string& path) {
  size_t pos = path.find_last_of("/\\");
  return pos == std::string::npos ? path : path.substr(pos + 1);
}

std::string ToForwardSlashes(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

std::string ToBackslashes(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::string ExtensionOf(const std::string& path) {
  std::string name = FileNamePart(path);
  size_t dot = name.find_last_of('.');
  if (dot == std::string::npos) return "";
  std::string ext = name.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext;
}

bool EqualsNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

bool WildcardMatch(const std::string& pattern, const std::string& name) {
  // Iterative matcher with backtracking to the last '*'.
  size_t p = 0, n = 0, star = std::string::npos, mark = 0;
  auto same = [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  };
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || same(pattern[p], name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      mark = n;
    } else if (star != std::string::npos) {
      p = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

namespace {
std::string LowerCopy(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}
}  // namespace

std::vector<std::string> FindFiles(const std::string& folder, const std::string& pattern) {
  std::vector<std::string> out;
  std::error_code ec;
  fs::directory_iterator it(folder.empty() ? fs::path(".") : fs::path(ToForwardSlashes(folder)), ec);
  if (ec) return out;
  for (const auto& entry : it) {
    std::error_code e2;
    if (!entry.is_regular_file(e2)) continue;
    std::string name = entry.path().filename().string();
    if (WildcardMatch(pattern, name)) out.push_back(AbsolutePath(entry.path().string()));
  }
  std::sort(out.begin(), out.end(), [](const std::string& a, const std::string& b) {
    std::string la = LowerCopy(FileNamePart(a)), lb = LowerCopy(FileNamePart(b));
    return la != lb ? la < lb : a < b;
  });
  return out;
}

bool FolderUsable(const std::string& folder) {
  if (!FolderExists(folder)) return false;
  // Entering needs search permission, listing read permission.
  return ::access(ToForwardSlashes(folder).c_str(), R_OK | X_OK) == 0;
}

bool FolderExists(const std::string& folder) {
  std::error_code ec;
  return !folder.empty() && fs::is_directory(ToForwardSlashes(folder), ec);
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_regular_file(ToForwardSlashes(path), ec);
}

std::string ResolvePath(const std::string& path) {
  std::string written = ToForwardSlashes(path);
  std::error_code ec;
  if (written.empty() || fs::exists(written, ec)) return written;

  fs::path p(written);
  fs::path current = p.is_absolute() ? p.root_path() : fs::path(".");
  fs::path rel = p.is_absolute() ? p.relative_path() : p;
  for (const auto& part : rel) {
    std::string want = part.string();
    if (want.empty() || want == ".") continue;
    fs::path direct = current / part;
    if (want == ".." || fs::exists(direct, ec)) {
      current = direct;
      continue;
    }
    bool found = false;
    fs::directory_iterator it(current, ec);
    if (!ec) {
      for (const auto& entry : it) {
        if (EqualsNoCase(entry.path().filename().string(), want)) {
          current = entry.path();
          found = true;
          break;
        }
      }
    }
    if (!found) return written;
  }
  std::string out = current.lexically_normal().string();
  if (!p.is_absolute() && out.rfind("./", 0) == 0) out = out.substr(2);
  return out;
}

std::string PathIn(const std::string& folder, const std::string& path) {
  std::string written = ToForwardSlashes(path);
  if (written.empty() || folder.empty() || written.front() == '/') return written;
  std::string base = ToForwardSlashes(folder);
  return base.back() == '/' ? base + written : base + "/" + written;
}

std::string ResolvePathIn(const std::string& folder, const std::string& path) {
  return path.empty() ? std::string() : ResolvePath(PathIn(folder, path));
}

std::string AbsolutePath(const std::string& path) {
  std::error_code ec;
  fs::path p = fs::absolute(fs::path(ToForwardSlashes(path)), ec);
  if (ec) return ToForwardSlashes(path);
  return p.lexically_normal().string();
}

std::string CauseText(int cause) {
  if (cause == kCauseNotRegularFile) return std::to_string(cause) + " (not a regular file)";
  if (cause == kCauseFileTooLarge) return std::to_string(cause) + " (too large for any file the program reads)";
  if (cause == kCauseTooLargeForFormat) return std::to_string(cause) + " (too large for this file format)";
  const char* words = std::strerror(cause);
  return std::to_string(cause) + " (" + (words ? words : "unknown error") + ")";
}

bool IsReadableFile(const std::string& path) {
  if (path.empty()) return false;
  std::error_code ec;
  if (!fs::is_regular_file(fs::path(path), ec)) return false;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::fclose(f);
  return true;
}

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path, int* cause,
                                                       std::uintmax_t maxBytes) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) {
    if (cause) *cause = errno;
    return std::nullopt;
  }
  if (!S_ISREG(info.st_mode)) {
    if (cause) *cause = S_ISDIR(info.st_mode) ? EISDIR : kCauseNotRegularFile;
    return std::nullopt;
  }
  if (static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
    if (cause) *cause = kCauseFileTooLarge;
    return std::nullopt;
  }
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    if (cause) *cause = errno;
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes;
  std::uint8_t block[65536];
  for (;;) {
    size_t n = std::fread(block, 1, sizeof block, f);
    bytes.insert(bytes.end(), block, block + n);
    if (n < sizeof block) break;
    // A file that grew after it was measured is still held to the limit.
    if (bytes.size() > maxBytes) {
      std::fclose(f);
      if (cause) *cause = kCauseFileTooLarge;
      return std::nullopt;
    }
  }
  bool failed = std::ferror(f) != 0;
  int err = errno;
  std::fclose(f);
  if (failed) {
    if (cause) *cause = err ? err : EIO;
    return std::nullopt;
  }
  return bytes;
}

int WriteFileAtomic(const std::string& path, std::span<const std::uint8_t> bytes) {
  std::string target = ToForwardSlashes(path);
  std::string dir = FolderPart(target);
  std::string base = FileNamePart(target);
  if (base.empty()) return EISDIR;
  std::random_device rd;
  std::string tmp = (dir.empty() ? std::string() : (dir == "/" ? dir : dir + "/")) + "." + base + ".tmp" +
                    std::to_string(rd() % 1000000u);

  int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return errno;
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      int err = errno;
      ::close(fd);
      ::unlink(tmp.c_str());
      return err;
    }
    done += static_cast<size_t>(n);
  }
  if (::fsync(fd) != 0 && errno != EINVAL) {
    int err = errno;
    ::close(fd);
    ::unlink(tmp.c_str());
    return err;
  }
  if (::close(fd) != 0) {
    int err = errno;
    ::unlink(tmp.c_str());
    return err;
  }
  // Keep the permissions of a file we replace.
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) ::chmod(tmp.c_str(), st.st_mode & 07777);
  if (::rename(tmp.c_str(), target.c_str()) != 0) {
    int err = errno;
    ::unlink(tmp.c_str());
    return err;
  }
  return 0;
}
