#include "editor/recovery_copy.h"

#include <cstring>
#include <filesystem>
#include <limits>
#include <sstream>
#include <system_error>

#include "editor/document.h"
#include "editor/document_bytes.h"
#include "model/md2_load.h"
#include "platform/files.h"

namespace fs = std::filesystem;

namespace {

constexpr char kIndexFirstLine[] = "skintool recovery copy";
constexpr int kFormat = 1;
constexpr char kModelMagic[8] = {'S', 'T', 'R', 'C', 'M', 'D', 'L', '1'};
constexpr char kSkinMagic[8] = {'S', 'T', 'R', 'C', 'S', 'K', 'N', '1'};
// More than any model holds; a count above it is damage, not a model.
constexpr std::uint32_t kMaxSkins = 4096;
// A skin at the largest size with its stored pixels is far below this.
constexpr std::uintmax_t kMaxCopyFileBytes = std::uintmax_t{1} << 30;

std::uint64_t Checksum(const std::vector<std::uint8_t>& bytes) {
  std::uint64_t h = 14695981039346656037ull;  // FNV-1a
  for (std::uint8_t b : bytes) {
    h ^= b;
    h *= 1099511628211ull;
  }
  return h;
}

class Out {
 public:
  template <class T>
  void Put(T value) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(&value);
    bytes.insert(bytes.end(), p, p + sizeof(T));
  }
  void Blob(const void* data, std::size_t n) {
    Put(static_cast<std::uint64_t>(n));
    const auto* p = static_cast<const std::uint8_t*>(data);
    bytes.insert(bytes.end(), p, p + n);
  }
  void Blob(const std::vector<std::uint8_t>& v) { Blob(v.data(), v.size()); }
  std::vector<std::uint8_t> bytes;
};

class In {
 public:
  explicit In(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
  template <class T>
  bool Get(T& value) {
    if (bytes_.size() - pos_ < sizeof(T)) return false;
    std::memcpy(&value, bytes_.data() + pos_, sizeof(T));
    pos_ += sizeof(T);
    return true;
  }
  bool Blob(std::vector<std::uint8_t>& out) {
    std::uint64_t n = 0;
    if (!Get(n) || bytes_.size() - pos_ < n) return false;
    out.assign(bytes_.begin() + static_cast<std::ptrdiff_t>(pos_),
               bytes_.begin() + static_cast<std::ptrdiff_t>(pos_ + n));
    pos_ += static_cast<std::size_t>(n);
    return true;
  }
  bool Magic(const char (&magic)[8]) {
    char read[8];
    for (char& c : read)
      if (!Get(c)) return false;
    return std::memcmp(read, magic, 8) == 0;
  }
  bool AtEnd() const { return pos_ == bytes_.size(); }

 private:
  const std::vector<std::uint8_t>& bytes_;
  std::size_t pos_ = 0;
};

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

// Every index the mesh holds names something that exists, and the lists
// have the sizes every model has.
bool MeshHoldsUp(const Model& m, std::size_t frameCount) {
  const Model fresh;
  if (m.triangles.size() != fresh.triangles.size() || m.mapVertices.size() != fresh.mapVertices.size() ||
      m.storedMapVertices.size() != fresh.storedMapVertices.size() ||
      m.mapVertexSelected.size() != fresh.mapVertexSelected.size())
    return false;
  if (m.numTriangles < 0 || m.numTriangles > kMaxTriangles || m.numVertices < 0 || m.numVertices > kMaxVertices ||
      m.numMapVertices < 0 || m.numMapVertices > kMaxMapVertices || m.storedNumMapVertices < 0 ||
      m.storedNumMapVertices > kMaxMapVertices || m.skinWidth < 0 || m.skinHeight < 0)
    return false;
  if (frameCount == 0 && m.numTriangles > 0) return false;
  for (int i = 0; i < m.numTriangles; ++i) {
    const Triangle& t = m.triangles[static_cast<std::size_t>(i)];
    for (int k = 0; k < 3; ++k)
      if (t.vertexIndex[k] < 0 || t.vertexIndex[k] >= m.numVertices || t.mapIndex[k] < 0 ||
          t.mapIndex[k] >= m.numMapVertices || t.storedMapIndex[k] < 0 || t.storedMapIndex[k] >= kMaxMapVertices)
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
    copy.modified = skin->modified;
    s.skins.push_back(std::move(copy));
  }
  return s;
}

int WriteRecoveryCopy(const std::string& folder, const RecoverySnapshot& snapshot, const std::string& programVersion,
                      std::time_t written, int pid) {
  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) return ec.value();
  // What is kept here is the user's unsaved work: theirs alone to read.
  fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace, ec);

  RecoveryIndex index;
  index.programVersion = programVersion;
  index.written = written;
  index.modelPath = snapshot.modelPath;
  index.pid = pid;
  const std::optional<RecoveryIndex> previous = ReadRecoveryIndex(folder);
  index.generation = previous ? previous->generation + 1 : 1;
  const std::string tag = std::to_string(index.generation);

  auto put = [&](const std::string& name, const std::vector<std::uint8_t>& bytes) {
    index.files.push_back({name, bytes.size(), Checksum(bytes)});
    return WriteFileAtomic(folder + "/" + name, bytes);
  };
  int cause = put("model-" + tag + ".bin", ModelFileBytes(snapshot));
  for (std::size_t i = 0; cause == 0 && i < snapshot.skins.size(); ++i)
    cause = put("skin-" + tag + "-" + std::to_string(i) + ".bin", SkinFileBytes(snapshot.skins[i]));
  if (cause == 0) {
    const std::string text = IndexText(index);
    cause = WriteFileAtomic(folder + "/" + kRecoveryIndexName, std::vector<std::uint8_t>(text.begin(), text.end()));
  }
  // After a failure the earlier index still stands, so only this
  // generation's files go; after success, whatever the new index does not
  // name (the earlier generation, temporary files of a write cut short).
  const RecoveryIndex& standing = cause == 0 ? index : (previous ? *previous : RecoveryIndex{});
  std::vector<fs::path> stale;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    bool keep = name == kRecoveryIndexName;
    for (const auto& f : standing.files) keep = keep || f.name == name;
    if (!keep) stale.push_back(entry.path());
  }
  for (const fs::path& path : stale) fs::remove(path, ec);
  return cause;
}

