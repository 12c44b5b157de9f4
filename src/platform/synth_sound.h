#pragma once
// The program's own intro sounds: short chimes made in code, so the program
// ships no audio files. Each is a complete RIFF/WAVE image (16-bit mono PCM).

#include <cstdint>
#include <vector>

constexpr int kNumBuiltInSounds = 8;
constexpr int kSynthSampleRate = 22050;

// Chime `number` (0..7; other numbers are wrapped into that range).
std::vector<std::uint8_t> SynthIntroSound(int number);

// The name the intro list shows for chime `number` (0..7).
const char* IntroSoundLabel(int number);
