#include <gtest/gtest.h>

#include <filesystem>

#include "image/image_files.h"
#include "model/md2_builder.h"
#include "model/md2_load.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/show_file_error.h"
#include "support/scripted_ui.h"
#include "support/test_support.h"

namespace {

constexpr char kMissingSkin[] = "External Skin does not exist....creating temporary skin.";
constexpr char kWrongSize[] = "Skin is of the wrong size....creating temporary skin.";

void WriteSkin(const std::string& path, int w, int h, std::uint8_t colour = 5) {
  Skin s;
  s.width = static_cast<std::int16_t>(w);
  s.height = static_cast<std::int16_t>(h);
  s.pixels.assign(static_cast<std::size_t>(w) * h, colour);
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  WriteBytes(path, EncodePcx(s));
}

// A base folder, a model and the context the loader works in.
struct Session {
  TempDir dir;
  FolderGuard guard;
  ScriptedUi ui;
  std::string base = dir.path() + "/baseq2";
  std::unique_ptr<Model> model = std::make_unique<Model>();
  std::vector<std::uint8_t> image;
  Md2Context context{*model,
                     base,
                     image,
                     SkinScan::Never,
                     "",
                     [this](const std::string& q) { return ui.Message(q, MsgButtons::YesNo) == MsgAnswer::Yes; }};

  Session() { std::filesystem::create_directories(base); }
  std::string Put(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    std::string p = base + "/" + name;
    std::filesystem::create_directories(std::filesystem::path(p).parent_path());
    WriteBytes(p, bytes);
    return p;
  }
  std::vector<std::uint8_t> SaveBytes() {
    std::string out = dir.File("out.md2");
    EXPECT_EQ(Save(out), 1);
    return ReadBytes(out);
  }
  // Load and save as the shell runs them: failures and notices shown on `ui`.
  int Load(const std::string& path) {
    auto loaded = LoadMd2(context, path);
    if (!loaded) {
      ShowFileError(ui, loaded.error());
      return 0;
    }
    ShowNotices(ui, *loaded);
    return 1;
  }
  int Save(const std::string& path) {
    auto saved = SaveMd2(context, path);
    if (!saved) ShowFileError(ui, saved.error());
    return saved && *saved ? 1 : 0;
  }
};

}  // namespace

TEST(LoadMd2, FillsTheModelAndCallsTheRebuilds) {
  Session s;
  auto bytes = QuadMd2().Bytes();
  std::string path = s.Put("quad.md2", bytes);
  ASSERT_EQ(s.Load(path), 1);
  Model& m = *s.model;
  EXPECT_EQ(m.modelLoaded, 1);
  EXPECT_EQ(m.VertexCount(), 4);
  EXPECT_EQ(m.TriangleCount(), 2);
  EXPECT_EQ(m.MapVertexCount(), 4);
  EXPECT_EQ(m.StoredMapVertexCount(), 4);
  EXPECT_EQ(m.triangles[1].storedMapIndex[2], 3);
  ASSERT_EQ(m.frames.size(), 1u);
  EXPECT_EQ(m.CurrentFrame(), m.frames[0]->vertices.data());
  EXPECT_EQ(m.frames[0]->name, "stand01");
  EXPECT_EQ(m.CurrentFrame()[2].x, 0.0f);
  EXPECT_EQ(m.CurrentFrame()[2].y, 1.0f);
  EXPECT_EQ(m.triangles[0].cornerMap[1].s, 7.0f);
  // Corners (-1,0,0), (0,0,0), (0,1,0): the normal points along +z.
  EXPECT_FLOAT_EQ(m.triangles[0].faceNormal[2], 1.0f);
  EXPECT_EQ(m.currentSkinIndex, -1);
  EXPECT_EQ(m.CurrentSkin(), nullptr);
  EXPECT_EQ(s.image, bytes);
  EXPECT_TRUE(s.ui.texts().empty());
}

TEST(LoadMd2, ResaveOfItsOwnLayoutIsByteExact) {
  for (bool skinOnDisk : {true, false}) {
    Session s;
    TestMd2 t = QuadMd2();
    t.skins = {"models/x/skin.pcx", "models/x/other.pcx"};
    if (skinOnDisk) WriteSkin(s.base + "/models/x/skin.pcx", 8, 8);
    auto bytes = t.Bytes();
    ASSERT_EQ(s.Load(s.Put("quad.md2", bytes)), 1);
    EXPECT_EQ(s.SaveBytes(), bytes) << "skin on disk: " << skinOnDisk;
  }
}

