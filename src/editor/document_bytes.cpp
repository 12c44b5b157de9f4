#include "editor/document_bytes.h"

#include <cstring>
#include <string>

namespace {

class Writer {
 public:
  explicit Writer(std::size_t reserve) { out.reserve(reserve); }
  template <class T>
  void Put(const T& value) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(&value);
    out.insert(out.end(), p, p + sizeof(T));
  }
  void PutBytes(const void* data, std::size_t n) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    out.insert(out.end(), p, p + n);
  }
  void PutString(const std::string& s) {
    Put(static_cast<std::uint32_t>(s.size()));
    PutBytes(s.data(), s.size());
  }
  std::vector<std::uint8_t> out;
};

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> in) : in_(in) {}
  template <class T>
  bool Get(T& value) {
    if (in_.size() - pos_ < sizeof(T)) return false;
    std::memcpy(&value, in_.data() + pos_, sizeof(T));
    pos_ += sizeof(T);
    return true;
  }
  bool GetBytes(void* data, std::size_t n) {
    if (in_.size() - pos_ < n) return false;
    if (n) std::memcpy(data, in_.data() + pos_, n);  // an empty list may have no storage
    pos_ += n;
    return true;
  }
  bool GetString(std::string& s) {
    std::uint32_t n = 0;
    if (!Get(n) || in_.size() - pos_ < n) return false;
    s.assign(reinterpret_cast<const char*>(in_.data() + pos_), n);
    pos_ += n;
    return true;
  }
  bool AtEnd() const { return pos_ == in_.size(); }

 private:
  std::span<const std::uint8_t> in_;
  std::size_t pos_ = 0;
};

// Per triangle: flags, vertex, mapping and stored-mapping indices, corners.
constexpr std::size_t kTriangleBytes = 4 + 3 * 2 * 3 + 3 * 8;

}  // namespace

std::vector<std::uint8_t> MeshBytes(const Model& m) {
  Writer w(32 + m.triangles.size() * kTriangleBytes +
           (m.mapVertices.size() + m.storedMapVertices.size()) * sizeof(MapVertex) + m.mapVertexSelected.size());
  w.Put(static_cast<std::int16_t>(m.VertexCount()));
  // The counts, then the list sizes: equal now, but bytes written when the
  // lists were fixed rooms hold more entries than the counts.
  w.Put(static_cast<std::int16_t>(m.MapVertexCount()));
  w.Put(static_cast<std::int16_t>(m.TriangleCount()));
  w.Put(m.skinWidth);
  w.Put(m.skinHeight);
  w.Put(static_cast<std::int16_t>(m.StoredMapVertexCount()));
  w.Put(static_cast<std::uint32_t>(m.triangles.size()));
  w.Put(static_cast<std::uint32_t>(m.mapVertices.size()));
  w.Put(static_cast<std::uint32_t>(m.storedMapVertices.size()));
  w.Put(static_cast<std::uint32_t>(m.mapVertexSelected.size()));
  for (const Triangle& t : m.triangles) {
    w.Put(t.flags);
    w.PutBytes(t.vertexIndex, sizeof t.vertexIndex);
    w.PutBytes(t.mapIndex, sizeof t.mapIndex);
    w.PutBytes(t.storedMapIndex, sizeof t.storedMapIndex);
    w.PutBytes(t.cornerMap, sizeof t.cornerMap);
  }
  w.PutBytes(m.mapVertices.data(), m.mapVertices.size() * sizeof(MapVertex));
  w.PutBytes(m.storedMapVertices.data(), m.storedMapVertices.size() * sizeof(MapVertex));
  w.PutBytes(m.mapVertexSelected.data(), m.mapVertexSelected.size());
  return std::move(w.out);
}

bool SetMeshBytes(Model& m, std::span<const std::uint8_t> bytes) {
  Reader r(bytes);
  std::int16_t counts[6];
  std::uint32_t sizes[4];
  for (auto& c : counts)
    if (!r.Get(c)) return false;
  for (auto& s : sizes)
    if (!r.Get(s)) return false;
  if (sizes[0] > kMaxTriangles || sizes[1] > kMaxMapVertices || sizes[2] > kMaxMapVertices ||
      sizes[3] > kMaxMapVertices)
    return false;
  const std::size_t expected = 2 * 6 + 4 * 4 + sizes[0] * kTriangleBytes +
                               (std::size_t{sizes[1]} + sizes[2]) * sizeof(MapVertex) + sizes[3];
  if (bytes.size() != expected) return false;

  if (counts[0] < 0 || counts[0] > kMaxVertices || counts[1] < 0 || static_cast<std::uint32_t>(counts[1]) > sizes[1] || counts[2] < 0 ||
      static_cast<std::uint32_t>(counts[2]) > sizes[0] || counts[5] < 0 ||
      static_cast<std::uint32_t>(counts[5]) > sizes[2])
    return false;
  m.SetVertexCount(counts[0]);
  m.skinWidth = counts[3];
  m.skinHeight = counts[4];
  m.triangles.resize(sizes[0]);
  m.mapVertices.resize(sizes[1]);
  m.storedMapVertices.resize(sizes[2]);
  m.mapVertexSelected.resize(sizes[3]);
  for (Triangle& t : m.triangles) {
    r.Get(t.flags);
    r.GetBytes(t.vertexIndex, sizeof t.vertexIndex);
    r.GetBytes(t.mapIndex, sizeof t.mapIndex);
    r.GetBytes(t.storedMapIndex, sizeof t.storedMapIndex);
    r.GetBytes(t.cornerMap, sizeof t.cornerMap);
  }
  r.GetBytes(m.mapVertices.data(), m.mapVertices.size() * sizeof(MapVertex));
  r.GetBytes(m.storedMapVertices.data(), m.storedMapVertices.size() * sizeof(MapVertex));
  r.GetBytes(m.mapVertexSelected.data(), m.mapVertexSelected.size());
  m.SetTriangleCount(counts[2]);
  m.SetMapVertexCount(counts[1]);
  m.SetStoredMapVertexCount(counts[5]);
  return r.AtEnd();
}

std::vector<std::uint8_t> SkinRecordBytes(const Skin& s) {
  Writer w(64 + s.name.size() + s.path.size() + s.palette.size());
  w.PutString(s.name);
  w.PutString(s.path);
  w.Put(s.hasFile);
  w.Put(s.flags);
  w.Put(s.width);
  w.Put(s.height);
  w.Put(s.format);
  w.PutBytes(s.palette.data(), s.palette.size());
  return std::move(w.out);
}

bool SetSkinRecordBytes(Skin& s, std::span<const std::uint8_t> bytes) {
  Reader r(bytes);
  Skin read;
  if (!r.GetString(read.name) || !r.GetString(read.path) || !r.Get(read.hasFile) || !r.Get(read.flags) ||
      !r.Get(read.width) || !r.Get(read.height) || !r.Get(read.format) ||
      !r.GetBytes(read.palette.data(), read.palette.size()) || !r.AtEnd())
    return false;
  s.name = std::move(read.name);
  s.path = std::move(read.path);
  s.hasFile = read.hasFile;
  s.flags = read.flags;
  s.width = read.width;
  s.height = read.height;
  s.format = read.format;
  s.palette = read.palette;
  ComputeRowOffsets(&s);
  return true;
}
