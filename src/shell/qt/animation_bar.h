#pragma once
// The animation's place in the main window: the speed box beside the
// Animations list at the end of the Frames band, and the timer that drives the
// App's player while it plays. The timer fires when the next frame (or,
// interpolating, the next in-between picture) is due, so a paused or
// slow animation costs nothing between frames.

#include <QObject>

class App;
class MainWnd;
class QComboBox;
class QSpinBox;
class QTimer;
class QToolBar;

class AnimationBar : public QObject {
  Q_OBJECT

 public:
  // `band` is the Frames band the speed box joins.
  AnimationBar(MainWnd& wnd, App& app, QToolBar* band);

  // After every command and settle: the timer runs exactly while the
  // player plays, and the speed box shows its rate.
  void AfterChange();

  QTimer* timer() const { return timer_; }
  QSpinBox* speedBox() const { return speed_; }

 private:
  void Tick();
  // The speed and interpolation into the profile when they changed.
  void Remember();

  MainWnd& wnd_;
  App& app_;
  QTimer* timer_ = nullptr;
  QSpinBox* speed_ = nullptr;
  double rememberedFps_ = -1;
  bool rememberedInterpolate_ = false;
};
