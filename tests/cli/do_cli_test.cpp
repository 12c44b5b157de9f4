#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "cli/cli_run.h"
#include "image/image_files.h"
#include "platform/files.h"
#include "support/test_support.h"

namespace {

class DoCli : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    base_ = dir_->path() + "/baseq2";
    ASSERT_EQ(Cli({"demo", base_}).code, 0);
    model_ = base_ + "/models/demo/tris.md2";
    ASSERT_EQ(Cli({"resave", model_, dir_->File("plain.md2")}).code, 0);
  }
  static void TearDownTestSuite() { delete dir_; }
  static std::string File(const std::string& name) { return dir_->File(name); }
  static std::vector<std::uint8_t> SkinPixels(const std::string& path) {
    auto skin = LoadSkinImage(path);
    return skin ? (*skin)->pixels : std::vector<std::uint8_t>{};
  }
  // `do` on the demo model with its steps, writing out.md2 and out.pcx
  // afresh (any left by an earlier run removed first).
  static CliRun DoWithOutputs(const std::vector<std::string>& steps) {
    std::remove(File("out.md2").c_str());
    std::remove(File("out.pcx").c_str());
    std::vector<std::string> args = {"do", model_, "--base", base_, "--out", File("out.md2"), "--skin-out",
                                     File("out.pcx")};
    args.insert(args.end(), steps.begin(), steps.end());
    return Cli(args);
  }

  static inline TempDir* dir_ = nullptr;
  static inline std::string base_, model_;
};

}  // namespace

TEST_F(DoCli, RunsTheStepsAndWritesWhatIsAsked) {
  const std::vector<std::uint8_t> plain = ReadBytes(File("plain.md2"));
  const std::vector<std::uint8_t> skin = SkinPixels(base_ + "/models/demo/skin.pcx");
  ASSERT_FALSE(skin.empty());
  std::vector<std::uint8_t> painted = skin;
  const int width = 256;  // the demo skin's
  for (int x : {4, 6}) painted[static_cast<std::size_t>(7 * width + x)] = 200;

  const struct {
    std::vector<std::string> steps;
    int code;
    const std::vector<std::uint8_t>* model;  // --out's bytes; null: not written
    const std::vector<std::uint8_t>* skin;   // --skin-out's pixels; null: not written
    std::string err;                         // the start of what it printed; "" nothing
  } cases[] = {
      // Undone by its own repeat, so the model is the one a resave writes.
      {{"Selection/Select All", "Mapping/Flip Selected", "Mapping/Flip Selected"}, 0, &plain, &skin, ""},
      {{"Skins/Invert/Pixels", "Skins/Invert/Pixels", "Skins/Invert/Palette", "Skins/Invert/Palette"},
       0, &plain, &skin, ""},
      // No triangle to project: nothing changes.
      {{"Selection/Select None", "Mapping/Map from 3D View", "projection=parallel", "flip=on"}, 0, &plain, &skin, ""},
      {{"Mapping/Export", "file=" + File("m.vmp"), "Mapping/Import", "file=" + File("m.vmp")}, 0, &plain, &skin, ""},
      // A stroke of the point brush: the active slot's colour where the
      // mouse went down and where it moved to.
      {{"set slot0=200", "paint", "4,7", "6,7"}, 0, &plain, &painted, ""},
      {{"Mapping/Import", "file=" + File("none.vmp")}, 1, nullptr, nullptr,
       LoadErrorText(File("none.vmp"), 2)},
      {{"Selection/Select Al"}, 2, nullptr, nullptr,
       "No command \"Selection/Select Al\"\nDid you mean:\n  Selection/Select All\n"},
      {{"Mapping/Map from 3D View", "projection=paralel"}, 2, nullptr, nullptr,
       "The field projection of \"Mapping/Map from 3D View\" takes no value paralel\nDid you mean:\n  parallel\n"},
      {{"Mapping/Flip Selected", "colour=3"}, 2, nullptr, nullptr, "\"Mapping/Flip Selected\" has no field colour\n"},
  };
  for (const auto& c : cases) {
    const CliRun r = DoWithOutputs(c.steps);
    const std::string name = c.steps.front();
    EXPECT_EQ(r.code, c.code) << name << r.err;
    EXPECT_EQ(r.err.substr(0, c.err.size()), c.err) << name;
    if (c.err.empty()) {
      EXPECT_EQ(r.err, "") << name;
    }
    EXPECT_EQ(FileExists(File("out.md2")), c.model != nullptr) << name;
    EXPECT_EQ(FileExists(File("out.pcx")), c.skin != nullptr) << name;
    if (c.model) {
      EXPECT_EQ(ReadBytes(File("out.md2")), *c.model) << name;
    }
    if (c.skin) {
      EXPECT_EQ(SkinPixels(File("out.pcx")), *c.skin) << name;
    }
  }
}

