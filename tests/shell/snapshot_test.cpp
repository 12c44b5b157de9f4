#include <gtest/gtest.h>

#include <filesystem>

#include "editor/model_view.h"
#include "image/image_files.h"
#include "image/new_skin.h"
#include "model/md2_builder.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "shell/app.h"
#include "shell/command_table.h"
#include "shell/shell_layout.h"
#include "shell/snapshot_command.h"
#include "support/scripted_services.h"
#include "support/scripted_ui.h"
#include "support/shown.h"
#include "support/test_support.h"

namespace {

class StillPane : public Pane {
 public:
  const char* WindowName() const override { return "still"; }
  void Redraw(int, int) override {}
  void Resize(int, int) override {}
  PaneImage Image() const override { return {}; }
};

class ScriptedSnapshotDialog : public SnapshotDialog {
 public:
  std::optional<SnapshotChoice> answer;
  std::optional<SnapshotChoice> Ask(const SnapshotChoice&) override { return answer; }
};

// The quad model in "Flat Shaded" (a mode that shows a shading ramp on
// screen) in a 64 x 48 view, with a skin whose palette is its own.
struct Desk {
  TempDir dir;
  ScriptedUi ui;
  MemoryProfile profile;
  App app{ui, profile};
  ModelView view{app};
  StillPane skinView, palette, gradient;
  ShellLayout layout{app, skinView, view, palette, gradient};
  ScriptedSnapshotDialog dialog;
  Palette skinPalette{};

  Desk() {
    WriteBytes(dir.File("quad.md2"), QuadMd2().Bytes());
    app.baseFolder = dir.path();
    app.saveFolder = dir.path();
    EXPECT_EQ(app.LoadMd2(dir.File("quad.md2")), 1);
    for (int i = 0; i < 768; ++i) skinPalette[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(255 - i / 3);
    auto skin = MakeBlankSkin("s", app.model.skinWidth, app.model.skinHeight, skinPalette);
    app.model.skins.clear();
    app.model.skins.push_back(std::move(skin));
    app.model.currentSkinIndex = 0;
    app.renderModes.renderModeIndex = 2;
    app.services = ScriptedServices(layout, dialog);
    view.Resize(64, 48);
  }
  void Snap(int choice, int w, int h, const std::string& name) {
    dialog.answer = SnapshotChoice{choice, w, h};
    ui.QueueFile(name);
    ExecuteCommand(app, *FindCommandByLabel("Snapshot\tF12"));
  }
};

}  // namespace

TEST(Snapshot, CustomSizesFrom16To2048KeepTheViewAsItWas) {
  Desk d;
  const std::vector<std::uint8_t> picture = d.app.viewport.frameBuffer;
  const struct {
    int w, h;
    bool written;
  } cases[] = {{2048, 16, true}, {16, 2048, true}, {15, 100, false}, {100, 2049, false}, {2049, 16, false}};
  for (const auto& c : cases) {
    d.ui.Clear();
    const std::string path = d.dir.File("custom.bmp");
    std::filesystem::remove(path);
    d.Snap(1, c.w, c.h, path);
    EXPECT_EQ(FileExists(path), c.written) << c.w << " x " << c.h;
    if (!c.written) {
      EXPECT_EQ(d.ui.texts(), std::vector<std::string>{kSnapshotSizeText});
      continue;
    }
    auto shot = Shown(d.ui, LoadSkinImage(path));
    ASSERT_TRUE(shot);
    EXPECT_EQ(shot->width, c.w);
    EXPECT_EQ(shot->height, c.h);
    EXPECT_EQ(shot->palette, d.skinPalette);  // not the mode's shading ramp
    EXPECT_EQ(d.app.viewport.width, 64);
    EXPECT_EQ(d.app.viewport.height, 48);
    EXPECT_EQ(d.app.viewport.frameBuffer, picture);
  }
}

TEST(Snapshot, TheNameDecidesTheExtensionAndTheFormat) {
  Desk d;
  d.Snap(0, 0, 0, d.dir.File("plain"));
  auto shot = Shown(d.ui, LoadSkinImage(d.dir.File("plain.bmp")));
  ASSERT_TRUE(shot);
  EXPECT_EQ(shot->format, FORMAT_BMP);
  EXPECT_EQ(shot->width, 64);
  // The picture last drawn, top row first.
  EXPECT_EQ(shot->pixels[0], d.app.viewport.frameBuffer[47 * 64]);
  d.Snap(0, 0, 0, d.dir.File("shot.png"));
  const std::vector<std::uint8_t> png = ReadBytes(d.dir.File("shot.png"));
  ASSERT_GT(png.size(), 8u);
  EXPECT_EQ(png[1], 'P');
  d.Snap(0, 0, 0, d.dir.File("my.shot"));
  EXPECT_TRUE(FileExists(d.dir.File("my.shot")));
}

TEST(Snapshot, CurrentTakesTheBuffersWidthAsTheCustomFieldsOfferIt) {
  Desk d;
  d.view.Resize(62, 48);  // a buffer 64 wide
  d.Snap(0, 0, 0, d.dir.File("narrow.bmp"));
  auto shot = Shown(d.ui, LoadSkinImage(d.dir.File("narrow.bmp")));
  ASSERT_TRUE(shot);
  EXPECT_EQ(shot->width, 64);
}
