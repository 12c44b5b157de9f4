// Any bytes as a mapping file against a small model: every file it accepts
// is applied whole and to the selection, and the model must stay sound.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "model/mapping_file.h"

namespace {

// Two triangles on a 64 x 64 skin, one of them selected.
std::unique_ptr<Model> SmallModel() {
  auto m = std::make_unique<Model>();
  m->SetTriangleCount(2);
  m->SetVertexCount(4);
  m->skinWidth = m->skinHeight = 64;
  for (int i = 0; i < 2; ++i)
    for (int k = 0; k < 3; ++k) {
      m->triangles[static_cast<std::size_t>(i)].vertexIndex[k] = static_cast<std::int16_t>(i + k);
      m->triangles[static_cast<std::size_t>(i)].cornerMap[k] = {static_cast<float>(i * 10 + k), 5.0f};
    }
  m->triangles[1].flags = TRI_SELECTED;
  m->WeldMapVertices(0);
  return m;
}

void CheckSound(const Model& m) {
  if (m.MapVertexCount() < 0 || m.MapVertexCount() > kMaxMapVertices) __builtin_trap();
  for (int i = 0; i < m.TriangleCount(); ++i)
    for (int k = 0; k < 3; ++k) {
      const Triangle& t = m.triangles[static_cast<std::size_t>(i)];
      if (t.mapIndex[k] < 0 || t.mapIndex[k] >= m.MapVertexCount()) __builtin_trap();
      if (t.vertexIndex[k] < 0 || t.vertexIndex[k] >= m.VertexCount()) __builtin_trap();
      if (!std::isfinite(t.cornerMap[k].s) || !std::isfinite(t.cornerMap[k].t)) __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::span<const std::uint8_t> bytes(data, size);
  for (bool whole : {true, false}) {
    auto model = SmallModel();
    std::string message;
    auto file = ReadVmap(bytes, *model, whole, &message);
    if (!file) {
      if (message.empty()) __builtin_trap();
      continue;
    }
    if (whole)
      ApplyVmap(*model, *file);
    else
      ApplyVmapToSelected(*model, *file);
    CheckSound(*model);
    if (EncodeVmap(*model).size() != 12 + 24 * 2) __builtin_trap();
  }
  return 0;
}
