#include "platform/qt/qt_sound.h"

#include <QDir>
#include <QFile>
#include <QSoundEffect>
#include <QTemporaryFile>
#include <QUrl>

#include "platform/synth_sound.h"

QtSound::QtSound() : effect_(std::make_unique<QSoundEffect>()) {}

QtSound::~QtSound() { Stop(); }

void QtSound::Start(const std::string& path) {
  effect_->setSource(QUrl::fromLocalFile(QString::fromStdString(path)));
  effect_->setLoopCount(QSoundEffect::Infinite);
  effect_->play();
  playing_ = true;
}

void QtSound::PlayLooping(const std::vector<std::uint8_t>& wav) {
  Stop();
  // QSoundEffect plays from a URL only, so the image goes to a file first.
  auto file = std::make_unique<QTemporaryFile>(QDir::tempPath() + "/skintool-sound-XXXXXX.wav");
  if (!file->open()) return;
  const auto size = static_cast<qint64>(wav.size());
  if (file->write(reinterpret_cast<const char*>(wav.data()), size) != size) return;
  file->flush();
  temp_ = std::move(file);
  Start(temp_->fileName().toStdString());
}

bool QtSound::PlayFileLooping(const std::string& path) {
  Stop();
  QFile probe(QString::fromStdString(path));
  if (!probe.open(QIODevice::ReadOnly)) return false;
  probe.close();
  Start(path);
  return true;
}

void QtSound::PlayBuiltInLooping(int number) { PlayLooping(SynthIntroSound(number)); }

void QtSound::Stop() {
  if (playing_) effect_->stop();
  playing_ = false;
  temp_.reset();
}