std::optional<RecoveryIndex> ReadRecoveryIndex(const std::string& folder, std::string* error) {
  int cause = 0;
  auto bytes = ReadFileBytes(folder + "/" + kRecoveryIndexName, &cause, 1 << 20);
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
  while (std::getline(in, line)) {
    if (line == "end") {
      ended = true;
      break;
    }
    std::istringstream fields(line);
    std::string word, extra;
    RecoveryIndex::File f;
    if (!(fields >> word >> f.name >> f.size >> std::hex >> f.checksum) || word != "file" || (fields >> extra) ||
        !PlainFileName(f.name) || f.size > kMaxCopyFileBytes || index.files.size() > kMaxSkins)
      return Nothing<RecoveryIndex>(error, "its index is damaged");
    index.files.push_back(f);
  }
  if (!ended || index.files.empty() || std::getline(in, line))
    return Nothing<RecoveryIndex>(error, "its index is incomplete");
  return index;
}

std::optional<RecoverySnapshot> ReadRecoveryCopy(const std::string& folder, std::string* error) {
  std::optional<RecoveryIndex> index = ReadRecoveryIndex(folder, error);
  if (!index) return std::nullopt;
  std::vector<std::vector<std::uint8_t>> files;
  for (const RecoveryIndex::File& f : index->files) {
    int cause = 0;
    auto bytes = ReadFileBytes(folder + "/" + f.name, &cause, kMaxCopyFileBytes);
    if (!bytes) return Nothing<RecoverySnapshot>(error, f.name + " cannot be read: " + CauseText(cause));
    if (bytes->size() != f.size || Checksum(*bytes) != f.checksum)
      return Nothing<RecoverySnapshot>(error, f.name + " is damaged");
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
  // here can be restored.
  Document scratch;
  if (!RestoreRecoverySnapshot(scratch, s, error)) return std::nullopt;
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
  m.currentSkin = s.currentSkinIndex >= 0 ? m.skins[static_cast<std::size_t>(s.currentSkinIndex)].get() : nullptr;
  m.currentFrameIndex = static_cast<std::int16_t>(s.currentFrameIndex);
  m.currentFrame = frameCount ? m.frames[static_cast<std::size_t>(s.currentFrameIndex)]->vertices.data() : nullptr;
  m.modelLoaded = 1;
  m.ComputeFaceNormals();
  document.md2Image = s.md2Image;
  document.currentFile = s.modelPath;
  document.history.Clear();
  if (s.meshChanged)
    document.MarkMeshUnsaved();
  else
    document.MarkMeshSaved();
  return true;
}

bool RemoveRecoveryCopy(const std::string& folder) {
  std::error_code ec;
  fs::remove_all(folder, ec);
  return !ec;
}
