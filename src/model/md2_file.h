#pragma once
// The MD2 file layout: a checked parse of a whole file held in memory, and
// the bytes of a model written back over the frames of the file it came from.
//
// The parse trusts nothing in the file: every count must be non-negative and
// within the model's room, every section must lie inside the file, every
// triangle must name existing vertices and mapping vertices, and every frame
// position must be a finite number. Anything else gives nothing and a text
// for the user.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "model/model.h"

constexpr int kMd2HeaderSize = 68;
constexpr int kMd2SkinNameSize = 64;
constexpr int kMd2FrameNameSize = 16;
// Beyond what any game reads, and a bound on what a hostile header can make
// the program allocate (frames hold 4096 vertex slots each, skins whole images).
constexpr int kMaxMd2Frames = 1024;
constexpr int kMaxMd2Skins = 32;
constexpr int kMaxMd2SkinSide = 2048;
// The largest MD2 the reader takes, its sections at the limits above with
// nothing between them: the 68-byte header, 32 skin names of 64 bytes, 12288
// mapping vertices of 4 bytes, 4096 triangles of 12 bytes, 1024 frames of 40 +
// 4 x 4096 bytes and the longest GL command list (every triangle a strip of its
// own: 1 + 10 x 4096 words of 4 bytes): 17,082,440 bytes.
constexpr std::uintmax_t kMaxMd2FileBytes =
    kMd2HeaderSize + std::uintmax_t{kMaxMd2Skins} * kMd2SkinNameSize + std::uintmax_t{kMaxMapVertices} * 4 +
    std::uintmax_t{kMaxTriangles} * 12 + std::uintmax_t{kMaxMd2Frames} * (40 + 4 * std::uintmax_t{kMaxVertices}) +
    4 * (1 + 10 * std::uintmax_t{kMaxTriangles});

inline constexpr char kNotMd2Text[] = "This is not an MD2!";

struct Md2Header {
  char ident[4] = {'I', 'D', 'P', '2'};
  std::int32_t version = 8;
  std::int32_t skinWidth = 0, skinHeight = 0;
  std::int32_t frameSize = 0;
  std::int32_t numSkins = 0, numXyz = 0, numSt = 0, numTris = 0, numGlCmds = 0, numFrames = 0;
  std::int32_t ofsSkins = 0, ofsSt = 0, ofsTris = 0, ofsFrames = 0, ofsGlCmds = 0, ofsEnd = 0;
};

struct Md2Triangle {
  std::int16_t vertexIndex[3] = {0, 0, 0};
  std::int16_t mapIndex[3] = {0, 0, 0};
};

struct Md2Frame {
  std::string name;           // at most 16 characters
  std::vector<Vec3> vertices; // numXyz positions, byte x scale + translate
};

struct Md2Data {
  Md2Header header;
  std::vector<std::string> skinNames;  // as stored, up to the first zero byte
  std::vector<MapVertex> mapVertices;  // numSt entries, whole numbers
  std::vector<Md2Triangle> triangles;  // numTris entries, indices checked
  std::vector<Md2Frame> frames;        // numFrames entries
};

// The header fields alone; nothing when there are fewer than 68 bytes.
std::optional<Md2Header> ReadMd2Header(std::span<const std::uint8_t> bytes);

// The whole file checked and decoded. On failure gives nothing and sets
// *error (when given) to the text to show.
std::optional<Md2Data> ParseMd2(std::span<const std::uint8_t> bytes, std::string* error = nullptr);

// The file for `model`: header, linked skin names (with '/'), the mapping,
// the triangles, the frame records copied from `loadedImage` (the file the
// model was loaded from) and freshly built GL commands. Empty, with *error
// set, when `loadedImage` cannot supply the frames.
std::vector<std::uint8_t> EncodeMd2(const Model& model, std::span<const std::uint8_t> loadedImage,
                                    std::string* error = nullptr);
