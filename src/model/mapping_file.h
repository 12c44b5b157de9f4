#pragma once
// Mapping files (".vmp", magic "VMAP"): a model's texture mapping on its
// own, little-endian, 12 header bytes and 24 per triangle: the corners'
// whole-pixel positions, mapping-vertex indices and vertex indices.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/model.h"

inline constexpr char kVmapFilter[] = "VRK Mapping (*.vmp)|*.vmp|All Files (*.*)|*.*||";
inline constexpr char kVmapNotValidText[] = "This isn't a valid VMAP file!";
inline constexpr char kVmapCountText[] = "This file doesn't have the same triangle count at the current MD2!";
inline constexpr char kVmapShortText[] = "This VMAP file ends before its last triangle!";
inline constexpr char kVmapSizeText[] = "This VMAP file gives a skin size of zero!";
inline constexpr char kVmapMapIndexText[] = "This VMAP file names a mapping vertex it does not have!";
inline constexpr char kVmapVertexIndexText[] = "This VMAP file names a vertex the model does not have!";

struct VmapRecord {
  std::int16_t s[3] = {0, 0, 0};
  std::int16_t t[3] = {0, 0, 0};
  std::int16_t mapIndex[3] = {0, 0, 0};
  std::int16_t vertexIndex[3] = {0, 0, 0};
};

struct VmapData {
  std::int16_t numTriangles = 0;
  std::int16_t numMapVertices = 0;
  std::int16_t skinWidth = 0;
  std::int16_t skinHeight = 0;
  std::vector<VmapRecord> records;
};

// A VMAP holds one 24-byte record for each triangle after its 12-byte header:
// at most 12 + 24 x 4096 = 98,316 bytes.
inline constexpr std::uintmax_t kMaxVmapFileBytes = 12 + 24 * std::uintmax_t{kMaxTriangles};

// The file's bytes, read whole when it is a regular file no larger than a
// VMAP can be; nothing otherwise, with *cause saying why.
std::optional<std::vector<std::uint8_t>> ReadVmapFile(const std::string& path, int* cause);

// The file of the model's mapping as it stands; the caller welds first so
// that counts, indices and corners agree. Corners are truncated toward zero
// and clamped to 16 bits.
std::vector<std::uint8_t> EncodeVmap(const Model& model);

// The file's header and records, checked against `model`: the magic, the
// triangle count, the length, and what a whole import would use (non-zero
// stored sizes where rescaling divides by them; with `checkIndices`,
// mapping-vertex indices below the stored count and within the table, and
// vertex indices below the vertex count). Nothing, and the message, when refused.
std::optional<VmapData> ReadVmap(std::span<const std::uint8_t> bytes, const Model& model, bool checkIndices,
                                 std::string* message);

// A stored coordinate rescaled to the model's skin, in single precision and
// truncated toward zero, as the file's own skin size asks.
float RescaleVmapCoordinate(int value, int modelSize, int fileSize);

// Takes the whole mapping and the vertex indices from the file, then welds.
void ApplyVmap(Model& model, const VmapData& data);
// Takes the stored corners for the selected triangles (hidden ones too);
// every corner, selected or not, then lands on whole pixels and the mapping
// is rebuilt from the corners and welded.
void ApplyVmapToSelected(Model& model, const VmapData& data);
