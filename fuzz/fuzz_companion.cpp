// Any bytes as a companion model file: what the loader takes must hold its
// own counts, and its normals and skin must be safe to compute and draw from.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

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
  // One frame of one vertex: the companion's normals follow the model's
  // current frame index.
  if (model->frames.empty()) {
    model->SetVertexCount(1);
    model->frames.push_back(std::make_unique<Frame>(1));
  }
  model->currentFrameIndex = 0;
  if (!model->CurrentFrame()) __builtin_trap();
  ComputeCompanionFaceNormals(*model);
  return 0;
}
