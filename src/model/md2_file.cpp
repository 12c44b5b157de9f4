#include "model/md2_file.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "image/skin.h"
#include "model/gl_commands.h"
#include "platform/files.h"

namespace {

std::int32_t ReadInt(std::span<const std::uint8_t> b, std::size_t at) {
  std::uint32_t v = std::uint32_t{b[at]} | std::uint32_t{b[at + 1]} << 8 | std::uint32_t{b[at + 2]} << 16 |
                    std::uint32_t{b[at + 3]} << 24;
  return static_cast<std::int32_t>(v);
}

std::int16_t ReadShort(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::int16_t>(std::uint16_t{b[at]} | std::uint16_t{b[at + 1]} << 8);
}

float ReadFloat(std::span<const std::uint8_t> b, std::size_t at) {
  return std::bit_cast<float>(static_cast<std::uint32_t>(ReadInt(b, at)));
}

// Text up to the first zero byte or the end of the field.
std::string ReadName(std::span<const std::uint8_t> b, std::size_t at, std::size_t field) {
  std::size_t len = 0;
  while (len < field && b[at + len] != 0) ++len;
  return std::string(reinterpret_cast<const char*>(b.data() + at), len);
}

void PutInt(std::vector<std::uint8_t>& out, std::int32_t value) {
  auto v = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void PutShort(std::vector<std::uint8_t>& out, std::int16_t value) {
  auto v = static_cast<std::uint16_t>(value);
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

// Truncation toward zero, held to the 16-bit range (edited corners may lie
// anywhere; the format cannot).
std::int16_t ToShort(float value) {
  if (std::isnan(value)) return 0;
  double t = std::trunc(static_cast<double>(value));
  return static_cast<std::int16_t>(std::clamp(t, -32768.0, 32767.0));
}

bool Fail(std::string* error, const std::string& text) {
  if (error) *error = text;
  return false;
}

// A section of `count` records of `size` bytes at `offset` lies inside the
// file; an empty section may point anywhere, nothing is read from it.
bool SectionFits(std::int64_t offset, std::int64_t count, std::int64_t size, std::size_t fileSize) {
  if (count == 0) return true;
  return offset >= 0 && offset + count * size <= static_cast<std::int64_t>(fileSize);
}

std::string Damaged(const std::string& what) { return "This MD2 is damaged: " + what; }

bool CheckHeader(const Md2Header& h, std::size_t fileSize, std::string* error) {
  if (h.numSkins < 0 || h.numXyz < 0 || h.numSt < 0 || h.numTris < 0 || h.numFrames < 0)
    return Fail(error, Damaged("its header holds a negative count."));
  if (h.numXyz > kMaxVertices)
    return Fail(error, "This MD2 has more than 4096 vertices per frame; it is too large to load.");
  if (h.numTris > kMaxTriangles)
    return Fail(error, "This MD2 has more than 4096 triangles; it is too large to load.");
  if (h.numSt > kMaxMapVertices)
    return Fail(error, "This MD2 has more than 12288 mapping vertices; it is too large to load.");
  if (h.numFrames > kMaxMd2Frames)
    return Fail(error, "This MD2 has more than " + std::to_string(kMaxMd2Frames) +
                           " frames; it is too large to load.");
  if (h.numSkins > kMaxMd2Skins)
    return Fail(error, "This MD2 names more than " + std::to_string(kMaxMd2Skins) +
                           " skins; it is too large to load.");
  if (h.skinWidth < 1 || h.skinHeight < 1 || h.skinWidth > kMaxMd2SkinSide || h.skinHeight > kMaxMd2SkinSide)
    return Fail(error, Damaged("its skin size is not usable."));
  std::int64_t record = 40 + 4 * std::int64_t{h.numXyz};
  if (h.numFrames > 0 && h.frameSize < record)
    return Fail(error, Damaged("its frame size is too small for its vertices."));
  if (!SectionFits(h.ofsSkins, h.numSkins, kMd2SkinNameSize, fileSize))
    return Fail(error, Damaged("its skin names lie outside the file."));
  if (!SectionFits(h.ofsSt, h.numSt, 4, fileSize))
    return Fail(error, Damaged("its mapping lies outside the file."));
  if (!SectionFits(h.ofsTris, h.numTris, 12, fileSize))
    return Fail(error, Damaged("its triangles lie outside the file."));
  // The reader steps by the record size, the writer copies whole frameSize
  // records: both must stay inside the file.
  if (!SectionFits(h.ofsFrames, h.numFrames, std::max<std::int64_t>(record, h.frameSize), fileSize))
    return Fail(error, Damaged("its frames lie outside the file."));
  return true;
}

}  // namespace

std::optional<Md2Header> ReadMd2Header(std::span<const std::uint8_t> b) {
  if (b.size() < static_cast<std::size_t>(kMd2HeaderSize)) return std::nullopt;
  Md2Header h;
  std::memcpy(h.ident, b.data(), 4);
  std::int32_t* fields[] = {&h.version,  &h.skinWidth, &h.skinHeight, &h.frameSize, &h.numSkins, &h.numXyz,
                            &h.numSt,    &h.numTris,   &h.numGlCmds,  &h.numFrames, &h.ofsSkins, &h.ofsSt,
                            &h.ofsTris,  &h.ofsFrames, &h.ofsGlCmds,  &h.ofsEnd};
  for (std::size_t i = 0; i < std::size(fields); ++i) *fields[i] = ReadInt(b, 4 + 4 * i);
  return h;
}

std::optional<Md2Data> ParseMd2(std::span<const std::uint8_t> b, std::string* error) {
  if (b.size() < 4 || std::memcmp(b.data(), "IDP2", 4) != 0) {
    Fail(error, kNotMd2Text);
    return std::nullopt;
  }
  auto header = ReadMd2Header(b);
  if (!header) {
    Fail(error, Damaged("its header is cut short."));
    return std::nullopt;
  }
  const Md2Header& h = *header;
  if (!CheckHeader(h, b.size(), error)) return std::nullopt;

  Md2Data d;
  d.header = h;
  for (int i = 0; i < h.numSkins; ++i)
    d.skinNames.push_back(ReadName(b, static_cast<std::size_t>(h.ofsSkins) + kMd2SkinNameSize * i, kMd2SkinNameSize));

  d.mapVertices.resize(h.numSt);
  for (int i = 0; i < h.numSt; ++i) {
    std::size_t at = static_cast<std::size_t>(h.ofsSt) + 4 * static_cast<std::size_t>(i);
    d.mapVertices[i] = MapVertex{static_cast<float>(ReadShort(b, at)), static_cast<float>(ReadShort(b, at + 2))};
  }

  d.triangles.resize(h.numTris);
  for (int i = 0; i < h.numTris; ++i) {
    std::size_t at = static_cast<std::size_t>(h.ofsTris) + 12 * static_cast<std::size_t>(i);
    Md2Triangle& t = d.triangles[i];
    for (int k = 0; k < 3; ++k) {
      t.vertexIndex[k] = ReadShort(b, at + 2 * k);
      t.mapIndex[k] = ReadShort(b, at + 6 + 2 * k);
      if (t.vertexIndex[k] < 0 || t.vertexIndex[k] >= h.numXyz || t.mapIndex[k] < 0 || t.mapIndex[k] >= h.numSt) {
        Fail(error, Damaged("a triangle names a vertex or mapping vertex the file does not have."));
        return std::nullopt;
      }
    }
  }

  std::size_t record = 40 + 4 * static_cast<std::size_t>(h.numXyz);
  d.frames.resize(h.numFrames);
  for (int f = 0; f < h.numFrames; ++f) {
    std::size_t at = static_cast<std::size_t>(h.ofsFrames) + record * static_cast<std::size_t>(f);
    float scale[3], translate[3];
    for (int a = 0; a < 3; ++a) {
      scale[a] = ReadFloat(b, at + 4 * a);
      translate[a] = ReadFloat(b, at + 12 + 4 * a);
    }
    Md2Frame& frame = d.frames[f];
    frame.name = ReadName(b, at + 24, kMd2FrameNameSize);
    frame.vertices.resize(h.numXyz);
    for (int v = 0; v < h.numXyz; ++v) {
      std::size_t p = at + 40 + 4 * static_cast<std::size_t>(v);
      Vec3 pos{b[p] * scale[0] + translate[0], b[p + 1] * scale[1] + translate[1], b[p + 2] * scale[2] + translate[2]};
      if (!std::isfinite(pos.x) || !std::isfinite(pos.y) || !std::isfinite(pos.z)) {
        Fail(error, Damaged("a frame holds positions that are not numbers."));
        return std::nullopt;
      }
      frame.vertices[v] = pos;
    }
  }
  return d;
}

std::vector<std::uint8_t> EncodeMd2(const Model& model, std::span<const std::uint8_t> image, std::string* error) {
  auto loaded = ReadMd2Header(image);
  if (!loaded) {
    Fail(error, "There is no loaded MD2 to take the frames from.");
    return {};
  }
  auto numFrames = static_cast<std::int64_t>(model.frames.size());
  std::int64_t frameBytes = std::int64_t{loaded->frameSize} * numFrames;
  if (numFrames > 0 && (loaded->frameSize < 0 || loaded->ofsFrames < 0 ||
                        loaded->ofsFrames + frameBytes > static_cast<std::int64_t>(image.size()))) {
    Fail(error, "The frames of the loaded MD2 are not all there.");
    return {};
  }

  std::vector<std::int32_t> gl;
  BuildGlCommands(model, gl);

  std::vector<const Skin*> linked;
  for (const auto& skin : model.skins)
    if (skin && !(skin->flags & SKIN_EXTERNAL)) linked.push_back(skin.get());

  // Nothing the reader would refuse is written.
  if (linked.size() > static_cast<std::size_t>(kMaxMd2Skins)) {
    Fail(error, "An MD2 can name at most " + std::to_string(kMaxMd2Skins) + " skins; unlink some first.");
    return {};
  }
  if (model.skinWidth < 1 || model.skinHeight < 1 || model.skinWidth > kMaxMd2SkinSide ||
      model.skinHeight > kMaxMd2SkinSide || model.VertexCount() > kMaxVertices ||
      numFrames > kMaxMd2Frames) {
    Fail(error, "The model's skin size or counts are beyond what an MD2 can hold.");
    return {};
  }
  std::int32_t numSt = std::clamp<std::int32_t>(model.MapVertexCount(), 0, kMaxMapVertices);
  std::int32_t numTris = std::clamp<std::int32_t>(model.TriangleCount(), 0, kMaxTriangles);
  auto numSkins = static_cast<std::int32_t>(linked.size());
  auto numGl = static_cast<std::int32_t>(gl.size());
  std::int32_t ofsSt = kMd2HeaderSize + kMd2SkinNameSize * numSkins;
  std::int32_t ofsTris = ofsSt + 4 * numSt;
  std::int32_t ofsFrames = ofsTris + 12 * numTris;
  auto ofsGl = static_cast<std::int32_t>(ofsFrames + frameBytes);
  std::int32_t ofsEnd = ofsGl + 4 * numGl;

  std::vector<std::uint8_t> out;
  out.reserve(static_cast<std::size_t>(ofsEnd));
  for (std::size_t i = 0; i < 8; ++i) out.push_back(image[i]);  // ident and version as loaded
  for (std::int32_t v : {std::int32_t{model.skinWidth}, std::int32_t{model.skinHeight}, loaded->frameSize, numSkins,
                         std::int32_t{model.VertexCount()}, numSt, numTris, numGl, static_cast<std::int32_t>(numFrames),
                         kMd2HeaderSize, ofsSt, ofsTris, ofsFrames, ofsGl, ofsEnd})
    PutInt(out, v);

  for (const Skin* skin : linked) {
    std::string name = ToForwardSlashes(skin->name);
    // The field keeps its final byte for the terminating zero.
    if (name.size() > kMd2SkinNameSize - 1) name.resize(kMd2SkinNameSize - 1);
    std::size_t start = out.size();
    out.insert(out.end(), name.begin(), name.end());
    out.resize(start + kMd2SkinNameSize, 0);
  }
  for (int i = 0; i < numSt; ++i) {
    PutShort(out, ToShort(model.mapVertices[i].s));
    PutShort(out, ToShort(model.mapVertices[i].t));
  }
  for (int i = 0; i < numTris; ++i) {
    const Triangle& t = model.triangles[i];
    for (int k = 0; k < 3; ++k) PutShort(out, t.vertexIndex[k]);
    for (int k = 0; k < 3; ++k) PutShort(out, t.mapIndex[k]);
  }
  if (frameBytes > 0) {
    auto from = image.begin() + loaded->ofsFrames;
    out.insert(out.end(), from, from + frameBytes);
  }
  for (std::int32_t w : gl) PutInt(out, w);
  return out;
}
