#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "gui_fixture.h"
#include "shell/qt/intro_window.h"

namespace {

// A clock the test moves by hand: no waiting for the intro's length.
struct HandClock {
  std::int64_t now = 5000;
  std::function<std::int64_t()> fn() {
    return [this] { return now; };
  }
};

constexpr int kSilent = 10;  // an "Intro Number" that plays nothing

}  // namespace

TEST(IntroWindow, AKeyEndsItAndGoesNoFurther) {
  TestApp();
  HandClock clock;
  IntroWindow window({kSilent, ""}, clock.fn(), 1);
  window.Begin();
  clock.now += 1000;
  window.Tick();
  ASSERT_FALSE(window.finished());
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
  press.ignore();
  QCoreApplication::sendEvent(&window, &press);
  EXPECT_TRUE(press.isAccepted());
  EXPECT_TRUE(window.finished());
}

TEST(IntroWindow, LeftRightAndMiddleButtonsEndIt) {
  TestApp();
  for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
    HandClock clock;
    IntroWindow window({kSilent, ""}, clock.fn(), 1);
    window.Begin();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 10), QPointF(10, 10), button, button,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &press);
    EXPECT_TRUE(window.finished()) << button;
  }
}

TEST(IntroWindow, SwitchingAwayEndsItAndTheChangeGoesOn) {
  TestApp();
  HandClock clock;
  IntroWindow window({kSilent, ""}, clock.fn(), 1);
  window.Begin();
  // Its own window becoming active must not end it.
  QApplicationStateChangeEvent active(Qt::ApplicationActive);
  QCoreApplication::sendEvent(QCoreApplication::instance(), &active);
  EXPECT_FALSE(window.finished());
  // A receiver after the intro still sees the change.
  struct Watcher : QObject {
    bool seen = false;
    bool event(QEvent* e) override {
      seen = seen || e->type() == QEvent::ApplicationStateChange;
      return QObject::event(e);
    }
  } watcher;
  watcher.installEventFilter(&window);
  QApplicationStateChangeEvent inactive(Qt::ApplicationInactive);
  QCoreApplication::sendEvent(&watcher, &inactive);
  EXPECT_TRUE(window.finished());
  EXPECT_TRUE(watcher.seen);
}

TEST(IntroWindow, EndsOnlyAfter59Point1Seconds) {
  TestApp();
  HandClock clock;
  IntroWindow window({kSilent, ""}, clock.fn(), 1);
  window.Begin();
  clock.now += kIntroLengthMs;
  window.Tick();
  EXPECT_FALSE(window.finished());
  clock.now += 1;
  window.Tick();
  EXPECT_TRUE(window.finished());
}

TEST(IntroWindow, SoundLoopsUntilTheEndAndAMissingWavFallsBackToABuiltInOne) {
  TestApp();
  HandClock clock;
  IntroWindow chosen({3, ""}, clock.fn(), 1);
  chosen.Begin();
  EXPECT_EQ(chosen.sound(), 3);
  EXPECT_TRUE(chosen.soundPlaying());
  chosen.Finish();
  EXPECT_FALSE(chosen.soundPlaying());

  IntroWindow missing({kIntroSoundWav, "/no/such/intro.wav"}, clock.fn(), 1);
  missing.Begin();
  EXPECT_GE(missing.sound(), 0);
  EXPECT_LT(missing.sound(), 8);
}

TEST(IntroWindow, NotShownWithoutAScreen) {
  TestApp();
  // The suite runs offscreen: start-up must go on without the intro.
  EXPECT_FALSE(IntroPossible());
}
