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
#include <utility>

#include "platform/unique_fd.h"

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
  fs::directory_iterator it(folder.empty() ? fs::path(".") : fs::path(folder), ec);
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
  return ::access(folder.c_str(), R_OK | X_OK) == 0;
}

bool FolderExists(const std::string& folder) {
  std::error_code ec;
  return !folder.empty() && fs::is_directory(folder, ec);
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_regular_file(path, ec);
}

namespace {

// A path cut at its separators. '/' always separates; a '\' may separate
// (model files, Windows habits) or belong to a name (a host folder such as
// "a\b"), so the walk below tries both.
struct PathParts {
  bool absolute = false;
  std::vector<std::string> names;
  std::string joins;  // joins[k]: the separator between names[k] and names[k + 1]
};

PathParts SplitPath(const std::string& path) {
  PathParts parts;
  parts.absolute = !path.empty() && IsSeparator(path.front());
  std::string name;
  char before = '/';
  auto endName = [&](char separator) {
    if (!name.empty() && name != ".") {
      if (!parts.names.empty()) parts.joins += before;
      parts.names.push_back(name);
      before = separator;
    } else {
      before = '/';  // no name spans an empty or "." one
    }
    name.clear();
  };
  for (char c : path) {
    if (IsSeparator(c))
      endName(c);
    else
      name += c;
  }
  endName('/');
  return parts;
}

// The entry `name` in `folder`: as written, else (when `anyCase`) the first
// one equal to it without case.
std::optional<fs::path> FindEntry(const fs::path& folder, const std::string& name, bool anyCase) {
  std::error_code ec;
  fs::path direct = folder / name;
  if (name == ".." || fs::exists(direct, ec)) return direct;
  if (!anyCase) return std::nullopt;
  fs::directory_iterator it(folder, ec);
  if (ec) return std::nullopt;
  for (const auto& entry : it)
    if (EqualsNoCase(entry.path().filename().string(), name)) return entry.path();
  return std::nullopt;
}

// Matches names[i..] below `current`, each '\' first as a separator and
// then as part of a name. With `newName` the last name need not exist (a
// file about to be made), but every folder before it must, as written.
bool WalkPath(const fs::path& current, const PathParts& parts, std::size_t i, bool newName, fs::path* out) {
  if (i == parts.names.size()) {
    *out = current;
    return true;
  }
  std::string name;
  for (std::size_t j = i; j < parts.names.size(); ++j) {
    if (j > i) {
      if (parts.joins[j - 1] == '/') break;
      name += '\\';
    }
    name += parts.names[j];
    if (auto entry = FindEntry(current, name, !newName)) {
      if (WalkPath(*entry, parts, j + 1, newName, out)) return true;
    } else if (newName && j == i && j + 1 == parts.names.size()) {
      *out = current / name;
      return true;
    }
  }
  return false;
}

}  // namespace

std::string ResolvePath(const std::string& path) {
  std::error_code ec;
  if (path.empty() || fs::exists(path, ec)) return path;
  std::string written = ToForwardSlashes(path);
  if (fs::exists(written, ec)) return written;

  const PathParts parts = SplitPath(path);
  const fs::path start = parts.absolute ? fs::path("/") : fs::path(".");
  fs::path found;
  if (!WalkPath(start, parts, 0, false, &found) && !WalkPath(start, parts, 0, true, &found)) return written;
  std::string out = found.lexically_normal().string();
  if (!parts.absolute && out.rfind("./", 0) == 0) out = out.substr(2);
  return out;
}

std::string PathIn(const std::string& folder, const std::string& path) {
  // A relative name is one read from a model file or the settings, where '\'
  // separates; an absolute one, and the folder, are the host's own paths.
  std::string written = path.empty() || path.front() == '/' ? path : ToForwardSlashes(path);
  if (written.empty() || folder.empty() || written.front() == '/') return written;
  return folder.back() == '/' ? folder + written : folder + "/" + written;
}

std::string ResolvePathIn(const std::string& folder, const std::string& path) {
  return path.empty() ? std::string() : ResolvePath(PathIn(folder, path));
}

std::string AbsolutePath(const std::string& path) {
  std::error_code ec;
  fs::path p = fs::absolute(fs::path(path), ec);
  if (ec) return path;
  return p.lexically_normal().string();
}

