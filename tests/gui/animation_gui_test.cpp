#include <gtest/gtest.h>

#include <set>

#include <QComboBox>
#include <QElapsedTimer>
#include <QSpinBox>
#include <QTimer>

#include "gui/gui_fixture.h"
#include "shell/app.h"
#include "shell/preferences.h"
#include "shell/qt/animation_bar.h"
#include "shell/qt/main_wnd.h"

TEST(AnimationGui, TimerPlaysTheFramesAndTheListsFollow) {
  GuiFixture f;
  ASSERT_TRUE(f.Start(JoinCommandLine({"-md2", f.model})));
  MainWnd& wnd = f.session->mainWnd();
  App& app = f.session->app();
  AnimationBar* bar = wnd.animation();
  ASSERT_NE(bar, nullptr);
  EXPECT_FALSE(bar->timer()->isActive());
  EXPECT_EQ(bar->speedBox()->value(), 10);
  QComboBox* animations = wnd.listBar("Animations");
  ASSERT_NE(animations, nullptr);
  EXPECT_EQ(animations->itemText(0), "All frames");
  EXPECT_EQ(animations->count(), 2);  // the demo's walk1..walk8: one animation

  bar->speedBox()->setValue(50);
  EXPECT_EQ(f.profile.Get(kPlaySpeedSetting), 50);  // the next start plays at it
  wnd.RunCommand("Views > Animation > Play");
  EXPECT_TRUE(bar->timer()->isActive());
  // At 50 frames a second the eight frames go by within moments, however
  // slowly this build draws them.
  QElapsedTimer clock;
  clock.start();
  std::set<int> seen;
  while (seen.size() < 4 && clock.elapsed() < 10000) {
    f.Pump();
    seen.insert(app.model.currentFrameIndex);
    EXPECT_EQ(wnd.listBar("Frames")->currentIndex(), app.model.currentFrameIndex);
  }
  EXPECT_EQ(seen.size(), 4u);

  wnd.RunCommand("Views > Animation > Play");
  EXPECT_FALSE(bar->timer()->isActive());
  EXPECT_FALSE(app.document.history.CanUndo());
}
