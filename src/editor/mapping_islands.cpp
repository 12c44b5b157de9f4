#include "editor/mapping_islands.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <numeric>
#include <tuple>
#include <utility>

#include "editor/island_pack.h"
#include "editor/mapping_transform.h"

namespace {


int Root(std::vector<int>& parent, int a) {
  while (parent[static_cast<std::size_t>(a)] != a) {
    parent[static_cast<std::size_t>(a)] = parent[static_cast<std::size_t>(parent[static_cast<std::size_t>(a)])];
    a = parent[static_cast<std::size_t>(a)];
  }
  return a;
}

struct Box {
  double minS = std::numeric_limits<double>::max(), minT = std::numeric_limits<double>::max();
  double maxS = std::numeric_limits<double>::lowest(), maxT = std::numeric_limits<double>::lowest();
  void Take(const MapVertex& c) {
    minS = std::min(minS, static_cast<double>(c.s));
    maxS = std::max(maxS, static_cast<double>(c.s));
    minT = std::min(minT, static_cast<double>(c.t));
    maxT = std::max(maxT, static_cast<double>(c.t));
  }
  double Width() const { return maxS - minS; }
  double Height() const { return maxT - minT; }
};

Box IslandBox(const Model& m, const std::vector<int>& island) {
  Box box;
  for (int i : island)
    for (const MapVertex& c : m.triangles[static_cast<std::size_t>(i)].cornerMap) box.Take(c);
  return box;
}

double SkinArea(const Triangle& t) {
  const MapVertex& a = t.cornerMap[0];
  const MapVertex& b = t.cornerMap[1];
  const MapVertex& c = t.cornerMap[2];
  return std::abs((static_cast<double>(b.s) - a.s) * (static_cast<double>(c.t) - a.t) -
                  (static_cast<double>(c.s) - a.s) * (static_cast<double>(b.t) - a.t)) / 2;
}

double ModelArea(const Model& m, const Triangle& t) {
  if (!m.CurrentFrame()) return 0;
  for (int k = 0; k < 3; ++k)
    if (t.vertexIndex[k] < 0 || t.vertexIndex[k] >= m.VertexCount()) return 0;
  const Vec3& a = m.CurrentFrame()[t.vertexIndex[0]];
  const Vec3& b = m.CurrentFrame()[t.vertexIndex[1]];
  const Vec3& c = m.CurrentFrame()[t.vertexIndex[2]];
  const double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
  const double vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
  const double x = uy * vz - uz * vy, y = uz * vx - ux * vz, z = ux * vy - uy * vx;
  return std::sqrt(x * x + y * y + z * z) / 2;
}

}  // namespace

std::vector<std::vector<int>> FindMappingIslands(const Model& m) {
  const int count = m.TriangleCount();
  const int vertices = static_cast<int>(m.mapVertices.size());
  // Triangles and mapping vertices in one forest: a triangle joins the
  // vertices its corners use.
  std::vector<int> parent(static_cast<std::size_t>(count + vertices));
  std::iota(parent.begin(), parent.end(), 0);
  for (int i = 0; i < count; ++i) {
    const Triangle& t = m.triangles[static_cast<std::size_t>(i)];
    if (!VisibleSelected(t)) continue;
    for (int k = 0; k < 3; ++k) {
      if (!InMapTable(m, t.mapIndex[k])) continue;
      const int a = Root(parent, i), b = Root(parent, count + t.mapIndex[k]);
      if (a != b) parent[static_cast<std::size_t>(std::max(a, b))] = std::min(a, b);
    }
  }
  std::vector<int> islandOf(static_cast<std::size_t>(count), -1);
  std::vector<std::vector<int>> islands;
  for (int i = 0; i < count; ++i) {
    if (!VisibleSelected(m.triangles[static_cast<std::size_t>(i)])) continue;
    const int root = Root(parent, i);
    // The root is the island's lowest triangle, met first.
    int& slot = islandOf[static_cast<std::size_t>(root)];
    if (slot < 0) {
      slot = static_cast<int>(islands.size());
      islands.emplace_back();
    }
    islands[static_cast<std::size_t>(slot)].push_back(i);
  }
  return islands;
}

