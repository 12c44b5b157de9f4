#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <functional>

#include "image/image_files.h"
#include "image/new_skin.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "support/scripted_services.h"
#include "support/notice_log.h"
#include "support/scripted_ui.h"
#include "shell/app.h"
#include "shell/command_table.h"
#include "shell/skin_commands.h"
#include "shell/skin_dialogs.h"
#include "image/picture_builders.h"
#include "support/model_bytes.h"
#include "support/scripted_skin_dialogs.h"
#include "support/test_support.h"

namespace {

// An application with a base folder and a model of one triangle whose corners
// sit at (2, 2), (20, 2) and (2, 20) on a 32 x 24 skin.
struct Desk {
  TempDir dir;
  FolderGuard guard;
  ScriptedUi ui;
  MemoryProfile profile;
  ScriptedSkinDialogs dialogs;
  std::unique_ptr<App> app = std::make_unique<App>(ui, profile);
  NoticeLog log{app->document.changes};
  std::string base;

  Desk(int w = 32, int h = 24) {
    base = dir.path() + "/baseq2";
    std::filesystem::create_directories(base + "/models");
    app->baseFolder = base;
    app->loadFolder = base;
    app->saveFolder = base;
    app->services = ScriptedServices(dialogs);
    Model& m = app->model;
    m.skinWidth = static_cast<std::int16_t>(w);
    m.skinHeight = static_cast<std::int16_t>(h);
    m.SetTriangleCount(1);
    m.SetMapVertexCount(3);
    m.mapVertices[0] = {2, 2};
    m.mapVertices[1] = {20, 2};
    m.mapVertices[2] = {2, 20};
    for (int k = 0; k < 3; ++k) {
      m.triangles[0].mapIndex[k] = static_cast<std::int16_t>(k);
      m.triangles[0].cornerMap[k] = m.mapVertices[k];
    }
  }

  Skin& Add(const std::string& name, bool external, std::uint8_t fill = 0) {
    auto s = MakeBlankSkin(name, app->model.skinWidth, app->model.skinHeight, GreyRampPalette());
    s->flags = external ? SKIN_EXTERNAL : 0;
    FillSkin(*s, fill);
    s->storedPixels = s->pixels;
    Skin& ref = *s;
    app->model.skins.push_back(std::move(s));
    app->model.currentSkinIndex = static_cast<std::int16_t>(app->model.skins.size() - 1);
    return ref;
  }

  // A skin file of the model's size (or another) written by our own writer.
  std::string File(const std::string& rel, bool bmp, int w = 0, int h = 0, std::uint8_t fill = 9) {
    auto s = MakeBlankSkin("f", w ? w : app->model.skinWidth, h ? h : app->model.skinHeight, GreyRampPalette());
    FillSkin(*s, fill);
    std::string path = base + "/" + rel;
    WriteBytes(path, bmp ? EncodeBmp(*s) : EncodePcx(*s));
    return path;
  }

  std::uint8_t At(const Skin& s, int x, int y) const { return s.pixels[y * s.width + x]; }
  std::vector<std::string> Names() const {
    std::vector<std::string> out;
    for (const auto& s : app->model.skins) out.push_back(s->name);
    return out;
  }
};

Palette ActPalette() {
  Palette p{};
  for (int i = 0; i < 768; ++i) p[i] = static_cast<std::uint8_t>(i * 5 + 1);
  return p;
}

}  // namespace

