#pragma once
// The one model being edited: an animated MD2 mesh with a single texture
// mapping shared by all frames, and its lists of skins and maps.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "image/skin.h"

struct Companion;

constexpr int kMaxVertices = 4096;      // vertex slots per frame
constexpr int kMaxTriangles = 4096;
constexpr int kMaxMapVertices = 12288;

constexpr std::uint32_t TRI_SELECTED = 1;
constexpr std::uint32_t TRI_MARKED = 2;
constexpr std::uint32_t TRI_HIDDEN = 4;

struct Vec3 {
  float x = 0, y = 0, z = 0;
};

struct MapVertex {
  float s = 0, t = 0;
};

struct Triangle {
  std::uint32_t flags = 0;
  std::int16_t vertexIndex[3] = {0, 0, 0};
  std::int16_t mapIndex[3] = {0, 0, 0};
  std::int16_t storedMapIndex[3] = {0, 0, 0};
  MapVertex cornerMap[3];
  float faceNormal[3] = {0, 0, 0};
};

struct Frame {
  explicit Frame(int vertexCount) : vertices(static_cast<std::size_t>(vertexCount > 0 ? vertexCount : 0)) {}
  std::vector<Vec3> vertices;  // as many as the model's VertexCount()
  std::string name;
};

struct Model {
  Model();
  ~Model();
  Model(const Model&) = delete;
  Model& operator=(const Model&) = delete;

  std::int16_t skinWidth = 0;
  std::int16_t skinHeight = 0;

  std::vector<std::unique_ptr<Frame>> frames;
  std::int16_t currentFrameIndex = 0;

  // Each list holds exactly what is in use: its size is the count.
  std::vector<Triangle> triangles;
  std::vector<MapVertex> mapVertices;
  std::vector<MapVertex> storedMapVertices;     // the mapping as Store Mapping kept it
  std::vector<std::uint8_t> mapVertexSelected;  // one per mapping vertex

  std::vector<std::unique_ptr<Skin>> skins;
  std::int16_t currentSkinIndex = -1;

  std::vector<std::unique_ptr<Skin>> phongMaps;
  std::int16_t currentPhongMapIndex = -1;

  std::vector<std::unique_ptr<Skin>> envMaps;
  std::int16_t currentEnvMapIndex = -1;

  std::vector<std::unique_ptr<Companion>> companions;
  std::int16_t currentCompanionIndex = -1;

  int modelLoaded = 0;

  // Every frame holds this many vertices, and a model without frames still
  // keeps the count its file gave.
  int VertexCount() const { return vertexCount_; }
  void SetVertexCount(int count);  // every frame follows; grown entries at the origin
  int TriangleCount() const { return static_cast<int>(triangles.size()); }
  int MapVertexCount() const { return static_cast<int>(mapVertices.size()); }
  int StoredMapVertexCount() const { return static_cast<int>(storedMapVertices.size()); }
  // Grown entries start zeroed; a negative count empties the list.
  void SetTriangleCount(int count);
  void SetMapVertexCount(int count);  // the selection marks follow
  void SetStoredMapVertexCount(int count);

  // What the current indices name, or null when an index is outside its list
  // (a frame's vertices, or nothing without frames).
  Vec3* CurrentFrame() const { return FrameVertices(currentFrameIndex); }
  // The vertices of frame `index`, VertexCount() of them; null outside the
  // list, or for a frame someone left short of the count.
  Vec3* FrameVertices(int index) const;
  Skin* CurrentSkin() const { return Current(skins, currentSkinIndex); }
  Skin* CurrentPhongMap() const { return Current(phongMaps, currentPhongMapIndex); }
  Skin* CurrentEnvMap() const { return Current(envMaps, currentEnvMapIndex); }
  Companion* CurrentCompanion() const { return Current(companions, currentCompanionIndex); }
  // The current skin after putting its index back in the list's range: the
  // first skin for an index outside it, -1 for an empty list.
  Skin* SettleCurrentSkin();

  // Unit normals of the triangles in the current frame; nothing without one.
  // A degenerate triangle keeps the normal it had.
  void ComputeFaceNormals();

  // Rebuilds mapVertices from the corners: each distinct corner position
  // (within 1/512 of a pixel) once, in order of first use. With
  // copyFromIndices the corners first take the positions their mapIndex
  // names; without it the corners are the truth and the indices follow.
  void WeldMapVertices(int copyFromIndices);

  // The one-level store of the mapping, and putting it back.
  void StoreMapping();
  void RevertMapping();

 private:
  int vertexCount_ = 0;

  template <typename T>
  static T* Current(const std::vector<std::unique_ptr<T>>& list, int index) {
    return index >= 0 && index < static_cast<int>(list.size()) ? list[static_cast<std::size_t>(index)].get() : nullptr;
  }
};

// Two corners share a mapping vertex when both coordinates differ by less
// than this (strictly).
constexpr float kWeldTolerance = 1.0f / 512.0f;

// The unit normal of the corner positions (p1 - p0) x (p2 - p1); false, and
// `out` untouched, when the triangle has no area.
bool FaceNormalOf(const Vec3& p0, const Vec3& p1, const Vec3& p2, float out[3]);
