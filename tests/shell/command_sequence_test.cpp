#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

#include "model/model.h"
#include "support/command_sequence.h"
#include "support/test_support.h"

namespace {

// A two-triangle model on a 4 x 4 skin that passes every check.
void Sound(Model& m) {
  m.SetVertexCount(4);
  m.SetTriangleCount(2);
  m.SetMapVertexCount(4);
  const std::int16_t corners[2][3] = {{0, 1, 2}, {0, 2, 3}};
  for (int i = 0; i < 2; ++i)
    for (int k = 0; k < 3; ++k) {
      m.triangles[i].vertexIndex[k] = corners[i][k];
      m.triangles[i].mapIndex[k] = corners[i][k];
    }
  m.frames.push_back(std::make_unique<Frame>(4));
  m.currentFrameIndex = 0;
  auto skin = std::make_unique<Skin>();
  skin->width = 4;
  skin->height = 4;
  skin->pixels.assign(16, 0);
  skin->storedPixels.assign(16, 0);
  m.skins.push_back(std::move(skin));
  m.currentSkinIndex = 0;
}

}  // namespace

TEST(CommandSequence, TheDocumentCheckFindsEachBrokenRule) {
  Model sound;
  Sound(sound);
  EXPECT_EQ(CheckDocument(sound), "");
  constexpr float inf = std::numeric_limits<float>::infinity();
  const std::vector<std::pair<const char*, std::function<void(Model&)>>> breaks = {
      {"too many triangles", [](Model& m) { m.SetTriangleCount(kMaxTriangles + 1); }},
      {"frame short of the vertex count", [](Model& m) { m.frames[0]->vertices.resize(3); }},
      {"vertex index past the count", [](Model& m) { m.triangles[1].vertexIndex[2] = 4; }},
      {"negative mapping index", [](Model& m) { m.triangles[0].mapIndex[0] = -1; }},
      {"mapping index past the count", [](Model& m) { m.SetMapVertexCount(3); }},
      {"stored index past the stored count", [](Model& m) {
         m.SetStoredMapVertexCount(2);
         m.triangles[0].storedMapIndex[1] = 2;
       }},
      {"mapping vertex not a number", [](Model& m) { m.mapVertices[3].t = std::nanf(""); }},
      {"corner at infinity", [](Model& m) { m.triangles[1].cornerMap[0].s = inf; }},
      {"pixels short of the size", [](Model& m) { m.skins[0]->pixels.resize(15); }},
      {"stored pixels of another size", [](Model& m) { m.skins[0]->height = 5; m.skins[0]->pixels.resize(20); }},
      {"current skin past the list", [](Model& m) { m.currentSkinIndex = 1; }},
      {"current frame past the list", [](Model& m) { m.currentFrameIndex = 1; }},
  };
  for (const auto& [what, breakIt] : breaks) {
    Model m;
    Sound(m);
    breakIt(m);
    EXPECT_NE(CheckDocument(m), "") << what;
  }
}

// Random commands, drags, strokes, undos and redos on the generated models
// (odd skin sizes, degenerate and hidden triangles, mapping off the skin);
// a broken document stops the run with the step and the operation.
TEST(CommandSequence, RandomSessionsKeepTheDocumentWhole) {
  for (std::uint64_t seed : {1u, 2u, 3u, 4u, 5u, 6u}) {
    TempDir dir;
    SeededBytes bytes(seed);
    SequenceOptions options;
    options.maxSteps = 400;
    options.scratchFolder = dir.path();
    options.trace = std::getenv("SKINTOOL_SEQUENCE_TRACE") != nullptr;
    EXPECT_EQ(RunCommandSequence(bytes, options), 400) << "seed " << seed;
  }
}

// Sessions the long fuzz runs turned up, kept as they were found.
TEST(CommandSequence, FoundSessionsKeepTheDocumentWhole) {
  // Opens another model first thing, over an empty history.
  const std::vector<std::uint8_t> openFirst = {0x19, 0x00, 0x00, 0xbf, 0xff, 0xbf, 0xff, 0xff, 0xff,
                                               0x00, 0xfc, 0x00, 0x00, 0x00, 0xff, 0x00, 0xfc, 0x00,
                                               0x00, 0x00, 0x00, 0x73, 0x6b, 0x00, 0x19};
  TempDir dir;
  SpanBytes bytes(openFirst);
  SequenceOptions options;
  options.maxSteps = 120;
  options.undoCheckEvery = 5;
  options.scratchFolder = dir.path();
  EXPECT_GE(RunCommandSequence(bytes, options), 1);
}