TEST(NewSkin, WithoutSkinsTakesTheDefaultPaletteAndChecksInSlots2And3) {
  Desk d;
  Palette act = ActPalette();
  WriteBytes(d.dir.File("colormap.act"), std::vector<std::uint8_t>(act.begin(), act.end()));
  d.profile.WriteString("Preferences", "Palette Path", d.dir.File("colormap.act"));
  d.ui.QueueAnswer(MsgAnswer::Yes);  // checkerboard
  d.ui.QueueAnswer(MsgAnswer::No);   // grid
  d.ui.QueueAnswer(MsgAnswer::No);   // mesh
  OnSkinNew(*d.app);

  ASSERT_EQ(d.app->model.skins.size(), 1u);
  Skin& s = *d.app->model.CurrentSkin();
  EXPECT_EQ(d.app->model.currentSkinIndex, 0);
  EXPECT_EQ(s.name, "newskin");
  EXPECT_EQ(s.flags, SKIN_EXTERNAL);
  EXPECT_EQ(s.hasFile, 0);
  EXPECT_EQ(s.format, FORMAT_PCX);
  EXPECT_EQ(s.palette, act);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(d.At(s, x, y), 128);
  EXPECT_EQ(d.At(s, 4, 0), 192);
  EXPECT_EQ(s.storedPixels, s.pixels);
  EXPECT_EQ(d.ui.texts(), (std::vector<std::string>{kCheckerboardQuestion, kGridQuestion, kMeshOutlineQuestion}));
  EXPECT_GT(d.log.Count(ChangesOfStepParts(STEP_SKINS | STEP_MESH)), 0);
}

TEST(NewSkin, BackgroundGridAndMeshOutlineTakeTheirSlots) {
  Desk d;
  Skin& first = d.Add("first", false);
  first.palette[0] = 77;
  d.app->editor.activeSlot = 6;  // colour 5
  // A second triangle reaching far off the skin must be clipped, not drawn outside.
  Model& m = d.app->model;
  m.SetTriangleCount(2);
  m.SetMapVertexCount(5);
  m.mapVertices[3] = {-50, 1000};
  m.mapVertices[4] = {5000, -7};
  m.triangles[1].mapIndex[0] = 0;
  m.triangles[1].mapIndex[1] = 3;
  m.triangles[1].mapIndex[2] = 4;
  d.ui.QueueAnswer(MsgAnswer::No);
  d.ui.QueueAnswer(MsgAnswer::Yes);
  d.ui.QueueAnswer(MsgAnswer::Yes);
  OnSkinNew(*d.app);

  ASSERT_EQ(m.skins.size(), 2u);
  Skin& s = *m.CurrentSkin();
  EXPECT_EQ(m.currentSkinIndex, 1);
  EXPECT_EQ(s.palette[0], 77);  // copied from the current skin
  EXPECT_EQ(d.At(s, 1, 0), 15);   // odd column, even row: slot 4
  EXPECT_EQ(d.At(s, 3, 1), 0);    // odd column, odd row: background, slot 7
  EXPECT_EQ(d.At(s, 4, 5), 10);   // even column: slot 5
  EXPECT_EQ(d.At(s, 11, 2), 5);   // edge (2,2)-(20,2)
  EXPECT_EQ(d.At(s, 2, 11), 5);   // edge (2,20)-(2,2)
  EXPECT_EQ(d.At(s, 11, 11), 5);  // edge (20,2)-(2,20)
  EXPECT_EQ(d.At(s, 9, 9), 0);    // inside the triangle
}

TEST(DuplicateSkin, WithoutSkinsUsesTheGreyRampAndAsksNoGrid) {
  Desk d;
  d.ui.QueueAnswer(MsgAnswer::Yes);  // checkerboard
  d.ui.QueueAnswer(MsgAnswer::No);   // mesh
  OnSkinDuplicate(*d.app);
  ASSERT_EQ(d.app->model.skins.size(), 1u);
  Skin& s = *d.app->model.CurrentSkin();
  EXPECT_EQ(s.name, "dupskin");
  EXPECT_EQ(s.palette, GreyRampPalette());
  EXPECT_EQ(d.At(s, 0, 0), 64);
  EXPECT_EQ(d.At(s, 4, 0), 192);
  EXPECT_EQ(d.At(s, 4, 4), 64);
  EXPECT_EQ(d.ui.texts(),
            (std::vector<std::string>{kNothingToDuplicateText, kCheckerboardQuestion, kMeshOutlineQuestion}));
}

