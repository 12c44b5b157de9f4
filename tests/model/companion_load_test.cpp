#include <gtest/gtest.h>

#include <filesystem>

#include "image/image_files.h"
#include "model/companion.h"
#include "model/md2_builder.h"
#include "platform/show_file_error.h"
#include "support/scripted_ui.h"
#include "support/test_support.h"

namespace {

// Two triangles over four vertices, two frames; the second frame moves
// every vertex up by scale.
TestMd2 TwoFrameCompanion() {
  TestMd2 m = QuadMd2();
  m.skinWidth = 16;
  m.skinHeight = 8;
  m.st = {{{1, 2}}, {{15, 0}}, {{7, 7}}, {{3, 5}}};
  TestMd2::FrameSpec f = m.frames[0];
  f.translate[2] = 4;
  m.frames.push_back(f);
  return m;
}

void WriteSkin(const std::string& path, int w, int h, std::uint8_t fill) {
  Skin s;
  s.width = static_cast<std::int16_t>(w);
  s.height = static_cast<std::int16_t>(h);
  s.pixels.assign(static_cast<std::size_t>(w) * h, fill);
  WriteBytes(path, EncodePcx(s));
}

// The companion, its failure or notices shown as the Open command shows them.
std::unique_ptr<Companion> Load(ScriptedUi& ui, const std::string& path, const std::string& base) {
  auto loaded = LoadCompanion(path, base);
  if (!loaded) {
    ShowContentError(ui, loaded.error());
    return nullptr;
  }
  ShowNotices(ui, loaded->notices);
  return std::move(loaded->companion);
}

}  // namespace

TEST(LoadCompanion, ReadsCountsFramesAndCornerCoordinates) {
  TempDir dir;
  FolderGuard guard;
  WriteBytes(dir.File("c.md2"), TwoFrameCompanion().Bytes());
  ScriptedUi ui;
  auto c = Load(ui, dir.File("c.md2"), dir.path());
  ASSERT_TRUE(c);
  EXPECT_TRUE(ui.texts().empty());
  EXPECT_EQ(c->skinWidth, 16);
  EXPECT_EQ(c->skinHeight, 8);
  EXPECT_EQ(c->numVertices, 4);
  EXPECT_EQ(c->numTriangles, 2);
  EXPECT_EQ(c->numMapVertices, 4);
  EXPECT_EQ(c->numFrames, 2);
  EXPECT_EQ(c->hidden, 0);
  EXPECT_EQ(c->offsetX, 0);
  ASSERT_EQ(c->frameVertices.size(), 8u);
  // vertex 2 = (2, 2, 0) bytes x 0.5 + translate (-1, 0, 0) / (-1, 0, 4)
  EXPECT_FLOAT_EQ(c->FrameVertices(0)[2].x, 0.0f);
  EXPECT_FLOAT_EQ(c->FrameVertices(0)[2].y, 1.0f);
  EXPECT_FLOAT_EQ(c->FrameVertices(1)[2].z, 4.0f);
  // Corners take the s/t their index_st names.
  EXPECT_EQ(c->triangles[0].st[1][0], 15);
  EXPECT_EQ(c->triangles[1].st[2][0], 3);
  EXPECT_EQ(c->triangles[1].st[2][1], 5);
  EXPECT_EQ(c->triangles[1].vertexIndex[2], 3);
  EXPECT_TRUE(c->skinPixels.empty());  // the file names no skin
}

TEST(LoadCompanion, TakesTheNamedSkinOnlyAtItsSize) {
  TempDir dir;
  FolderGuard guard;
  std::filesystem::create_directories(dir.File("models/x"));
  WriteSkin(dir.File("models/x/skin.pcx"), 16, 8, 33);
  WriteSkin(dir.File("models/x/big.pcx"), 32, 8, 44);
  TestMd2 m = TwoFrameCompanion();
  m.skins = {"models/x/skin.pcx", "models/x/big.pcx"};
  WriteBytes(dir.File("a.md2"), m.Bytes());
  m.skins = {"models/x/big.pcx"};
  WriteBytes(dir.File("b.md2"), m.Bytes());
  WriteBytes(dir.File("models/x/torn.pcx"), {10, 5, 1, 8});
  m.skins = {"models/x/torn.pcx"};
  WriteBytes(dir.File("c.md2"), m.Bytes());
  ScriptedUi ui;
  auto a = Load(ui, dir.File("a.md2"), dir.path());
  ASSERT_TRUE(a);
  ASSERT_EQ(a->skinPixels.size(), 128u);
  EXPECT_EQ(a->skinPixels[127], 33);
  ASSERT_EQ(a->rowOffset.size(), 8u);
  EXPECT_EQ(a->rowOffset[3], 48);
  auto b = Load(ui, dir.File("b.md2"), dir.path());
  ASSERT_TRUE(b);
  EXPECT_TRUE(b->skinPixels.empty());
  EXPECT_TRUE(ui.texts().empty());
  // A named skin that is no image is said, and the companion still opens.
  auto c = Load(ui, dir.File("c.md2"), dir.path());
  ASSERT_TRUE(c);
  EXPECT_TRUE(c->skinPixels.empty());
  EXPECT_EQ(ui.texts(), std::vector<std::string>{std::string(kDamagedSkinText) + "\n" + dir.File("models/x/torn.pcx")});
}