std::string CauseText(int cause) {
  if (cause == kCauseNotRegularFile) return std::to_string(cause) + " (not a regular file)";
  if (cause == kCauseFileTooLarge) return std::to_string(cause) + " (larger than any file of its kind can be)";
  if (cause == kCauseTooLargeForFormat) return std::to_string(cause) + " (too large for this file format)";
  if (cause == kCauseUntrustedLink)
    return std::to_string(cause) + " (a link another user left in a shared folder; not followed)";
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

// The file a save really replaces, as its folder (held open, so nothing can
// move it between the checks and the rename) and its name there. Symbolic
// links are followed, however many, to the name at the end of the chain
// (which need not exist yet: a dangling link names the file to create), but
// never a link that another user left in a shared sticky folder such as
// /tmp: whoever planted it could point a save at any file the saver may
// write. That is the kernel's rule for protected links; the writer applies it
// itself because the setting may be off. Relative link texts count from the
// link's folder.
struct SaveTarget {
  Fd folder;
  std::string name;
  bool exists = false;
  struct stat info {};
};

int FindSaveTarget(std::string path, SaveTarget* target) {
  for (int hops = 0; hops < 40; ++hops) {
    const size_t slash = path.find_last_of('/');
    const std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty()) return EISDIR;
    Fd folder(::open(dir.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() < 0) return errno;
    struct stat info {};
    if (::fstatat(folder.get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
      if (errno != ENOENT) return errno;
      target->folder = std::move(folder);
      target->name = std::move(name);
      target->exists = false;
      return 0;
    }
    if (!S_ISLNK(info.st_mode)) {
      target->folder = std::move(folder);
      target->name = std::move(name);
      target->exists = true;
      target->info = info;
      return 0;
    }
    struct stat where {};
    if (::fstat(folder.get(), &where) != 0) return errno;
    const bool shared = (where.st_mode & S_ISVTX) && (where.st_mode & S_IWOTH);
    if (shared && info.st_uid != ::geteuid() && info.st_uid != where.st_uid) return kCauseUntrustedLink;
    std::vector<char> text(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1);
    ssize_t n = ::readlinkat(folder.get(), name.c_str(), text.data(), text.size());
    if (n < 0) return errno;
    if (static_cast<std::size_t>(n) >= text.size()) return ENAMETOOLONG;  // changed under us
    std::string next(text.data(), static_cast<std::size_t>(n));
    if (next.empty()) return ENOENT;
    path = next[0] == '/' ? next : (dir == "/" ? dir : dir + "/") + next;
  }
  return ELOOP;
}

// A name of its own beside the target, short so that any name the file
// system takes can still be saved.
std::string TemporaryName(std::random_device& rd) {
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string name = ".st";
  for (int i = 0; i < 6; ++i) name += kLetters[rd() % (sizeof kLetters - 1)];
  return name;
}

int WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    done += static_cast<size_t>(n);
  }
  return 0;
}

// The replaced file's owner, group and permission bits, as far as this user
// may give them: an owner this user may not give (EPERM) stays the saver,
// and then the set-id bits go, for they would run as the saver.
int KeepOwnerAndMode(int fd, const struct stat& old) {
  if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
    if (errno != EPERM) return errno;
    if (::fchown(fd, static_cast<uid_t>(-1), old.st_gid) != 0 && errno != EPERM) return errno;
  }
  struct stat now {};
  if (::fstat(fd, &now) != 0) return errno;
  mode_t mode = old.st_mode & 07777;
  if (now.st_uid != old.st_uid) mode &= ~static_cast<mode_t>(S_ISUID | S_ISGID);
  if (now.st_gid != old.st_gid) mode &= ~static_cast<mode_t>(S_ISGID);
  return ::fchmod(fd, mode) != 0 ? errno : 0;
}

}  // namespace

int WriteFileAtomic(const std::string& path, std::span<const std::uint8_t> bytes) {
  SaveTarget target;
  if (int err = FindSaveTarget(path, &target)) return err;
  const int dir = target.folder.get();

  // A file that is there keeps its owner and permission bits, and one this
  // user may not write is refused as a plain write would refuse it, before
  // anything is written (the rename alone would only need the folder's
  // permission).
  if (target.exists) {
    // A device or pipe is never swapped for a plain file.
    if (!S_ISREG(target.info.st_mode)) return S_ISDIR(target.info.st_mode) ? EISDIR : kCauseNotRegularFile;
    if (::faccessat(dir, target.name.c_str(), W_OK, AT_EACCESS) != 0) return errno;
  }

  std::random_device rd;
  std::string tmp;
  Fd fd;
  for (int attempt = 0; fd.get() < 0; ++attempt) {
    tmp = TemporaryName(rd);
    // A new file gets 0666 less the umask, as any program's new file does.
    const int opened = ::openat(dir, tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (opened < 0 && (errno != EEXIST || attempt == 99)) return errno;
    fd = Fd(opened);
  }
  int err = WriteAll(fd.get(), bytes);
  if (!err && target.exists) err = KeepOwnerAndMode(fd.get(), target.info);
  if (!err && ::fsync(fd.get()) != 0 && errno != EINVAL) err = errno;
  if (!err && ::close(fd.release()) != 0) err = errno;
  if (!err && ::renameat(dir, tmp.c_str(), dir, target.name.c_str()) != 0) err = errno;
  if (err) {
    fd = Fd();
    ::unlinkat(dir, tmp.c_str(), 0);
  }
  return err;
}

std::string SaveErrorText(const std::string& path, int cause) {
  return "Error Saving: " + CauseText(cause) + "\n" + path;
}

std::string LoadErrorText(const std::string& path, int cause) {
  return "Error Loading: " + CauseText(cause) + "\n" + path;
}