TEST(DuplicateSkin, CopiesPixelsStoredStateAndPalette) {
  Desk d;
  Skin& src = d.Add("src", false, 3);
  src.storedPixels.assign(src.storedPixels.size(), 4);
  src.palette[5] = 200;
  OnSkinDuplicate(*d.app);
  ASSERT_EQ(d.app->model.skins.size(), 2u);
  Skin& copy = *d.app->model.CurrentSkin();
  EXPECT_EQ(copy.name, "dupskin");
  EXPECT_EQ(copy.flags, SKIN_EXTERNAL);
  EXPECT_EQ(copy.pixels, src.pixels);
  EXPECT_EQ(copy.storedPixels, src.storedPixels);
  EXPECT_EQ(copy.palette[5], 200);
  EXPECT_TRUE(d.ui.texts().empty());
}

TEST(OpenSkin, AddsTheDefaultExtensionOnlyWithoutAnyDot) {
  Desk d;
  std::string bmp = d.File("models/red.bmp", true);
  d.ui.QueueFile(d.base + "/models/red", 3);
  OnSkinOpen(*d.app);
  ASSERT_EQ(d.app->model.skins.size(), 1u);
  Skin& s = *d.app->model.CurrentSkin();
  EXPECT_EQ(s.flags, SKIN_EXTERNAL);
  EXPECT_EQ(s.name, ToBackslashes(bmp));  // external skins are named by their full path
  EXPECT_EQ(d.app->loadFolder, d.base + "/models");
  EXPECT_EQ(d.profile.GetString("Project", "LoadDir", ""), d.base + "/models");
  const FileDialogRequest& r = d.ui.dialogs().at(0);
  EXPECT_EQ(r.filter, kSkinOpenFilter);
  EXPECT_EQ(r.initialName, "*.pcx;*.bmp");

  // With the Supported filter the same dot-less name means red.pcx, which is missing.
  d.ui.QueueFile(d.base + "/models/red", 1);
  OnSkinOpen(*d.app);
  EXPECT_EQ(d.app->model.skins.size(), 1u);
}

TEST(OpenSkin, ASkinOfAnotherSizeIsRefused) {
  Desk d;
  const std::string small = d.File("small.pcx", false, 16, 16);
  d.ui.QueueFile(small, 1);
  OnSkinOpen(*d.app);
  EXPECT_TRUE(d.app->model.skins.empty());
  EXPECT_EQ(d.ui.texts(), (std::vector<std::string>{std::string(kSkinWrongSizeText) + "\n" + small}));
}

TEST(SaveSkinAs, TheFilterDecidesTheWriter) {
  Desk d;
  d.Add("dupskin", true, 7);
  d.ui.QueueFile(d.base + "/a.bmp", 1);
  OnSkinSaveAs(*d.app);
  auto bytes = ReadBytes(d.base + "/a.bmp");
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[1], 'M');
  Skin& s = *d.app->model.CurrentSkin();
  EXPECT_EQ(s.format, FORMAT_BMP);
  EXPECT_EQ(s.hasFile, 1);
  EXPECT_EQ(s.name, ToBackslashes(d.base + "/a.bmp"));

  d.ui.QueueFile(d.base + "/b.bmp", 2);  // Mesh Skin: PCX data under a .bmp name
  OnSkinSaveAs(*d.app);
  bytes = ReadBytes(d.base + "/b.bmp");
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes[0], 0x0A);
  EXPECT_EQ(bytes[1], 0x05);
  EXPECT_EQ(s.format, FORMAT_PCX);

  d.ui.QueueFile(d.base + "/c", 3);  // Bitmap filter, no dot: c.bmp
  OnSkinSaveAs(*d.app);
  EXPECT_TRUE(FileExists(d.base + "/c.bmp"));
  EXPECT_TRUE(d.ui.texts().empty());
}

