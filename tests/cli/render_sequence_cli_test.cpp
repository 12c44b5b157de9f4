#include <gtest/gtest.h>

#include <filesystem>

#include "cli/cli_run.h"
#include "cli/render_sequence.h"
#include "support/test_support.h"

namespace {

class RenderSequenceCli : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    CliRun r = Cli({"demo", dir_->path() + "/baseq2"});
    ASSERT_EQ(r.code, 0) << r.err;
    model_ = dir_->path() + "/baseq2/models/demo/tris.md2";
  }
  static void TearDownTestSuite() { delete dir_; }

  // One picture with the fixed camera the comparisons share.
  static std::vector<std::uint8_t> Single(const std::string& name, std::vector<std::string> options) {
    std::vector<std::string> args = {"render", model_, dir_->File(name), "--size", "64x48", "--distance", "120"};
    args.insert(args.end(), options.begin(), options.end());
    CliRun r = Cli(args);
    EXPECT_EQ(r.code, 0) << r.err;
    return ReadBytes(dir_->File(name));
  }

  static TempDir* dir_;
  static std::string model_;
};
TempDir* RenderSequenceCli::dir_ = nullptr;
std::string RenderSequenceCli::model_;

}  // namespace

TEST(RenderSequence, PatternsRangesAndTurns) {
  const struct {
    const char* pattern;
    int number;
    const char* name;  // "" when the pattern is refused
  } patterns[] = {{"out%03d.png", 7, "out007.png"}, {"f%d.bmp", 12, "f12.bmp"}, {"a%%b%2d.png", 3, "a%b 3.png"},
                  {"out%03d.png", 1234, "out1234.png"}, {"out.png", 0, ""}, {"%d%d.png", 0, ""},
                  {"%s.png", 0, ""}, {"50%.png", 0, ""}};
  for (const auto& p : patterns) EXPECT_EQ(PatternName(p.pattern, p.number).value_or(""), p.name) << p.pattern;

  const struct {
    const char* text;
    int first, last;  // -1: refused
  } ranges[] = {{"0-3", 0, 3}, {"5", 5, 5}, {"4-4", 4, 4}, {"3-1", -1, -1}, {"-2", -1, -1}, {"1-", -1, -1}, {"a-b", -1, -1}};
  for (const auto& r : ranges) {
    const auto got = ParseFrameRange(r.text);
    EXPECT_EQ(got ? got->first : -1, r.first) << r.text;
    EXPECT_EQ(got ? got->last : -1, r.last) << r.text;
  }
}

TEST_F(RenderSequenceCli, OnePicturePerFrameNumberedByFrame) {
  CliRun r = Cli({"render", model_, "--frames", "2-4", "--out-pattern", dir_->File("f%02d.png"), "--size", "64x48",
                  "--distance", "120"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_FALSE(std::filesystem::exists(dir_->File("f01.png")));
  EXPECT_FALSE(std::filesystem::exists(dir_->File("f05.png")));
  for (int f = 2; f <= 4; ++f) {
    const std::string name = "f0" + std::to_string(f) + ".png";
    EXPECT_EQ(ReadBytes(dir_->File(name)), Single("one.png", {"--frame", std::to_string(f)})) << name;
  }
  EXPECT_NE(ReadBytes(dir_->File("f02.png")), ReadBytes(dir_->File("f03.png")));
}

TEST_F(RenderSequenceCli, TurntableQuarterTurnsAreTheAlignedViews) {
  CliRun r = Cli({"render", model_, "--turntable", "4", "--out-pattern", dir_->File("t%d.png"), "--size", "64x48",
                  "--distance", "120"});
  ASSERT_EQ(r.code, 0) << r.err;
  const char* views[] = {"front", "left", "back", "right"};
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(ReadBytes(dir_->File("t" + std::to_string(i) + ".png")), Single("view.png", {"--view", views[i]}))
        << views[i];
}

TEST_F(RenderSequenceCli, RefusesWhatItCannotName) {
  const struct {
    std::vector<std::string> args;
    int code;
  } cases[] = {
      {{"--frames", "0-3", dir_->File("x.png")}, 2},                    // no pattern
      {{"--out-pattern", dir_->File("x.png")}, 2},                      // no number field
      {{"--out-pattern", dir_->File("x%d.png"), "--frames", "3-1"}, 2},  // backwards
      {{"--out-pattern", dir_->File("x%d.png"), "--turntable", "0"}, 2},
      {{"--out-pattern", dir_->File("x%d.png"), "--frames", "0-8"}, 1},  // the demo has frames 0..7
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"render", model_};
    args.insert(args.end(), c.args.begin(), c.args.end());
    CliRun r = Cli(args);
    EXPECT_EQ(r.code, c.code) << c.args[0] << " " << c.args[1] << "\n" << r.err;
  }
}
