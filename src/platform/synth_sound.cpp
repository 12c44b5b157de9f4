#include "platform/synth_sound.h"

#include <algorithm>
#include <cmath>

namespace {

struct Chime {
  const char* label;
  double notes[3];  // Hz; a zero leaves the voice out
  double lengthSeconds;
  double decay;  // per second
};

// Eight small chords, each a little different in colour and length.
constexpr Chime kChimes[kNumBuiltInSounds] = {
    {"Bright Chime", {880.0, 1108.7, 1318.5}, 0.45, 7.0},
    {"Low Bell", {220.0, 330.0, 440.0}, 0.60, 5.0},
    {"Two Tones", {659.3, 987.8, 0.0}, 0.35, 9.0},
    {"Soft Fifth", {392.0, 587.3, 0.0}, 0.50, 6.0},
    {"Minor Triad", {523.3, 622.3, 784.0}, 0.45, 7.0},
    {"High Ping", {1760.0, 0.0, 0.0}, 0.30, 12.0},
    {"Wide Chord", {261.6, 392.0, 1046.5}, 0.55, 5.5},
    {"Glass", {1318.5, 1975.5, 2637.0}, 0.40, 10.0},
};

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(static_cast<std::uint8_t>(v & 0xff));
  out.push_back(static_cast<std::uint8_t>((v >> 8) & 0xff));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xffff);
  Put16(out, v >> 16);
}

void PutTag(std::vector<std::uint8_t>& out, const char* tag) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(tag[i]));
}

}  // namespace

const char* IntroSoundLabel(int number) {
  return kChimes[((number % kNumBuiltInSounds) + kNumBuiltInSounds) % kNumBuiltInSounds].label;
}

std::vector<std::uint8_t> SynthIntroSound(int number) {
  const Chime& c = kChimes[((number % kNumBuiltInSounds) + kNumBuiltInSounds) % kNumBuiltInSounds];
  const int samples = static_cast<int>(c.lengthSeconds * kSynthSampleRate);
  const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples) * 2;

  std::vector<std::uint8_t> out;
  out.reserve(44 + dataBytes);
  PutTag(out, "RIFF");
  Put32(out, 36 + dataBytes);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, 1);  // mono
  Put32(out, kSynthSampleRate);
  Put32(out, kSynthSampleRate * 2);
  Put16(out, 2);
  Put16(out, 16);
  PutTag(out, "data");
  Put32(out, dataBytes);

  const double twoPi = 6.283185307179586;
  int voices = 0;
  for (double f : c.notes) voices += f > 0.0 ? 1 : 0;
  for (int i = 0; i < samples; ++i) {
    const double t = static_cast<double>(i) / kSynthSampleRate;
    // A 5 ms attack avoids a click at the start; the tail fades to silence
    // so the loop joins without a click too.
    const double attack = std::min(1.0, t / 0.005);
    const double tail = std::min(1.0, (c.lengthSeconds - t) / 0.02);
    const double envelope = attack * std::max(0.0, tail) * std::exp(-c.decay * t);
    double v = 0.0;
    for (double f : c.notes) {
      if (f > 0.0) v += std::sin(twoPi * f * t) + 0.25 * std::sin(twoPi * 2.0 * f * t);
    }
    v = v / (voices * 1.25) * envelope * 0.6;
    const int s = static_cast<int>(std::lround(std::clamp(v, -1.0, 1.0) * 32767.0));
    Put16(out, static_cast<unsigned>(static_cast<std::uint16_t>(static_cast<std::int16_t>(s))));
  }
  return out;
}
