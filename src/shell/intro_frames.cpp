#include "shell/intro_frames.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "render/rasterizer.h"

namespace {

// A block letter S, 5 units wide and 8 high, in the upright plane through
// the spin axis, one unit deep: the spin about z turns it like a sign.
constexpr float kOutline[][2] = {{0, 0},     {5, 0},   {5, 4.75f}, {1.5f, 4.75f}, {1.5f, 6.5f}, {5, 6.5f},
                                 {5, 8},     {0, 8},   {0, 3.25f}, {3.5f, 3.25f}, {3.5f, 1.5f}, {0, 1.5f}};
constexpr int kOutlineCorners = static_cast<int>(std::size(kOutline));

std::vector<EmblemPoint> MakeEmblemPoints() {
  std::vector<EmblemPoint> points;
  for (const float depth : {1.0f, 2.0f}) {
    for (const auto& corner : kOutline) {
      // The outline's 2.5 x 4 centre sits on the spin axis at (1.5, 4.0, 3.1);
      // its "up" runs to smaller z, which the projection shows higher.
      points.push_back({depth, 4.0f - (corner[0] - 2.5f), 3.1f - (corner[1] - 4.0f)});
    }
  }
  return points;
}

std::vector<std::pair<int, int>> MakeEmblemEdges() {
  std::vector<std::pair<int, int>> edges;
  for (int face = 0; face < 2; ++face) {
    for (int i = 0; i < kOutlineCorners; ++i)
      edges.emplace_back(face * kOutlineCorners + i, face * kOutlineCorners + (i + 1) % kOutlineCorners);
  }
  for (int i = 0; i < kOutlineCorners; ++i) edges.emplace_back(i, kOutlineCorners + i);
  return edges;
}

constexpr std::uint16_t kEmblemColour = 9192;
constexpr int kLeft = 4;
constexpr int kRight = 315;

std::uint16_t Channel(std::uint16_t pixel, int shift) { return static_cast<std::uint16_t>((pixel >> shift) & 31u); }

// The picture as the 16-bit line drawers' target.
RasterTarget PictureTarget(std::vector<std::uint16_t>& picture) {
  RasterTarget target;
  target.ColorBuffer16 = picture.data();
  target.Pitch = kIntroWidth;
  target.Rows = kIntroHeight;
  target.ClipRight = kIntroWidth - 1;
  target.ClipBottom = kIntroHeight - 1;
  return target;
}

}  // namespace

const std::vector<EmblemPoint>& EmblemPoints() {
  static const std::vector<EmblemPoint> points = MakeEmblemPoints();
  return points;
}

const std::vector<std::pair<int, int>>& EmblemEdges() {
  static const std::vector<std::pair<int, int>> edges = MakeEmblemEdges();
  return edges;
}

ScreenPoint ProjectEmblemPoint(const EmblemPoint& p, double phase, double tilt) {
  const double a1 = p.x - 1.5;
  const double a2 = p.y - 4.0;
  const double z = p.z - 3.1;
  const double s = a1 * std::cos(phase) - a2 * std::sin(phase);
  const double g = a1 * std::sin(phase) + a2 * std::cos(phase);
  const double h = s * std::sin(tilt) + z * std::cos(tilt);
  const double v = s * std::cos(tilt) - z * std::sin(tilt) + 15.25;
  return {g / (v / 15) * -17 + 160, h / (v / 15) * 17 + 130};
}

double IntroPhase(std::int64_t elapsedMs) { return static_cast<double>(elapsedMs) / 350; }

int IntroRowCounter(std::int64_t elapsedMs) {
  return static_cast<int>(static_cast<std::int64_t>(static_cast<double>(elapsedMs) * 0.1) % kIntroRowCycle);
}

IntroFrames::IntroFrames(unsigned seed)
    : picture_(static_cast<std::size_t>(kIntroWidth * kIntroHeight)), random_(seed) {}


IntroFrames::~IntroFrames() = default;

int IntroFrames::Next(int modulo) { return static_cast<int>(random_() % static_cast<unsigned>(modulo)); }

void IntroFrames::LineAA(int x0, int y0, int x1, int y1, std::uint16_t colour) {
  const RasterTarget target = PictureTarget(picture_);
  if (CRasterizer::ClipLine(target, x0, y0, x1, y1)) CRasterizer::DrawLineAA16(target, x0, y0, x1, y1, colour);
}

void IntroFrames::Render(std::int64_t elapsedMs) {
  Clear();
  DrawRecedingLines();
  DrawEmblem(IntroPhase(elapsedMs));
  AddNoise(IntroRowCounter(elapsedMs));
  DrawBorder();
}

void IntroFrames::Clear() { std::fill(picture_.begin(), picture_.end(), std::uint16_t{0}); }

void IntroFrames::DrawRecedingLines() {
  // Each line brighter and farther from the last: a floor running away.
  double y = 130.0;
  double gap = 0;
  int b = 1;
  do {
    const int row = static_cast<int>(y);
    y -= gap;
    LineAA(kLeft, row, kRight, row, static_cast<std::uint16_t>(b * 32));
    gap = (gap + 1.5) * 1.1;
    b += 3;
  } while (y > 0);
}

