#include "shell/qt/intro_window.h"

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <random>

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "platform/clock.h"
#include "platform/qt/qt_sound.h"

namespace {

// At most one intro at a time: start-up could be re-entered from the
// intro's own event loop.
IntroWindow* gPlaying = nullptr;

bool Readable(const std::string& path) {
  if (path.empty()) return false;
  std::ifstream probe(path, std::ios::binary);
  return probe.good();
}

}  // namespace

IntroWindow::IntroWindow(IntroSettings settings, std::function<std::int64_t()> clock, unsigned seed)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      settings_(std::move(settings)),
      clock_(std::move(clock)),
      seed_(seed),
      frames_(seed),
      soundPlayer_(std::make_unique<QtSound>()),
      timer_(new QTimer(this)) {
  setFixedSize(kIntroWidth, kIntroHeight);
  setCursor(Qt::ArrowCursor);
  setFocusPolicy(Qt::StrongFocus);
  // Every pixel comes from the picture: no background to clear first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  timer_->setInterval(kIntroFrameMs);
  connect(timer_, &QTimer::timeout, this, &IntroWindow::Tick);
}

IntroWindow::~IntroWindow() {
  Finish();
  if (gPlaying == this) gPlaying = nullptr;
}

void IntroWindow::Begin() {
  if (started_) return;
  started_ = true;
  std::minstd_rand pick(seed_);
  sound_ = ChooseIntroSound(settings_.introNumber, Readable(settings_.introWav), static_cast<int>(pick() & 0x7fff));
  // Without a sound device QtSound stays silent; the intro goes on regardless.
  if (sound_ == kIntroSoundWav)
    soundPlayer_->PlayFileLooping(settings_.introWav);
  else if (sound_ != kIntroSoundNone)
    soundPlayer_->PlayBuiltInLooping(sound_);
  if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
  startMs_ = clock_();
  frames_.Render(0);
  update();
  timer_->start();
}

void IntroWindow::Tick() {
  if (!started_ || finished_) return;
  const std::int64_t elapsed = clock_() - startMs_;
  if (elapsed > kIntroLengthMs) {
    Finish();
    return;
  }
  frames_.Render(elapsed);
  update();
}

void IntroWindow::Finish() {
  if (finished_) return;
  finished_ = true;
  timer_->stop();
  soundPlayer_->Stop();
  if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
  emit Finished();
}

bool IntroWindow::soundPlaying() const { return soundPlayer_->playing(); }

void IntroWindow::paintEvent(QPaintEvent*) {
  const QImage picture(reinterpret_cast<const uchar*>(frames_.picture().data()), kIntroWidth, kIntroHeight,
                       kIntroWidth * 2, QImage::Format_RGB555);
  QPainter painter(this);
  painter.drawImage(0, 0, picture);
}

void IntroWindow::keyPressEvent(QKeyEvent* event) {
  // The key only ends the intro; nothing after it sees it.
  event->accept();
  Finish();
}

void IntroWindow::mousePressEvent(QMouseEvent* event) {
  const Qt::MouseButton button = event->button();
  if (button == Qt::LeftButton || button == Qt::RightButton || button == Qt::MiddleButton) {
    event->accept();
    Finish();
    return;
  }
  QWidget::mousePressEvent(event);
}

void IntroWindow::closeEvent(QCloseEvent* event) {
  Finish();
  QWidget::closeEvent(event);
}

bool IntroWindow::eventFilter(QObject* watched, QEvent* event) {
  // The user switching to another program ends the intro; showing the intro
  // itself makes the program active, so only the change away counts. The
  // event goes on to its receivers.
  if (event->type() == QEvent::ApplicationStateChange &&
      static_cast<QApplicationStateChangeEvent*>(event)->applicationState() != Qt::ApplicationActive)
    Finish();
  return QWidget::eventFilter(watched, event);
}

bool IntroPossible() {
  // Tests and headless runs start on the offscreen platform (or say
  // SKINTOOL_NO_INTRO): nobody is there to watch or to press a key, and
  // start-up must not wait the intro's 59 seconds.
  if (std::getenv("SKINTOOL_NO_INTRO")) return false;
  const QString platform = QGuiApplication::platformName();
  if (platform == "offscreen" || platform == "minimal") return false;
  return QGuiApplication::primaryScreen() != nullptr;
}

void ShowIntro(const IntroSettings& settings) {
  if (gPlaying || !IntroPossible()) return;
  IntroWindow window(settings, NowMs, static_cast<unsigned>(std::time(nullptr)));
  gPlaying = &window;
  // The main window is still hidden, so the screen's work area is the
  // reference.
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  window.move(area.center() - QPoint(kIntroWidth / 2, kIntroHeight / 2));
  window.show();
  window.raise();
  window.activateWindow();
  window.setFocus();
  QEventLoop loop;
  QObject::connect(&window, &IntroWindow::Finished, &loop, &QEventLoop::quit);
  window.Begin();
  if (!window.finished()) loop.exec();
  window.hide();
}
