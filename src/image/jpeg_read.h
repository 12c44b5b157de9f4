#pragma once
// JPEG pictures through libjpeg: grey or colour, always true colour, all
// opaque. Damaged files (bad markers, data that ends before the last row)
// and pictures beyond the skin limits are refused before their pixels are
// allocated.

#include <cstdint>
#include <optional>
#include <span>

#include "image/true_colour.h"

class Ui;

bool IsJpeg(std::span<const std::uint8_t> bytes);
std::optional<DecodedPicture> ParseJpeg(std::span<const std::uint8_t> bytes, Ui& ui);
