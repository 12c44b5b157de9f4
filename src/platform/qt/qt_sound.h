#pragma once
// Asynchronous, looping sound through Qt Multimedia: the program's own
// chimes or a WAV file of the user's. Without an audio device nothing is
// heard and nothing fails.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QSoundEffect;
class QTemporaryFile;

class QtSound {
 public:
  QtSound();
  ~QtSound();
  QtSound(const QtSound&) = delete;
  QtSound& operator=(const QtSound&) = delete;

  // Plays a WAV image over and over until Stop.
  void PlayLooping(const std::vector<std::uint8_t>& wav);
  // The same with a file; false when it cannot be opened for reading.
  bool PlayFileLooping(const std::string& path);
  // Built-in chime `number` (0..7).
  void PlayBuiltInLooping(int number);
  void Stop();
  bool playing() const { return playing_; }

 private:
  void Start(const std::string& path);

  std::unique_ptr<QSoundEffect> effect_;
  std::unique_ptr<QTemporaryFile> temp_;  // the chime being played, as a file
  bool playing_ = false;
};
