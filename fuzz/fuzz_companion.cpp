// Any bytes as a companion model file: what the loader takes must hold its
// own counts, and its normals and skin must be safe to compute and draw from.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <ostream>
#include <vector>
#include <string>

#include "model/companion.h"
#include "model/model.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = "/tmp/fuzz_companion." + std::to_string(getpid()) + ".md2";
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
  } else {
    return 0;
  }
  auto loaded = LoadCompanion(path, "");
  if (!loaded) return 0;
  std::unique_ptr<Companion> c = std::move(loaded->companion);
  if (c->numTriangles < 0 || c->triangles.size() != static_cast<std::size_t>(c->numTriangles) ||
      c->frameVertices.size() != static_cast<std::size_t>(c->numFrames) * static_cast<std::size_t>(c->numVertices))
    __builtin_trap();
  if (c->skinPixels.empty()) SetPlaceholderSkin(*c);
  if (c->rowOffset.size() != static_cast<std::size_t>(c->skinHeight)) __builtin_trap();
  static auto model = std::make_unique<Model>();
  model->companions.clear();
  model->companions.push_back(std::move(c));
  static std::vector<Vec3> frame(1);
  model->currentFrame = frame.data();
  model->currentFrameIndex = 0;
  ComputeCompanionFaceNormals(*model);
  return 0;
}
