#pragma once
// The demo creature: a small animated figure made of rounded parts, with a
// skin layout of one rectangle per part. Made in code so the program always
// has a model of its own to show.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct DemoMesh {
  struct Tri {
    std::int16_t vertex[3];
    std::int16_t map[3];
  };
  struct FrameData {
    std::string name;
    std::vector<std::array<float, 3>> positions;
  };
  struct Region {  // where a part's texels live on the skin
    int x, y, w, h;
    int part;
  };
  int skinWidth = 256;
  int skinHeight = 256;
  std::vector<std::array<std::int16_t, 2>> st;
  std::vector<Tri> tris;
  std::vector<FrameData> frames;
  std::vector<Region> regions;
};

DemoMesh BuildDemoMesh();

// Encodes a mesh as an MD2 file image naming one skin; the GL command list
// holds only its terminating 0 (the program's writer rebuilds it).
std::vector<std::uint8_t> EncodeDemoMd2(const DemoMesh& mesh, const std::string& skinName);
