#include <gtest/gtest.h>

#include <functional>

#include "image/new_skin.h"
#include "model/companion.h"
#include "platform/profile.h"
#include "support/notice_log.h"
#include "support/scripted_ui.h"
#include "render/render_mode.h"
#include "shell/app.h"
#include "shell/list_bars.h"

namespace {

struct ListDesk {
  ScriptedUi ui;
  MemoryProfile profile;
  App app{ui, profile};
  NoticeLog log{app.document.changes};
  std::vector<PaneRedraw>& sent = log.sent;
  ListDesk() {
    app.model.skinWidth = 4;
    app.model.skinHeight = 4;
  }
  Skin* AddSkin(const std::string& name, bool external) {
    auto s = MakeBlankSkin(name, 4, 4, GreyRampPalette());
    s->flags = external ? SKIN_EXTERNAL : 0;
    Skin* raw = s.get();
    app.model.skins.push_back(std::move(s));
    return raw;
  }
};

}  // namespace

TEST(ListBars, LinkedSkinsMoveInFrontOfExternalOnes) {
  ListDesk d;
  d.AddSkin("E1", true);
  d.AddSkin("L1", false);
  d.AddSkin("E2", true);
  Skin* e2 = d.app.model.skins[2].get();
  d.AddSkin("models/L2", false);
  d.app.model.currentSkinIndex = 2;  // E2
  RebuildListBars(d.app);
  const ListBar& skins = d.app.listBars.skins;
  EXPECT_EQ(skins.items, (std::vector<std::string>{"L1", "models/L2", "E2", "E1"}));
  EXPECT_EQ(skins.images, (std::vector<int>{0, 0, 1, 1}));
  // The same record stays current wherever it went.
  EXPECT_EQ(d.app.model.CurrentSkin(), e2);
  EXPECT_EQ(skins.selection, 2);
  EXPECT_EQ(d.app.model.skins[1]->name, "models\\L2");  // stored form
}

TEST(ListBars, ExternalSkinsAreNamedFromTheBaseFolderWithTheirPathAsTip) {
  ListDesk d;
  d.app.baseFolder = "/q2/baseq2";
  d.AddSkin("models/l.pcx", false)->path = "/q2/baseq2/models/l.pcx";
  d.AddSkin("/q2/baseq2/players/e.pcx", true)->path = "/q2/baseq2/players/e.pcx";
  d.AddSkin("/home/me/paint.png", true)->path = "/home/me/paint.png";
  RebuildListBars(d.app);
  EXPECT_EQ(d.app.listBars.skins.items, (std::vector<std::string>{"models/l.pcx", "players/e.pcx", "paint.png"}));
  EXPECT_EQ(d.app.listBars.skins.tooltips, (std::vector<std::string>{"/q2/baseq2/models/l.pcx",
                                                                      "/q2/baseq2/players/e.pcx", "/home/me/paint.png"}));
}

TEST(ListBars, ListsMirrorTheModel) {
  ListDesk d;
  auto frame = std::make_unique<Frame>(0);
  frame->name = "stand01";
  d.app.model.frames.push_back(std::move(frame));
  auto c1 = std::make_unique<Companion>();
  c1->name = "gun.md2";
  c1->hidden = 1;
  auto c2 = std::make_unique<Companion>();
  c2->name = "head.md2";
  d.app.model.companions.push_back(std::move(c1));
  d.app.model.companions.push_back(std::move(c2));
  d.app.model.currentCompanionIndex = 1;
  const int before = d.app.listBars.version;
  RebuildListBars(d.app);
  const ListBars& b = d.app.listBars;
  EXPECT_GT(b.version, before);
  EXPECT_EQ(b.frames.items, (std::vector<std::string>{"stand01"}));
  EXPECT_EQ(b.frames.selection, 0);
  EXPECT_EQ(b.companions.items, (std::vector<std::string>{"* gun.md2", "  head.md2"}));
  EXPECT_EQ(b.companions.selection, 1);
  EXPECT_EQ(b.modes.items.size(), 10u);
  EXPECT_EQ(b.modes.selection, 5);
  EXPECT_TRUE(b.skins.items.empty());
  EXPECT_EQ(b.skins.selection, -1);
}

