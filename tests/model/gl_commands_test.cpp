#include <gtest/gtest.h>

#include <bit>
#include <memory>
#include <random>

#include "model/gl_commands.h"
#include "model/model.h"

namespace {

// Builds a model whose mapping vertex i sits at (i, 2i) on a 16 x 16 skin, and
// whose triangle corners use mapping index == vertex index unless given.
std::unique_ptr<Model> Mesh(const std::vector<std::array<int, 3>>& tris) {
  auto m = std::make_unique<Model>();
  m->skinWidth = 16;
  m->skinHeight = 16;
  m->SetMapVertexCount(300);
  for (int i = 0; i < 300; ++i) m->mapVertices[i] = {static_cast<float>(i), static_cast<float>(2 * i)};
  m->SetTriangleCount(static_cast<std::int16_t>(tris.size()));
  for (std::size_t i = 0; i < tris.size(); ++i)
    for (int k = 0; k < 3; ++k) {
      m->triangles[i].vertexIndex[k] = static_cast<std::int16_t>(tris[i][k]);
      m->triangles[i].mapIndex[k] = static_cast<std::int16_t>(tris[i][k]);
    }
  return m;
}

float S(int v) { return (v + 0.5f) / 16.0f; }
float T(int v) { return (2 * v + 0.5f) / 16.0f; }
std::int32_t W(float f) { return static_cast<std::int32_t>(std::bit_cast<std::uint32_t>(f)); }

// The words for one command over vertices (mapping index == vertex index).
void Command(std::vector<std::int32_t>& out, int count, const std::vector<int>& verts) {
  out.push_back(count);
  for (int v : verts) {
    out.push_back(W(S(v)));
    out.push_back(W(T(v)));
    out.push_back(v);
  }
}

// The walks exactly as described, with the plain linear search, as an
// independent reference for the indexed builder.
struct Ref {
  const Model& m;
  std::vector<int> used;
  std::pair<int, int> C(int t, int k) const {
    return {m.triangles[t].vertexIndex[k % 3], m.triangles[t].mapIndex[k % 3]};
  }
  int Walk(int start, int k, bool strip, std::vector<std::pair<int, int>>& verts, std::vector<int>& taken) {
    verts = {C(start, k), C(start, k + 1), C(start, k + 2)};
    taken = {start};
    auto a = strip ? verts[2] : verts[0];
    auto b = strip ? verts[1] : verts[2];
    used[start] = 2;
    for (;;) {
      if (taken.size() == 126) break;
      int found = -1, fj = 0;
      for (int t = start + 1; t < m.TriangleCount() && found < 0; ++t)
        for (int j = 0; j < 3; ++j)
          if (C(t, j) == a && C(t, j + 1) == b) {
            found = t;
            fj = j;
            break;
          }
      if (found < 0 || used[found]) break;
      auto n = C(found, fj + 2);
      if (!strip || taken.size() % 2 == 1)
        b = n;
      else
        a = n;
      verts.push_back(n);
      taken.push_back(found);
      used[found] = 2;
    }
    for (int t = start + 1; t < m.TriangleCount(); ++t)
      if (used[t] == 2) used[t] = 0;
    return static_cast<int>(taken.size());
  }
  std::vector<std::int32_t> Build() {
    used.assign(m.TriangleCount(), 0);
    std::vector<std::int32_t> out;
    for (int i = 0; i < m.TriangleCount(); ++i) {
      if (used[i] == 1) continue;
      int bestLen = 0;
      bool bestStrip = false;
      std::vector<std::pair<int, int>> bestVerts, verts;
      std::vector<int> bestTaken, taken;
      for (int type = 0; type < 2; ++type)
        for (int k = 0; k < 3; ++k) {
          int len = Walk(i, k, type == 1, verts, taken);
          if (len > bestLen) {
            bestLen = len;
            bestStrip = type == 1;
            bestVerts = verts;
            bestTaken = taken;
          }
        }
      for (int t : bestTaken) used[t] = 1;
      out.push_back(bestStrip ? bestLen + 2 : -(bestLen + 2));
      for (auto [v, mi] : bestVerts) {
        out.push_back(W(static_cast<float>((m.mapVertices[mi].s + 0.5) / m.skinWidth)));
        out.push_back(W(static_cast<float>((m.mapVertices[mi].t + 0.5) / m.skinHeight)));
        out.push_back(v);
      }
    }
    out.push_back(0);
    return out;
  }
};

}  // namespace

