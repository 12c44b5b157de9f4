#pragma once
// Little-endian field access and the shared save step of the image readers
// and writers. Callers check that the field lies inside the buffer first.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "image/skin.h"
#include "platform/file_error.h"

inline std::uint16_t GetU16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}
inline std::int16_t GetS16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::int16_t>(GetU16(b, at));
}
inline std::uint32_t GetU32(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
         (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
inline std::int32_t GetS32(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::int32_t>(GetU32(b, at));
}

inline void PutU16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline void PutU32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  PutU16(b, at, v);
  PutU16(b, at + 2, v >> 16);
}

// The colour table of a BMP whose headers (54 bytes) are in `bytes`: its
// colours-used count, 256 when 0 or above 256 (entries past 256 are never
// read). ReadBmpColourTable copies those entries into `palette` and leaves
// the others; false, palette untouched, when the table lies outside the file.
int BmpColourTableEntries(std::span<const std::uint8_t> bytes);
bool ReadBmpColourTable(std::span<const std::uint8_t> bytes, Palette& palette);

// A record the writers can encode: some pixels, and a buffer of exactly
// width x height bytes.
bool HasWritablePixels(const Skin& skin);

// Finishes a parsed record: storedPixels, format, row offsets.
void FinishParsedSkin(Skin& skin, std::uint8_t format);

// The writers refuse, before writing, a record larger than the readers take
// back: more than `maxColumns` columns or 2048 rows. The refusal reads
// "Error Saving: W x H is more than the 2048 rows a BMP can hold" (the limit
// passed, `kind` naming the file) and names the path; nothing when the record
// fits.
std::optional<FileError> RefuseBeyondReaders(const Skin& skin, int maxColumns, const char* kind,
                                             const std::string& path);

// Writes a finished file over `path` (temporary file and rename); a failure
// reads "Error Saving: " and the cause number and names the path. An empty
// `bytes` means the record could not be encoded.
WriteResult SaveImageBytes(const std::vector<std::uint8_t>& bytes, const std::string& path);
