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
  double preciseMilliseconds = 0.0;  // the same run on the steady clock, for comparisons
  double fps = 0.0;   // 0 when the run took less than a millisecond
  std::string text;   // what the message box shows
};

// "100 frames in %d milliseconds = %f fps" for a run of `ms` milliseconds
// (another count of frames in place of 100); a run below one millisecond
// cannot give a rate and says so.
std::string BenchmarkText(std::int64_t ms, int frames = kBenchmarkFrames);

// Renders the current mode `frames` times as Quick (flags 32), calling
// `present` after each (the immediate redraw of the view; may be empty).
BenchmarkResult RunBenchmark(RenderModes& modes, const RenderContext& context,
                             const std::function<void()>& present, int frames = kBenchmarkFrames);
