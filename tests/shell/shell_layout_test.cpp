#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/profile.h"
#include "support/notice_log.h"
#include "support/scripted_ui.h"
#include "shell/app.h"
#include "shell/shell_layout.h"

namespace {

// Every call a pane gets, as text, into one shared journal.
struct Journal {
  std::vector<std::string> lines;
};

class RecordingHost : public PaneHost {
 public:
  RecordingHost(Journal& j, std::string name) : journal(j), name_(std::move(name)) {}
  void CaptureMouse() override { captured = true; }
  void ReleaseMouse() override { captured = false; }
  bool HasCapture() const override { return captured; }
  void SetCursorHidden(bool hidden) override { cursorHidden = hidden; }
  void SetCursorPos(int, int) override {}
  void SetCursor(CursorKind) override {}
  void RepaintNow() override { journal.lines.push_back("show " + name_); }
  bool ShiftDown() const override { return false; }
  bool CtrlDown() const override { return false; }
  Journal& journal;
  bool captured = false;
  bool cursorHidden = false;

 private:
  std::string name_;
};

class RecordingPane : public Pane {
 public:
  RecordingPane(Journal& j, const char* name) : journal(j), name_(name), host_(j, name) { SetHost(&host_); }
  const char* WindowName() const override { return name_; }
  void Redraw(int kind, int flags) override {
    journal.lines.push_back(std::string("redraw ") + name_ + " " + std::to_string(kind) + " " + std::to_string(flags));
  }
  void Resize(int w, int h) override {
    width = w;
    height = h;
  }
  PaneImage Image() const override { return {}; }
  void Wheel(int delta, int x, int y) override {
    journal.lines.push_back(std::string("wheel ") + name_ + " " + std::to_string(delta) + " " +
                            std::to_string(x) + "," + std::to_string(y));
  }
  Journal& journal;
  int width = -1, height = -1;

 private:
  const char* name_;
  RecordingHost host_;
};

struct LayoutDesk {
  ScriptedUi ui;
  MemoryProfile profile;
  App app{ui, profile};
  Journal journal;
  RecordingPane skin{journal, "Skin Box"}, iso{journal, "ISO Box"}, pal{journal, "Pal Box"},
      grad{journal, "Gradient Box"};
  RecordingHost shellHost{journal, "ShellWnd"};
  ShellLayout layout{app, skin, iso, pal, grad, &shellHost};
};

}  // namespace

TEST(ShellRects, ClientOf600AtRatio065) {
  const ShellRects r = ComputeShellRects(600, 400, 0.65, false);
  EXPECT_EQ(r.left, (PaneRect{0, 0, 374, 368}));  // (600 - 24) x 0.65 = 374.4
  EXPECT_EQ(r.gradient, (PaneRect{374, 0, 24, 368}));
  EXPECT_EQ(r.right, (PaneRect{398, 0, 202, 368}));
  EXPECT_EQ(r.palette, (PaneRect{0, 368, 600, 32}));

  const ShellRects top = ComputeShellRects(600, 400, 0.65, true);
  EXPECT_EQ(top.palette, (PaneRect{0, 0, 600, 32}));
  EXPECT_EQ(top.left.y, 32);
  EXPECT_EQ(top.right.y, 32);

  const ShellRects none = ComputeShellRects(600, 400, 0.0, false);
  EXPECT_EQ(none.left.width, 0);
  EXPECT_EQ(none.gradient.x, 0);
}

TEST(ShellRects, SplitSnapsWithin64PixelsOfEitherEdge) {
  EXPECT_DOUBLE_EQ(SplitRatioAt(63, 600), 0.0);
  EXPECT_DOUBLE_EQ(SplitRatioAt(64, 600), 64.0 / 600);
  EXPECT_DOUBLE_EQ(SplitRatioAt(536, 600), 536.0 / 600);
  EXPECT_DOUBLE_EQ(SplitRatioAt(537, 600), 1.0);
  int w = 300, h = 900;
  ClampFrameSize(w, h);
  EXPECT_EQ(w, 516);
  EXPECT_EQ(h, 900);
}

TEST(ShellLayout, SettleRedrawsStalePanesInPaneOrderWithTheirFlags) {
  LayoutDesk d;
  d.app.document.changes.Announce(kEverythingChanged, {0, kShowNow});
  d.app.document.changes.Settle();
  EXPECT_EQ(d.journal.lines,
            (std::vector<std::string>{"redraw Skin Box 0 32", "show Skin Box", "redraw Gradient Box 0 32",
                                      "show Gradient Box", "redraw ISO Box 0 32", "show ISO Box",
                                      "redraw Pal Box 0 32", "show Pal Box"}));
  d.journal.lines.clear();
  d.app.RefreshAll();  // announced, drawn when the changes settle
  EXPECT_TRUE(d.journal.lines.empty());
  d.app.document.changes.Settle();
  EXPECT_EQ(d.journal.lines.size(), 8u);
}

