#include "model/mapping_file.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <utility>

#include "platform/files.h"

namespace {

constexpr std::size_t kHeaderBytes = 12;
constexpr std::size_t kRecordBytes = 24;

void Put16(std::vector<std::uint8_t>& out, int value) {
  const auto v = static_cast<std::uint16_t>(static_cast<std::int16_t>(value));
  out.push_back(static_cast<std::uint8_t>(v & 0xff));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

std::int16_t Get16(const std::uint8_t* p) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}

// A corner truncated toward zero; values a 16-bit field cannot hold are
// clamped and NaN is written as 0, never converted undefined.
int Whole(float value) {
  if (!(value == value)) return 0;
  return static_cast<int>(std::clamp(value, -32768.0f, 32767.0f));
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadVmapFile(const std::string& path, int* cause) {
  return ReadFileBytes(path, cause, kMaxVmapFileBytes);
}

std::vector<std::uint8_t> EncodeVmap(const Model& m) {
  const int count = m.TriangleCount();
  std::vector<std::uint8_t> out;
  out.reserve(kHeaderBytes + kRecordBytes * static_cast<std::size_t>(count));
  out.insert(out.end(), {'V', 'M', 'A', 'P'});
  Put16(out, count);
  Put16(out, m.MapVertexCount());
  Put16(out, m.skinWidth);
  Put16(out, m.skinHeight);
  for (int i = 0; i < count; ++i) {
    const Triangle& t = m.triangles[static_cast<std::size_t>(i)];
    for (int k = 0; k < 3; ++k) {
      Put16(out, Whole(t.cornerMap[k].s));
      Put16(out, Whole(t.cornerMap[k].t));
    }
    for (int k = 0; k < 3; ++k) Put16(out, t.mapIndex[k]);
    for (int k = 0; k < 3; ++k) Put16(out, t.vertexIndex[k]);
  }
  return out;
}

std::optional<VmapData> ReadVmap(std::span<const std::uint8_t> bytes, const Model& m, bool checkIndices,
                                 std::string* message) {
  auto refuse = [message](const char* text) -> std::optional<VmapData> {
    if (message) *message = text;
    return std::nullopt;
  };
  if (bytes.size() < 4 || std::memcmp(bytes.data(), "VMAP", 4) != 0) return refuse(kVmapNotValidText);
  if (bytes.size() < 6) return refuse(kVmapShortText);
  VmapData d;
  d.numTriangles = Get16(bytes.data() + 4);
  if (d.numTriangles != m.TriangleCount()) return refuse(kVmapCountText);
  if (d.numTriangles < 0 || bytes.size() < kHeaderBytes + kRecordBytes * static_cast<std::size_t>(d.numTriangles))
    return refuse(kVmapShortText);
  d.numMapVertices = Get16(bytes.data() + 6);
  d.skinWidth = Get16(bytes.data() + 8);
  d.skinHeight = Get16(bytes.data() + 10);
  // Rescaling divides by the stored size wherever it differs from the model's.
  if ((d.skinWidth != m.skinWidth && d.skinWidth == 0) || (d.skinHeight != m.skinHeight && d.skinHeight == 0))
    return refuse(kVmapSizeText);
  if (checkIndices && (d.numMapVertices < 0 || d.numMapVertices > kMaxMapVertices)) return refuse(kVmapMapIndexText);
  d.records.resize(static_cast<std::size_t>(d.numTriangles));
  const std::uint8_t* p = bytes.data() + kHeaderBytes;
  for (VmapRecord& r : d.records) {
    for (int k = 0; k < 3; ++k) {
      r.s[k] = Get16(p + 4 * k);
      r.t[k] = Get16(p + 4 * k + 2);
      r.mapIndex[k] = Get16(p + 12 + 2 * k);
      r.vertexIndex[k] = Get16(p + 18 + 2 * k);
      if (!checkIndices) continue;
      if (r.mapIndex[k] < 0 || r.mapIndex[k] >= d.numMapVertices) return refuse(kVmapMapIndexText);
      if (r.vertexIndex[k] < 0 || r.vertexIndex[k] >= m.VertexCount()) return refuse(kVmapVertexIndexText);
    }
    p += kRecordBytes;
  }
  return d;
}

float RescaleVmapCoordinate(int value, int modelSize, int fileSize) {
  if (fileSize == modelSize || fileSize == 0) return static_cast<float>(value);
  return std::trunc(static_cast<float>(value) * static_cast<float>(modelSize) / static_cast<float>(fileSize));
}

void ApplyVmap(Model& m, const VmapData& d) {
  m.SetMapVertexCount(d.numMapVertices);
  for (std::size_t i = 0; i < d.records.size() && i < m.triangles.size(); ++i) {
    const VmapRecord& r = d.records[i];
    Triangle& t = m.triangles[i];
    for (int k = 0; k < 3; ++k) {
      t.cornerMap[k].s = RescaleVmapCoordinate(r.s[k], m.skinWidth, d.skinWidth);
      t.cornerMap[k].t = RescaleVmapCoordinate(r.t[k], m.skinHeight, d.skinHeight);
      t.mapIndex[k] = r.mapIndex[k];
      t.vertexIndex[k] = r.vertexIndex[k];
      if (r.mapIndex[k] >= 0 && r.mapIndex[k] < m.MapVertexCount())
        m.mapVertices[static_cast<std::size_t>(r.mapIndex[k])] = t.cornerMap[k];
    }
  }
  m.WeldMapVertices(1);
}

void ApplyVmapToSelected(Model& m, const VmapData& d) {
  const int count = m.TriangleCount();
  for (int i = 0; i < count && static_cast<std::size_t>(i) < d.records.size(); ++i) {
    Triangle& t = m.triangles[static_cast<std::size_t>(i)];
    if (!(t.flags & TRI_SELECTED)) continue;
    const VmapRecord& r = d.records[static_cast<std::size_t>(i)];
    for (int k = 0; k < 3; ++k) {
      t.cornerMap[k].s = RescaleVmapCoordinate(r.s[k], m.skinWidth, d.skinWidth);
      t.cornerMap[k].t = RescaleVmapCoordinate(r.t[k], m.skinHeight, d.skinHeight);
    }
  }
  // Every corner on whole pixels, one mapping vertex per distinct position
  // in order of first use (a map in place of a search through all made so
  // far: the same numbering).
  std::map<std::pair<int, int>, int> made;
  int next = 0;
  m.mapVertices.clear();
  for (int i = 0; i < count; ++i) {
    Triangle& t = m.triangles[static_cast<std::size_t>(i)];
    for (int k = 0; k < 3; ++k) {
      const std::pair<int, int> at{Whole(t.cornerMap[k].s), Whole(t.cornerMap[k].t)};
      auto [it, added] = made.emplace(at, next);
      if (added && next < kMaxMapVertices) {
        m.mapVertices.push_back({static_cast<float>(at.first), static_cast<float>(at.second)});
        ++next;
      }
      t.mapIndex[k] = static_cast<std::int16_t>(std::min(it->second, kMaxMapVertices - 1));
    }
  }
  m.SetMapVertexCount(next);
  m.WeldMapVertices(1);
}
