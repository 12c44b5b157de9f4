#include <gtest/gtest.h>

#include "cli/cli_run.h"
#include "editor/mapping_islands.h"
#include "image/image_files.h"
#include "platform/files.h"
#include "support/test_support.h"

namespace {

class MappingToolsCli : public ::testing::Test {
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

  static inline TempDir* dir_ = nullptr;
  static inline std::string base_, model_;
};

}  // namespace

// The projections and packing as steps: each changes the mapping, Pack
// Islands says how much of the frame it covers, and wrong values are told.
TEST_F(MappingToolsCli, ProjectsAndPacksByTheirMenuPaths) {
  const std::vector<std::uint8_t> plain = ReadBytes(File("plain.md2"));
  const struct {
    std::vector<std::string> steps;
    int code;
    bool changed;     // the model written differs from the one loaded
    std::string out;  // what it printed must start so
    std::string err;
  } cases[] = {
      {{"Mapping/Cylinder Projection", "axis=z"}, 0, true, "", ""},
      {{"Mapping/Sphere Projection"}, 0, true, "", ""},
      {{"Mapping/Box Projection", "axis=x", "no-backfaces=on"}, 0, true, "", ""},
      {{"Mapping/Pack Islands", "margin=3", "rotate=on"}, 0, true, "Packed ", ""},
      {{"Mapping/Average Island Scale"}, 0, true, "", ""},
      {{"Mapping/Pack Islands", "margin=wide"}, 1, false, "", std::string(kPackMarginText) + "wide"},
      {{"Mapping/Sphere Projection", "axis=w"}, 2, false, "",
       "The field axis of \"Mapping/Sphere Projection\" takes no value w"},
  };
  for (const auto& c : cases) {
    std::remove(File("out.md2").c_str());
    std::vector<std::string> args = {"do", model_, "--base", base_, "--out", File("out.md2"), "Selection/Select All"};
    args.insert(args.end(), c.steps.begin(), c.steps.end());
    const CliRun r = Cli(args);
    const std::string name = c.steps.front();
    EXPECT_EQ(r.code, c.code) << name << r.err;
    EXPECT_EQ(r.out.substr(0, c.out.size()), c.out) << name;
    EXPECT_EQ(r.err.substr(0, c.err.size()), c.err) << name;
    EXPECT_EQ(FileExists(File("out.md2")), c.code == 0) << name;
    if (c.code == 0) {
      EXPECT_EQ(ReadBytes(File("out.md2")) != plain, c.changed) << name;
    }
  }
}

// layout --stretch draws the stretch colours over the picture it draws
// without.
TEST_F(MappingToolsCli, LayoutWithStretchColoursTheTriangles) {
  ASSERT_EQ(Cli({"layout", model_, File("plain.bmp"), "--base", base_}).code, 0);
  const CliRun r = Cli({"layout", model_, File("stretch.bmp"), "--base", base_, "--stretch"});
  ASSERT_EQ(r.code, 0) << r.err;
  auto plain = LoadSkinImage(File("plain.bmp"));
  auto stretch = LoadSkinImage(File("stretch.bmp"));
  ASSERT_TRUE(plain && stretch);
  ASSERT_EQ((*plain)->pixels.size(), (*stretch)->pixels.size());
  std::size_t differ = 0;
  for (std::size_t i = 0; i < (*plain)->pixels.size(); ++i) differ += (*plain)->pixels[i] != (*stretch)->pixels[i];
  // A half-tone screen over the mapped area: a good share of the picture.
  EXPECT_GT(differ, (*plain)->pixels.size() / 10);
}