TEST(LoadCompanion, RefusesWhatItCannotHold) {
  TempDir dir;
  FolderGuard guard;
  ScriptedUi ui;
  // A file that cannot be opened: nothing, and the caller says so.
  EXPECT_FALSE(Load(ui, dir.File("missing.md2"), dir.path()));
  EXPECT_TRUE(ui.texts().empty());

  WriteBytes(dir.File("pic.md2"), {'B', 'M', 0, 0, 0, 0});
  EXPECT_FALSE(Load(ui, dir.File("pic.md2"), dir.path()));
  ASSERT_EQ(ui.texts().size(), 1u);
  EXPECT_EQ(ui.texts()[0], "This companion is not an MD2!\n" + dir.File("pic.md2"));

  auto expectRefused = [&](const std::vector<std::uint8_t>& bytes, const char* why) {
    ui.Clear();
    WriteBytes(dir.File("bad.md2"), bytes);
    EXPECT_FALSE(Load(ui, dir.File("bad.md2"), dir.path())) << why;
    ASSERT_EQ(ui.texts().size(), 1u) << why;
    EXPECT_EQ(ui.texts()[0].rfind("The companion could not be opened.\n", 0), 0u) << why;
    EXPECT_EQ(ui.texts()[0].substr(ui.texts()[0].rfind('\n') + 1), dir.File("bad.md2")) << why;
  };
  auto good = TwoFrameCompanion().Bytes();
  auto cut = good;
  cut.resize(cut.size() - 14 * 4 - 20);  // without the GL words the last frame is cut
  expectRefused(cut, "truncated");
  auto tris = good;
  SetMd2Field(tris, kFieldNumTris, 5000);
  expectRefused(tris, "too many triangles");
  TestMd2 badIndex = TwoFrameCompanion();
  badIndex.tris[1][2] = 4;  // only vertices 0..3 exist
  expectRefused(badIndex.Bytes(), "vertex index");
  TestMd2 badSt = TwoFrameCompanion();
  badSt.tris[0][4] = 9;  // only four s/t entries
  expectRefused(badSt.Bytes(), "st index");
  auto header = good;
  header.resize(40);
  expectRefused(header, "short header");
}

TEST(CompanionSkin, PlaceholderIsAFourPixelChequer) {
  Companion c;
  c.skinWidth = 12;
  c.skinHeight = 9;
  SetPlaceholderSkin(c);
  ASSERT_EQ(c.skinPixels.size(), 108u);
  auto at = [&](int x, int y) { return c.skinPixels[y * 12 + x]; };
  EXPECT_EQ(at(0, 0), 64);
  EXPECT_EQ(at(3, 3), 64);
  EXPECT_EQ(at(4, 0), 192);
  EXPECT_EQ(at(3, 4), 192);
  EXPECT_EQ(at(4, 4), 64);
  EXPECT_EQ(at(11, 8), 64);   // bit 2 clear in both
  EXPECT_EQ(at(11, 4), 192);
  ASSERT_EQ(c.rowOffset.size(), 9u);
  EXPECT_EQ(c.rowOffset[8], 96);
}

TEST(CompanionNormals, OnlyShownCompanionsInTheModelsFrame) {
  Model model;
  model.frames.push_back(std::make_unique<Frame>(0));
  model.frames.push_back(std::make_unique<Frame>(0));
  model.currentFrameIndex = 1;
  auto make = [](int frames) {
    auto c = std::make_unique<Companion>();
    c->numVertices = 3;
    c->numTriangles = 1;
    c->numFrames = static_cast<std::int16_t>(frames);
    c->frameVertices.resize(3 * frames);
    CompanionVertex* v = c->FrameVertices(frames - 1);
    v[1].x = 1;  // (0,0,0), (1,0,0), (1,1,0): (1,0,0) x (0,1,0) = +z
    v[2].x = 1;
    v[2].y = 1;
    c->triangles.resize(1);
    c->triangles[0].vertexIndex[1] = 1;
    c->triangles[0].vertexIndex[2] = 2;
    return c;
  };
  model.companions.push_back(make(2));
  model.companions.push_back(make(2));
  model.companions.push_back(make(1));  // lacks frame 1
  model.companions[1]->hidden = 1;
  ComputeCompanionFaceNormals(model);
  EXPECT_FLOAT_EQ(model.companions[0]->triangles[0].faceNormal[2], 1.0f);
  EXPECT_EQ(model.companions[1]->triangles[0].faceNormal[2], 0.0f);
  EXPECT_EQ(model.companions[2]->triangles[0].faceNormal[2], 0.0f);

  model.companions[0]->triangles[0].faceNormal[2] = 0.5f;
  model.frames.clear();  // no frame: companions are skipped too
  ComputeCompanionFaceNormals(model);
  EXPECT_EQ(model.companions[0]->triangles[0].faceNormal[2], 0.5f);
}
