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
  if (cause == kCauseFileTooLarge) return std::to_string(cause) + " (larger than any file of its kind can be)";
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
  // One allocation of the measured size, not a doubling past it.
  bytes.reserve(static_cast<std::size_t>(info.st_size));
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

namespace {

// The file a save really replaces: symbolic links followed, however many, to
// the name at the end of the chain (which need not exist yet: a dangling link
// names the file to create). Relative link texts count from the link's folder.
int FinalTarget(std::string path, std::string* target) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
      if (errno != ENOENT) return errno;
      *target = path;
      return 0;
    }
    if (!S_ISLNK(info.st_mode)) {
      *target = path;
      return 0;
    }
    std::vector<char> text(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1);
    ssize_t n = ::readlink(path.c_str(), text.data(), text.size());
    if (n < 0) return errno;
    if (static_cast<std::size_t>(n) >= text.size()) return ENAMETOOLONG;  // changed under us
    std::string next(text.data(), static_cast<std::size_t>(n));
    if (next.empty()) return ENOENT;
    if (next[0] != '/') {
      std::string dir = FolderPart(path);
      if (!dir.empty()) next = (dir == "/" ? dir : dir + "/") + next;
    }
    path = next;
  }
  return ELOOP;
}

int Discard(int fd, const std::string& tmp, int err) {
  if (fd >= 0) ::close(fd);
  ::unlink(tmp.c_str());
  return err;
}

}  // namespace

int WriteFileAtomic(const std::string& path, std::span<const std::uint8_t> bytes) {
  std::string target;
  if (FileNamePart(ToForwardSlashes(path)).empty()) return EISDIR;
  if (int err = FinalTarget(ToForwardSlashes(path), &target)) return err;
  std::string dir = FolderPart(target);
  std::string base = FileNamePart(target);
  if (base.empty()) return EISDIR;

  // A file that is there keeps its permission bits, and one this user may
  // not write is refused as a plain write would refuse it, before anything
  // is written (the rename alone would only need the folder's permission).
  struct stat old {};
  const bool replacing = ::stat(target.c_str(), &old) == 0;
  if (replacing) {
    // A device or pipe is never swapped for a plain file.
    if (!S_ISREG(old.st_mode)) return S_ISDIR(old.st_mode) ? EISDIR : kCauseNotRegularFile;
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return errno;
  }

  std::random_device rd;
  std::string tmp = (dir.empty() ? std::string() : (dir == "/" ? dir : dir + "/")) + "." + base + ".tmp" +
                    std::to_string(rd() % 1000000u);
  // A new file gets 0666 less the umask, as any program's new file does.
  int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return errno;
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return Discard(fd, tmp, errno);
    }
    done += static_cast<size_t>(n);
  }
  if (replacing && ::fchmod(fd, old.st_mode & 07777) != 0) return Discard(fd, tmp, errno);
  if (::fsync(fd) != 0 && errno != EINVAL) return Discard(fd, tmp, errno);
  if (::close(fd) != 0) return Discard(-1, tmp, errno);
  if (::rename(tmp.c_str(), target.c_str()) != 0) return Discard(-1, tmp, errno);
  return 0;
}

std::string SaveErrorText(const std::string& path, int cause) {
  return "Error Saving: " + CauseText(cause) + "\n" + path;
}

std::string LoadErrorText(const std::string& path, int cause) {
  return "Error Loading: " + CauseText(cause) + "\n" + path;
}
