#pragma once
// PNG pictures through libpng. A palette PNG keeps its indices and palette
// (1, 2 and 4-bit ones widened to a byte a pixel; entries it lacks are
// black); grey and RGB ones, with or without alpha, become true colour with
// 16-bit samples scaled to 8. Damaged files (bad signature, bad checksums,
// data that ends early) and pictures beyond the skin limits are refused
// before their pixels are allocated.

#include <cstdint>
#include <optional>
#include <span>

#include "image/true_colour.h"

class Ui;

bool IsPng(std::span<const std::uint8_t> bytes);
std::optional<DecodedPicture> ParsePng(std::span<const std::uint8_t> bytes, Ui& ui);
