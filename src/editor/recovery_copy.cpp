#include "editor/recovery_copy.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <limits>
#include <sstream>
#include <system_error>
#include <utility>

#include "editor/byte_io.h"
#include "editor/document.h"
#include "editor/document_bytes.h"
#include "editor/recovery_journal.h"
#include "editor/skin_fingerprint.h"
#include "model/md2_file.h"
#include "model/md2_load.h"
#include "platform/files.h"
#include "platform/unique_fd.h"

namespace fs = std::filesystem;

namespace {

constexpr char kIndexFirstLine[] = "skintool recovery copy";
constexpr int kFormat = 1;
constexpr char kModelMagic[8] = {'S', 'T', 'R', 'C', 'M', 'D', 'L', '1'};
constexpr char kSkinMagic[8] = {'S', 'T', 'R', 'C', 'S', 'K', 'N', '1'};
// More than any model holds; a count above it is damage, not a model.
constexpr std::uint32_t kMaxSkins = 4096;
// The most a restore reads, checked against the index before any file is:
// the largest MD2 the reader takes (17,082,440 bytes), 1 MiB for the mesh
// record and the model's path, and the 32 skins an MD2 names at the largest
// side (2048 x 2048 pixels and as many stored ones, plus 64 KiB for the
// record with its palette and names): 17,082,440 + 1,048,576 + 32 x
// (8,388,608 + 65,536) = 288,663,624 bytes. Far more than any real copy, and
// an amount the program can hold.
constexpr std::uintmax_t kMaxCopyBytes =
    kMaxMd2FileBytes + (std::uintmax_t{1} << 20) +
    std::uintmax_t{kMaxMd2Skins} *
        (2 * std::uintmax_t{kMaxMd2SkinSide} * kMaxMd2SkinSide + (std::uintmax_t{64} << 10));
static_assert(kMaxCopyBytes == 288663624);

// Only what this user made, and only with the modes the program gives, is
// worked in: anything else in the state folder may have been planted by
// someone else, and is neither read, written through nor removed through.
int TrustedCause(int fd, mode_t type, mode_t mode) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return errno;
  if ((info.st_mode & S_IFMT) != type) return kCauseNotRegularFile;
  if (info.st_uid != ::geteuid()) return kCauseUntrustedLink;
  if ((info.st_mode & 07777) != mode) return EPERM;
  return 0;
}

