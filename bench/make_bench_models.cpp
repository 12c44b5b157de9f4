// Writes the benchmark models into a folder: torus2048.md2 and
// torus4096.md2 (2,048 and 4,096 triangles) with a 640 x 480 skin of
// checks and noise, skin.pcx, which both name.
//   make_bench_models DIR

#include <cstdio>
#include <iostream>
#include <string>

#include "bench_torus.h"
#include "image/image_files.h"
#include "platform/files.h"
#include "platform/headless_ui.h"
#include "platform/show_file_error.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_bench_models DIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  HeadlessUi ui(std::cerr);
  Skin skin;
  skin.width = 640;
  skin.height = 480;
  skin.pixels.resize(640 * 480);
  std::uint32_t seed = 12345;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      seed = seed * 1664525u + 1013904223u;
      const int check = ((x / 16) ^ (y / 16)) & 1;
      skin.pixels[static_cast<std::size_t>(y) * 640 + x] = static_cast<std::uint8_t>(check * 128 + (seed >> 27));
    }
  for (int i = 0; i < 256; ++i)
    for (int c = 0; c < 3; ++c) skin.palette[static_cast<std::size_t>(i) * 3 + c] = static_cast<std::uint8_t>(i * (c + 1) / 3);
  skin.storedPixels = skin.pixels;
  if (auto written = WritePcx(skin, dir + "/skin.pcx"); !written) {
    ShowFileError(ui, written.error());
    return 1;
  }
  for (int rings : {32, 64}) {
    const DemoMesh torus = BenchTorus(rings, 32, 640, 480);
    const std::string path = dir + "/torus" + std::to_string(torus.tris.size()) + ".md2";
    if (WriteFileAtomic(path, EncodeDemoMd2(torus, "skin.pcx")) != 0) return 1;
    std::printf("%s\n", path.c_str());
  }
  return 0;
}
