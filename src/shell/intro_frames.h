#pragma once
// The start-up intro's pictures: a 320 x 240 5:5:5 picture drawn with the
// rasterizer's 16-bit line drawers (receding lines, a spinning wireframe
// emblem, noise and a bevelled border), as a function of the time since the
// intro began. The noise comes from the intro's own generator, so a seed
// repeats a run exactly. Also the choice of the intro's sound.

#include <cstdint>
#include <memory>
#include <random>
#include <utility>
#include <vector>


constexpr int kIntroWidth = 320;
constexpr int kIntroHeight = 240;
constexpr int kIntroFrameMs = 15;
constexpr std::int64_t kIntroLengthMs = 59100;
constexpr double kIntroTilt = 0.25;  // radians
constexpr int kIntroRowCycle = 237;

struct EmblemPoint {
  float x, y, z;
};
struct ScreenPoint {
  double x, y;
};

// The emblem: an outline extruded into a wireframe.
const std::vector<EmblemPoint>& EmblemPoints();
const std::vector<std::pair<int, int>>& EmblemEdges();

// Where the emblem's point lands on the picture with the spin `phase` and
// the tilt `tilt` (both radians).
ScreenPoint ProjectEmblemPoint(const EmblemPoint& p, double phase, double tilt);

// The spin (radians) and the row of the moving bright band at `elapsedMs`.
double IntroPhase(std::int64_t elapsedMs);
int IntroRowCounter(std::int64_t elapsedMs);

class IntroFrames {
 public:
  explicit IntroFrames(unsigned seed);
  ~IntroFrames();
  IntroFrames(const IntroFrames&) = delete;
  IntroFrames& operator=(const IntroFrames&) = delete;

  // The whole picture at `elapsedMs` since the start.
  void Render(std::int64_t elapsedMs);

  // The steps of a picture, in the order Render takes them.
  void Clear();
  void DrawRecedingLines();
  void DrawEmblem(double phase, double tilt = kIntroTilt);
  void AddNoise(int rowCounter);
  void DrawBorder();

  // Row by row from the top, red in bits 10..14, green 5..9, blue 0..4.
  const std::vector<std::uint16_t>& picture() const { return picture_; }
  std::uint16_t Pixel(int x, int y) const { return picture_[static_cast<std::size_t>(y * kIntroWidth + x)]; }

 private:
  int Next(int modulo);
  // Clipped first, as the drawers want both ends on the picture.
  void LineAA(int x0, int y0, int x1, int y1, std::uint16_t colour);

  std::vector<std::uint16_t> picture_;
  std::minstd_rand random_;
};

// What the intro plays: a built-in sound 0..7, kIntroSoundWav for the file
// of "Intro WAV", or kIntroSoundNone. An unreadable file falls back to a
// random built-in sound; `randomValue` is any non-negative random number.
constexpr int kIntroSoundWav = 9;
constexpr int kIntroSoundNone = -1;
int ChooseIntroSound(int introNumber, bool wavReadable, int randomValue);