// Opens `name` below `parent` as a folder without following a link;
// -1 and the cause when it is not a folder of this user's with mode 0700.
int OpenOwnFolderAt(int parent, const char* name, int& cause) {
  Fd fd(::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  if (fd.get() < 0) {
    // A link gives ELOOP, or ENOTDIR for O_DIRECTORY on some systems.
    cause = errno == ELOOP || errno == ENOTDIR ? kCauseUntrustedLink : errno;
    return -1;
  }
  if ((cause = TrustedCause(fd.get(), S_IFDIR, 0700)) != 0) return -1;
  return fd.release();
}

// The copy folder `folder`, made (0700) when `create` asks and it is missing.
int OpenCopyFolder(const std::string& folder, bool create, int& cause) {
  const fs::path path(folder);
  const fs::path parent = path.has_parent_path() ? path.parent_path() : fs::path(".");
  const std::string name = path.filename().string();
  if (name.empty() || name == "." || name == "..") {
    cause = EINVAL;
    return -1;
  }
  std::error_code ec;
  if (create) {
    fs::create_directories(parent, ec);
    if (ec) {
      cause = ec.value();
      return -1;
    }
  }
  Fd parentFd(::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (parentFd.get() < 0) {
    cause = errno;
    return -1;
  }
  if (create && ::mkdirat(parentFd.get(), name.c_str(), 0700) != 0 && errno != EEXIST) {
    cause = errno;
    return -1;
  }
  return OpenOwnFolderAt(parentFd.get(), name.c_str(), cause);
}

// A file of the copy, of exactly `size` bytes (of at most `size` when not
// `exact`); a size that does not fit is refused before anything is read.
std::optional<std::vector<std::uint8_t>> ReadAt(int folder, const std::string& name, std::uintmax_t size, bool exact,
                                                int& cause) {
  Fd fd(::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (fd.get() < 0) {
    cause = errno == ELOOP ? kCauseUntrustedLink : errno;
    return std::nullopt;
  }
  if ((cause = TrustedCause(fd.get(), S_IFREG, 0600)) != 0) return std::nullopt;
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) {
    cause = errno;
    return std::nullopt;
  }
  const auto actual = static_cast<std::uintmax_t>(info.st_size);
  if (exact ? actual != size : actual > size) {
    cause = kCauseFileTooLarge;
    return std::nullopt;
  }
  size = actual;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  std::size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t n = ::read(fd.get(), bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      cause = n < 0 ? errno : 0;
      return std::nullopt;
    }
    got += static_cast<std::size_t>(n);
  }
  return bytes;
}

// Written as a new 0600 file under a temporary name no index can hold, then
// renamed over the old one, which never follows a link.
int WriteAt(int folder, const std::string& name, const std::vector<std::uint8_t>& bytes) {
  const std::string temp = ".new-" + name;
  ::unlinkat(folder, temp.c_str(), 0);
  int cause = 0;
  {
    Fd fd(::openat(folder, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (fd.get() < 0) return errno;
    if (::fchmod(fd.get(), 0600) != 0) cause = errno;  // whatever the umask took away
    std::size_t put = 0;
    while (cause == 0 && put < bytes.size()) {
      const ssize_t n = ::write(fd.get(), bytes.data() + put, bytes.size() - put);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) cause = n < 0 ? errno : EIO;
      else put += static_cast<std::size_t>(n);
    }
    if (cause == 0 && ::fsync(fd.get()) != 0) cause = errno;
    if (cause == 0 && ::close(fd.release()) != 0) cause = errno;
  }
  if (cause == 0 && ::renameat(folder, temp.c_str(), folder, name.c_str()) != 0) cause = errno;
  if (cause != 0) ::unlinkat(folder, temp.c_str(), 0);
  return cause;
}

// The names directly in a folder, "." and ".." left out.
std::vector<std::string> NamesIn(int folder) {
  std::vector<std::string> names;
  const int copy = ::dup(folder);
  if (copy < 0) return names;
  DIR* dir = ::fdopendir(copy);
  if (!dir) {
    ::close(copy);
    return names;
  }
  ::rewinddir(dir);
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  ::closedir(dir);
  return names;
}

std::uint64_t Checksum(const std::vector<std::uint8_t>& bytes) { return Fnv1a(bytes); }

using Out = ByteWriter;
using In = ByteReader;

std::vector<std::uint8_t> ModelFileBytes(const RecoverySnapshot& s) {
  Out out;
  for (char c : kModelMagic) out.Put(c);
  out.Put(static_cast<std::uint32_t>(s.meshChanged ? 1 : 0));
  out.Put(static_cast<std::int32_t>(s.currentSkinIndex));
  out.Put(static_cast<std::int32_t>(s.currentFrameIndex));
  out.Put(static_cast<std::uint32_t>(s.skins.size()));
  out.Blob(s.modelPath.data(), s.modelPath.size());
  out.Blob(s.md2Image);
  out.Blob(s.mesh);
  return std::move(out.bytes);
}

std::vector<std::uint8_t> SkinFileBytes(const RecoverySkin& s) {
  Out out;
  for (char c : kSkinMagic) out.Put(c);
  out.Put(static_cast<std::uint32_t>(s.modified ? 1 : 0));
  out.Blob(s.record);
  out.Blob(s.pixels);
  out.Blob(s.storedPixels);
  return std::move(out.bytes);
}

bool ParseModelFile(const std::vector<std::uint8_t>& bytes, RecoverySnapshot& s, std::uint32_t& skinCount) {
  In in(bytes);
  std::uint32_t meshChanged = 0;
  std::int32_t currentSkin = 0, currentFrame = 0;
  std::vector<std::uint8_t> path;
  if (!in.Magic(kModelMagic) || !in.Get(meshChanged) || !in.Get(currentSkin) || !in.Get(currentFrame) ||
      !in.Get(skinCount) || !in.Blob(path) || !in.Blob(s.md2Image) || !in.Blob(s.mesh) || !in.AtEnd() ||
      meshChanged > 1)
    return false;
  s.meshChanged = meshChanged == 1;
  s.currentSkinIndex = currentSkin;
  s.currentFrameIndex = currentFrame;
  s.modelPath.assign(path.begin(), path.end());
  return true;
}

bool ParseSkinFile(const std::vector<std::uint8_t>& bytes, RecoverySkin& s) {
  In in(bytes);
  std::uint32_t modified = 0;
  if (!in.Magic(kSkinMagic) || !in.Get(modified) || !in.Blob(s.record) || !in.Blob(s.pixels) ||
      !in.Blob(s.storedPixels) || !in.AtEnd() || modified > 1)
    return false;
  s.modified = modified == 1;
  return true;
}

// Names the program itself gives the files of a copy; anything else in an
// index (a path, "..") is refused before it reaches the file system.
bool PlainFileName(const std::string& name) {
  if (name.empty() || name.size() > 64 || name[0] == '.') return false;
  for (char c : name)
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
          c == '.'))
      return false;
  return true;
}

