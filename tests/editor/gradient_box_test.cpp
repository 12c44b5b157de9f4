#include <gtest/gtest.h>

#include <vector>

#include "editor/gradient_box.h"
#include "editor/workspace.h"
#include "render/render_mode.h"
#include "support/fake_pane_host.h"
#include "support/notice_log.h"

namespace {

using FakeHost = FakePaneHost;

MouseEvent At(MouseButton b, int x, int y) {
  MouseEvent e;
  e.button = b;
  e.x = x;
  e.y = y;
  return e;
}

// A strip 24 x 127: the slider's scale h - 27 is 100 rows, the split button
// takes rows 100..114 and the preset buttons 115..126.
struct GradDesk {
  static constexpr int kHeight = 127;
  Workspace app;
  FakeHost host;
  double splitRatio = 0.65;
  GradientBox box{app, splitRatio};
  NoticeLog log{app.document.changes};
  std::vector<PaneRedraw>& sent = log.sent;
  int rampBuilds = 0;

  GradDesk() {
    box.requests.beginSplitDrag = [this] { sent.push_back({"begin split drag"}); };
    box.requests.relayout = [this] { sent.push_back({"relayout"}); };
    box.requests.swapDisplays = [this] { sent.push_back({"swap displays"}); };
    app.rebuildShadeRamps = [this] { ++rampBuilds; };
    box.SetHost(&host);
    box.Resize(24, kHeight);
  }
  void Click(MouseButton b, int x, int y) {
    box.MouseDown(At(b, x, y));
    box.MouseUp(At(b, x, y));
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> out;
    for (const auto& m : sent)
      out.push_back(m.name == "redraw" ? m.name + " " + std::to_string(m.kind) + " " + std::to_string(m.panes) : m.name);
    return out;
  }
};

}  // namespace

TEST(GradientBoxSlider, RowsSetStrengthLeftAndExponentRight) {
  struct Case {
    int y;
    double strength, exponent;
  };
  const Case cases[] = {
      {-15, 1.0, 20.0},  // above the strip while dragging
      {0, 1.0, 20.0},
      {50, 0.5, 5.0},
      {75, 0.25, 1.25},
      {100, 0.0, 0.0},  // row h - 27
      {99, 0.01, 0.002},
  };
  for (const Case& c : cases) {
    GradDesk d;
    d.box.MouseDown(At(MouseButton::Left, 10, 30));
    EXPECT_TRUE(d.host.cursorHidden);
    d.box.MouseMove(At(MouseButton::Left, 10, 5));
    d.box.MouseUp(At(MouseButton::Left, 12, c.y));
    EXPECT_NEAR(d.app.editor.paintStrength, c.strength, 1e-12) << c.y;
    // The pointer comes back where it was pressed, shown again.
    EXPECT_FALSE(d.host.cursorHidden);
    EXPECT_EQ(std::make_pair(d.host.cursorX, d.host.cursorY), std::make_pair(10, 30));
    EXPECT_FALSE(d.host.captured);

    d.box.MouseDown(At(MouseButton::Right, 10, 30));
    d.box.MouseUp(At(MouseButton::Right, 10, c.y));
    EXPECT_NEAR(d.app.lighting.shadeExponent, c.exponent, 1e-12) << c.y;
  }
  // A row below the slider's own rows (the buttons') still reads as 0 once
  // a drag has begun; a tiny strip gives 0 rather than dividing by zero.
  EXPECT_EQ(SliderValue(126, 127), 0.0);
  EXPECT_EQ(SliderValue(3, 27), 0.0);
  EXPECT_EQ(SliderValue(3, 10), 0.0);
}

TEST(GradientBoxSlider, ExponentRebuildsTheLightTablesAndRefreshesOnlyModesThatUseThem) {
  struct Case {
    int mode;
    bool refreshes;
  };
  const Case cases[] = {{MODE_WIREFRAME, false}, {MODE_TEXTURED, false}, {MODE_ENVIRONMENT, false},
                        {MODE_FLAT, true},       {MODE_PHONG, true},     {MODE_TEXTURED_P, true}};
  for (const Case& c : cases) {
    GradDesk d;
    d.app.renderModes.renderModeIndex = c.mode;
    d.box.MouseDown(At(MouseButton::Right, 5, 50));
    d.box.MouseMove(At(MouseButton::Right, 5, 0));
    d.box.MouseUp(At(MouseButton::Right, 5, 0));
    const std::vector<std::string> expected =
        c.refreshes ? std::vector<std::string>{"redraw 1 18", "redraw 1 18", "redraw 0 34"}
                    : std::vector<std::string>{};
    EXPECT_EQ(d.Names(), expected) << c.mode;
    EXPECT_GE(d.rampBuilds, 1);
    // Exponent 20: (128 / 255)^20 x 255 is far below one level.
    EXPECT_EQ(d.app.lighting.shadeExponent, 20.0);
    EXPECT_EQ(d.app.lighting.lightCurve[128], 0);
  }
}

TEST(GradientBoxButtons, SplitButtonBeginsTheSplitDragOrSwapsTheViews) {
  struct Case {
    MouseButton button;
    int y;
    std::vector<std::string> sent;
  };
  const Case cases[] = {
      {MouseButton::Left, 100, {"begin split drag"}},
      {MouseButton::Left, 114, {"begin split drag"}},
      {MouseButton::Left, 99, {}},  // the slider's last row
      {MouseButton::Right, 107, {"swap displays"}},
  };
  for (const Case& c : cases) {
    GradDesk d;
    d.Click(c.button, 12, c.y);
    EXPECT_EQ(d.Names(), c.sent) << c.y;
  }
  // A right press that loses the capture is no click.
  GradDesk d;
  d.box.MouseDown(At(MouseButton::Right, 12, 107));
  d.box.CaptureLost();
  EXPECT_TRUE(d.sent.empty());
  EXPECT_EQ(d.box.dragState(), GradientBox::DragState::Idle);
}

TEST(GradientBoxButtons, PresetButtonsStoreWithTheRightAndRecallWithTheLeft) {
  GradDesk d;
  d.Click(MouseButton::Left, 20, 120);  // right button, initial 0.75
  EXPECT_EQ(d.splitRatio, 0.75);
  EXPECT_EQ(d.Names(), (std::vector<std::string>{"relayout"}));
  d.splitRatio = 0.4;
  d.Click(MouseButton::Right, 3, 126);  // store into the left button
  EXPECT_EQ(d.box.preset(0), 0.4);
  d.splitRatio = 0.9;
  d.Click(MouseButton::Left, 3, 126);
  EXPECT_EQ(d.splitRatio, 0.4);
  EXPECT_EQ(d.box.preset(1), 0.75);
}
