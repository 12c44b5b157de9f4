#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "model/md2_builder.h"
#include "model/md2_file.h"

namespace {

std::optional<Md2Data> Parse(const std::vector<std::uint8_t>& bytes, std::string& error) {
  error.clear();
  return ParseMd2(bytes, &error);
}

}  // namespace

TEST(Md2Parse, ReadsEverySection) {
  TestMd2 t = QuadMd2();
  t.skins = {"models/x/skin.pcx", std::string(64, 'n')};
  std::string error;
  auto d = Parse(t.Bytes(), error);
  ASSERT_TRUE(d) << error;
  EXPECT_EQ(d->header.skinWidth, 8);
  ASSERT_EQ(d->skinNames.size(), 2u);
  EXPECT_EQ(d->skinNames[0], "models/x/skin.pcx");
  EXPECT_EQ(d->skinNames[1], std::string(64, 'n'));  // a full field has no zero byte
  ASSERT_EQ(d->mapVertices.size(), 4u);
  EXPECT_EQ(d->mapVertices[2].s, 7);
  EXPECT_EQ(d->mapVertices[3].t, 7);
  ASSERT_EQ(d->triangles.size(), 2u);
  EXPECT_EQ(d->triangles[1].vertexIndex[2], 3);
  EXPECT_EQ(d->triangles[1].mapIndex[1], 2);
  ASSERT_EQ(d->frames.size(), 1u);
  EXPECT_EQ(d->frames[0].name, "stand01");
  // byte x scale + translate: x = 2 * 0.5 - 1.
  EXPECT_EQ(d->frames[0].vertices[1].x, 0.0f);
  EXPECT_EQ(d->frames[0].vertices[2].y, 1.0f);
}

TEST(Md2Parse, RefusesWhatIsNotAnMd2) {
  std::string error;
  EXPECT_FALSE(Parse({}, error));
  EXPECT_EQ(error, "This is not an MD2!");
  auto bytes = QuadMd2().Bytes();
  bytes[3] = '3';
  EXPECT_FALSE(Parse(bytes, error));
  EXPECT_EQ(error, "This is not an MD2!");
  EXPECT_FALSE(Parse({'I', 'D', 'P', '2', 8, 0}, error));  // header cut short
  EXPECT_NE(error.find("damaged"), std::string::npos);
}

TEST(Md2Parse, RefusesDamagedHeadersAndSections) {
  using Patch = std::function<void(std::vector<std::uint8_t>&)>;
  const auto good = QuadMd2().Bytes();
  const std::int32_t ofsFrames = Md2Field(good, kFieldOfsFrames);
  std::vector<std::pair<const char*, Patch>> cases = {
      {"negative triangles", [](auto& b) { SetMd2Field(b, kFieldNumTris, -1); }},
      {"negative skins", [](auto& b) { SetMd2Field(b, kFieldNumSkins, -5); }},
      {"negative frames", [](auto& b) { SetMd2Field(b, kFieldNumFrames, -1); }},
      {"too many vertices", [](auto& b) { SetMd2Field(b, kFieldNumXyz, 4097); }},
      {"too many triangles", [](auto& b) { SetMd2Field(b, kFieldNumTris, 4097); }},
      {"too many mapping vertices", [](auto& b) { SetMd2Field(b, kFieldNumSt, 12289); }},
      {"too many frames", [](auto& b) { SetMd2Field(b, kFieldNumFrames, 100000); }},
      {"too many skins", [](auto& b) { SetMd2Field(b, kFieldNumSkins, 1000); }},
      {"zero skin width", [](auto& b) { SetMd2Field(b, kFieldSkinWidth, 0); }},
      {"negative skin height", [](auto& b) { SetMd2Field(b, kFieldSkinHeight, -8); }},
      {"huge skin", [](auto& b) { SetMd2Field(b, kFieldSkinWidth, 100000); }},
      {"frame size too small", [](auto& b) { SetMd2Field(b, kFieldFrameSize, 40 + 4 * 4 - 1); }},
      {"frame size past the end", [](auto& b) { SetMd2Field(b, kFieldFrameSize, 10000); }},
      {"skins past the end", [](auto& b) {
         SetMd2Field(b, kFieldNumSkins, 1);
         SetMd2Field(b, kFieldOfsSkins, static_cast<std::int32_t>(b.size()) - 63);
       }},
      {"mapping past the end", [](auto& b) { SetMd2Field(b, kFieldOfsSt, static_cast<std::int32_t>(b.size()) - 4); }},
      {"negative mapping offset", [](auto& b) { SetMd2Field(b, kFieldOfsSt, -4); }},
      {"offset overflowing", [](auto& b) { SetMd2Field(b, kFieldOfsTris, 0x7FFFFFF8); }},
      {"more triangles than bytes", [](auto& b) { SetMd2Field(b, kFieldNumTris, 4000); }},
      {"frames cut off", [ofsFrames](auto& b) { b.resize(static_cast<std::size_t>(ofsFrames) + 30); }},
      {"vertex index too big", [](auto& b) { b[68 + 16 + 12 + 4] = 4; }},       // triangle 1, corner 2
      {"mapping index negative", [](auto& b) { b[68 + 16 + 6 + 1] = 0xFF; }},   // triangle 0, map corner 0
      {"scale not a number", [ofsFrames](auto& b) {
         float nan = std::nanf("");
         std::memcpy(&b[static_cast<std::size_t>(ofsFrames)], &nan, 4);
       }},
  };
  for (const auto& [what, patch] : cases) {
    auto bytes = good;
    patch(bytes);
    std::string error;
    EXPECT_FALSE(Parse(bytes, error)) << what;
    EXPECT_FALSE(error.empty()) << what;
  }
}

TEST(Md2Parse, CapacityTextsNameTheLimit) {
  auto bytes = QuadMd2().Bytes();
  SetMd2Field(bytes, kFieldNumXyz, 5000);
  std::string error;
  EXPECT_FALSE(Parse(bytes, error));
  EXPECT_NE(error.find("4096 vertices"), std::string::npos) << error;
}

TEST(Md2Parse, EmptySectionsMayPointAnywhere) {
  TestMd2 t;
  t.numXyz = 0;
  auto bytes = t.Bytes();
  SetMd2Field(bytes, kFieldOfsSkins, -1000);
  SetMd2Field(bytes, kFieldOfsTris, 1 << 30);
  std::string error;
  auto d = Parse(bytes, error);
  ASSERT_TRUE(d) << error;
  EXPECT_TRUE(d->triangles.empty());
}

TEST(Md2Parse, ReaderStepsFramesBy40Plus4PerVertexWhateverTheFrameSize) {
  TestMd2 t = QuadMd2();
  t.extraFrameBytes = 8;
  t.frames[0].scale[0] = 1;
  t.frames.push_back(t.frames[0]);
  auto bytes = t.Bytes();
  // Frame 1 as the reader sees it starts 56 bytes after frame 0, in the
  // padding: write a recognisable record there (scale 0, translate 3, 2, 1).
  std::size_t at = static_cast<std::size_t>(Md2Field(bytes, kFieldOfsFrames)) + 56;
  float rec[6] = {0, 0, 0, 3, 2, 1};
  std::memcpy(&bytes[at], rec, sizeof rec);
  std::string error;
  auto d = Parse(bytes, error);
  ASSERT_TRUE(d) << error;
  EXPECT_EQ(d->frames[1].vertices[0].x, 3.0f);
  EXPECT_EQ(d->frames[1].vertices[3].z, 1.0f);
}
