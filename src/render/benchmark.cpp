#include "render/benchmark.h"

#include <chrono>
#include <cstdio>

#include "platform/clock.h"

std::string BenchmarkText(std::int64_t ms, int frames) {
  char text[128];
  if (ms < 1)
    std::snprintf(text, sizeof text, "%d frames in less than 1 millisecond: too fast to measure", frames);
  else
    std::snprintf(text, sizeof text, "%d frames in %d milliseconds = %f fps", frames, static_cast<int>(ms),
                  frames / (static_cast<double>(ms) * 0.001));
  return text;
}

BenchmarkResult RunBenchmark(RenderModes& modes, const RenderContext& context,
                             const std::function<void()>& present, int frames) {
  const auto preciseStart = std::chrono::steady_clock::now();
  std::int64_t start = NowMs();
  for (int i = 0; i < frames; ++i) {
    modes.Render(context, REDRAW_QUICK, 32);
    if (present) present();
  }
  BenchmarkResult result;
  result.milliseconds = NowMs() - start;
  result.preciseMilliseconds =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - preciseStart).count();
  if (result.milliseconds > 0) result.fps = frames / (static_cast<double>(result.milliseconds) * 0.001);
  result.text = BenchmarkText(result.milliseconds, frames);
  return result;
}
