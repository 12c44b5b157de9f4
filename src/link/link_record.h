#pragma once
// The records one copy sends the other at the start of a fixed-size block:
// little-endian 32-bit fields, a size, a format and a kind first.

#include <cstdint>
#include <span>
#include <variant>
#include <vector>

constexpr std::uint32_t kLinkBlockSize = 4096;
constexpr std::uint32_t kLinkFormat = 1;
constexpr std::uint32_t kMappingRecordKind = 1;
constexpr std::uint32_t kMappingRecordSize = 44;
constexpr std::uint32_t kCameraRecordKind = 2;
constexpr std::uint32_t kCameraRecordSize = 64;

// One triangle's mapping in the sender's skin pixels; the skin size travels
// along but the watcher does not scale by it.
struct MappingRecord {
  std::int32_t skinWidth = 0;
  std::int32_t skinHeight = 0;
  float st[3][2] = {{0, 0}, {0, 0}, {0, 0}};
};

// The 3D view's camera: the rotation in its stored (row) order, the pan
// and the distance.
struct CameraRecord {
  float rotation[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
  float pan[3] = {0, 0, 0};
  float distance = 0;
};

std::vector<std::uint8_t> EncodeLinkRecord(const MappingRecord& record);
std::vector<std::uint8_t> EncodeLinkRecord(const CameraRecord& record);

// The record at the start of `block`, whose sender announced it as
// `announcedSize` bytes; the monostate for anything that is not a whole,
// sane record of a known kind.
using LinkRecord = std::variant<std::monostate, MappingRecord, CameraRecord>;
LinkRecord DecodeLinkRecord(std::uint32_t announcedSize, std::span<const std::uint8_t> block);
