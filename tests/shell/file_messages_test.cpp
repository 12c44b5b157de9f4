#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "image/image_files.h"
#include "model/md2_builder.h"
#include "platform/profile.h"
#include "shell/app.h"
#include "shell/companion_commands.h"
#include "shell/file_commands.h"
#include "shell/mapping_commands.h"
#include "shell/mapping_file_commands.h"
#include "shell/skin_commands.h"
#include "support/scripted_ui.h"
#include "support/test_support.h"

// Each command that meets a damaged file, or a model its writer refuses,
// says so and names the file on the message's last line.
TEST(FileMessages, EveryRefusedFileIsNamed) {
  TempDir dir;
  FolderGuard guard;
  ScriptedUi ui;
  MemoryProfile profile;
  App app(ui, profile);
  app.baseFolder = app.loadFolder = app.saveFolder = dir.path();
  auto put = [&](const std::string& name, const std::vector<std::uint8_t>& bytes) {
    WriteBytes(dir.File(name), bytes);
    return dir.File(name);
  };
  const std::string model = put("quad.md2", QuadMd2().Bytes());
  std::vector<std::uint8_t> damaged = QuadMd2().Bytes();
  SetMd2Field(damaged, kFieldOfsFrames, 1 << 24);
  const std::string damagedModel = put("damaged.md2", damaged);
  const std::string damagedSkin = put("cut.pcx", {0x0A, 0x05, 1, 8});
  const std::string damagedVmap = put("bad.vmp", {'V', 'M', 'A', 'P'});
  Skin skin;
  skin.width = skin.height = 8;
  skin.pixels.assign(64, 5);
  const std::string picture = put("picture.pcx", EncodePcx(skin));
  ASSERT_EQ(app.LoadMd2(model), 1);

  struct Case {
    const char* what;
    std::function<void()> run;
    std::string file;
  };
  const Case cases[] = {
      {"File > Open", [&] { ui.QueueAnswer(MsgAnswer::No); ui.QueueFile(damagedModel); OpenCommand(app); },
       damagedModel},
      {"Companion > Open", [&] { ui.QueueFile(damagedModel); OnCompanionOpen(app); }, damagedModel},
      {"Skins > Open", [&] { ui.QueueFile(damagedSkin, 4); OnSkinOpen(app); }, damagedSkin},
      {"Mapping > Import", [&] { ui.QueueFile(damagedVmap); OnMappingImport(app); }, damagedVmap},
      {"Retro-Map", [&] { ui.QueueFile(picture); ui.QueueFile(damagedVmap); OnRetroMap(app); }, damagedVmap},
      {"save of 33 linked skins",
       [&] {
         for (int i = 0; i < 33; ++i) app.model.skins.push_back(std::make_unique<Skin>(skin));
         app.SaveMd2(dir.File("out.md2"));
       },
       dir.File("out.md2")},
  };
  for (const Case& c : cases) {
    ui.Clear();
    c.run();
    ASSERT_FALSE(ui.texts().empty()) << c.what;
    const std::string text = ui.texts().back();
    EXPECT_EQ(text.substr(text.rfind('\n') + 1), c.file) << c.what << "\n" << text;
  }
}
