#include "cli/render_sequence.h"

#include <cctype>
#include <cmath>
#include <numbers>

#include "cli/cli_args.h"

std::optional<FrameRange> ParseFrameRange(const std::string& text) {
  const std::size_t dash = text.find('-');
  const auto first = WholeNumber(text.substr(0, dash), 0, 32767);
  if (!first) return std::nullopt;
  if (dash == std::string::npos) return FrameRange{*first, *first};
  const auto last = WholeNumber(text.substr(dash + 1), 0, 32767);
  if (!last || *last < *first) return std::nullopt;
  return FrameRange{*first, *last};
}

std::optional<std::string> PatternName(const std::string& pattern, int number) {
  std::string name;
  bool filled = false;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%') {
      name += pattern[i];
      continue;
    }
    if (i + 1 < pattern.size() && pattern[i + 1] == '%') {
      name += '%';
      ++i;
      continue;
    }
    // %[0][width]d, width up to two digits.
    std::size_t j = i + 1;
    const bool zeros = j < pattern.size() && pattern[j] == '0';
    if (zeros) ++j;
    int width = 0;
    for (int digits = 0; j < pattern.size() && std::isdigit(static_cast<unsigned char>(pattern[j])) && digits < 2;
         ++j, ++digits)
      width = width * 10 + (pattern[j] - '0');
    if (filled || j >= pattern.size() || pattern[j] != 'd') return std::nullopt;
    std::string digits = std::to_string(number);
    if (static_cast<int>(digits.size()) < width)
      digits.insert(0, static_cast<std::size_t>(width) - digits.size(), zeros ? '0' : ' ');
    name += digits;
    filled = true;
    i = j;
  }
  if (!filled) return std::nullopt;
  return name;
}

Mat3 TurntableRotation(const Mat3& start, int index, int steps) {
  const double angle = 2 * std::numbers::pi * index / steps;
  // cos and sin of a quarter turn miss 0 by a rounding; the pictures of the
  // four sides should match the aligned views exactly.
  auto snap = [](double v) { return std::abs(v) < 1e-9 ? 0.0 : v; };
  const auto c = static_cast<float>(snap(std::cos(angle)));
  const auto s = static_cast<float>(snap(std::sin(angle)));
  // The camera's axes (the matrix's columns, in world axes) turned about
  // world y, the model's up.
  return Mat3::Rows(c, 0, s, 0, 1, 0, -s, 0, c) * start;
}
