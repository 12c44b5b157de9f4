#pragma once
// Symmetry across the model's own plane: the texel at the mirror image of
// the surface point a texel is mapped to. The texel's centre is found in
// the mapping of a triangle, the point on the model (current frame) it maps
// to is mirrored across x, y or z = 0, and the mirror image's nearest point
// on the model gives, through that triangle's mapping, the other texel.
// Found as strokes reach texels and remembered.

#include <cstdint>
#include <span>
#include <vector>

#include "model/model.h"

class ModelMirror {
 public:
  // `axis` 0, 1 or 2 for the x, y or z = 0 plane.
  ModelMirror(const Model& model, int skinWidth, int skinHeight, int axis);

  // The mirrored texel's offset (y * width + x), or -1 where no triangle's
  // mapping covers the texel.
  int operator()(int offset);

 private:
  struct Face {
    Vec3 p[3];
    float s[3], t[3];
    Vec3 low, high;  // the box around p
  };
  int Find(int offset);
  void BuildSkinCells();
  void BuildSpaceCells();
  const Face* FaceAtTexel(float s, float t) const;
  const Face* NearestFace(const Vec3& p, float w[3]);

  std::vector<Face> faces_;
  int width_, height_, axis_;
  std::vector<std::int32_t> known_;  // -2: not found yet
  // The faces by the cells of the skin their mapping's box touches, and by
  // the cells of space their box touches: each lookup tries a few faces
  // instead of all of them.
  static constexpr int kSkinCell = 8;
  int skinColumns_ = 0, skinRows_ = 0;
  // The face numbers of cell c: faces[start[c]] up to faces[start[c + 1]].
  struct CellLists {
    std::vector<std::int32_t> start, faces;
    bool empty() const { return start.empty(); }
    std::span<const std::int32_t> operator[](std::size_t c) const {
      return {faces.data() + start[c], static_cast<std::size_t>(start[c + 1] - start[c])};
    }
    // `cells(i, emit)` calls emit(cell) for every cell face i lies in.
    template <class Cells>
    void Build(std::size_t cellCount, std::size_t faceCount, Cells&& cells);
  };
  CellLists skinCells_;
  Vec3 low_{}, high_{};
  float cell_ = 1;
  int dims_[3] = {1, 1, 1};
  CellLists spaceCells_;
  std::vector<std::uint32_t> seen_;  // per face, the lookup that last tried it
  std::uint32_t lookup_ = 0;
  // Neighbouring texels mostly share their faces: the last ones found are
  // tried first.
  const Face* lastFrom_ = nullptr;
  const Face* lastTo_ = nullptr;
};
