// Any bytes through the MD2 parse; what it accepts goes into a model, gets
// welded, gets GL commands and is written back out.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "model/md2_file.h"
#include "model/md2_load.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::span<const std::uint8_t> bytes(data, size);
  std::string error;
  auto md2 = ParseMd2(bytes, &error);
  if (!md2) {
    if (error.empty()) __builtin_trap();
    return 0;
  }
  static auto model = std::make_unique<Model>();
  CommitMd2(*model, *md2);
  model->modelLoaded = 1;
  model->ComputeFaceNormals();
  auto out = EncodeMd2(*model, bytes, &error);
  if (out.empty()) __builtin_trap();
  // What was written must read back.
  if (!ParseMd2(out, &error)) __builtin_trap();
  return 0;
}
