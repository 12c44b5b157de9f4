// Pins whole pictures of the fillers so that speed work on them cannot move a
// single pixel, depth or tag. The checksums were taken from the filler
// implementation that the reference test (independent slow walk) and the
// rule tests verified, before its set-up and span loops were tuned; any
// change to the integer rules shows up here as a different checksum.
//
// The scene: thousands of random triangles from one pixel to larger than the
// target, many partly or wholly off it, corners now and then exactly on the
// clip bounds, over every filler kind, with depth and tags, on narrowed clip
// rectangles and on a target wider than the fillers' reciprocal table.

#include <gtest/gtest.h>

#include <cstdint>

#include "render/checksum_scene.h"

namespace {

struct Case {
  int pitch, rows, clipRight, clipBottom, triangles;
  std::uint32_t seed;
  std::uint64_t checksum;
};

TEST(RasterChecksum, PicturesOfTheVerifiedFillersStayTheSame) {
  const Case cases[] = {
      {203, 157, 202, 156, 3000, 11, 0xd0081442fa162ff4ull},
      {160, 120, 131, 97, 1500, 12, 0x9300c3f687cf8135ull},
      {5003, 6, 5002, 5, 300, 13, 0xea2be50efcb5f7d9ull},  // edges and spans past 4096 pixels
  };
  for (const Case& c : cases) {
    ChecksumScene scene(c.pitch, c.rows, c.seed);
    scene.t.target.ClipRight = c.clipRight;
    scene.t.target.ClipBottom = c.clipBottom;
    scene.t.r->BeginFrame();
    Fnv fnv;
    scene.Draw(c.triangles, fnv);
    EXPECT_EQ(fnv.h, c.checksum) << std::hex << "0x" << fnv.h << " for " << std::dec
                                 << c.pitch << " x " << c.rows;
  }
}

// Small triangles are scanned straight from their corners instead of walked
// into the row tables, where the processor allows; the pictures, depths,
// tags and carried-over rows must be the walk's, also when the deepest
// depths wrap past 2^31 in 16.16 and when a band cuts through them.
TEST(RasterChecksum, SmallTrianglesScannedDirectlyGiveTheWalkedPictures) {
  if (!CRasterizer::DirectScanRuns()) GTEST_SKIP() << "this processor walks every triangle";
  struct Small {
    int largestSide, depthCells, bandTop, bandBottom;
    std::uint32_t seed;
  };
  const Small cases[] = {
      {16, 30000, 0, 2147483647, 21},   // nearly all within 16 rows
      {40, 30000, 0, 2147483647, 22},   // either side of the limits
      {140, 30000, 0, 2147483647, 23},  // slivers up to and past 64 columns
      {24, 65535, 0, 2147483647, 24},
      {24, 30000, 37, 41, 25},  // a band of five rows
  };
  for (const Small& c : cases) {
    std::uint64_t hashes[2];
    for (int direct = 0; direct < 2; ++direct) {
      ChecksumScene scene(203, 157, c.seed);
      scene.largestSide = c.largestSide;
      scene.depthCells = c.depthCells;
      scene.t.target.BandTop = c.bandTop;
      scene.t.target.BandBottom = c.bandBottom;
      scene.t.r->ScanShortTrianglesDirectly(direct == 1);
      scene.t.r->BeginFrame();
      Fnv fnv;
      scene.Draw(6000, fnv);
      hashes[direct] = fnv.h;
    }
    EXPECT_EQ(hashes[1], hashes[0]) << "seed " << c.seed;
  }
}

}  // namespace
