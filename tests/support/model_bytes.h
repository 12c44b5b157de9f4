#pragma once
// Test helper: the document's state as bytes, gathered field by field apart
// from the program's own serialisers, so tests can compare two states whole.

#include <cstdint>
#include <vector>

#include "model/model.h"

// Every byte an edit may touch, gathered field by field, so two states can
// be compared whole.
inline std::vector<std::uint8_t> ModelBytes(const Model& m) {
  std::vector<std::uint8_t> out;
  auto put = [&out](const void* p, std::size_t n) {
    out.insert(out.end(), static_cast<const std::uint8_t*>(p), static_cast<const std::uint8_t*>(p) + n);
  };
  for (int value : {static_cast<int>(m.VertexCount()), m.MapVertexCount(), m.TriangleCount(), static_cast<int>(m.skinWidth),
                    static_cast<int>(m.skinHeight), m.StoredMapVertexCount(), static_cast<int>(m.currentSkinIndex)}) {
    const auto v = static_cast<std::int16_t>(value);
    put(&v, sizeof v);
  }
  for (const Triangle& t : m.triangles) {
    put(&t.flags, sizeof t.flags);
    put(t.vertexIndex, sizeof t.vertexIndex);
    put(t.mapIndex, sizeof t.mapIndex);
    put(t.storedMapIndex, sizeof t.storedMapIndex);
    put(t.cornerMap, sizeof t.cornerMap);
  }
  put(m.mapVertices.data(), m.mapVertices.size() * sizeof(MapVertex));
  put(m.storedMapVertices.data(), m.storedMapVertices.size() * sizeof(MapVertex));
  put(m.mapVertexSelected.data(), m.mapVertexSelected.size());
  for (const auto& s : m.skins) {
    put(s->name.data(), s->name.size());
    put(s->path.data(), s->path.size());
    put(&s->flags, sizeof s->flags);
    put(&s->width, sizeof s->width);
    put(&s->height, sizeof s->height);
    put(s->palette.data(), s->palette.size());
    put(s->pixels.data(), s->pixels.size());
    put(s->storedPixels.data(), s->storedPixels.size());
  }
  return out;
}

