#include "model/gl_commands.h"

#include <algorithm>
#include <bit>

namespace {

// A triangle corner as the GL list sees it.
struct Corner {
  std::int16_t vertex = 0, map = 0;
  bool operator==(const Corner&) const = default;
};

std::uint32_t CornerKey(Corner c) {
  return static_cast<std::uint32_t>(static_cast<std::uint16_t>(c.vertex)) << 16 | static_cast<std::uint16_t>(c.map);
}

std::uint64_t EdgeKey(Corner a, Corner b) { return std::uint64_t{CornerKey(a)} << 32 | CornerKey(b); }

Corner CornerOf(const Triangle& t, int k) { return {t.vertexIndex[k % 3], t.mapIndex[k % 3]}; }

// Every triangle under each of its directed corner edges (corner j to j + 1),
// sorted by edge and then triangle. A walk asks for the first triangle after
// T holding a given edge; with this index that is one binary search instead
// of a scan of all later triangles, and the answer is the same.
class EdgeIndex {
 public:
  explicit EdgeIndex(const Model& model, int count) {
    entries_.reserve(static_cast<std::size_t>(count) * 3);
    for (int i = 0; i < count; ++i) {
      const Triangle& t = model.triangles[i];
      for (int j = 0; j < 3; ++j) {
        std::uint64_t key = EdgeKey(CornerOf(t, j), CornerOf(t, j + 1));
        // A degenerate triangle may hold one edge twice: its first corner counts.
        bool seen = false;
        for (int p = 0; p < j; ++p) seen |= EdgeKey(CornerOf(t, p), CornerOf(t, p + 1)) == key;
        if (!seen) entries_.push_back({key, i, j});
      }
    }
    std::sort(entries_.begin(), entries_.end(), [](const Entry& a, const Entry& b) {
      return a.key != b.key ? a.key < b.key : a.triangle < b.triangle;
    });
  }

  // The first triangle after `after` with a corner j equal to `a` whose next
  // corner equals `b`; false when there is none.
  bool FindAfter(int after, Corner a, Corner b, int& triangle, int& corner) const {
    Entry probe{EdgeKey(a, b), after + 1, 0};
    auto it = std::lower_bound(entries_.begin(), entries_.end(), probe, [](const Entry& x, const Entry& y) {
      return x.key != y.key ? x.key < y.key : x.triangle < y.triangle;
    });
    if (it == entries_.end() || it->key != probe.key) return false;
    triangle = it->triangle;
    corner = it->corner;
    return true;
  }

 private:
  struct Entry {
    std::uint64_t key;
    int triangle;
    int corner;
  };
  std::vector<Entry> entries_;
};

enum Mark : std::uint8_t { kFree = 0, kUsed = 1, kTaken = 2 };

struct Walk {
  int length = 0;  // triangles
  Corner vertices[kMaxGlWalkTriangles + 2];
  int triangles[kMaxGlWalkTriangles];
};

// A fan (strip = false) or strip from triangle `start`, beginning at corner k.
void WalkFrom(const Model& model, const EdgeIndex& index, std::vector<std::uint8_t>& marks, int start, int k,
              bool strip, Walk& walk) {
  const Triangle& first = model.triangles[start];
  walk.vertices[0] = CornerOf(first, k);
  walk.vertices[1] = CornerOf(first, k + 1);
  walk.vertices[2] = CornerOf(first, k + 2);
  walk.triangles[0] = start;
  walk.length = 1;
  Corner a = strip ? walk.vertices[2] : walk.vertices[0];
  Corner b = strip ? walk.vertices[1] : walk.vertices[2];
  marks[start] = kTaken;

  int next, j;
  while (walk.length < kMaxGlWalkTriangles && index.FindAfter(start, a, b, next, j)) {
    // The first triangle on the open edge decides: if it is spoken for, the
    // walk ends even when a later one would fit.
    if (marks[next] != kFree) break;
    Corner added = CornerOf(model.triangles[next], j + 2);
    if (!strip || (walk.length & 1))
      b = added;
    else
      a = added;
    walk.vertices[walk.length + 2] = added;
    walk.triangles[walk.length] = next;
    ++walk.length;
    marks[next] = kTaken;
  }
  for (int i = 1; i < walk.length; ++i) marks[walk.triangles[i]] = kFree;
}

void PutFloat(std::vector<std::int32_t>& out, float value) {
  out.push_back(static_cast<std::int32_t>(std::bit_cast<std::uint32_t>(value)));
}

}  // namespace

int BuildGlCommands(const Model& model, std::vector<std::int32_t>& out) {
  out.clear();
  int count = model.TriangleCount();
  EdgeIndex index(model, count);
  std::vector<std::uint8_t> marks(static_cast<std::size_t>(count), kFree);
  Walk best, trial;
  for (int i = 0; i < count; ++i) {
    if (marks[i] == kUsed) continue;
    best.length = 0;
    bool bestIsStrip = false;
    for (int type = 0; type < 2; ++type) {
      for (int k = 0; k < 3; ++k) {
        WalkFrom(model, index, marks, i, k, type == 1, trial);
        if (trial.length > best.length) {
          best = trial;
          bestIsStrip = type == 1;
        }
      }
    }
    for (int t = 0; t < best.length; ++t) marks[best.triangles[t]] = kUsed;
    int vertices = best.length + 2;
    out.push_back(bestIsStrip ? vertices : -vertices);
    for (int v = 0; v < vertices; ++v) {
      Corner c = best.vertices[v];
      MapVertex m;
      if (c.map >= 0 && c.map < model.MapVertexCount()) m = model.mapVertices[c.map];
      PutFloat(out, static_cast<float>((m.s + 0.5) / model.skinWidth));
      PutFloat(out, static_cast<float>((m.t + 0.5) / model.skinHeight));
      out.push_back(c.vertex);
    }
  }
  out.push_back(0);
  return static_cast<int>(out.size());
}
