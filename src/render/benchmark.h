#pragma once
// The 3D view's benchmark: one hundred quick renders of the current view,
// each followed by showing the picture, timed with the clock of day.

#include <cstdint>
#include <functional>
#include <string>

#include "render/render_mode.h"

constexpr int kBenchmarkFrames = 100;

struct BenchmarkResult {
  std::int64_t milliseconds = 0;
  double fps = 0.0;   // 0 when the run took less than a millisecond
  std::string text;   // what the message box shows
};

// "100 frames in %d milliseconds = %f fps" for a run of `ms` milliseconds;
// a run below one millisecond cannot give a rate and says so.
std::string BenchmarkText(std::int64_t ms);

// Renders the current mode kBenchmarkFrames times as Quick (flags 32), calling
// `present` after each (the immediate redraw of the view; may be empty).
BenchmarkResult RunBenchmark(RenderModes& modes, const RenderContext& context,
                             const std::function<void()>& present);