std::string OneLine(std::string text) {
  for (char& c : text)
    if (c == '\n' || c == '\r') c = '?';
  return text;
}

std::string IndexText(const RecoveryIndex& index) {
  std::ostringstream out;
  out << kIndexFirstLine << '\n'
      << "format " << kFormat << '\n'
      << "program " << OneLine(index.programVersion) << '\n'
      << "written " << static_cast<long long>(index.written) << '\n'
      << "model " << OneLine(index.modelPath) << '\n'
      << "pid " << index.pid << '\n'
      << "generation " << index.generation << '\n';
  if (index.journalAfter) out << "journal " << *index.journalAfter << '\n';
  for (const RecoveryIndex::File& f : index.files)
    out << "file " << f.name << ' ' << f.size << ' ' << std::hex << f.checksum << std::dec << '\n';
  out << "end\n";
  return out.str();
}

bool Fail(std::string* error, const std::string& why) {
  if (error) *error = why;
  return false;
}

template <class T>
std::optional<T> Nothing(std::string* error, const std::string& why) {
  Fail(error, why);
  return std::nullopt;
}

// Every index the mesh holds names something that exists, and no list is
// longer than a model may hold.
bool MeshHoldsUp(const Model& m, std::size_t frameCount) {
  if (m.mapVertexSelected.size() != m.mapVertices.size()) return false;
  if (m.TriangleCount() > kMaxTriangles || m.VertexCount() > kMaxVertices ||
      m.MapVertexCount() > kMaxMapVertices || m.StoredMapVertexCount() > kMaxMapVertices || m.skinWidth < 0 ||
      m.skinHeight < 0)
    return false;
  if (frameCount == 0 && m.TriangleCount() > 0) return false;
  for (int i = 0; i < m.TriangleCount(); ++i) {
    const Triangle& t = m.triangles[static_cast<std::size_t>(i)];
    for (int k = 0; k < 3; ++k)
      if (t.vertexIndex[k] < 0 || t.vertexIndex[k] >= m.VertexCount() || t.mapIndex[k] < 0 ||
          t.mapIndex[k] >= m.MapVertexCount() || t.storedMapIndex[k] < 0 || t.storedMapIndex[k] >= kMaxMapVertices)
        return false;
  }
  return true;
}

std::unique_ptr<Skin> SkinFrom(const RecoverySkin& s) {
  auto skin = std::make_unique<Skin>();
  if (!SetSkinRecordBytes(*skin, s.record)) return nullptr;
  if (skin->width <= 0 || skin->height <= 0 || skin->height > kMaxImageRows) return nullptr;
  const std::size_t area = static_cast<std::size_t>(skin->width) * static_cast<std::size_t>(skin->height);
  if (s.pixels.size() != area || (!s.storedPixels.empty() && s.storedPixels.size() != area)) return nullptr;
  skin->pixels = s.pixels;
  skin->storedPixels = s.storedPixels;
  skin->modified = s.modified;
  return skin;
}

}  // namespace

int OpenRecoveryFolder(const std::string& folder, int& cause) { return OpenCopyFolder(folder, false, cause); }
int RecoveryFileCause(int fd) { return TrustedCause(fd, S_IFREG, 0600); }
bool RecoveryMeshHoldsUp(const Model& mesh, std::size_t frameCount) { return MeshHoldsUp(mesh, frameCount); }

bool HasUnsavedWork(const Document& document) {
  return document.model.modelLoaded && (document.MeshChanged() || !document.ChangedSkins().empty());
}

