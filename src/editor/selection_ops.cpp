#include "editor/selection_ops.h"

#include <algorithm>
#include <vector>

namespace {

bool Visible(const Triangle& t) { return (t.flags & TRI_HIDDEN) == 0; }
bool Selected(const Triangle& t) { return (t.flags & TRI_SELECTED) != 0; }

// A mapping-vertex index a damaged file may have left outside the table.
bool InTable(int index, const Model& m) {
  return index >= 0 && index < static_cast<int>(m.mapVertexSelected.size());
}

void ClearMarks(Model& m) { std::fill(m.mapVertexSelected.begin(), m.mapVertexSelected.end(), 0); }

void MarkCorners(Model& m, const Triangle& t, std::uint8_t bit) {
  for (int k = 0; k < 3; ++k)
    if (InTable(t.mapIndex[k], m)) m.mapVertexSelected[static_cast<std::size_t>(t.mapIndex[k])] |= bit;
}

bool AnyCornerMarked(const Model& m, const Triangle& t, std::uint8_t bit) {
  for (int k = 0; k < 3; ++k)
    if (InTable(t.mapIndex[k], m) && (m.mapVertexSelected[static_cast<std::size_t>(t.mapIndex[k])] & bit)) return true;
  return false;
}

bool AllCornersMarked(const Model& m, const Triangle& t, std::uint8_t bit) {
  for (int k = 0; k < 3; ++k)
    if (!InTable(t.mapIndex[k], m) || !(m.mapVertexSelected[static_cast<std::size_t>(t.mapIndex[k])] & bit))
      return false;
  return true;
}

}  // namespace

void SelectAll(Model& m) {
  for (int i = 0; i < m.TriangleCount(); ++i) m.triangles[static_cast<std::size_t>(i)].flags |= TRI_SELECTED;
}

void SelectNone(Model& m) {
  for (int i = 0; i < m.TriangleCount(); ++i) m.triangles[static_cast<std::size_t>(i)].flags &= ~TRI_SELECTED;
}

void InvertSelection(Model& m) {
  for (int i = 0; i < m.TriangleCount(); ++i) m.triangles[static_cast<std::size_t>(i)].flags ^= TRI_SELECTED;
}

void SelectConnected(Model& m) {
  // A flood fill over the triangles that use each mapping vertex, in place of
  // repeated whole passes: the same island, without a pass per step of a
  // long strip.
  const int count = m.TriangleCount();
  const std::size_t vertices = m.mapVertexSelected.size();
  std::vector<int> first(vertices + 1, 0);
  for (int i = 0; i < count; ++i) {
    const Triangle& t = m.triangles[static_cast<std::size_t>(i)];
    if (!Visible(t)) continue;
    for (int k = 0; k < 3; ++k)
      if (InTable(t.mapIndex[k], m)) ++first[static_cast<std::size_t>(t.mapIndex[k]) + 1];
  }
  for (std::size_t v = 0; v < vertices; ++v) first[v + 1] += first[v];
  std::vector<int> users(static_cast<std::size_t>(first[vertices]));
  std::vector<int> fill(first.begin(), first.end() - 1);
  for (int i = 0; i < count; ++i) {
    const Triangle& t = m.triangles[static_cast<std::size_t>(i)];
    if (!Visible(t)) continue;
    for (int k = 0; k < 3; ++k)
      if (InTable(t.mapIndex[k], m)) users[static_cast<std::size_t>(fill[static_cast<std::size_t>(t.mapIndex[k])]++)] = i;
  }

  ClearMarks(m);
  std::vector<int> todo;
  for (int i = 0; i < count; ++i) {
    const Triangle& t = m.triangles[static_cast<std::size_t>(i)];
    if (Visible(t) && Selected(t)) todo.push_back(i);
  }
  while (!todo.empty()) {
    const Triangle& t = m.triangles[static_cast<std::size_t>(todo.back())];
    todo.pop_back();
    for (int k = 0; k < 3; ++k) {
      const int v = t.mapIndex[k];
      if (!InTable(v, m) || m.mapVertexSelected[static_cast<std::size_t>(v)]) continue;
      m.mapVertexSelected[static_cast<std::size_t>(v)] = 1;
      for (int u = first[static_cast<std::size_t>(v)]; u < first[static_cast<std::size_t>(v) + 1]; ++u) {
        Triangle& other = m.triangles[static_cast<std::size_t>(users[static_cast<std::size_t>(u)])];
        if (Selected(other)) continue;
        other.flags |= TRI_SELECTED;
        todo.push_back(users[static_cast<std::size_t>(u)]);
      }
    }
  }
}

void GrowSelection(Model& m) {
  const int count = m.TriangleCount();
  ClearMarks(m);
  for (int i = 0; i < count; ++i) {
    const Triangle& t = m.triangles[static_cast<std::size_t>(i)];
    if (Visible(t) && Selected(t)) MarkCorners(m, t, 1);
  }
  for (int i = 0; i < count; ++i) {
    const Triangle& t = m.triangles[static_cast<std::size_t>(i)];
    if (Visible(t) && AnyCornerMarked(m, t, 1)) MarkCorners(m, t, 2);
  }
  for (int i = 0; i < count; ++i) {
    Triangle& t = m.triangles[static_cast<std::size_t>(i)];
    if (Visible(t) && AllCornersMarked(m, t, 2)) t.flags |= TRI_SELECTED;
  }
}

void ShrinkSelection(Model& m) {
  const int count = m.TriangleCount();
  ClearMarks(m);
  for (int i = 0; i < count; ++i) {
    const Triangle& t = m.triangles[static_cast<std::size_t>(i)];
    if (Visible(t) && Selected(t)) MarkCorners(m, t, 1);
  }
  for (int i = 0; i < count; ++i) {
    const Triangle& t = m.triangles[static_cast<std::size_t>(i)];
    if (Visible(t) && !Selected(t)) MarkCorners(m, t, 2);
  }
  for (int i = 0; i < count; ++i) {
    Triangle& t = m.triangles[static_cast<std::size_t>(i)];
    if (Visible(t) && AnyCornerMarked(m, t, 2)) t.flags &= ~TRI_SELECTED;
  }
}
