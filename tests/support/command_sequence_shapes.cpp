#include "support/command_sequence_shapes.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "image/image_files.h"
#include "image/new_skin.h"
#include "model/md2_builder.h"
#include "model/model.h"
#include "support/command_sequence.h"

namespace fs = std::filesystem;

Palette SomePalette(int salt) {
  Palette p{};
  for (int i = 0; i < 256; ++i)
    for (int c = 0; c < 3; ++c)
      p[static_cast<std::size_t>(i * 3 + c)] = static_cast<std::uint8_t>((i * (c + 1) + salt * 37) & 0xff);
  return p;
}

namespace {

std::vector<std::uint8_t> SkinFile(int w, int h, bool bmp, int salt) {
  auto s = MakeBlankSkin("f", w, h, SomePalette(salt));
  for (std::size_t i = 0; i < s->pixels.size(); ++i) s->pixels[i] = static_cast<std::uint8_t>(i * 7 + salt);
  return bmp ? EncodeBmp(*s) : EncodePcx(*s);
}

void Write(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  fs::create_directories(path.parent_path());
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
}

// A closed body of rings around an axis, its poles collapsed to points (so
// the pole triangles have no area), mapped as a cylinder onto the skin; the
// awkward shape adds triangles with repeated corners, a flat sliver and
// corners mapped off every side of the skin.
TestMd2 BuildShape(const SequenceShape& shape) {
  TestMd2 md2;
  md2.skinWidth = shape.skinWidth;
  md2.skinHeight = shape.skinHeight;
  const int r = shape.rings, s = shape.segments;
  auto vertex = [s](int i, int j) { return static_cast<std::int16_t>(i * s + (j % s)); };
  auto st = [s](int i, int j) { return static_cast<std::int16_t>(i * (s + 1) + j); };
  for (int i = 0; i <= r; ++i)
    for (int j = 0; j <= s; ++j)
      md2.st.push_back({static_cast<std::int16_t>(j * (shape.skinWidth - 1) / s),
                        static_cast<std::int16_t>(i * (shape.skinHeight - 1) / r)});
  for (int i = 0; i < r; ++i)
    for (int j = 0; j < s; ++j) {
      md2.tris.push_back({vertex(i, j), vertex(i + 1, j), vertex(i + 1, j + 1), st(i, j), st(i + 1, j), st(i + 1, j + 1)});
      md2.tris.push_back({vertex(i, j), vertex(i + 1, j + 1), vertex(i, j + 1), st(i, j), st(i + 1, j + 1), st(i, j + 1)});
    }
  md2.numXyz = (r + 1) * s;
  if (shape.awkward) {
    const auto base = static_cast<std::int16_t>(md2.numXyz);
    const auto off = static_cast<std::int16_t>(md2.st.size());
    const auto w = static_cast<std::int16_t>(shape.skinWidth), h = static_cast<std::int16_t>(shape.skinHeight);
    md2.st.push_back({-20, -3});
    md2.st.push_back({static_cast<std::int16_t>(w + 15), static_cast<std::int16_t>(h + 9)});
    md2.st.push_back({-1, h});
    md2.st.push_back({w, -7});
    md2.numXyz += 3;  // three points on one line
    md2.tris.push_back({0, 0, 1, 0, 0, 1});                                                   // repeated corner
    md2.tris.push_back({2, 2, 2, off, off, off});                                             // one point
    md2.tris.push_back({base, static_cast<std::int16_t>(base + 1), static_cast<std::int16_t>(base + 2), off,
                        static_cast<std::int16_t>(off + 1), static_cast<std::int16_t>(off + 2)});  // sliver
    md2.tris.push_back({1, 3, 5, static_cast<std::int16_t>(off + 3), static_cast<std::int16_t>(off + 1), 2});
  }
  for (int f = 0; f < shape.frames; ++f) {
    TestMd2::FrameSpec frame;
    frame.name = "stand" + std::to_string(f + 1);
    frame.scale[0] = frame.scale[1] = frame.scale[2] = 0.25f;
    frame.translate[0] = frame.translate[1] = frame.translate[2] = -32;
    for (int i = 0; i <= r; ++i)
      for (int j = 0; j < s; ++j) {
        const double a = 6.283185307 * j / s, b = 3.141592654 * i / r;
        const double radius = 100 * std::sin(b) * (1 + 0.1 * f * std::cos(2 * a));
        frame.verts.push_back({static_cast<std::uint8_t>(128 + radius * std::cos(a)),
                               static_cast<std::uint8_t>(128 + radius * std::sin(a)),
                               static_cast<std::uint8_t>(128 + 110 * std::cos(b) + 4 * f),
                               static_cast<std::uint8_t>((i * s + j) % 162)});
      }
    if (shape.awkward)
      for (int k = 0; k < 3; ++k)
        frame.verts.push_back({static_cast<std::uint8_t>(20 + 30 * k), static_cast<std::uint8_t>(20 + 30 * k), 40, 0});
    md2.frames.push_back(frame);
  }
  const char* names[] = {"skin0.pcx", "skin1.bmp", "missing.pcx", "wrong.pcx"};
  for (int i = 0; i < shape.namedSkins && i < 4; ++i) md2.skins.push_back(std::string(kSequenceModelDir) + "/" + names[i]);
  return md2;
}

}  // namespace

