#include "shell/qt/animation_bar.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimer>
#include <QToolBar>

#include "editor/model_view.h"
#include "platform/clock.h"
#include "shell/animation_commands.h"
#include "shell/app.h"
#include "shell/preferences.h"
#include "shell/qt/main_wnd.h"
#include "shell/qt/shell_wnd.h"

AnimationBar::AnimationBar(MainWnd& wnd, App& app, QToolBar* band) : QObject(&wnd), wnd_(wnd), app_(app) {
  setObjectName("AnimationBar");
  timer_ = new QTimer(this);
  timer_->setObjectName("AnimationTimer");
  timer_->setSingleShot(true);
  timer_->setTimerType(Qt::PreciseTimer);
  connect(timer_, &QTimer::timeout, this, [this] { Tick(); });

  ReadPlaySettings(app_.profile, app_.player);
  rememberedFps_ = app_.player.fps();
  rememberedInterpolate_ = app_.player.interpolate();
  speed_ = new QSpinBox;
  speed_->setObjectName("AnimationSpeed");
  speed_->setRange(static_cast<int>(AnimationPlayer::kMinFps), static_cast<int>(AnimationPlayer::kMaxFps));
  speed_->setValue(static_cast<int>(app_.player.fps()));
  speed_->setSuffix(" fps");
  speed_->setToolTip("Frames per second the animation plays at");
  speed_->setFocusPolicy(Qt::ClickFocus);
  if (band) band->addWidget(speed_);
  connect(speed_, QOverload<int>::of(&QSpinBox::valueChanged), this, [this](int fps) {
    SetAnimationSpeed(app_, fps);
    Remember();
    // The next picture is due sooner or later at the new rate.
    if (app_.player.playing()) timer_->start(app_.player.NextChangeMs(NowMs()));
  });
}

void AnimationBar::AfterChange() {
  Remember();
  // A playing view draws no tags until something reads them.
  wnd_.shellWnd().modelView().SetTagsDeferred(app_.player.playing());
  if (static_cast<int>(app_.player.fps()) != speed_->value()) {
    const QSignalBlocker quiet(speed_);
    speed_->setValue(static_cast<int>(app_.player.fps()));
  }
  if (!app_.player.playing()) {
    timer_->stop();
    return;
  }
  if (!timer_->isActive()) timer_->start(app_.player.NextChangeMs(NowMs()));
}

void AnimationBar::Remember() {
  if (app_.player.fps() == rememberedFps_ && app_.player.interpolate() == rememberedInterpolate_) return;
  rememberedFps_ = app_.player.fps();
  rememberedInterpolate_ = app_.player.interpolate();
  WritePlaySettings(app_.profile, app_.player);
}

void AnimationBar::Tick() {
  const std::int64_t now = NowMs();
  if (AdvanceAnimation(app_, now)) {
    // Only the selection moves: the list itself is as it was.
    if (QComboBox* frames = wnd_.listBar("Frames")) {
      const QSignalBlocker quiet(frames);
      frames->setCurrentIndex(app_.listBars.frames.selection);
    }
  }
  if (app_.player.playing()) timer_->start(app_.player.NextChangeMs(now));
}
