#include <gtest/gtest.h>

#include "cli/cli_run.h"
#include "image/image_files.h"
#include "model/md2_builder.h"
#include "support/scripted_ui.h"
#include "support/shown.h"
#include "support/test_support.h"

namespace {

// The quad's four mapping vertices at (2, 2), (12, 2), (12, 12), (2, 12) on a
// 16 x 16 skin; its triangles share the diagonal (2, 2) - (12, 12).
std::string WriteQuad(const TempDir& dir) {
  TestMd2 m = QuadMd2();
  m.skinWidth = m.skinHeight = 16;
  m.st = {{{2, 2}}, {{12, 2}}, {{12, 12}}, {{2, 12}}};
  const std::string path = dir.File("quad.md2");
  WriteBytes(path, m.Bytes());
  return path;
}

}  // namespace

TEST(LayoutCli, DrawsTheMappingEdgesWhereTheMappingPutsThem) {
  TempDir dir;
  FolderGuard guard;
  const std::string model = WriteQuad(dir);
  const std::string out = dir.File("layout.bmp");
  CliRun r = Cli({"layout", model, out, "--zoom", "2", "--no-skin"});
  ASSERT_EQ(r.code, 0) << r.err;
  ScriptedUi ui;
  auto picture = Shown(ui, LoadSkinImage(out));
  ASSERT_TRUE(picture);
  ASSERT_EQ(picture->width, 32);
  ASSERT_EQ(picture->height, 32);
  const int zoom = 2;
  // A vertex sits on its texel's centre: column (s + 0.5) x zoom; the rows
  // count up from the bottom, so from the top it is (t + 0.5) x zoom - 1.
  const auto x = [&](int s) { return s * zoom + zoom / 2; };
  const auto y = [&](int t) { return t * zoom + zoom / 2 - 1; };
  const auto at = [&](int px, int py) { return picture->pixels[static_cast<std::size_t>(py * 32 + px)]; };
  const std::uint8_t edge = 64, background = 0;  // colour slots 1 and 7 by default
  struct Edge {
    int s0, t0, s1, t1;
  };
  for (const Edge& e : {Edge{2, 2, 12, 2}, Edge{12, 2, 12, 12}, Edge{12, 12, 2, 12}, Edge{2, 12, 2, 2},
                        Edge{2, 2, 12, 12}}) {
    EXPECT_EQ(at((x(e.s0) + x(e.s1)) / 2, (y(e.t0) + y(e.t1)) / 2), edge) << e.s0 << "," << e.t0 << " " << e.s1;
    EXPECT_EQ(at(x(e.s0), y(e.t0)), edge);
  }
  EXPECT_EQ(at(0, 0), background);
  EXPECT_EQ(at(x(9), y(5)), background);  // inside a triangle, off its edges
  EXPECT_EQ(at(31, 31), background);
}

TEST(LayoutCli, ZoomOutsideOneToTwelveIsAUsageError) {
  TempDir dir;
  FolderGuard guard;
  const std::string model = WriteQuad(dir);
  for (const char* zoom : {"0.5", "13", "x", "nan"})
    EXPECT_EQ(Cli({"layout", model, dir.File("l.png"), "--zoom", zoom}).code, 2) << zoom;
  CliRun r = Cli({"layout", model, dir.File("l.png"), "--zoom", "12"});
  EXPECT_EQ(r.code, 0) << r.err;
}