TEST(LoadMd2, DuplicateAndUnusedMappingIsDroppedAndRenumberedOnSave) {
  Session s;
  TestMd2 t = QuadMd2();
  t.st = {{{0, 0}}, {{7, 0}}, {{0, 0}}, {{9, 9}}, {{7, 7}}, {{0, 7}}};
  t.tris = {{{0, 1, 2, 0, 1, 4}}, {{0, 2, 3, 2, 4, 5}}};
  ASSERT_EQ(s.Load(s.Put("dup.md2", t.Bytes())), 1);
  EXPECT_EQ(s.model->MapVertexCount(), 4);
  // Welded, the file is the plain quad again.
  EXPECT_EQ(s.SaveBytes(), QuadMd2().Bytes());
}

TEST(SaveMd2, MappingIsTruncatedTowardZero) {
  Session s;
  ASSERT_EQ(s.Load(s.Put("quad.md2", QuadMd2().Bytes())), 1);
  s.model->mapVertices[1] = {12.9f, -0.5f};
  s.model->mapVertices[2] = {-3.99f, 40000.0f};
  s.model->WeldMapVertices(1);
  auto out = s.SaveBytes();
  auto st = [&](int i, int half) {
    std::size_t at = 68 + 4 * static_cast<std::size_t>(i) + 2 * half;
    return static_cast<std::int16_t>(out[at] | out[at + 1] << 8);
  };
  EXPECT_EQ(st(1, 0), 12);
  EXPECT_EQ(st(1, 1), 0);
  EXPECT_EQ(st(2, 0), -3);
  EXPECT_EQ(st(2, 1), 32767);  // held to what the field can store
}

TEST(SaveMd2, WritesLinkedSkinsOnlyWithSlashesInZeroEndedFields) {
  Session s;
  ASSERT_EQ(s.Load(s.Put("quad.md2", QuadMd2().Bytes())), 1);
  auto external = std::make_unique<Skin>();
  external->name = "/somewhere/skin.pcx";
  external->flags = SKIN_EXTERNAL;
  s.model->skins.push_back(std::move(external));
  auto out = s.SaveBytes();
  EXPECT_EQ(Md2Field(out, kFieldNumSkins), 0);
  EXPECT_EQ(Md2Field(out, kFieldOfsSt), 68);

  auto linked = std::make_unique<Skin>();
  linked->name = "models\\x\\skin.pcx";
  s.model->skins.push_back(std::move(linked));
  auto longName = std::make_unique<Skin>();
  longName->name = std::string(70, 'a');
  s.model->skins.push_back(std::move(longName));
  out = s.SaveBytes();
  ASSERT_EQ(Md2Field(out, kFieldNumSkins), 2);
  EXPECT_EQ(Md2Field(out, kFieldOfsSt), 68 + 128);
  std::string first(reinterpret_cast<const char*>(&out[68]), 64);
  EXPECT_EQ(first, std::string("models/x/skin.pcx") + std::string(64 - 17, '\0'));
  std::string second(reinterpret_cast<const char*>(&out[132]), 64);
  EXPECT_EQ(second, std::string(63, 'a') + '\0');
  // The mapping follows the names unchanged.
  EXPECT_EQ(out[68 + 128 + 4], 7);
}

TEST(SaveMd2, RefusesMoreLinkedSkinsThanTheReaderTakes) {
  Session s;
  ASSERT_EQ(s.Load(s.Put("quad.md2", QuadMd2().Bytes())), 1);
  s.model->skins.clear();
  for (int count = 1; count <= 33; ++count) {
    auto skin = std::make_unique<Skin>();
    skin->name = "skin" + std::to_string(count) + ".pcx";
    s.model->skins.push_back(std::move(skin));
    if (count < 32) continue;
    s.ui.Clear();
    const std::string out = s.dir.File(std::to_string(count) + ".md2");
    EXPECT_EQ(s.Save(out), count == 32 ? 1 : 0) << count;
    EXPECT_EQ(FileExists(out), count == 32) << count;
    EXPECT_EQ(s.ui.texts().size(), count == 32 ? 0u : 1u) << count;
  }
}

TEST(SaveMd2, KeepsAFrameSizeOfItsOwn) {
  Session s;
  TestMd2 t = QuadMd2();
  t.extraFrameBytes = 12;
  auto bytes = t.Bytes();
  ASSERT_EQ(s.Load(s.Put("padded.md2", bytes)), 1);
  EXPECT_EQ(s.model->CurrentFrame()[3].y, 1.0f);
  // Same layout, same GL commands: the file comes back unchanged, padding included.
  EXPECT_EQ(s.SaveBytes(), bytes);
  EXPECT_EQ(Md2Field(bytes, kFieldFrameSize), 40 + 16 + 12);
}

