#pragma once
// The start-up intro: a 320 x 240 window centred on the screen that shows
// the intro's frames every 15 ms with its sound looping, until a key or a
// mouse button is pressed in it, the user switches away, or 59.1 seconds
// have passed.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include <QWidget>

#include "shell/intro_frames.h"

class QTimer;
class QtSound;

struct IntroSettings {
  int introNumber = 8;    // "Intro Number"
  std::string introWav;   // "Intro WAV"
};

class IntroWindow : public QWidget {
  Q_OBJECT

 public:
  // `clock` gives milliseconds; `seed` starts the noise and the random
  // choice of sound.
  IntroWindow(IntroSettings settings, std::function<std::int64_t()> clock, unsigned seed);
  ~IntroWindow() override;

  // Starts the sound, notes the start time, draws the first frame and the
  // frame timer.
  void Begin();
  // One frame at the clock's time; past the intro's length it ends.
  void Tick();
  // Stops the frames and the sound; idempotent.
  void Finish();

  bool finished() const { return finished_; }
  // The sound chosen by Begin (ChooseIntroSound), kIntroSoundNone before.
  int sound() const { return sound_; }
  bool soundPlaying() const;
  const IntroFrames& frames() const { return frames_; }

 signals:
  void Finished();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  IntroSettings settings_;
  std::function<std::int64_t()> clock_;
  unsigned seed_;
  IntroFrames frames_;
  std::unique_ptr<QtSound> soundPlayer_;
  QTimer* timer_ = nullptr;
  std::int64_t startMs_ = 0;
  int sound_ = kIntroSoundNone;
  bool started_ = false;
  bool finished_ = false;
};

// Whether this start can show the intro: not on a platform without a
// screen, and not when the environment says SKINTOOL_NO_INTRO.
bool IntroPossible();

// Plays the intro and returns when it is over; returns at once when it
// cannot be shown or one is already playing.
void ShowIntro(const IntroSettings& settings);