TEST(GlCommands, QuadBecomesOneFanStartingAtTheFirstCorner) {
  // Fan k=0 and strip k=1 both take both triangles; the earlier walk stays.
  auto m = Mesh({{0, 1, 2}, {0, 2, 3}});
  std::vector<std::int32_t> words, want;
  EXPECT_EQ(BuildGlCommands(*m, words), 14);
  Command(want, -4, {0, 1, 2, 3});
  want.push_back(0);
  EXPECT_EQ(words, want);
}

TEST(GlCommands, FanAroundACentreVertex) {
  auto m = Mesh({{0, 1, 2}, {0, 2, 3}, {0, 3, 4}, {0, 4, 5}});
  std::vector<std::int32_t> words, want;
  BuildGlCommands(*m, words);
  Command(want, -6, {0, 1, 2, 3, 4, 5});
  want.push_back(0);
  EXPECT_EQ(words, want);
}

TEST(GlCommands, StripBeatsTheShorterFans) {
  // Zig-zag 0 1 2 3 4 5: fans around 2 or 3 take three triangles, the strip four.
  auto m = Mesh({{0, 1, 2}, {2, 1, 3}, {2, 3, 4}, {4, 3, 5}});
  std::vector<std::int32_t> words, want;
  EXPECT_EQ(BuildGlCommands(*m, words), 20);
  Command(want, 6, {0, 1, 2, 3, 4, 5});
  want.push_back(0);
  EXPECT_EQ(words, want);
}

TEST(GlCommands, AMappingSeamSplitsTheFan) {
  auto m = Mesh({{0, 1, 2}, {0, 2, 3}});
  m->triangles[1].mapIndex[0] = 9;  // vertex 0 mapped elsewhere in the second triangle
  std::vector<std::int32_t> words;
  EXPECT_EQ(BuildGlCommands(*m, words), 1 + 10 + 10);
  EXPECT_EQ(words[0], -3);
  EXPECT_EQ(words[10], -3);
  EXPECT_EQ(words[11], W(S(9)));
  EXPECT_EQ(words[12], W(T(9)));
  EXPECT_EQ(words[13], 0);
}

TEST(GlCommands, WalksStopAt126Triangles) {
  std::vector<std::array<int, 3>> fan;
  for (int i = 1; i <= 200; ++i) fan.push_back({0, i, i + 1});
  auto m = Mesh(fan);
  std::vector<std::int32_t> words;
  BuildGlCommands(*m, words);
  ASSERT_EQ(words[0], -128);
  std::size_t second = 1 + 3 * 128;
  EXPECT_EQ(words[second], -76);
  EXPECT_EQ(words[second + 5], W(T(127)));
  EXPECT_EQ(words.size(), second + 1 + 3 * 76 + 1);
  EXPECT_EQ(words.back(), 0);
}

TEST(GlCommands, SameWordsAsTheLinearSearchOnRandomMeshes) {
  std::mt19937 rng(77);
  for (int round = 0; round < 44; ++round) {
    int tris = 1 + static_cast<int>(rng() % (round < 40 ? 300 : 4096));
    int verts = 3 + static_cast<int>(rng() % (round % 3 == 0 ? 12 : 200));
    auto m = std::make_unique<Model>();
    m->skinWidth = 64;
    m->skinHeight = 32;
    m->SetMapVertexCount(40);
    for (int i = 0; i < 40; ++i) m->mapVertices[i] = {static_cast<float>(i % 9), static_cast<float>(i / 9)};
    m->SetTriangleCount(static_cast<std::int16_t>(tris));
    for (int i = 0; i < tris; ++i)
      for (int k = 0; k < 3; ++k) {
        int v = static_cast<int>(rng() % verts);
        m->triangles[i].vertexIndex[k] = static_cast<std::int16_t>(v);
        // Mostly one mapping per vertex so that walks grow; some seams.
        m->triangles[i].mapIndex[k] = static_cast<std::int16_t>(rng() % 5 == 0 ? rng() % 40 : v % 40);
      }
    std::vector<std::int32_t> words;
    int n = BuildGlCommands(*m, words);
    Ref ref{*m, {}};
    auto want = ref.Build();
    ASSERT_EQ(n, static_cast<int>(want.size())) << "round " << round;
    ASSERT_EQ(words, want) << "round " << round;
  }
}