TEST(SaveMd2, ReportsTheCauseAndNeedsALoadedModel) {
  Session s;
  EXPECT_EQ(s.Save(s.dir.File("never.md2")), 0);
  EXPECT_FALSE(FileExists(s.dir.File("never.md2")));
  ASSERT_EQ(s.Load(s.Put("quad.md2", QuadMd2().Bytes())), 1);
  EXPECT_EQ(s.Save(s.dir.File("no/such/folder/x.md2")), 0);
  EXPECT_EQ(s.ui.texts(), std::vector<std::string>{"Error Saving: 2 (No such file or directory)\n" +
                                                   s.dir.File("no/such/folder/x.md2")});
}

TEST(LoadMd2, RelativeNamesResolveUnderTheBaseFolderIgnoringCaseWhereverItRuns) {
  Session s;
  WriteSkin(s.base + "/Models/X/Skin.PCX", 8, 8, 42);
  // A decoy where the process runs: relative names must not reach it.
  WriteSkin(s.dir.File("models/x/skin.pcx"), 8, 8, 7);
  TestMd2 t = QuadMd2();
  t.skins = {"models\\x\\skin.pcx"};
  s.Put("Models/Q/quad.md2", t.Bytes());
  FolderGuard here(s.dir.path());
  ASSERT_EQ(s.Load("models/q/QUAD.md2"), 1);
  EXPECT_EQ(std::filesystem::current_path().string(), s.dir.path());
  // Saving under a relative name writes below the base folder, as named.
  ASSERT_EQ(s.Save("Models/Q/QUAD.md2"), 1);
  EXPECT_TRUE(FileExists(s.base + "/Models/Q/QUAD.md2"));
  EXPECT_TRUE(FileExists(s.base + "/Models/Q/quad.md2"));
  ASSERT_EQ(s.model->skins.size(), 1u);
  const Skin& skin = *s.model->skins[0];
  EXPECT_EQ(skin.hasFile, 1);
  EXPECT_EQ(skin.pixels[0], 42);
  EXPECT_EQ(skin.name, "models\\x\\skin.pcx");
  EXPECT_EQ(s.model->CurrentSkin(), &skin);
  EXPECT_EQ(s.model->currentSkinIndex, 0);
  EXPECT_TRUE(s.ui.texts().empty());
}

TEST(LoadMd2, MissingOrWrongSizedSkinsBecomeCheckerboards) {
  Session s;
  WriteSkin(s.base + "/models/x/small.pcx", 4, 4);
  s.Put("models/x/torn.pcx", {10, 5, 1, 8});
  TestMd2 t = QuadMd2();
  t.skins = {"models/x/gone.pcx", "models/x/small.pcx", "models/x/torn.pcx"};
  ASSERT_EQ(s.Load(s.Put("quad.md2", t.Bytes())), 1);
  const std::string torn = s.base + "/models/x/torn.pcx";
  EXPECT_EQ(s.ui.texts(), (std::vector<std::string>{std::string(kMissingSkin) + "\n" + s.base + "/models/x/gone.pcx",
                                                     std::string(kWrongSize) + "\n" + s.base + "/models/x/small.pcx",
                                                     std::string(kDamagedSkinText) + "\n" + torn,
                                                     std::string(kMissingSkin) + "\n" + torn}));
  ASSERT_EQ(s.model->skins.size(), 3u);
  for (const auto& skin : s.model->skins) {
    EXPECT_EQ(skin->width, 8);
    EXPECT_EQ(skin->height, 8);
    EXPECT_EQ(skin->flags & SKIN_EXTERNAL, 0u);
    EXPECT_EQ(skin->hasFile, 0);
    // 4 x 4 squares: 63 where bit 2 of x equals bit 2 of y.
    EXPECT_EQ(skin->pixels[0], 63);
    EXPECT_EQ(skin->pixels[4], 191);
    EXPECT_EQ(skin->pixels[3 * 8 + 3], 63);
    EXPECT_EQ(skin->pixels[5 * 8 + 3], 191);
    EXPECT_EQ(skin->pixels[7 * 8 + 7], 63);
    EXPECT_EQ(skin->storedPixels, skin->pixels);
    EXPECT_EQ(skin->palette[3 * 100], 100);  // grey ramp: no palette file set
  }
  EXPECT_EQ(s.model->skins[0]->name, "models/x/gone.pcx");
  EXPECT_EQ(s.model->skins[0]->path, s.base + "/models/x/gone.pcx");

  // With a palette file given (relative: below the base folder) they take it.
  Session p;
  p.Put("pics/game.act", std::vector<std::uint8_t>(768, 9));
  p.context.palettePath = "pics/game.act";
  ASSERT_EQ(p.Load(p.Put("quad.md2", t.Bytes())), 1);
  ASSERT_EQ(p.model->skins.size(), 3u);
  EXPECT_EQ(p.model->skins[0]->palette[3 * 100], 9);
}