TEST(ListBars, ChoosingASkinMakesItCurrentAndRefreshesThreePanes) {
  ListDesk d;
  d.AddSkin("a", false);
  d.AddSkin("b", false);
  SelectSkinEntry(d.app, 1);
  EXPECT_EQ(d.app.model.currentSkinIndex, 1);
  EXPECT_EQ(d.app.model.CurrentSkin(), d.app.model.skins[1].get());
  ASSERT_EQ(d.sent.size(), 1u);
  EXPECT_EQ(d.sent[0].panes, 0x2b);
  SelectSkinEntry(d.app, 7);  // not there: nothing
  EXPECT_EQ(d.sent.size(), 1u);
}

TEST(ListBars, RefusedModeChangePutsTheOldSelectionBack) {
  ListDesk d;  // no skins: the textured modes are refused
  d.app.renderModes.renderModeIndex = MODE_FLAT;
  RebuildListBars(d.app);
  d.app.listBars.modes.selection = MODE_TEXTURED_G;  // what the user picked
  EXPECT_FALSE(SelectModeEntry(d.app, MODE_TEXTURED_G));
  EXPECT_EQ(d.app.renderModes.renderModeIndex, MODE_FLAT);
  EXPECT_EQ(d.app.listBars.modes.selection, MODE_FLAT);
  EXPECT_EQ(d.ui.texts().size(), 1u);  // the mode check's own message
  ASSERT_EQ(d.sent.size(), 1u);
  EXPECT_EQ(d.sent[0].panes, 0x23);

  EXPECT_TRUE(SelectModeEntry(d.app, MODE_GOURAUD));
  EXPECT_EQ(d.app.renderModes.renderModeIndex, MODE_GOURAUD);
  EXPECT_EQ(d.log.Count(kEverythingChanged), 1);  // RefreshAll announced everything

  d.sent.clear();
  EXPECT_FALSE(SelectModeEntry(d.app, MODE_GOURAUD));  // the same mode: only a refresh
  ASSERT_EQ(d.sent.size(), 1u);
  EXPECT_EQ(d.sent[0].panes, 0x23);
}

// Each list goes stale on the change it shows and is rebuilt once, at the
// settle; a change it does not show leaves it alone.
TEST(ListBars, FollowTheChangesTheyShowAtTheSettle) {
  using Desk = ListDesk;
  const struct {
    unsigned change;
    std::function<void(Desk&)> make;
    std::function<bool(const ListBars&)> shown;
    bool follows;
  } cases[] = {
      {kSkinListChanged, [](Desk& d) { d.AddSkin("L1", false); },
       [](const ListBars& b) { return b.skins.items.size() == 1; }, true},
      {kCompanionChanged, [](Desk& d) { d.app.model.companions.push_back(std::make_unique<Companion>()); },
       [](const ListBars& b) { return b.companions.items.size() == 1; }, true},
      {kLookChanged, [](Desk& d) { d.app.renderModes.renderModeIndex = 3; },
       [](const ListBars& b) { return b.modes.selection == 3; }, true},
      {kFrameChanged, [](Desk& d) { d.app.model.currentFrameIndex = 1; },
       [](const ListBars& b) { return b.frames.selection == 1; }, true},
      {kCameraChanged, [](Desk& d) { d.AddSkin("L1", false); },
       [](const ListBars& b) { return b.skins.items.size() == 1; }, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.change);
    Desk d;
    for (const char* name : {"a", "b"}) {
      d.app.model.frames.push_back(std::make_unique<Frame>(d.app.model.VertexCount()));
      d.app.model.frames.back()->name = name;
    }
    d.app.model.currentFrameIndex = 0;
    RebuildListBars(d.app);
    c.make(d);
    d.app.document.changes.Announce(c.change);
    EXPECT_FALSE(c.shown(d.app.listBars));
    d.app.document.changes.Settle();
    EXPECT_EQ(c.shown(d.app.listBars), c.follows);
  }
}
