#pragma once
// Builds MD2 files byte by byte for the tests, straight from the file layout,
// so the reader is checked against an independent writer.

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

struct TestMd2 {
  struct FrameSpec {
    float scale[3] = {1, 1, 1};
    float translate[3] = {0, 0, 0};
    std::string name = "frame";
    std::vector<std::array<std::uint8_t, 4>> verts;  // x, y, z, normal index
  };

  std::int32_t version = 8;
  std::int32_t skinWidth = 8, skinHeight = 8;
  std::vector<std::string> skins;
  std::vector<std::array<std::int16_t, 2>> st;
  std::vector<std::array<std::int16_t, 6>> tris;  // 3 vertex indices, 3 mapping indices
  int numXyz = 0;
  std::vector<FrameSpec> frames;
  int extraFrameBytes = 0;  // framesize beyond 40 + 4 x num_xyz, filled with 0xEE
  std::vector<std::int32_t> glcmds = {0};

  static void PutInt(std::vector<std::uint8_t>& b, std::int32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i)));
  }
  static void PutShort(std::vector<std::uint8_t>& b, std::int16_t v) {
    b.push_back(static_cast<std::uint8_t>(v & 0xFF));
    b.push_back(static_cast<std::uint8_t>((static_cast<std::uint16_t>(v) >> 8) & 0xFF));
  }
  static void PutText(std::vector<std::uint8_t>& b, const std::string& s, std::size_t field) {
    for (std::size_t i = 0; i < field; ++i) b.push_back(i < s.size() ? static_cast<std::uint8_t>(s[i]) : 0);
  }

  std::int32_t FrameSize() const { return 40 + 4 * numXyz + extraFrameBytes; }

  std::vector<std::uint8_t> Bytes() const {
    auto ns = static_cast<std::int32_t>(skins.size());
    auto nst = static_cast<std::int32_t>(st.size());
    auto ntri = static_cast<std::int32_t>(tris.size());
    auto nframes = static_cast<std::int32_t>(frames.size());
    auto ngl = static_cast<std::int32_t>(glcmds.size());
    std::int32_t ofsSkins = 68, ofsSt = ofsSkins + 64 * ns, ofsTris = ofsSt + 4 * nst;
    std::int32_t ofsFrames = ofsTris + 12 * ntri, ofsGl = ofsFrames + FrameSize() * nframes;
    std::int32_t ofsEnd = ofsGl + 4 * ngl;
    std::vector<std::uint8_t> b = {'I', 'D', 'P', '2'};
    for (std::int32_t v : {version, skinWidth, skinHeight, FrameSize(), ns, numXyz, nst, ntri, ngl, nframes, ofsSkins,
                           ofsSt, ofsTris, ofsFrames, ofsGl, ofsEnd})
      PutInt(b, v);
    for (const auto& s : skins) PutText(b, s, 64);
    for (const auto& p : st) {
      PutShort(b, p[0]);
      PutShort(b, p[1]);
    }
    for (const auto& t : tris)
      for (std::int16_t v : t) PutShort(b, v);
    for (const auto& f : frames) {
      for (float v : f.scale) PutInt(b, static_cast<std::int32_t>(std::bit_cast<std::uint32_t>(v)));
      for (float v : f.translate) PutInt(b, static_cast<std::int32_t>(std::bit_cast<std::uint32_t>(v)));
      PutText(b, f.name, 16);
      for (int i = 0; i < numXyz; ++i) {
        std::array<std::uint8_t, 4> v = i < static_cast<int>(f.verts.size()) ? f.verts[i] : std::array<std::uint8_t, 4>{};
        b.insert(b.end(), v.begin(), v.end());
      }
      b.insert(b.end(), static_cast<std::size_t>(extraFrameBytes), 0xEE);
    }
    for (std::int32_t w : glcmds) PutInt(b, w);
    return b;
  }
};

// Header field n (1-based, as the file layout numbers them) of a built file.
inline std::int32_t Md2Field(const std::vector<std::uint8_t>& b, int n) {
  std::size_t at = 4 * static_cast<std::size_t>(n - 1);
  return static_cast<std::int32_t>(std::uint32_t{b[at]} | std::uint32_t{b[at + 1]} << 8 |
                                   std::uint32_t{b[at + 2]} << 16 | std::uint32_t{b[at + 3]} << 24);
}

inline void SetMd2Field(std::vector<std::uint8_t>& b, int n, std::int32_t v) {
  std::size_t at = 4 * static_cast<std::size_t>(n - 1);
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i));
}

enum Md2FieldNo {
  kFieldSkinWidth = 3, kFieldSkinHeight = 4, kFieldFrameSize = 5, kFieldNumSkins = 6, kFieldNumXyz = 7,
  kFieldNumSt = 8, kFieldNumTris = 9, kFieldNumGl = 10, kFieldNumFrames = 11, kFieldOfsSkins = 12,
  kFieldOfsSt = 13, kFieldOfsTris = 14, kFieldOfsFrames = 15, kFieldOfsGl = 16, kFieldOfsEnd = 17
};

// A unit quad in two triangles sharing the edge 0-2, mapped onto an 8 x 8
// skin, one frame; GL commands as worked out by hand: one fan 0, 1, 2, 3.
inline TestMd2 QuadMd2() {
  TestMd2 m;
  m.numXyz = 4;
  m.st = {{{0, 0}}, {{7, 0}}, {{7, 7}}, {{0, 7}}};
  m.tris = {{{0, 1, 2, 0, 1, 2}}, {{0, 2, 3, 0, 2, 3}}};
  TestMd2::FrameSpec f;
  f.name = "stand01";
  f.scale[0] = f.scale[1] = f.scale[2] = 0.5f;
  f.translate[0] = -1;
  f.verts = {{{0, 0, 0, 1}}, {{2, 0, 0, 2}}, {{2, 2, 0, 3}}, {{0, 2, 0, 4}}};
  m.frames = {f};
  auto word = [](float v) { return static_cast<std::int32_t>(std::bit_cast<std::uint32_t>(v)); };
  // s = (s + 0.5) / 8: 0 -> 0.0625, 7 -> 0.9375.
  const float lo = 0.0625f, hi = 0.9375f;
  m.glcmds = {-4,        word(lo), word(lo), 0, word(hi), word(lo), 1, word(hi), word(hi), 2,
              word(lo),  word(hi), 3,        0};
  return m;
}