void FillScratch(const std::string& folder, const SequenceShape& shape) {
  const fs::path base(folder);
  std::error_code ec;
  fs::remove_all(base, ec);
  fs::create_directories(base / kSequenceModelDir);
  Write(base / kSequenceModelDir / "creature.md2", BuildShape(shape).Bytes());
  Write(base / kSequenceModelDir / "skin0.pcx", SkinFile(shape.skinWidth, shape.skinHeight, false, 1));
  Write(base / kSequenceModelDir / "skin1.bmp", SkinFile(shape.skinWidth, shape.skinHeight, true, 2));
  Write(base / kSequenceModelDir / "wrong.pcx", SkinFile(shape.skinWidth + 1, 3, false, 3));
  Write(base / "tiny.bmp", SkinFile(1, 1, true, 4));
  Write(base / "odd.pcx", SkinFile(3, 7, false, 5));
  Write(base / "wide.bmp", SkinFile(257, 5, true, 6));
  Write(base / "map.pcx", SkinFile(256, 256, false, 7));
  Write(base / "junk.pcx", {10, 5, 1, 8, 0, 0, 0, 0, 0xff, 0xff, 0xff, 0x7f});
  SequenceShape other = shape;
  other.rings = 2;
  other.segments = 3;
  other.awkward = !shape.awkward;
  Write(base / "other.md2", BuildShape(other).Bytes());
}


SequenceShape ChooseShape(ByteSource& b) {
  static const int kSkinSizes[][2] = {{64, 48}, {1, 1}, {3, 7}, {257, 5}, {37, 129}, {256, 256}};
  SequenceShape s;
  const auto& size = kSkinSizes[b.Below(std::size(kSkinSizes))];
  s.skinWidth = size[0];
  s.skinHeight = size[1];
  s.rings = b.Between(2, 7);
  s.segments = b.Between(3, 9);
  s.frames = b.Between(1, 3);
  s.awkward = !b.OneIn(3);
  s.namedSkins = b.Below(5);
  return s;
}

void MarkTriangles(ByteSource& b, Model& m) {
  for (int i = 0; i < m.TriangleCount(); ++i) {
    const int pick = b.Below(8);
    std::uint32_t& flags = m.triangles[static_cast<std::size_t>(i)].flags;
    if (pick == 0) flags |= TRI_HIDDEN;
    if (pick == 1) flags |= TRI_SELECTED;
    if (pick == 2) flags |= TRI_HIDDEN | TRI_SELECTED;
  }
}

