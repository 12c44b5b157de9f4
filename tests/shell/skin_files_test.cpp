#include <gtest/gtest.h>

#include <filesystem>

#include "image/image_files.h"
#include "image/new_skin.h"
#include "image/picture_builders.h"
#include "model/mapping_file.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "shell/app.h"
#include "shell/mapping_commands.h"
#include "shell/skin_commands.h"
#include "support/scripted_ui.h"
#include "support/test_support.h"

namespace {

constexpr int kW = 32, kH = 24;

// A base folder and a model whose skins are 32 x 24.
struct FileDesk {
  TempDir dir;
  FolderGuard guard;
  ScriptedUi ui;
  MemoryProfile profile;
  std::unique_ptr<App> app = std::make_unique<App>(ui, profile);
  std::string base = dir.path() + "/baseq2";

  FileDesk() {
    std::filesystem::create_directories(base);
    app->baseFolder = app->loadFolder = app->saveFolder = base;
    app->model.skinWidth = kW;
    app->model.skinHeight = kH;
  }
  Skin& Open(const std::string& path) {
    ui.QueueFile(path, 4);
    OnSkinOpen(*app);
    return *app->model.CurrentSkin();
  }
  bool Starts(const std::string& path, std::vector<std::uint8_t> head) const {
    auto bytes = ReadBytes(path);
    return bytes.size() >= head.size() && std::equal(head.begin(), head.end(), bytes.begin());
  }
};

const std::vector<std::uint8_t> kPngMark = {0x89, 'P', 'N', 'G'};
const std::vector<std::uint8_t> kPcxMark = {0x0A, 0x05};

Palette OddPalette() {
  Palette p{};
  for (int i = 0; i < 768; ++i) p[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 7 + 3);
  return p;
}

}  // namespace

TEST(SkinFiles, APngSkinIsSavedAsAnIndexedPngThatReadsBackTheSame) {
  FileDesk d;
  std::vector<std::uint8_t> pixels(kW * kH);
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i);
  const std::string file = d.base + "/paint.png";
  WriteBytes(file, EncodePng8(pixels, kW, kH, OddPalette()));
  Skin& s = d.Open(file);
  s.pixels[5] = 200;
  OnSkinSave(*d.app);
  EXPECT_EQ(d.ui.dialogs().size(), 1u);  // Open's only
  ASSERT_TRUE(d.Starts(file, kPngMark));
  s.pixels[5] = 1;
  OnSkinReload(*d.app);
  EXPECT_EQ(s.pixels[5], 200);
  pixels[5] = 200;
  EXPECT_EQ(s.pixels, pixels);
  EXPECT_EQ(s.palette, OddPalette());
  EXPECT_TRUE(d.ui.texts().empty());
}

TEST(SkinFiles, ATgaOrJpegSkinIsSavedThroughSaveAsUnderAPcxName) {
  TgaLayout tga;
  tga.width = kW;
  tga.height = kH;
  tga.data.assign(kW * kH * 3, 90);
  const struct {
    const char* name;
    std::vector<std::uint8_t> bytes;
  } cases[] = {{"paint.tga", BuildTga(tga)}, {"paint.jpg", BuildJpeg(kW, kH, std::vector<std::uint8_t>(kW * kH * 3, 90))}};
  for (const auto& c : cases) {
    FileDesk d;
    const std::string file = d.base + "/" + c.name, pcx = d.base + "/paint.pcx";
    WriteBytes(file, c.bytes);
    Skin& s = d.Open(file);
    const std::vector<std::uint8_t> read = s.pixels;
    s.pixels[0] ^= 1;
    OnSkinReload(*d.app);  // the picture is read again through the skin's palette
    EXPECT_EQ(s.pixels, read) << c.name;
    d.ui.QueueFile(pcx, 1);
    OnSkinSave(*d.app);
    ASSERT_EQ(d.ui.dialogs().size(), 2u) << c.name;
    EXPECT_EQ(d.ui.dialogs()[1].initialName, pcx) << c.name;
    EXPECT_NE(d.ui.dialogs()[1].title.find(c.name), std::string::npos) << d.ui.dialogs()[1].title;
    EXPECT_EQ(ReadBytes(file), c.bytes) << c.name;
    EXPECT_TRUE(d.Starts(pcx, kPcxMark)) << c.name;
    EXPECT_EQ(s.path, ToBackslashes(pcx));
  }
}

