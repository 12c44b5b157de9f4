#pragma once
// The document's editable state as plain bytes, for the undo steps to diff:
// the mesh (counts, triangles with their flags and corners, mapping vertices,
// the stored mapping, the mapping-vertex selection) and a skin's record
// without its pixels. Values the renderer derives per frame (normals, shades,
// screen coordinates) are left out: a frame change must not look like an edit.

#include <cstdint>
#include <span>
#include <vector>

#include "image/skin.h"
#include "model/model.h"

std::vector<std::uint8_t> MeshBytes(const Model& model);
// False, and the model untouched, when `bytes` is not a mesh of this layout.
bool SetMeshBytes(Model& model, std::span<const std::uint8_t> bytes);

// Name, path, file and format, flags, size and palette.
std::vector<std::uint8_t> SkinRecordBytes(const Skin& skin);
bool SetSkinRecordBytes(Skin& skin, std::span<const std::uint8_t> bytes);