TEST_F(DoCli, ListsEveryPathWithItsFields) {
  const CliRun r = Cli({"do", "--list"});
  EXPECT_EQ(r.code, 0);
  EXPECT_NE(r.out.find("\nMapping/Map from 3D View  projection=perspective|parallel  no-backfaces=off|on  flip=off|on"
                       "  mirror=off|on\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("\nMapping/Retro-Map  file=PATH  file=PATH\n"), std::string::npos);
}

// The skin list's commands, judged by the current skin --skin-out writes.
TEST_F(DoCli, SkinListCommandsAnswerTheirQuestionsAndKeepTheCurrentSkinRight) {
  const std::vector<std::uint8_t> skin = SkinPixels(base_ + "/models/demo/skin.pcx");
  ASSERT_FALSE(skin.empty());
  const std::vector<std::uint8_t> blank9(skin.size(), 9);
  std::vector<std::uint8_t> painted = skin;
  for (int x : {4, 6}) painted[static_cast<std::size_t>(7 * 256 + x)] = 200;
  const struct {
    std::vector<std::string> steps;
    int code;
    const std::vector<std::uint8_t>* skin;
    std::string err;
  } cases[] = {
      // An unanswered question is No: no checkerboard, the background slot's colour.
      {{"set slot7=9", "Skins/New"}, 0, &blank9, ""},
      {{"set slot7=9", "Skins/New", "answers=no,no,no", "Skins/Move Up"}, 0, &blank9, ""},
      {{"Skins/Duplicate"}, 0, &skin, ""},
      // Closing the new skin makes the one before it current again.
      {{"Skins/New", "Skins/Close/Delete"}, 0, &skin, ""},
      {{"set slot0=200", "paint", "4,7", "6,7", "Skins/Revert"}, 0, &skin, ""},
      {{"set slot0=200", "paint", "4,7", "6,7", "Skins/Store", "Skins/Revert"}, 0, &painted, ""},
      {{"Skins/New", "answers=maybe"}, 2, nullptr, "The answers of \"Skins/New\" are yes or no, not maybe\n"},
      {{"Skins/Duplicate", "answers=yes,yes,yes"}, 2, nullptr, "\"Skins/Duplicate\" asks 2 question(s)\n"},
  };
  for (const auto& c : cases) {
    std::remove(File("list.pcx").c_str());
    std::vector<std::string> args = {"do", model_, "--base", base_, "--skin-out", File("list.pcx")};
    args.insert(args.end(), c.steps.begin(), c.steps.end());
    const CliRun r = Cli(args);
    const std::string name = c.steps.back();
    EXPECT_EQ(r.code, c.code) << name << r.err;
    EXPECT_EQ(r.err, c.err) << name;
    ASSERT_EQ(FileExists(File("list.pcx")), c.skin != nullptr) << name;
    if (c.skin) {
      EXPECT_EQ(SkinPixels(File("list.pcx")), *c.skin) << name;
    }
  }
}

// The painting tools' steps, each against the texels its rule gives on the
// demo skin (256 wide).
TEST_F(DoCli, PaintingStepsPaintTheTexelsTheirRulesGive) {
  const std::vector<std::uint8_t> skin = SkinPixels(base_ + "/models/demo/skin.pcx");
  ASSERT_EQ(skin.size(), 256u * 256u);
  const auto at = [](int x, int y) { return static_cast<std::size_t>(y * 256 + x); };
  using Expect = std::function<void(std::vector<std::uint8_t>&)>;
  const struct {
    std::vector<std::string> steps;
    Expect expect;
  } cases[] = {
      {{"set slot0=200 brush-size=3 brush-shape=square", "paint", "10,10"},
       [&](auto& p) {
         for (int y = 9; y <= 11; ++y)
           for (int x = 9; x <= 11; ++x) p[at(x, y)] = 200;
       }},
      {{"set slot0=200 symmetry=skin-x", "paint", "3,5"}, [&](auto& p) { p[at(3, 5)] = p[at(252, 5)] = 200; }},
      {{"set slot0=200", "rect", "2,2", "5,4"},
       [&](auto& p) {
         for (int y = 2; y <= 4; ++y)
           for (int x = 2; x <= 5; ++x)
             if (y == 2 || y == 4 || x == 2 || x == 5) p[at(x, y)] = 200;
       }},
      {{"set slot0=200", "ellipse", "20,20", "20,20", "filled=on"}, [&](auto& p) { p[at(20, 20)] = 200; }},
      {{"set slot0=200", "fill", "200,220", "contiguous=off"},
       [&](auto& p) {
         const std::uint8_t seed = skin[at(200, 220)];
         for (std::uint8_t& texel : p)
           if (texel == seed) texel = 200;
       }},
      {{"set slot7=9", "pixels", "0,0", "2,1", "Edit/Delete Pixels"},
       [&](auto& p) {
         for (int y = 0; y <= 1; ++y)
           for (int x = 0; x <= 2; ++x) p[at(x, y)] = 9;
       }},
      {{"pixels", "0,0", "1,0", "Edit/Copy Pixels", "Edit/Paste Pixels", "at=10,12", "Edit/Flip Piece Left-Right",
        "Edit/Place Piece"},
       [&](auto& p) {
         p[at(10, 12)] = skin[at(1, 0)];
         p[at(11, 12)] = skin[at(0, 0)];
       }},
  };
  for (const auto& c : cases) {
    std::remove(File("out.pcx").c_str());
    std::vector<std::string> args = {"do", model_, "--base", base_, "--skin-out", File("out.pcx")};
    args.insert(args.end(), c.steps.begin(), c.steps.end());
    const CliRun r = Cli(args);
    ASSERT_EQ(r.code, 0) << c.steps.front() << r.err;
    std::vector<std::uint8_t> expected = skin;
    c.expect(expected);
    EXPECT_EQ(SkinPixels(File("out.pcx")), expected) << c.steps.front();
  }
  const CliRun wrong = Cli({"do", model_, "--base", base_, "set brush-size=33"});
  EXPECT_EQ(wrong.code, 2);
  EXPECT_EQ(wrong.err, "The brush size is 1..32: brush-size=33\n");
}

// The Skins commands that take files, each judged by the current skin
// --skin-out writes and by the file a link writes.
TEST_F(DoCli, SkinFileCommandsTakeTheirFilesFromTheArguments) {
  const std::vector<std::uint8_t> skin = SkinPixels(base_ + "/models/demo/skin.pcx");
  ASSERT_EQ(skin.size(), 256u * 256u);
  std::filesystem::create_directories(File("scan"));
  const std::string painted = File("scan/painted.pcx");
  ASSERT_EQ(Cli({"do", model_, "--base", base_, "--skin-out", painted, "set slot0=200", "paint", "4,7", "6,7"}).code, 0);
  const std::vector<std::uint8_t> paintedPixels = SkinPixels(painted);
  // Half the size: each texel takes the one at twice its place.
  std::vector<std::uint8_t> half(128u * 128u);
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 128; ++x) half[static_cast<std::size_t>(y * 128 + x)] = skin[static_cast<std::size_t>(2 * y * 256 + 2 * x)];
  const std::string linked = base_ + "/models/demo/linked.pcx";
  const struct {
    std::vector<std::string> steps;
    int code;
    const std::vector<std::uint8_t>* skin;  // null: nothing written
    std::string err;
    std::string written;  // a file the run writes besides, holding the painted skin
  } cases[] = {
      {{"Skins/Open", "file=" + painted}, 0, &paintedPixels, "", ""},
      {{"Skins/Open", "file=none.pcx"}, 1, nullptr, LoadErrorText(base_ + "/none.pcx", 2), ""},
      {{"Skins/Open", "file=" + painted, "Skins/Link", "file=" + linked}, 0, &paintedPixels, "", linked},
      // Outside the base folder only when the question is answered Yes.
      {{"Skins/Open", "file=" + painted, "Skins/Link", "file=" + File("outside.pcx")}, 0, &paintedPixels, "", ""},
      {{"Skins/Open", "file=" + painted, "Skins/Link", "file=" + File("no/x.pcx"), "answers=yes"}, 1, nullptr,
       "Error Saving: 2", ""},
      {{"set slot0=200", "paint", "4,7", "6,7", "Skins/Reload"}, 0, &skin, "", ""},
      // The scanned skin comes after the model's own.
      {{"Skins/Scan Folder", "folder=" + File("scan"), "Skins/Close/Delete"}, 0, &paintedPixels, "", ""},
      {{"Skins/Scan Folder", "folder=" + File("nowhere")}, 1, nullptr, "That folder is not valid\n" + File("nowhere"),
       ""},
      {{"Skins/Re-size All", "width=128", "height=128"}, 0, &half, "", ""},
      {{"Skins/Re-size All", "width=130"}, 1, nullptr, "The Width must be a multiple of 4!", ""},
  };
  for (const auto& c : cases) {
    std::remove(linked.c_str());
    std::remove(File("outside.pcx").c_str());
    const CliRun r = DoWithOutputs(c.steps);
    const std::string name = c.steps.back();
    EXPECT_EQ(r.code, c.code) << name << r.err;
    EXPECT_EQ(r.err.substr(0, c.err.size()), c.err) << name;
    EXPECT_EQ(r.err.empty(), c.err.empty()) << name << r.err;
    EXPECT_EQ(FileExists(File("out.md2")), c.skin != nullptr) << name;
    ASSERT_EQ(FileExists(File("out.pcx")), c.skin != nullptr) << name;
    if (c.skin) {
      EXPECT_EQ(SkinPixels(File("out.pcx")), *c.skin) << name;
    }
    EXPECT_FALSE(FileExists(File("outside.pcx"))) << name;
    EXPECT_EQ(FileExists(linked), !c.written.empty()) << name;
    if (!c.written.empty()) {
      EXPECT_EQ(SkinPixels(c.written), paintedPixels) << name;
    }
  }
}
