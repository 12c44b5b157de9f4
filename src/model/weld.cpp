#include "model/weld.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

bool SamePlace(const MapVertex& a, const MapVertex& b) {
  return std::fabs(a.s - b.s) < kWeldTolerance && std::fabs(a.t - b.t) < kWeldTolerance;
}

void CopyCornersFromIndices(Model& model) {
  int count = model.TriangleCount();
  for (int i = 0; i < count; ++i) {
    Triangle& tri = model.triangles[i];
    for (int k = 0; k < 3; ++k) {
      int m = tri.mapIndex[k];
      if (m >= 0 && m < model.MapVertexCount()) tri.cornerMap[k] = model.mapVertices[m];
    }
  }
}

// Mapping vertices bucketed by 1/512-pixel cells. Two positions closer than
// the tolerance lie in the same or a neighbouring cell, so looking at the 3 x 3
// cells around a corner finds every candidate the full search would.
class WeldGrid {
 public:
  explicit WeldGrid(std::size_t expected) {
    std::size_t size = 64;
    while (size < expected * 2) size *= 2;
    slots_.assign(size, Slot{});
    mask_ = size - 1;
    next_.reserve(expected);
  }

  // Lowest index among the entries matching `v`, or -1.
  int FindFirst(const MapVertex& v, const std::vector<MapVertex>& entries) const {
    std::int64_t cx, cy;
    if (!CellOf(v, cx, cy)) return -1;
    int best = -1;
    for (std::int64_t dx = -1; dx <= 1; ++dx) {
      for (std::int64_t dy = -1; dy <= 1; ++dy) {
        const Slot* slot = Find(Key(cx + dx, cy + dy));
        if (!slot) continue;
        // Entries in a chain are in increasing order: the first match is
        // the lowest of its cell.
        for (int e = slot->head; e >= 0; e = next_[e]) {
          if (best >= 0 && e >= best) break;
          if (SamePlace(v, entries[e])) {
            best = e;
            break;
          }
        }
      }
    }
    return best;
  }

  void Insert(const MapVertex& v, int index) {
    if (next_.size() <= static_cast<std::size_t>(index)) next_.resize(index + 1, -1);
    next_[index] = -1;
    std::int64_t cx, cy;
    if (!CellOf(v, cx, cy)) return;  // NaN never matches anything
    std::uint64_t key = Key(cx, cy);
    std::size_t at = Mix(key) & mask_;
    while (slots_[at].head >= 0 && slots_[at].key != key) at = (at + 1) & mask_;
    Slot& slot = slots_[at];
    if (slot.head < 0) {
      slot = Slot{key, index, index};
    } else {
      next_[slot.tail] = index;
      slot.tail = index;
    }
  }

 private:
  struct Slot {
    std::uint64_t key = 0;
    int head = -1, tail = -1;
  };

  static std::size_t Mix(std::uint64_t k) {
    k ^= k >> 33;
    k *= 0xff51afd7ed558ccdULL;
    k ^= k >> 33;
    return static_cast<std::size_t>(k);
  }

  const Slot* Find(std::uint64_t key) const {
    for (std::size_t at = Mix(key) & mask_;; at = (at + 1) & mask_) {
      const Slot& slot = slots_[at];
      if (slot.head < 0) return nullptr;
      if (slot.key == key) return &slot;
    }
  }

  static constexpr double kCellLimit = 1073741824.0;  // 2^30 cells each way

  // Clamping keeps neighbouring positions in neighbouring cells, so far-out
  // values only share cells more often, never fewer.
  static bool Cell(float value, std::int64_t& cell) {
    if (std::isnan(value)) return false;
    double c = std::floor(static_cast<double>(value) * 512.0);
    c = std::clamp(c, -kCellLimit, kCellLimit);
    cell = static_cast<std::int64_t>(c);
    return true;
  }
  static bool CellOf(const MapVertex& v, std::int64_t& cx, std::int64_t& cy) {
    return Cell(v.s, cx) && Cell(v.t, cy);
  }
  static std::uint64_t Key(std::int64_t cx, std::int64_t cy) {
    auto ux = static_cast<std::uint64_t>(cx + (std::int64_t{1} << 31));
    auto uy = static_cast<std::uint64_t>(cy + (std::int64_t{1} << 31));
    return (ux << 32) ^ uy;
  }

  // Open addressing with at most half the slots in use: no allocation per
  // insert, and a miss ends at the first empty slot.
  std::vector<Slot> slots_;
  std::size_t mask_ = 0;
  std::vector<int> next_;
};

}  // namespace

void Model::WeldMapVertices(int copyFromIndices) {
  if (copyFromIndices) CopyCornersFromIndices(*this);
  int count = TriangleCount();
  mapVertices.clear();
  mapVertices.reserve(static_cast<std::size_t>(count) * 3);
  WeldGrid grid(static_cast<std::size_t>(count) * 3);
  for (int i = 0; i < count; ++i) {
    Triangle& tri = triangles[i];
    for (int k = 0; k < 3; ++k) {
      const MapVertex& corner = tri.cornerMap[k];
      int found = grid.FindFirst(corner, mapVertices);
      if (found < 0) {
        found = MapVertexCount();
        mapVertices.push_back(corner);
        grid.Insert(corner, found);
      }
      tri.mapIndex[k] = static_cast<std::int16_t>(found);
    }
  }
  mapVertexSelected.resize(mapVertices.size(), 0);
}

void WeldMapVerticesDirect(Model& model, int copyFromIndices) {
  if (copyFromIndices) CopyCornersFromIndices(model);
  model.mapVertices.clear();
  int count = model.TriangleCount();
  for (int i = 0; i < count; ++i) {
    Triangle& tri = model.triangles[i];
    for (int k = 0; k < 3; ++k) {
      const MapVertex& corner = tri.cornerMap[k];
      int found = -1;
      for (int e = 0; e < model.MapVertexCount(); ++e) {
        if (SamePlace(corner, model.mapVertices[e])) {
          found = e;
          break;
        }
      }
      if (found < 0) {
        found = model.MapVertexCount();
        model.mapVertices.push_back(corner);
      }
      tri.mapIndex[k] = static_cast<std::int16_t>(found);
    }
  }
  model.mapVertexSelected.resize(model.mapVertices.size(), 0);
}