RecoverySnapshot TakeRecoverySnapshot(const Document& document) {
  const Model& m = document.model;
  RecoverySnapshot s;
  s.modelPath = document.currentFile;
  s.md2Image = document.md2Image;
  s.mesh = MeshBytes(m);
  s.meshChanged = document.MeshChanged();
  s.currentSkinIndex = m.currentSkinIndex;
  s.currentFrameIndex = m.currentFrameIndex;
  s.skins.reserve(m.skins.size());
  for (const auto& skin : m.skins) {
    RecoverySkin copy;
    copy.record = SkinRecordBytes(*skin);
    copy.pixels = skin->pixels;
    copy.storedPixels = skin->storedPixels;
    copy.modified = SkinChanged(*skin);
    s.skins.push_back(std::move(copy));
  }
  return s;
}

int WriteRecoveryCopy(const std::string& folder, const RecoverySnapshot& snapshot, const std::string& programVersion,
                      std::time_t written, int pid) {
  int cause = 0;
  const Fd dir(OpenCopyFolder(folder, true, cause));
  if (dir.get() < 0) return cause;

  RecoveryIndex index;
  index.programVersion = programVersion;
  index.written = written;
  index.modelPath = snapshot.modelPath;
  index.pid = pid;
  index.journalAfter = snapshot.journalAfter;
  const std::optional<RecoveryIndex> previous = ReadRecoveryIndex(folder);
  index.generation = previous ? previous->generation + 1 : 1;
  const std::string tag = std::to_string(index.generation);

  auto put = [&](const std::string& name, const std::vector<std::uint8_t>& bytes) {
    index.files.push_back({name, bytes.size(), Checksum(bytes)});
    return WriteAt(dir.get(), name, bytes);
  };
  cause = put("model-" + tag + ".bin", ModelFileBytes(snapshot));
  for (std::size_t i = 0; cause == 0 && i < snapshot.skins.size(); ++i)
    cause = put("skin-" + tag + "-" + std::to_string(i) + ".bin", SkinFileBytes(snapshot.skins[i]));
  if (cause == 0) {
    const std::string text = IndexText(index);
    cause = WriteAt(dir.get(), kRecoveryIndexName, std::vector<std::uint8_t>(text.begin(), text.end()));
  }
  // After a failure the earlier index still stands, so only this
  // generation's files go; after success, whatever the new index does not
  // name (the earlier generation, temporary files of a write cut short).
  const RecoveryIndex& standing = cause == 0 ? index : (previous ? *previous : RecoveryIndex{});
  for (const std::string& name : NamesIn(dir.get())) {
    bool keep = name == kRecoveryIndexName || name == kRecoveryLockName || IsJournalFile(name);
    for (const auto& f : standing.files) keep = keep || f.name == name;
    if (!keep) ::unlinkat(dir.get(), name.c_str(), 0);
  }
  return cause;
}

