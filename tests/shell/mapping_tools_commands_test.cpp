#include <gtest/gtest.h>

#include <memory>

#include "platform/profile.h"
#include "shell/app.h"
#include "shell/command_table.h"
#include "shell/mapping_dialogs.h"
#include "support/scripted_services.h"
#include "support/notice_log.h"
#include "support/scripted_ui.h"

namespace {

// The dialogs as a user who accepts what they open with, or cancels.
class AcceptingDialogs : public MappingDialogs {
 public:
  bool cancel = false;
  std::optional<MapFrom3DViewOptions> AskMapFrom3DView() override { return std::nullopt; }
  std::optional<PackIslandsOptions> AskPackIslands() override {
    if (cancel) return std::nullopt;
    return PackIslandsOptions{};
  }
};

// Two separate triangles on a 64 x 64 skin, both selected.
void TwoTriangles(Model& m) {
  auto frame = std::make_unique<Frame>(6);
  const Vec3 points[6] = {{0, 0, 0}, {0, 4, 0}, {0, 0, 4}, {0, 10, 0}, {0, 14, 0}, {0, 10, 4}};
  for (int v = 0; v < 6; ++v) frame->vertices[static_cast<std::size_t>(v)] = points[v];
  const MapVertex corners[6] = {{1, 1}, {5, 1}, {1, 5}, {20, 20}, {24, 20}, {20, 24}};
  m.SetTriangleCount(2);
  for (int i = 0; i < 2; ++i) {
    Triangle& t = m.triangles[static_cast<std::size_t>(i)];
    t.flags = TRI_SELECTED;
    for (int k = 0; k < 3; ++k) {
      t.vertexIndex[k] = static_cast<std::int16_t>(3 * i + k);
      t.cornerMap[k] = corners[3 * i + k];
    }
  }
  m.SetVertexCount(6);
  m.skinWidth = m.skinHeight = 64;
  m.frames.push_back(std::move(frame));
  m.WeldMapVertices(0);
}

}  // namespace

// Pack Islands through its menu item: one step of its name, the share
// covered told; Cancel changes nothing. The stretch display toggles with
// a check mark and a skin-view redraw; Zoom to Fit frames the model.
TEST(MappingToolCommands, PackReportsTheShareAndTheToggleAndFitRedraw) {
  ScriptedUi ui;
  MemoryProfile profile;
  App app(ui, profile);
  AcceptingDialogs dialogs;
  app.services = ScriptedServices(dialogs);
  TwoTriangles(app.model);
  NoticeLog log{app.document.changes};

  const Command* pack = FindCommand("Mapping > Pack Islands...");
  ASSERT_NE(pack, nullptr);
  dialogs.cancel = true;
  ExecuteCommand(app, *pack);
  EXPECT_TRUE(ui.texts().empty());
  EXPECT_FALSE(app.document.history.CanUndo());
  dialogs.cancel = false;
  ExecuteCommand(app, *pack);
  ASSERT_EQ(ui.texts().size(), 1u);
  EXPECT_EQ(ui.texts()[0].rfind("Packed 2 islands, covering ", 0), 0u) << ui.texts()[0];
  EXPECT_EQ(app.document.history.UndoName(), "Pack Islands");

  const Command* stretch = FindCommand("Mapping > Stretch Display");
  ASSERT_NE(stretch, nullptr);
  EXPECT_FALSE(stretch->checked(app));
  const int redraws = log.Count(kSkinViewChanged);
  ExecuteCommand(app, *stretch);
  EXPECT_TRUE(app.editor.showStretch);
  EXPECT_TRUE(stretch->checked(app));
  EXPECT_EQ(log.Count(kSkinViewChanged), redraws + 1);

  const Command* fit = FindCommand("Views > Zoom to Fit");
  ASSERT_NE(fit, nullptr);
  EXPECT_EQ(fit->key, "Home");
  app.viewport.distance = 5000;
  ExecuteCommand(app, *fit);
  EXPECT_LT(app.viewport.distance, 100);
}
