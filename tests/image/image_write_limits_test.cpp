#include <gtest/gtest.h>

#include "image/image_files.h"
#include "image/png_write.h"
#include "platform/files.h"
#include "support/scripted_ui.h"
#include "support/shown.h"
#include "support/test_support.h"

// The readers take up to 2048 rows; no writer may leave a file they refuse.
TEST(ImageWrite, RefusesMoreRowsThanTheReadersTakeBeforeWriting) {
  using Writer = bool (*)(Skin&, const std::string&, Ui&);
  struct {
    const char* ext;
    const char* kind;  // as the refusal names the file
    Writer write;
  } const writers[] = {
      {"pcx", "a PCX", [](Skin& s, const std::string& p, Ui& ui) { return Shown(ui, WritePcx(s, p)); }},
      {"bmp", "a BMP", [](Skin& s, const std::string& p, Ui& ui) { return Shown(ui, WriteBmp(s, p)); }},
      {"png", "a PNG skin", [](Skin& s, const std::string& p, Ui& ui) { return Shown(ui, WritePng(s, p)); }},
  };
  TempDir dir;
  for (const auto& [ext, kind, write] : writers) {
    for (int rows : {2048, 2049}) {
      Skin skin;
      skin.width = 4;
      skin.height = static_cast<std::int16_t>(rows);
      skin.pixels.assign(4u * static_cast<std::size_t>(rows), 9);
      const std::string path = dir.File(std::to_string(rows) + "." + ext);
      ScriptedUi ui;
      const bool written = write(skin, path, ui);
      EXPECT_EQ(written, rows == 2048) << ext << " " << rows;
      EXPECT_EQ(FileExists(path), written) << ext << " " << rows;
      if (written) {
        auto back = Shown(ui, LoadPicture(path));
        ASSERT_TRUE(back && back->indexed) << ext;
        EXPECT_EQ(back->indexed->height, 2048) << ext;
      } else {
        EXPECT_EQ(ui.texts(), std::vector<std::string>{"Error Saving: 4 x 2049 is more than the 2048 rows " +
                                                       std::string(kind) + " can hold\n" + path})
            << ext;
      }
    }
  }
}
