#pragma once
// A second MD2 shown beside the model with its own skin and offset. It is
// read-only: loaded, moved, hidden, re-skinned and closed, never written.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/model.h"
#include "platform/file_error.h"

// One decompressed vertex of one frame.
struct CompanionVertex {
  float x = 0, y = 0, z = 0;
};

struct CompanionTriangle {
  std::int16_t vertexIndex[3] = {0, 0, 0};
  std::int16_t st[3][2] = {{0, 0}, {0, 0}, {0, 0}};  // corner skin coordinates s, t
  float faceNormal[3] = {0, 0, 0};
};

struct Companion {
  std::int16_t skinWidth = 0, skinHeight = 0;
  std::int16_t numVertices = 0;
  std::int16_t numTriangles = 0;
  std::int16_t numMapVertices = 0;
  std::int16_t numFrames = 0;
  std::int32_t hidden = 0;
  float offsetZ = 0, offsetX = 0, offsetY = 0;  // model axes, added before placing in the world

  std::vector<std::int32_t> rowOffset;  // row y starts at y * skinWidth
  std::string name;                     // full path of the MD2
  std::vector<std::uint8_t> skinPixels; // empty until a skin or the placeholder is set
  std::vector<CompanionVertex> frameVertices;  // numFrames x numVertices
  std::vector<CompanionTriangle> triangles;    // numTriangles entries

  // The triangles in use: the header's count, never past the list.
  int TriangleCount() const {
    return numTriangles < static_cast<int>(triangles.size()) ? numTriangles : static_cast<int>(triangles.size());
  }

  CompanionVertex* FrameVertices(int frame) {
    return frameVertices.data() + static_cast<std::size_t>(frame) * numVertices;
  }
  const CompanionVertex* FrameVertices(int frame) const {
    return frameVertices.data() + static_cast<std::size_t>(frame) * numVertices;
  }
};

constexpr int kMaxCompanionTriangles = kMaxTriangles;
constexpr int kMaxCompanionVertices = kMaxVertices;
constexpr int kMaxCompanionSkinSide = 4096;

// Shown in the 3D view at the model's frame `frameIndex`: not hidden and the
// companion has that frame.
bool CompanionShown(const Companion& companion, int frameIndex);

// Reads a companion from an MD2 file (relative names from `baseFolder`).
// A failure names the file: with its cause when the file cannot be opened
// (the callers say nothing then), else why it is not an MD2, is damaged or
// exceeds the record's room. The skin the file names is used when it has the
// companion's skin size; otherwise skinPixels stays empty and the caller
// offers a skin or the placeholder. A named skin that is no readable image
// leaves a notice.
struct LoadedCompanion {
  std::unique_ptr<Companion> companion;
  FileNotices notices;  // for the caller to show
};
FileResult<LoadedCompanion> LoadCompanion(const std::string& path, const std::string& baseFolder);

// The checkerboard used when a companion has no usable skin; rowOffset is
// rebuilt.
void SetPlaceholderSkin(Companion& companion);

// Installs `pixels` (skinWidth x skinHeight) as the skin and rebuilds rowOffset.
void SetCompanionSkin(Companion& companion, std::vector<std::uint8_t> pixels);

// The companion part of face normals: for every shown companion, normals of
// its triangles in the model's current frame number. Does nothing when the
// model has no current frame.
void ComputeCompanionFaceNormals(Model& model);
