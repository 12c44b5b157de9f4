#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>

#include "cli/cli_run.h"
#include "cli/demo_mesh.h"
#include "image/image_files.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

// The demo creature as built names some mapping vertices no triangle uses;
// the program's writer welds them away, keeping the rest in order of first
// use. So does this.
DemoMesh CleanDemoMesh() {
  DemoMesh m = BuildDemoMesh();
  std::vector<int> to(m.st.size(), -1);
  decltype(m.st) kept;
  for (auto& t : m.tris)
    for (auto& v : t.map) {
      int& n = to[static_cast<std::size_t>(v)];
      if (n < 0) {
        n = static_cast<int>(kept.size());
        kept.push_back(m.st[static_cast<std::size_t>(v)]);
      }
      v = static_cast<std::int16_t>(n);
    }
  m.st = kept;
  return m;
}

// The demo creature in a base folder of its own, with its skin.
class CheckCli : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Cli({"demo", base_}).code, 0);
    mesh_ = CleanDemoMesh();
  }
  // The mesh written as the model, then `patch` applied to the file's bytes.
  std::string Write(const DemoMesh& mesh, const std::string& skin = "models/demo/skin.pcx",
                    const std::function<void(std::vector<std::uint8_t>&)>& patch = {}) {
    std::vector<std::uint8_t> bytes = EncodeDemoMd2(mesh, skin);
    if (patch) patch(bytes);
    WriteBytes(model_, bytes);
    return model_;
  }

  TempDir dir_;
  std::string base_ = dir_.File("baseq2");
  std::string model_ = base_ + "/models/demo/t.md2";
  DemoMesh mesh_;
};

std::int32_t IntAt(const std::vector<std::uint8_t>& b, std::size_t at) {
  std::int32_t v;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}

// A copy of vertex 0 at `k` in every frame, named by no triangle.
void InsertUnusedVertex(DemoMesh& m, int k) {
  for (auto& frame : m.frames) frame.positions.insert(frame.positions.begin() + k, frame.positions[0]);
  for (auto& t : m.tris)
    for (auto& v : t.vertex)
      if (v >= k) ++v;
}

void InsertUnusedMapVertex(DemoMesh& m, int k) {
  m.st.insert(m.st.begin() + k, m.st[0]);
  for (auto& t : m.tris)
    for (auto& v : t.map)
      if (v >= k) ++v;
}

// The lines `check` prints for one kind, and the numbers each lists.
std::vector<std::string> LinesOf(const std::string& out, const std::string& kind) {
  std::vector<std::string> lines;
  std::size_t at = 0;
  while ((at = out.find(kind + ": ", at)) != std::string::npos) {
    const std::size_t end = out.find('\n', at);
    lines.push_back(out.substr(at + kind.size() + 2, end - at - kind.size() - 2));
    at = end;
  }
  return lines;
}

TEST_F(CheckCli, ReportsEachDamageAsItsOwnFinding) {
  const int n = static_cast<int>(mesh_.tris.size());
  const int frameRecord = 40 + 4 * static_cast<int>(mesh_.frames[0].positions.size());
  const struct {
    const char* kind;
    std::function<void(DemoMesh&)> damage;
    std::function<void(std::vector<std::uint8_t>&)> patch;
    const char* skin;
    const char* listed;  // the numbers the finding names, as printed
  } cases[] = {
      {"unused-vertex", [](DemoMesh& m) { InsertUnusedVertex(m, 7); }, {}, nullptr, ": 7"},
      {"unused-map-vertex", [](DemoMesh& m) { InsertUnusedMapVertex(m, 11); }, {}, nullptr, ": 11"},
      {"map-outside", [](DemoMesh& m) { m.st[5][0] = static_cast<std::int16_t>(m.skinWidth + 1); }, {}, nullptr, ": 5"},
      {"map-outside", [](DemoMesh& m) { m.st[6][1] = -1; }, {}, nullptr, ": 6"},
      {"degenerate-triangle",
       [](DemoMesh& m) {
         m.tris.push_back({{0, 0, 1}, {0, 1, 2}});
       },
       {},
       nullptr,
       nullptr},
      {"duplicate-triangle",
       [](DemoMesh& m) {
         auto t = m.tris[3];
         m.tris.push_back({{t.vertex[1], t.vertex[2], t.vertex[0]}, {t.map[1], t.map[2], t.map[0]}});
       },
       {},
       nullptr,
       nullptr},
      {"frame-bounds",
       {},
       [&](std::vector<std::uint8_t>& b) {
         const float minus = -1;
         std::memcpy(b.data() + IntAt(b, 56) + frameRecord * 2, &minus, 4);  // frame 2's x scale
       },
       nullptr,
       ": 2"},
      {"frame-bounds",
       {},
       [&](std::vector<std::uint8_t>& b) {
         const std::size_t at = static_cast<std::size_t>(IntAt(b, 56) + frameRecord * 1 + 40);
         for (std::size_t v = at; v < at + static_cast<std::size_t>(frameRecord - 40); v += 4) b[v] /= 2;
       },
       nullptr,
       ": 1"},
      {"skin-missing", {}, {}, "models/demo/none.pcx", "skin 0 "},
      {"skin-size", {}, {}, "pics/colormap.pcx", "skin 0 "},
      {"limit", [](DemoMesh& m) { m.frames.resize(513, m.frames[0]); }, {}, nullptr, "frames: 513"},
  };
  for (const auto& c : cases) {
    DemoMesh mesh = CleanDemoMesh();
    if (c.damage) c.damage(mesh);
    const std::string model = Write(mesh, c.skin ? c.skin : "models/demo/skin.pcx", c.patch);
    CliRun r = Cli({"check", model});
    EXPECT_EQ(r.code, 1) << c.kind << r.err;
    const auto lines = LinesOf(r.out, c.kind);
    ASSERT_EQ(lines.size(), 1u) << c.kind << "\n" << r.out;
    // One finding and nothing else: the damage hides no other.
    EXPECT_EQ(r.out, std::string(c.kind) + ": " + lines[0] + "\n");
    const std::string listed = c.listed ? c.listed : ": " + std::to_string(n);
    EXPECT_NE(lines[0].find(listed), std::string::npos) << c.kind << ": " << lines[0];
  }
}

TEST_F(CheckCli, CleanModelsPassAndTheRepairDropsOnlyUnusedEntries) {
  const std::string clean = dir_.File("clean.md2");
  const std::string resaved = dir_.File("resaved.md2");
  Write(mesh_);
  fs::copy_file(model_, clean);
  ASSERT_EQ(Cli({"resave", clean, resaved, "--base", base_}).code, 0);
  for (const std::string& model : {clean, resaved}) {
    CliRun r = Cli({"check", model, "--base", base_});
    EXPECT_EQ(r.code, 0) << r.out << r.err;
    EXPECT_EQ(r.out + r.err, "");
  }

  InsertUnusedVertex(mesh_, 0);
  InsertUnusedVertex(mesh_, 300);
  InsertUnusedMapVertex(mesh_, 42);
  Write(mesh_);
  const std::string fixed = dir_.File("fixed.md2");
  CliRun r = Cli({"check", model_, "--fix", fixed});
  EXPECT_EQ(r.code, 1);
  // The renumbered triangles and frames are the clean model's, byte for byte,
  // as the program's own writer puts it.
  EXPECT_EQ(ReadBytes(fixed), ReadBytes(resaved));
  EXPECT_EQ(Cli({"check", fixed, "--base", base_}).code, 0);
}

}  // namespace