TEST(SaveSkinAs, LinkedSkinOutsideTheBaseFolderAsksAndNoWritesNothing) {
  Desk d;
  Skin& s = d.Add("models\\x.pcx", false);
  s.path = d.base + "/models/x.pcx";
  std::filesystem::create_directories(d.dir.path() + "/out");
  d.ui.QueueFile(d.dir.path() + "/out/x.pcx", 2);
  d.ui.QueueAnswer(MsgAnswer::No);
  OnSkinSaveAs(*d.app);
  EXPECT_FALSE(FileExists(d.dir.path() + "/out/x.pcx"));
  EXPECT_EQ(d.ui.texts(), (std::vector<std::string>{kOutsideBaseFolderText}));

  d.ui.QueueFile(d.base + "/models/y.pcx", 2);
  OnSkinSaveAs(*d.app);
  EXPECT_EQ(s.name, "models\\y.pcx");  // relative to the base folder
  EXPECT_EQ(d.ui.texts().size(), 1u);
}

TEST(SaveSkinAs, AFailedWriteChangesNothing) {
  Desk d;
  std::string old = d.File("models/keep.pcx", false);
  auto oldBytes = ReadBytes(old);
  d.ui.QueueFile(old, 1);
  OnSkinOpen(*d.app);
  ASSERT_EQ(d.app->model.skins.size(), 1u);
  Skin& s = *d.app->model.CurrentSkin();
  std::string name = s.name, path = s.path;
  s.pixels[0] = 99;

  d.ui.QueueFile(d.base + "/missing/keep.bmp", 3);
  OnSkinSaveAs(*d.app);
  EXPECT_EQ(s.name, name);
  EXPECT_EQ(s.path, path);
  EXPECT_EQ(s.format, FORMAT_PCX);
  EXPECT_NE(s.storedPixels[0], 99);
  ASSERT_EQ(d.ui.texts().size(), 2u);
  EXPECT_EQ(d.ui.texts()[0].rfind("Error Saving: ", 0), 0u);
  EXPECT_EQ(d.ui.texts()[1].rfind(std::string(kSkinSaveFailedText) + "\n/", 0), 0u);  // the file follows
  EXPECT_EQ(ReadBytes(old), oldBytes);
}