// Each kind of change leaves stale exactly the panes that draw from it, and
// requests that meet before a settle are drawn once, in the strongest kind.
TEST(ShellLayout, EachChangeLeavesItsPanesStaleAndTheyDrawOnceAtTheSettle) {
  const std::string skin = "Skin Box", iso = "ISO Box", pal = "Pal Box", grad = "Gradient Box";
  const struct {
    unsigned change;
    std::vector<std::string> drawn;
  } cases[] = {
      {kMeshChanged, {skin, iso}},
      {kMappingChanged, {skin, iso}},
      {kSelectionChanged, {skin, iso}},
      {kSkinPixelsChanged, {skin, iso}},
      {kSkinListChanged, {skin, iso, pal}},
      {kPaletteChanged, {skin, iso, pal}},
      {kFrameChanged, {iso}},
      {kCameraChanged, {iso}},
      {kSlotsChanged, {skin, iso}},
      {kActiveColourChanged, {pal}},
      {kLightChanged, {iso}},
      {kLookChanged, {skin, iso}},
      {kCompanionChanged, {iso}},
      {kSkinViewChanged, {skin}},
      {kBrushChanged, {grad}},
      {kEverythingChanged, {skin, grad, iso, pal}},
  };
  for (const auto& c : cases) {
    LayoutDesk d;
    d.app.document.changes.Announce(c.change, {REDRAW_PIXELS, kDragging});
    d.app.document.changes.Announce(c.change, {REDRAW_FULL, kShowNow});
    d.app.document.changes.Announce(c.change, {REDRAW_QUICK, kDragging});
    EXPECT_TRUE(d.journal.lines.empty()) << c.change;
    d.app.document.changes.Settle();
    std::vector<std::string> expected;
    for (const std::string& pane : c.drawn) {
      expected.push_back("redraw " + pane + " 0 32");
      expected.push_back("show " + pane);
    }
    EXPECT_EQ(d.journal.lines, expected) << c.change;
    d.journal.lines.clear();
    d.app.document.changes.Settle();  // nothing stale is left
    EXPECT_TRUE(d.journal.lines.empty()) << c.change;
  }
}

// Undo and Redo announce what the moved step's parts stand for.
TEST(ShellLayout, UndoAndRedoLeaveTheViewsOfTheStepsPartsStale) {
  LayoutDesk d;
  Model& m = d.app.model;
  m.SetTriangleCount(1);
  {
    DocumentStep step(d.app.document, "Select", STEP_MESH);
    m.triangles[0].flags |= TRI_SELECTED;
  }
  d.app.document.changes.Settle();
  d.journal.lines.clear();
  for (bool undo : {true, false}) {
    ASSERT_TRUE(undo ? d.app.document.Undo() : d.app.document.Redo());
    d.app.document.changes.Settle();
    EXPECT_EQ(d.journal.lines, (std::vector<std::string>{"redraw Skin Box 0 32", "show Skin Box",
                                                         "redraw ISO Box 0 32", "show ISO Box"}));
    d.journal.lines.clear();
  }
}

TEST(ShellLayout, CreationPlacesSkinLeftAndReadsPalOnTop) {
  LayoutDesk d;
  d.profile.WriteInt("Preferences", "Pal On Top", 1);
  d.layout.Create(600, 400);
  EXPECT_TRUE(d.layout.swapped());
  EXPECT_EQ(d.skin.width, 374);
  EXPECT_EQ(d.iso.width, 202);
  EXPECT_EQ(d.pal.width, 600);
  EXPECT_EQ(d.layout.SkinViewRect().y, 32);
  EXPECT_TRUE(d.app.document.changes.pending());
}

TEST(ShellLayout, SwapDisplaysSendsTheWheelOverTheLeftPaneToThe3DView) {
  LayoutDesk d;
  d.layout.Create(600, 400);
  d.layout.Wheel(120, 10, 10);
  d.layout.SwapDisplays();
  EXPECT_EQ(d.iso.width, 374);
  d.layout.Wheel(-120, 10, 20);
  d.layout.Wheel(120, 380, 20);  // over the gradient strip: nobody
  d.layout.Wheel(5, 410, 390);   // palette strip, in its own coordinates
  std::vector<std::string> wheels;
  for (const auto& l : d.journal.lines)
    if (l.rfind("wheel", 0) == 0) wheels.push_back(l);
  EXPECT_EQ(wheels, (std::vector<std::string>{"wheel Skin Box 120 10,10", "wheel ISO Box -120 10,20",
                                              "wheel Pal Box 5 410,22"}));
}

TEST(ShellLayout, SplitDragSnapsAndEndsWithAFullRefresh) {
  LayoutDesk d;
  d.layout.Create(600, 400);
  d.layout.BeginSplitDrag();
  EXPECT_TRUE(d.layout.splitDragging());
  EXPECT_TRUE(d.shellHost.captured);
  EXPECT_TRUE(d.shellHost.cursorHidden);
  d.layout.SplitDragMove(40);
  EXPECT_DOUBLE_EQ(d.app.splitRatio, 0.0);
  EXPECT_EQ(d.skin.width, 0);
  d.layout.SplitDragMove(300);
  EXPECT_DOUBLE_EQ(d.app.splitRatio, 0.5);
  EXPECT_EQ(d.skin.width, 288);
  d.journal.lines.clear();
  d.layout.EndSplitDrag();
  EXPECT_FALSE(d.layout.splitDragging());
  EXPECT_FALSE(d.shellHost.captured);
  EXPECT_FALSE(d.shellHost.cursorHidden);
  EXPECT_EQ(d.journal.lines[0], "redraw Skin Box 0 32");
  EXPECT_EQ(d.journal.lines[4], "redraw ISO Box 0 32");
  EXPECT_EQ(d.journal.lines.size(), 6u);  // no palette strip
}