TEST(SkinFiles, SaveAsOffersPngAfterTheOtherFormatsAndByItsName) {
  const struct {
    const char* chosen;
    int filter;
    const char* written;
  } cases[] = {{"a", 5, "a.png"}, {"b.png", 1, "b.png"}, {"c.png", 5, "c.png"}};
  for (const auto& c : cases) {
    FileDesk d;
    AppendSkin(*d.app, MakeBlankSkin("newskin", kW, kH, OddPalette()));
    d.ui.QueueFile(d.base + "/" + c.chosen, c.filter);
    OnSkinSaveAs(*d.app);
    const std::string& filter = d.ui.dialogs().at(0).filter;
    EXPECT_EQ(filter.rfind("Supported Formats (*.pcx;*.bmp)|*.pcx;*.bmp|Mesh Skin (*.pcx)|*.pcx|"
                           "Bitmap (*.bmp)|*.bmp|All Files (*.*)|*.*|",
                           0),
              0u)
        << filter;
    EXPECT_NE(filter.find("(*.png)|*.png||"), std::string::npos) << filter;
    EXPECT_TRUE(d.Starts(d.base + "/" + c.written, kPngMark)) << c.chosen;
    EXPECT_EQ(d.app->model.CurrentSkin()->format, FORMAT_PNG) << c.chosen;
  }
}

TEST(SkinFiles, RetroMapNamesItsSkinApartAndItsSaveAsSaysWhichSkin) {
  FileDesk d;
  const std::string file = d.base + "/paint.pcx", retroPath = d.base + "/paint_retro3.pcx";
  WriteBytes(file, EncodePcx(*MakeBlankSkin("p", kW, kH, GreyRampPalette())));
  WriteBytes(d.base + "/paint.vmp", EncodeVmap(d.app->model));
  d.Open(file);
  // Taken names: a file on disk and another skin's name.
  WriteBytes(d.base + "/paint_retro.pcx", {1});
  AppendSkin(*d.app, MakeBlankSkin(d.base + "/paint_retro2.pcx", kW, kH, GreyRampPalette()));

  d.ui.QueueFile(file, 1);
  d.ui.QueueFile(d.base + "/paint.vmp", 1);
  OnRetroMap(*d.app);
  ASSERT_EQ(d.app->model.skins.size(), 3u);
  EXPECT_EQ(d.app->model.CurrentSkin()->path, ToBackslashes(retroPath));
  EXPECT_EQ(d.app->listBars.skins.items,
            (std::vector<std::string>{"paint.pcx", "paint_retro2.pcx", "paint_retro3.pcx"}));

  d.ui.Clear();
  d.ui.QueueAnswer(MsgAnswer::Yes);
  d.ui.QueueFile(retroPath, 1);
  EXPECT_TRUE(OfferToSaveChangedSkins(*d.app, {2}));
  EXPECT_EQ(d.ui.texts(), (std::vector<std::string>{std::string(kSaveChangedSkinText) + "\npaint_retro3.pcx"}));
  ASSERT_EQ(d.ui.dialogs().size(), 1u);
  EXPECT_NE(d.ui.dialogs()[0].title.find("paint_retro3.pcx"), std::string::npos) << d.ui.dialogs()[0].title;
  EXPECT_EQ(d.ui.dialogs()[0].initialName, retroPath);
  EXPECT_TRUE(d.Starts(retroPath, kPcxMark));
}