TEST(SaveSkin, AFailedWriteLeavesTheOldFileWhole) {
  Desk d(256, 256);
  std::string old = d.File("models/big.pcx", false, 0, 0, 1);
  auto oldBytes = ReadBytes(old);
  d.ui.QueueFile(old, 1);
  OnSkinOpen(*d.app);
  ASSERT_EQ(d.app->model.skins.size(), 1u);
  Skin& s = *d.app->model.CurrentSkin();
  s.pixels.assign(s.pixels.size(), 200);  // every pixel becomes two bytes

  // A file-size limit below the new file makes the write fail part-way.
  struct rlimit saved {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  OnSkinSave(*d.app);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(ReadBytes(old), oldBytes);
  EXPECT_EQ(s.storedPixels[0], 1);
  EXPECT_EQ(s.hasFile, 1);
  ASSERT_EQ(d.ui.texts().size(), 2u);
  EXPECT_EQ(d.ui.texts()[1].rfind(std::string(kSkinSaveFailedText) + "\n/", 0), 0u);  // the file follows
  for (const auto& e : std::filesystem::directory_iterator(d.base + "/models"))
    EXPECT_EQ(e.path().filename().string(), "big.pcx");  // no temporary left behind

  OnSkinSave(*d.app);  // and without the limit it goes through
  EXPECT_NE(ReadBytes(old), oldBytes);
  EXPECT_EQ(s.storedPixels[0], 200);
}

TEST(LinkSkin, UnlinkThenLinkGivesBackTheRelativeNameAndPlace) {
  Desk d;
  std::string file = d.File("models/a.pcx", false);
  Skin& a = d.Add("models\\a.pcx", false);
  a.path = ToBackslashes(file);
  a.hasFile = 1;
  d.Add("models\\b.pcx", false);
  d.Add("ext", true);
  d.app->model.currentSkinIndex = 0;

  OnSkinUnlink(*d.app);
  EXPECT_EQ(d.Names(), (std::vector<std::string>{"models\\b.pcx", ToBackslashes(file), "ext"}));
  EXPECT_EQ(d.app->model.CurrentSkin(), &a);
  EXPECT_EQ(d.app->model.currentSkinIndex, 1);
  EXPECT_TRUE(a.flags & SKIN_EXTERNAL);

  // After moving it behind the external skin, linking brings it back up.
  OnSkinMoveDown(*d.app);
  EXPECT_EQ(d.app->model.currentSkinIndex, 2);
  d.ui.QueueFile(d.base + "/models/a", 1);
  OnSkinLink(*d.app);
  EXPECT_EQ(a.name, "models\\a.pcx");
  EXPECT_EQ(a.flags, 0u);
  EXPECT_EQ(a.hasFile, 1);
  EXPECT_EQ(d.Names(), (std::vector<std::string>{"models\\b.pcx", "models\\a.pcx", "ext"}));
  EXPECT_EQ(d.app->model.CurrentSkin(), &a);
  EXPECT_EQ(d.ui.dialogs().back().filter, kLinkFilter);
  EXPECT_TRUE(d.ui.texts().empty());
}

TEST(LinkSkin, AFailedWriteLeavesTheSkinExternal) {
  Desk d;
  Skin& s = d.Add("ext", true);
  d.ui.QueueFile(d.base + "/missing/a.pcx", 1);
  OnSkinLink(*d.app);
  EXPECT_TRUE(s.flags & SKIN_EXTERNAL);
  EXPECT_EQ(s.name, "ext");
  EXPECT_EQ(s.hasFile, 0);
  EXPECT_EQ(d.ui.texts().back(), std::string(kSkinSaveFailedText) + "\n" + d.base + "/missing/a.pcx");
}

TEST(MoveSkin, CannotCrossTheLinkedExternalBorder) {
  Desk d;
  d.Add("L1", false);
  d.Add("L2", false);
  Skin& e1 = d.Add("E1", true);
  OnSkinMoveUp(*d.app);
  EXPECT_EQ(d.Names(), (std::vector<std::string>{"L1", "L2", "E1"}));
  EXPECT_EQ(d.app->model.CurrentSkin(), &e1);
  EXPECT_EQ(d.app->model.currentSkinIndex, 2);
  OnSkinMoveDown(*d.app);  // nothing after it
  EXPECT_EQ(d.app->model.currentSkinIndex, 2);

  d.app->model.currentSkinIndex = 1;
  OnSkinMoveUp(*d.app);
  EXPECT_EQ(d.Names(), (std::vector<std::string>{"L2", "L1", "E1"}));
  EXPECT_EQ(d.app->model.currentSkinIndex, 0);
  EXPECT_EQ(d.app->model.CurrentSkin()->name, "L2");
}

TEST(SkinBar, RefreshPartitionsAndFollowsTheCurrentSkin) {
  Desk d;
  d.Add("E1", true);
  d.Add("L1", false);
  d.Add("E2", true);
  d.Add("L2", false);
  Skin* e1 = d.app->model.skins[0].get();
  d.app->model.currentSkinIndex = 0;
  RefreshSkinBar(*d.app);
  EXPECT_EQ(d.Names(), (std::vector<std::string>{"L1", "L2", "E2", "E1"}));
  EXPECT_EQ(d.app->model.currentSkinIndex, 3);
  EXPECT_EQ(d.app->model.CurrentSkin(), e1);
}

TEST(CloseSkin, CurrentStaysOrMovesToTheNewLast) {
  Desk d;
  d.Add("a", true);
  d.Add("b", true);
  d.Add("c", true);
  d.app->model.currentSkinIndex = 1;
  OnSkinClose(*d.app);
  EXPECT_EQ(d.app->model.CurrentSkin()->name, "c");
  OnSkinClose(*d.app);
  EXPECT_EQ(d.app->model.currentSkinIndex, 0);
  EXPECT_EQ(d.app->model.CurrentSkin()->name, "a");
  OnSkinClose(*d.app);
  EXPECT_EQ(d.app->model.currentSkinIndex, -1);
  EXPECT_EQ(d.app->model.CurrentSkin(), nullptr);
  OnSkinClose(*d.app);  // nothing left: nothing happens
  OnSkinSave(*d.app);
  OnSkinRevert(*d.app);
  EXPECT_TRUE(d.ui.dialogs().empty());
}

TEST(StoreRevertReload, OneLevelUndoAndReloadFromDisk) {
  Desk d;
  std::string file = d.File("models/r.pcx", false, 0, 0, 9);
  d.ui.QueueFile(file, 1);
  OnSkinOpen(*d.app);
  Skin& s = *d.app->model.CurrentSkin();
  s.pixels[0] = 1;
  OnSkinStore(*d.app);
  d.log.clear();  // the revert's own notices
  s.pixels[0] = 2;
  OnSkinRevert(*d.app);
  EXPECT_EQ(s.pixels[0], 1);
  EXPECT_EQ(d.log.Count(kSkinPixelsChanged | kPaletteChanged), 1);

  s.palette[0] = 123;
  OnSkinReload(*d.app);
  EXPECT_EQ(s.pixels[0], 9);
  EXPECT_EQ(s.storedPixels[0], 9);
  EXPECT_EQ(s.palette[0], 0);

  d.File("models/r.pcx", false, 16, 16);
  s.pixels[0] = 5;
  OnSkinReload(*d.app);
  EXPECT_EQ(s.pixels[0], 5);
  EXPECT_EQ(d.ui.texts().back(), std::string(kReloadWrongSizeText) + "\n" + file);

  std::filesystem::remove(file);
  OnSkinReload(*d.app);
  EXPECT_EQ(d.ui.texts().back(), std::string(kReloadFailedText) + "\n" + file);
  EXPECT_EQ(s.pixels[0], 5);
}

TEST(ResizeAllSkins, HalvesSkinsAndScalesTheMappingWithTheHalfPixel) {
  Desk d(256, 256);
  Model& m = d.app->model;
  m.mapVertices[0] = {10, 10};
  m.triangles[0].cornerMap[0] = {10, 10};
  Skin& s = d.Add("a", false);
  for (int y = 0; y < 256; ++y)
    for (int x = 0; x < 256; ++x) s.pixels[y * 256 + x] = static_cast<std::uint8_t>(x);
  d.Add("b", true);
  d.dialogs.QueueResize(128, 128, true);
  OnSkinResizeAll(*d.app);

  EXPECT_EQ(d.dialogs.shown().at(0).width, 256);
  EXPECT_TRUE(d.dialogs.shown().at(0).enforceLimits);
  EXPECT_EQ(m.skinWidth, 128);
  EXPECT_EQ(m.skinHeight, 128);
  for (const auto& skin : m.skins) {
    EXPECT_EQ(skin->width, 128);
    EXPECT_EQ(skin->pixels.size(), 128u * 128u);
    EXPECT_EQ(skin->storedPixels, skin->pixels);
  }
  EXPECT_EQ(s.pixels[5], 10);
  EXPECT_FLOAT_EQ(m.triangles[0].cornerMap[0].s, 5.25f);
  EXPECT_FLOAT_EQ(m.triangles[0].cornerMap[0].t, 5.25f);
  EXPECT_FLOAT_EQ(m.triangles[0].cornerMap[1].s, 128 * 20.5f / 256);
}

TEST(ResizeAllSkins, TheMappingFrameFollowsTheNewSize) {
  Desk d;
  d.Add("a", false);
  // Whole skin, as every redraw leaves it, and a part of it.
  const MappingFrame before[] = {{0, 0, 32, 24}, {8, 6, 16, 12}};
  const MappingFrame after[] = {{0, 0, 64, 48}, {16, 12, 32, 24}};
  for (int i = 0; i < 2; ++i) {
    d.app->editor.mappingFrame = before[i];
    d.dialogs.QueueResize(64, 48, true);
    OnSkinResizeAll(*d.app);
    const MappingFrame& f = d.app->editor.mappingFrame;
    EXPECT_EQ(std::vector<float>({f.left, f.top, f.right, f.bottom}),
              std::vector<float>({after[i].left, after[i].top, after[i].right, after[i].bottom}));
    d.dialogs.QueueResize(32, 24, true);
    OnSkinResizeAll(*d.app);
  }
}

TEST(ResizeAllSkins, LimitsApplyOnlyWhenEnforced) {
  Desk d;
  d.Add("a", false);
  d.dialogs.QueueResize(32, 24, false);
  d.dialogs.QueueResize(642, 100, true);
  d.dialogs.QueueCancel();
  OnSkinResizeAll(*d.app);
  OnSkinResizeAll(*d.app);
  OnSkinResizeAll(*d.app);
  EXPECT_EQ(d.app->model.skinWidth, 32);
  EXPECT_EQ(d.ui.texts(), (std::vector<std::string>{
                              "Try telling me something I don't already know!\nThe skins are already that size =]",
                              "The Width must be a multiple of 4!"}));

  d.dialogs.QueueResize(642, 100, false);
  OnSkinResizeAll(*d.app);
  EXPECT_EQ(d.app->model.skinWidth, 642);
  EXPECT_EQ(d.app->model.skins[0]->width, 642);
}

TEST(UndoSkinCommands, EachCommandIsOneStepUndoneAndRedoneExactly) {
  struct Case {
    const char* label;
    const char* step;
    std::function<void(Desk&)> prepare;
  } cases[] = {
      {"Re-size &All...", "Re-size All Skins",
       [](Desk& d) { d.dialogs.QueueResize(16, 12); }},
      {"&Move Up\tCtrl+Up", "Move Skin Up", [](Desk&) {}},
      {"&Close/Delete\tShift+D", "Close Skin", [](Desk&) {}},
      {"Dupl&icate\tCtrl+D", "Duplicate Skin", [](Desk&) {}},
      {"&Revert\tCtrl+Z", "Revert Skin", [](Desk& d) { d.app->model.CurrentSkin()->pixels[3] = 99; }},
  };
  for (const Case& c : cases) {
    Desk d;
    d.Add("a", false, 5);
    d.Add("b", false, 6).pixels[40] = 1;
    c.prepare(d);
    const auto before = ModelBytes(d.app->model);
    ExecuteCommand(*d.app, *FindCommandByLabel(c.label));
    const auto after = ModelBytes(d.app->model);
    ASSERT_NE(after, before) << c.label;
    EXPECT_EQ(d.app->document.history.size(), 1u) << c.label;
    EXPECT_EQ(d.app->document.history.UndoName(), c.step);
    ExecuteCommand(*d.app, *FindCommandByLabel("&Undo\tAlt+Backspace"));
    EXPECT_EQ(ModelBytes(d.app->model), before) << c.label;
    ExecuteCommand(*d.app, *FindCommandByLabel("&Redo\tCtrl+Y"));
    EXPECT_EQ(ModelBytes(d.app->model), after) << c.label;
  }
}

TEST(UndoSkinCommands, StoreThenRevertAreTwoStepsAndTheEditMenuNamesThem) {
  Desk d;
  Skin& s = d.Add("a", false, 5);
  const Command& undo = *FindCommandByLabel("&Undo\tAlt+Backspace");
  const Command& revert = *FindCommandByLabel("&Revert\tCtrl+Z");
  EXPECT_FALSE(undo.enabled(*d.app));
  EXPECT_EQ(CommandLabel(*d.app, undo), "&Undo\tAlt+Backspace");
  s.pixels[0] = 1;
  ExecuteCommand(*d.app, *FindCommandByLabel("&Store\tShift+Z"));
  s.pixels[0] = 2;
  ExecuteCommand(*d.app, revert);
  EXPECT_EQ(s.pixels[0], 1);
  EXPECT_EQ(CommandLabel(*d.app, undo), "&Undo Revert Skin\tAlt+Backspace");
  ExecuteCommand(*d.app, undo);
  EXPECT_EQ(s.pixels[0], 2);
  ExecuteCommand(*d.app, undo);
  EXPECT_EQ(s.storedPixels[0], 5);
  EXPECT_EQ(CommandLabel(*d.app, *FindCommandByLabel("&Redo\tCtrl+Y")), "&Redo Store Skin\tCtrl+Y");

  // Ctrl+Z moves from Revert to Undo when the user asks for it.
  EXPECT_EQ(CommandKeys(*d.app, revert), std::vector<std::string>{"Ctrl+Z"});
  d.app->ctrlZUndoes = true;
  EXPECT_TRUE(CommandKeys(*d.app, revert).empty());
  EXPECT_EQ(CommandLabel(*d.app, revert), "&Revert");
  EXPECT_EQ(CommandKeys(*d.app, undo).front(), "Ctrl+Z");
  EXPECT_EQ(CommandLabel(*d.app, undo), "&Undo\tCtrl+Z");
}

TEST(OpenSkin, ATrueColourPictureComesInTheCurrentSkinsPalette) {
  Desk d;
  Skin& current = d.Add("a", false, 5);
  for (int i = 0; i < 256; ++i) current.palette[static_cast<std::size_t>(i * 3)] = static_cast<std::uint8_t>(255 - i);
  // Red 200 is nearest to entry 55 of a palette whose red runs 255 down to 0
  // (green and blue 0..255 as the grey ramp leaves them); alpha 0 is 255.
  std::vector<std::uint8_t> rgba;
  for (int i = 0; i < 32 * 24; ++i) rgba.insert(rgba.end(), {200, 55, 55, static_cast<std::uint8_t>(i == 0 ? 0 : 255)});
  WriteBytes(d.base + "/models/true.png", BuildRgbaPng(32, 24, rgba));
  d.ui.QueueFile(d.base + "/models/true.png", 4);
  ExecuteCommand(*d.app, *FindCommandByLabel("&Open\tShift+O"));
  ASSERT_EQ(d.app->model.skins.size(), 2u);
  const Skin& s = *d.app->model.CurrentSkin();
  EXPECT_EQ(s.palette, current.palette);
  EXPECT_EQ(s.pixels[0], 255);
  EXPECT_EQ(s.pixels[1], 55);
  EXPECT_EQ(d.app->document.history.UndoName(), "Open Skin");
}

TEST(SaveSkinAs, EditsBeforeTheSaveCanStillBeUndone) {
  Desk d;
  Skin& s = d.Add(d.base + "/x.pcx", true, 7);
  const Palette original = s.palette;
  const Command* invert = FindCommandByLabel("&Palette");
  ASSERT_TRUE(invert);
  ASSERT_EQ(invert->stepName, "Invert Palette");
  ExecuteCommand(*d.app, *invert);
  ASSERT_NE(s.palette, original);
  d.ui.QueueFile(d.base + "/x.bmp", 3);  // a new name and format
  OnSkinSaveAs(*d.app);
  EXPECT_EQ(s.format, FORMAT_BMP);
  EXPECT_TRUE(d.app->document.ChangedSkins().empty());
  EXPECT_EQ(d.app->document.history.UndoName(), "Invert Palette");
  EXPECT_TRUE(d.app->document.Undo());
  EXPECT_EQ(s.palette, original);
  EXPECT_EQ(s.format, FORMAT_BMP);  // the file written stays the skin's
}