bool PackIslands(Model& m, const MappingFrame& frame, const PackIslandsOptions& options, PackIslandsReport* report) {
  CornersFromMapVertices(m);
  const std::vector<std::vector<int>> islands = FindMappingIslands(m);
  if (islands.empty()) return false;
  // Corners stay on texels the skin has: the last column and row are the
  // frame's far edge when it reaches the skin's.
  const double left = std::min(frame.left, frame.right), top = std::min(frame.top, frame.bottom);
  const double right = std::min<double>(std::max(frame.left, frame.right), std::max(m.skinWidth - 1, 0));
  const double bottom = std::min<double>(std::max(frame.top, frame.bottom), std::max(m.skinHeight - 1, 0));
  std::vector<Box> boxes;
  std::vector<PackItem> items;
  for (const auto& island : islands) {
    boxes.push_back(IslandBox(m, island));
    items.push_back(PackItem{boxes.back().Width(), boxes.back().Height()});
  }
  const PackResult packed =
      PackRectangles(items, right - left, bottom - top, std::max(options.margin, 0), options.turn);
  if (!packed.fits) return false;
  double area = 0;
  for (std::size_t n = 0; n < islands.size(); ++n) {
    const Box& box = boxes[n];
    const PackPlacement& place = packed.places[n];
    for (int i : islands[n]) {
      Triangle& t = m.triangles[static_cast<std::size_t>(i)];
      for (MapVertex& c : t.cornerMap) {
        double ds = c.s - box.minS, dt = c.t - box.minT;
        // A quarter turn that keeps the island's face up: its left edge
        // becomes its bottom.
        if (place.turned) std::tie(ds, dt) = std::pair{dt, box.Width() - ds};
        c.s = static_cast<float>(left + place.x + ds * packed.scale);
        c.t = static_cast<float>(top + place.y + dt * packed.scale);
      }
      area += SkinArea(t);
    }
  }
  m.WeldMapVertices(0);
  if (report) {
    report->islands = static_cast<int>(islands.size());
    const double frameArea = (right - left) * (bottom - top);
    report->covered = frameArea > 0 ? std::min(area / frameArea, 1.0) : 0;
  }
  return true;
}

bool AverageIslandScale(Model& m) {
  CornersFromMapVertices(m);
  const std::vector<std::vector<int>> islands = FindMappingIslands(m);
  std::vector<double> skin(islands.size()), model(islands.size());
  double skinTotal = 0, modelTotal = 0;
  for (std::size_t n = 0; n < islands.size(); ++n) {
    for (int i : islands[n]) {
      const Triangle& t = m.triangles[static_cast<std::size_t>(i)];
      skin[n] += SkinArea(t);
      model[n] += ModelArea(m, t);
    }
    skinTotal += skin[n];
    modelTotal += model[n];
  }
  if (skinTotal <= 0 || modelTotal <= 0) return false;
  // Densities compare as square roots of area ratios: texels per unit of length.
  const double target = std::sqrt(skinTotal / modelTotal);
  for (std::size_t n = 0; n < islands.size(); ++n) {
    if (skin[n] <= 0 || model[n] <= 0) continue;
    const double factor = target / std::sqrt(skin[n] / model[n]);
    const Box box = IslandBox(m, islands[n]);
    const double cs = (box.minS + box.maxS) / 2, ct = (box.minT + box.maxT) / 2;
    for (int i : islands[n])
      for (MapVertex& c : m.triangles[static_cast<std::size_t>(i)].cornerMap)
        c = {static_cast<float>(cs + (c.s - cs) * factor), static_cast<float>(ct + (c.t - ct) * factor)};
  }
  m.WeldMapVertices(0);
  return true;
}

std::string PackedIslandsText(const PackIslandsReport& report) {
  char text[128];
  std::snprintf(text, sizeof text, "Packed %d island%s, covering %.1f%% of the mapping frame.", report.islands,
                report.islands == 1 ? "" : "s", report.covered * 100);
  return text;
}

OpResult PackIslands(Document& document, const EditorState& editor, const PackIslandsOptions& options) {
  DocumentStep step(document, "Pack Islands", STEP_MESH);
  Model& m = document.model;
  if (FindMappingIslands(m).empty()) return OpResult::Nothing();
  PackIslandsReport report;
  if (!PackIslands(m, NormalisedFrame(editor.mappingFrame, m.skinWidth, m.skinHeight), options, &report))
    return OpResult::Refused(kPackNoRoomText);
  return {true, PackedIslandsText(report)};
}

OpResult AverageIslandScale(Document& document) {
  DocumentStep step(document, "Average Island Scale", STEP_MESH);
  return AverageIslandScale(document.model) ? OpResult::Done() : OpResult::Nothing();
}
