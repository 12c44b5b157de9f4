#include "link/link_record.h"

#include <bit>
#include <cmath>

namespace {

void PutWord(std::vector<std::uint8_t>& out, std::uint32_t word) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(word >> (8 * i)));
}

void PutFloat(std::vector<std::uint8_t>& out, float value) { PutWord(out, std::bit_cast<std::uint32_t>(value)); }

std::uint32_t WordAt(std::span<const std::uint8_t> block, std::size_t offset) {
  std::uint32_t word = 0;
  for (std::size_t i = 0; i < 4; ++i) word |= static_cast<std::uint32_t>(block[offset + i]) << (8 * i);
  return word;
}

float FloatAt(std::span<const std::uint8_t> block, std::size_t offset) {
  return std::bit_cast<float>(WordAt(block, offset));
}

// The watcher keeps skin coordinates in 16-bit corners elsewhere (the GL
// commands, the file's mapping), so anything wider is refused here.
bool SkinCoordinateFits(float v) { return std::isfinite(v) && v >= -32768.0f && v <= 32767.0f; }

// A camera that is not nearly a rotation can only come from a broken or
// hostile sender; finite values within these bounds keep the renderer's
// arithmetic in range.
bool RotationEntryFits(float v) { return std::isfinite(v) && std::fabs(v) <= 2.0f; }
bool PlacementFits(float v) { return std::isfinite(v) && std::fabs(v) <= 1.0e7f; }

// A rotation (or mirror) has a determinant of one in size; one near zero
// flattens the model onto a plane, a line or a point, and the 3D view would
// stay blank until the next good record.
bool RotationTurns(const float (&r)[9]) {
  const double det = double(r[0]) * (double(r[4]) * r[8] - double(r[5]) * r[7]) -
                     double(r[1]) * (double(r[3]) * r[8] - double(r[5]) * r[6]) +
                     double(r[2]) * (double(r[3]) * r[7] - double(r[4]) * r[6]);
  return std::fabs(det) >= 0.5;
}

}  // namespace

std::vector<std::uint8_t> EncodeLinkRecord(const MappingRecord& record) {
  std::vector<std::uint8_t> out;
  out.reserve(kMappingRecordSize);
  PutWord(out, kMappingRecordSize);
  PutWord(out, kLinkFormat);
  PutWord(out, kMappingRecordKind);
  PutWord(out, static_cast<std::uint32_t>(record.skinWidth));
  PutWord(out, static_cast<std::uint32_t>(record.skinHeight));
  for (const auto& corner : record.st) {
    PutFloat(out, corner[0]);
    PutFloat(out, corner[1]);
  }
  return out;
}

std::vector<std::uint8_t> EncodeLinkRecord(const CameraRecord& record) {
  std::vector<std::uint8_t> out;
  out.reserve(kCameraRecordSize);
  PutWord(out, kCameraRecordSize);
  PutWord(out, kLinkFormat);
  PutWord(out, kCameraRecordKind);
  for (float v : record.rotation) PutFloat(out, v);
  for (float v : record.pan) PutFloat(out, v);
  PutFloat(out, record.distance);
  return out;
}

LinkRecord DecodeLinkRecord(std::uint32_t announcedSize, std::span<const std::uint8_t> block) {
  if (announcedSize > block.size() || announcedSize < 12) return {};
  const std::uint32_t size = WordAt(block, 0);
  if (size > announcedSize || WordAt(block, 4) != kLinkFormat) return {};
  const std::uint32_t kind = WordAt(block, 8);
  if (kind == kMappingRecordKind && size == kMappingRecordSize) {
    MappingRecord r;
    r.skinWidth = static_cast<std::int32_t>(WordAt(block, 12));
    r.skinHeight = static_cast<std::int32_t>(WordAt(block, 16));
    for (std::size_t k = 0; k < 3; ++k) {
      for (std::size_t c = 0; c < 2; ++c) {
        r.st[k][c] = FloatAt(block, 20 + 8 * k + 4 * c);
        if (!SkinCoordinateFits(r.st[k][c])) return {};
      }
    }
    return r;
  }
  if (kind == kCameraRecordKind && size == kCameraRecordSize) {
    CameraRecord r;
    for (std::size_t i = 0; i < 9; ++i) {
      r.rotation[i] = FloatAt(block, 12 + 4 * i);
      if (!RotationEntryFits(r.rotation[i])) return {};
    }
    if (!RotationTurns(r.rotation)) return {};
    for (std::size_t i = 0; i < 3; ++i) {
      r.pan[i] = FloatAt(block, 48 + 4 * i);
      if (!PlacementFits(r.pan[i])) return {};
    }
    r.distance = FloatAt(block, 60);
    // The eye must stand in front of the orbit centre for the view to divide
    // by its distance.
    if (!PlacementFits(r.distance) || !(r.distance > 0)) return {};
    return r;
  }
  return {};
}