std::optional<RecoveryIndex> ReadRecoveryIndex(const std::string& folder, std::string* error) {
  int cause = 0;
  const Fd dir(OpenCopyFolder(folder, false, cause));
  if (dir.get() < 0) return Nothing<RecoveryIndex>(error, "its folder cannot be used: " + CauseText(cause));
  auto bytes = ReadAt(dir.get(), kRecoveryIndexName, 1 << 20, false, cause);
  if (!bytes) return Nothing<RecoveryIndex>(error, "its index cannot be read: " + CauseText(cause));
  std::istringstream in(std::string(bytes->begin(), bytes->end()));
  std::string line;
  auto value = [&](const char* key, std::string& out) {
    if (!std::getline(in, line)) return false;
    const std::string prefix = std::string(key) + " ";
    if (line.compare(0, prefix.size(), prefix) != 0) return false;
    out = line.substr(prefix.size());
    return true;
  };
  auto number = [&](const char* key, long long lo, long long hi, long long& out) {
    std::string text;
    if (!value(key, text) || text.empty() || text.size() > 19) return false;
    std::size_t used = 0;
    try {
      out = std::stoll(text, &used);
    } catch (...) {
      return false;
    }
    return used == text.size() && out >= lo && out <= hi;
  };
  RecoveryIndex index;
  long long format = 0, written = 0, pid = 0, generation = 0;
  std::string fileLine;
  if (!std::getline(in, line) || line != kIndexFirstLine || !number("format", 0, 1 << 20, format))
    return Nothing<RecoveryIndex>(error, "its index is not a recovery index");
  if (format != kFormat) return Nothing<RecoveryIndex>(error, "it was written in another format");
  if (!value("program", index.programVersion) ||
      !number("written", 0, std::numeric_limits<std::int32_t>::max() * 4LL, written) ||
      !value("model", index.modelPath) || !number("pid", 1, std::numeric_limits<std::int32_t>::max(), pid) ||
      !number("generation", 1, std::numeric_limits<std::int32_t>::max(), generation))
    return Nothing<RecoveryIndex>(error, "its index is damaged");
  index.written = static_cast<std::time_t>(written);
  index.pid = static_cast<int>(pid);
  index.generation = static_cast<int>(generation);
  bool ended = false;
  std::uintmax_t total = 0;
  while (std::getline(in, line)) {
    if (line == "end") {
      ended = true;
      break;
    }
    if (line.compare(0, 8, "journal ") == 0 && index.files.empty() && !index.journalAfter) {
      const std::string text = line.substr(8);
      std::uint64_t after = 0;
      if (text.empty() || text.size() > 19 || text.find_first_not_of("0123456789") != std::string::npos)
        return Nothing<RecoveryIndex>(error, "its index is damaged");
      for (char c : text) after = after * 10 + static_cast<std::uint64_t>(c - '0');
      index.journalAfter = after;
      continue;
    }
    std::istringstream fields(line);
    std::string word, extra;
    RecoveryIndex::File f;
    if (!(fields >> word >> f.name >> f.size >> std::hex >> f.checksum) || word != "file" || (fields >> extra) ||
        !PlainFileName(f.name) || f.size > kMaxCopyBytes || index.files.size() > kMaxSkins)
      return Nothing<RecoveryIndex>(error, "its index is damaged");
    total += f.size;
    if (total > kMaxCopyBytes) return Nothing<RecoveryIndex>(error, "its index declares more than a copy can hold");
    index.files.push_back(f);
  }
  if (!ended || index.files.empty() || std::getline(in, line))
    return Nothing<RecoveryIndex>(error, "its index is incomplete");
  return index;
}

std::optional<RecoverySnapshot> ReadRecoveryCopy(const std::string& folder, std::string* error) {
  std::optional<RecoveryIndex> index = ReadRecoveryIndex(folder, error);
  if (!index) return std::nullopt;
  int cause = 0;
  const Fd dir(OpenCopyFolder(folder, false, cause));
  if (dir.get() < 0) return Nothing<RecoverySnapshot>(error, "its folder cannot be used: " + CauseText(cause));
  std::vector<std::vector<std::uint8_t>> files;
  for (const RecoveryIndex::File& f : index->files) {
    auto bytes = ReadAt(dir.get(), f.name, f.size, true, cause);
    if (!bytes && cause == kCauseFileTooLarge) return Nothing<RecoverySnapshot>(error, f.name + " is damaged");
    if (!bytes) return Nothing<RecoverySnapshot>(error, f.name + " cannot be read: " + CauseText(cause));
    if (Checksum(*bytes) != f.checksum) return Nothing<RecoverySnapshot>(error, f.name + " is damaged");
    files.push_back(std::move(*bytes));
  }
  RecoverySnapshot s;
  std::uint32_t skinCount = 0;
  if (!ParseModelFile(files[0], s, skinCount))
    return Nothing<RecoverySnapshot>(error, index->files[0].name + " is damaged");
  if (skinCount != files.size() - 1) return Nothing<RecoverySnapshot>(error, "its skins are incomplete");
  for (std::size_t i = 1; i < files.size(); ++i) {
    RecoverySkin skin;
    if (!ParseSkinFile(files[i], skin)) return Nothing<RecoverySnapshot>(error, index->files[i].name + " is damaged");
    s.skins.push_back(std::move(skin));
  }
  // The contents are checked the way restoring checks them, so a copy read
  // here can be restored; the journal is played by the restore itself.
  Document scratch;
  if (!RestoreRecoverySnapshot(scratch, s, error)) return std::nullopt;
  if (index->journalAfter) {
    // A journal that cannot be read leaves the copy as it is: it only ever
    // adds to it.
    s.journalAfter = *index->journalAfter;
    if (auto journal = ReadAt(dir.get(), kRecoveryJournalName, kMaxJournalBytes, false, cause))
      s.journal = std::move(*journal);
  }
  return s;
}