TEST(LoadMd2, ModelWithoutSkinNamesFollowsTheScanPolicy) {
  const std::string prompt = "This MD2 has no internal skins, would you like to load from it's base folder?";
  const struct {
    SkinScan policy;
    MsgAnswer answer;
    bool asks;
    bool scans;
  } cases[] = {{SkinScan::Ask, MsgAnswer::Yes, true, true},
               {SkinScan::Ask, MsgAnswer::No, true, false},
               {SkinScan::Always, MsgAnswer::No, false, true},
               {SkinScan::Never, MsgAnswer::Yes, false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.policy));
    Session s;
    s.context.skinScan = c.policy;
    WriteSkin(s.base + "/models/q/a.pcx", 8, 8);
    WriteSkin(s.base + "/models/q/b.pcx", 16, 8);  // not the model's size
    std::string path = s.Put("models/q/quad.md2", QuadMd2().Bytes());
    s.ui.QueueAnswer(c.answer);
    ASSERT_EQ(s.Load(path), 1);
    EXPECT_EQ(s.ui.texts(), c.asks ? std::vector<std::string>{prompt} : std::vector<std::string>{});
    if (!c.scans) {
      EXPECT_TRUE(s.model->skins.empty());
      EXPECT_EQ(s.model->currentSkinIndex, -1);
      continue;
    }
    ASSERT_EQ(s.model->skins.size(), 1u);
    EXPECT_EQ(s.model->skins[0]->flags & SKIN_EXTERNAL, SKIN_EXTERNAL);
    EXPECT_EQ(s.model->skins[0]->name, s.model->skins[0]->path);
    EXPECT_EQ(FileNamePart(s.model->skins[0]->path), "a.pcx");
    EXPECT_EQ(s.model->currentSkinIndex, 0);
    // External skins are not part of the file.
    EXPECT_EQ(s.SaveBytes(), QuadMd2().Bytes());
  }
  Session s;
  s.context.skinScan = SkinScan::Always;
  ASSERT_EQ(s.Load(s.Put("models/q/quad.md2", QuadMd2().Bytes())), 1);
  EXPECT_EQ(s.ui.texts(), std::vector<std::string>{"There were no matching skins found at that location"});
  EXPECT_EQ(s.model->currentSkinIndex, -1);
}

TEST(LoadMd2, FailureLeavesTheLoadedModelAsItWas) {
  Session s;
  TestMd2 t = QuadMd2();
  t.skins = {"models/x/skin.pcx"};
  WriteSkin(s.base + "/models/x/skin.pcx", 8, 8);
  auto good = t.Bytes();
  ASSERT_EQ(s.Load(s.Put("good.md2", good)), 1);
  s.model->triangles[0].flags = TRI_SELECTED;
  Skin* skin = s.model->CurrentSkin();

  std::vector<std::pair<std::vector<std::uint8_t>, std::string>> bad;
  bad.push_back({{}, "This is not an MD2!"});
  bad.push_back({{'P', 'K', 3, 4, 0, 0}, "This is not an MD2!"});
  auto cut = good;
  cut.resize(good.size() - 70);  // into the frames
  bad.push_back({cut, ""});
  auto count = good;
  SetMd2Field(count, kFieldNumTris, 5000);
  bad.push_back({count, ""});
  auto tooSmall = good;
  SetMd2Field(tooSmall, kFieldFrameSize, 20);
  bad.push_back({tooSmall, ""});
  for (std::size_t i = 0; i < bad.size(); ++i) {
    s.ui.Clear();
    const std::string file = s.Put("bad.md2", bad[i].first);
    EXPECT_EQ(s.Load(file), 0) << i;
    ASSERT_EQ(s.ui.texts().size(), 1u) << i;
    // Whatever the fault, the file is named on the message's last line.
    const std::string text = s.ui.texts()[0];
    EXPECT_EQ(text.substr(text.rfind('\n') + 1), file) << i;
    if (!bad[i].second.empty()) {
      EXPECT_EQ(text, bad[i].second + "\n" + file) << i;
    }
  }
  s.ui.Clear();
  EXPECT_EQ(s.Load(s.dir.File("missing.md2")), 0);
  EXPECT_EQ(s.ui.texts(), std::vector<std::string>{"There was an error loading the specified file!\n"
                                                   "Error Loading: 2 (No such file or directory)\n" +
                                                   s.dir.File("missing.md2")});

  EXPECT_EQ(s.model->TriangleCount(), 2);
  EXPECT_EQ(s.model->triangles[0].flags, TRI_SELECTED);
  EXPECT_EQ(s.model->CurrentSkin(), skin);
  EXPECT_EQ(s.model->skins.size(), 1u);
  EXPECT_EQ(s.image, good);
  EXPECT_EQ(s.SaveBytes(), good);
}
