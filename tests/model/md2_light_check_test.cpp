#include <gtest/gtest.h>

#include "model/md2_builder.h"
#include "model/md2_load.h"
#include "platform/files.h"
#include "support/test_support.h"

// Frames scaled by 1e36 hold finite positions, but a face's
// cross product overflows and its normal is not a number: nothing could
// light it. Such a file is refused, naming it, and the model stays empty.
TEST(LoadMd2, RefusesFramesWhoseFacesCannotBeLit) {
  TempDir dir;
  Model model;
  std::vector<std::uint8_t> image;
  Md2Context context{model, dir.path(), image, SkinScan::Never, "", {}};

  TestMd2 md2 = QuadMd2();
  for (float& s : md2.frames[0].scale) s = 1e36f;
  const std::string path = dir.File("huge.md2");
  WriteBytes(path, md2.Bytes());
  auto loaded = LoadMd2(context, path);
  ASSERT_FALSE(loaded);
  EXPECT_EQ(ShownText(loaded.error()),
            "This MD2 is damaged: a frame places its vertices too far apart for its faces to be lit.\n" + path);
  EXPECT_EQ(model.modelLoaded, 0);
  EXPECT_EQ(model.TriangleCount(), 0);
  EXPECT_TRUE(image.empty());
}