bool RestoreRecoverySnapshot(Document& document, const RecoverySnapshot& s, std::string* error) {
  std::string why;
  std::optional<Md2Data> data = ParseMd2(s.md2Image, &why);
  if (!data) return Fail(error, "its model is damaged: " + why);
  const std::size_t frameCount = data->frames.size();
  if (s.currentFrameIndex < 0 || (frameCount > 0 && static_cast<std::size_t>(s.currentFrameIndex) >= frameCount) ||
      (frameCount == 0 && s.currentFrameIndex != 0))
    return Fail(error, "its current frame does not exist");
  Model mesh;
  if (!SetMeshBytes(mesh, s.mesh) || !MeshHoldsUp(mesh, frameCount)) return Fail(error, "its mesh is damaged");
  if (s.skins.size() > kMaxSkins || s.currentSkinIndex < -1 || s.currentSkinIndex >= static_cast<int>(s.skins.size()))
    return Fail(error, "its current skin does not exist");
  std::vector<std::unique_ptr<Skin>> skins;
  for (const RecoverySkin& copy : s.skins) {
    skins.push_back(SkinFrom(copy));
    if (!skins.back()) return Fail(error, "a skin in it is damaged");
  }

  // Everything holds: from here nothing fails.
  Model& m = document.model;
  CommitMd2(m, *data);
  SetMeshBytes(m, s.mesh);
  m.skins = std::move(skins);
  m.currentSkinIndex = static_cast<std::int16_t>(s.currentSkinIndex);
  m.currentFrameIndex = static_cast<std::int16_t>(s.currentFrameIndex);
  m.modelLoaded = 1;
  m.ComputeFaceNormals();
  document.md2Image = s.md2Image;
  document.currentFile = s.modelPath;
  document.history.Clear();
  if (s.meshChanged)
    document.MarkMeshUnsaved();
  else
    document.MarkMeshSaved();
  if (!s.journal.empty()) PlayJournal(document, ParseJournal(s.journal), s.journalAfter);
  return true;
}

bool RemoveRecoveryCopy(const std::string& folder) {
  const fs::path path(folder);
  const fs::path parent = path.has_parent_path() ? path.parent_path() : fs::path(".");
  const std::string name = path.filename().string();
  const Fd parentFd(::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (parentFd.get() < 0) return errno == ENOENT;
  int cause = 0;
  const Fd dir(OpenOwnFolderAt(parentFd.get(), name.c_str(), cause));
  if (dir.get() < 0) return cause == ENOENT;
  // The program puts no folders in a copy, so nothing here recurses.
  for (const std::string& entry : NamesIn(dir.get())) ::unlinkat(dir.get(), entry.c_str(), 0);
  return ::unlinkat(parentFd.get(), name.c_str(), AT_REMOVEDIR) == 0;
}

int LockRecoveryCopy(const std::string& folder, int* cause) {
  int why = 0;
  const Fd dir(OpenCopyFolder(folder, true, why));
  Fd lock(dir.get() < 0 ? -1
                        : ::openat(dir.get(), kRecoveryLockName, O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (dir.get() >= 0 && lock.get() < 0) why = errno == ELOOP ? kCauseUntrustedLink : errno;
  if (lock.get() >= 0 && ::fchmod(lock.get(), 0600) != 0) why = errno;
  if (why == 0 && (why = TrustedCause(lock.get(), S_IFREG, 0600)) == 0 &&
      ::flock(lock.get(), LOCK_EX | LOCK_NB) != 0)
    why = errno;
  if (cause) *cause = why;
  return why == 0 ? lock.release() : -1;
}

std::optional<bool> RecoveryCopyInUse(const std::string& folder) {
  int cause = 0;
  const Fd dir(OpenCopyFolder(folder, false, cause));
  if (dir.get() < 0) return std::nullopt;
  const Fd lock(::openat(dir.get(), kRecoveryLockName, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (lock.get() < 0 || TrustedCause(lock.get(), S_IFREG, 0600) != 0) return std::nullopt;
  if (::flock(lock.get(), LOCK_SH | LOCK_NB) != 0) return errno == EWOULDBLOCK;
  ::flock(lock.get(), LOCK_UN);
  return false;
}