void IntroFrames::DrawEmblem(double phase, double tilt) {
  std::vector<std::pair<int, int>> screen;
  for (const EmblemPoint& p : EmblemPoints()) {
    const ScreenPoint s = ProjectEmblemPoint(p, phase, tilt);
    screen.emplace_back(static_cast<int>(s.x), static_cast<int>(s.y));
  }
  // Two glows of shifted copies under the edges themselves.
  for (const int shift : {2, 1}) {
    const int colours = shift == 2 ? 16 : 24;
    for (const auto& [a, b] : EmblemEdges()) {
      const auto colour = static_cast<std::uint16_t>(Next(colours) * 32);
      const auto [ax, ay] = screen[static_cast<std::size_t>(a)];
      const auto [bx, by] = screen[static_cast<std::size_t>(b)];
      LineAA(ax - shift, ay, bx - shift, by, colour);
      LineAA(ax + shift, ay, bx + shift, by, colour);
      LineAA(ax, ay - shift, bx, by - shift, colour);
      LineAA(ax, ay + shift, bx, by + shift, colour);
    }
  }
  for (const auto& [a, b] : EmblemEdges()) {
    const auto [ax, ay] = screen[static_cast<std::size_t>(a)];
    const auto [bx, by] = screen[static_cast<std::size_t>(b)];
    LineAA(ax, ay, bx, by, kEmblemColour);
  }
}

void IntroFrames::AddNoise(int rowCounter) {
  const auto at = [&](int x, int y) -> std::uint16_t& {
    return picture_[static_cast<std::size_t>(y * kIntroWidth + x)];
  };
  const auto grain = [](std::uint16_t c, int r) { return static_cast<std::uint16_t>(((2 * c + r) % 256) / 3); };
  for (int y = 4; y <= 234; y += 2) {
    for (int x = kLeft; x <= kRight; ++x) {
      std::uint16_t& p = at(x, y);
      const std::uint16_t red = grain(Channel(p, 10), Next(28));
      const std::uint16_t green = grain(Channel(p, 5), Next(28));
      const std::uint16_t blue = grain(Channel(p, 0), Next(28));
      p = static_cast<std::uint16_t>(red << 10 | green << 5 | blue);
    }
  }
  for (int y = 5; y <= 235; y += 2) {
    for (int x = kLeft; x <= kRight; ++x) {
      std::uint16_t& p = at(x, y);
      const int r = Next(15);
      p = static_cast<std::uint16_t>(grain(Channel(p, 10), r) << 10 | grain(Channel(p, 5), r) << 5 |
                                     grain(Channel(p, 0), r));
    }
  }
  // The flickering band that rolls down the picture with the row counter.
  const auto brighten = [&](int y) {
    if (Next(100) <= 50) return;
    for (int x = kLeft; x <= kRight; ++x) {
      std::uint16_t& p = at(x, y);
      const int e = Next(10);
      const int red = std::min(31, (2 * Channel(p, 10) + e) / 2);
      const int green = std::min(31, Channel(p, 5) + e / 2);
      const int blue = std::min(31, Channel(p, 0) + e / 2);
      p = static_cast<std::uint16_t>(red << 10 | green << 5 | blue);
    }
  };
  for (int j = 0; j < 40; ++j) {
    const int y = rowCounter + j;
    brighten(y >= 238 ? y - kIntroRowCycle : y);
  }
  for (int j = 0; j < 20; ++j) {
    const int y = rowCounter + 10 + j;
    brighten(y > 237 ? y - kIntroRowCycle : y);
  }
}

void IntroFrames::DrawBorder() {
  struct Bevel {
    int inset;
    std::uint16_t topRight, bottomLeft;
  };
  const RasterTarget target = PictureTarget(picture_);
  for (const Bevel& bevel : {Bevel{1, 7399, 15855}, Bevel{2, 15855, 25368}, Bevel{3, 21140, 29596}}) {
    const int l = bevel.inset, t = bevel.inset;
    const int r = kIntroWidth - 1 - bevel.inset, b = kIntroHeight - 1 - bevel.inset;
    CRasterizer::DrawLine16(target, l, t, r, t, bevel.topRight);
    CRasterizer::DrawLine16(target, r, t, r, b, bevel.topRight);
    CRasterizer::DrawLine16(target, l, b, r, b, bevel.bottomLeft);
    CRasterizer::DrawLine16(target, l, t, l, b, bevel.bottomLeft);
  }
}

int ChooseIntroSound(int introNumber, bool wavReadable, int randomValue) {
  int n = introNumber;
  if (n == kIntroSoundWav && !wavReadable) n = 8;
  if (n == 8) n = randomValue % 8;
  if (n == kIntroSoundWav || (n >= 0 && n < 8)) return n;
  return kIntroSoundNone;
}
