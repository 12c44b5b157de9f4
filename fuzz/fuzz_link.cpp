// Any bytes as the shared block a sender left for the watcher (the first
// four bytes the size it announced): a block the watcher refuses must leave
// it untouched, and one it takes must leave a sound mapping and camera.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <sstream>

#include "editor/workspace.h"
#include "link/instance_link.h"
#include "platform/headless_ui.h"

namespace {

void Trap(bool bad) {
  if (bad) __builtin_trap();
}

void Setup(Model& m) {
  m.SetTriangleCount(2);
  m.SetVertexCount(4);
  m.skinWidth = m.skinHeight = 64;
  for (int i = 0; i < 2; ++i)
    for (int k = 0; k < 3; ++k) {
      m.triangles[static_cast<std::size_t>(i)].vertexIndex[k] = static_cast<std::int16_t>(i + k);
      m.triangles[static_cast<std::size_t>(i)].cornerMap[k] = {static_cast<float>(i * 10 + k), 5.0f};
    }
  m.triangles[1].flags = TRI_SELECTED;
  m.WeldMapVertices(0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  std::uint32_t wParam = 0;
  for (int i = 0; i < 4; ++i) wParam |= static_cast<std::uint32_t>(data[i]) << (8 * i);
  std::span<const std::uint8_t> block(data + 4, size - 4);

  std::ostringstream out;
  HeadlessUi ui(out);
  Workspace w;
  Setup(w.model);
  InstanceLink link(w, ui);
  const Viewport before = w.viewport;
  const int numMapVertices = w.model.MapVertexCount();

  const int result = link.HandleLinkMessage(wParam, block);
  Trap(result != 0 && result != 1);
  const Model& m = w.model;
  if (result == 0) {
    Trap(m.MapVertexCount() != numMapVertices || w.viewport.distance != before.distance);
    Trap(std::memcmp(&w.viewport.rotation, &before.rotation, sizeof before.rotation) != 0);
  }
  Trap(m.MapVertexCount() < 0 || m.MapVertexCount() > kMaxMapVertices);
  for (int i = 0; i < m.TriangleCount(); ++i)
    for (int k = 0; k < 3; ++k) {
      const Triangle& t = m.triangles[static_cast<std::size_t>(i)];
      Trap(t.mapIndex[k] < 0 || t.mapIndex[k] >= m.MapVertexCount());
      Trap(!std::isfinite(t.cornerMap[k].s) || !std::isfinite(t.cornerMap[k].t));
      Trap(std::fabs(t.cornerMap[k].s) > 32768.0f || std::fabs(t.cornerMap[k].t) > 32768.0f);
    }
  Trap(!std::isfinite(w.viewport.distance));
  for (float v : w.viewport.pan) Trap(!std::isfinite(v));
  return 0;
}
