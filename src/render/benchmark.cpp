#include "render/benchmark.h"

#include <cstdio>

#include "platform/clock.h"

std::string BenchmarkText(std::int64_t ms) {
  char text[128];
  if (ms < 1)
    std::snprintf(text, sizeof text, "100 frames in less than 1 millisecond: too fast to measure");
  else
    std::snprintf(text, sizeof text, "100 frames in %d milliseconds = %f fps", static_cast<int>(ms),
                  kBenchmarkFrames / (static_cast<double>(ms) * 0.001));
  return text;
}

BenchmarkResult RunBenchmark(RenderModes& modes, const RenderContext& context,
                             const std::function<void()>& present) {
  std::int64_t start = NowMs();
  for (int i = 0; i < kBenchmarkFrames; ++i) {
    modes.Render(context, REDRAW_QUICK, 32);
    if (present) present();
  }
  BenchmarkResult result;
  result.milliseconds = NowMs() - start;
  if (result.milliseconds > 0) result.fps = kBenchmarkFrames / (static_cast<double>(result.milliseconds) * 0.001);
  result.text = BenchmarkText(result.milliseconds);
  return result;
}
