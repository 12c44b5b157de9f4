// `bench`: the Benchmark command of the 3D view without a window.

#include <algorithm>
#include <cstdio>
#include <optional>
#include <ostream>
#include <set>
#include <vector>

#include "cli/commands.h"
#include "cli/render_setup.h"
#include "render/benchmark.h"

namespace {

constexpr const char* kBenchUsage =
    "usage: skintool bench MODEL.md2 [--mode N|NAME] [--size WxH] [--frame N] [--skin FILE]\n"
    "         [--colormap FILE] [--phong FILE] [--env FILE] [--base DIR]\n"
    "         [--view front|back|left|right|top|bottom] [--center] [--mapping] [--no-guide]\n"
    "         [--slots I0,I1,...] [--distance D] [--frames N] [--repeat K] [--threads N]\n";

constexpr int kMostFrames = 1000000;
constexpr int kMostRepeats = 1000;
constexpr int kMostThreads = 256;

std::optional<int> Count(const std::optional<std::string>& text, int fallback, int lo, int hi) {
  if (!text) return fallback;
  return WholeNumber(*text, lo, hi);
}

}  // namespace

int CmdBench(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  std::set<std::string> valued = kRenderValuedOptions;
  valued.insert({"--frames", "--repeat", "--threads"});
  CliArgs args = ParseCliArgs(argv, valued, kRenderFlagOptions);
  const std::optional<int> frames = Count(args.Get("--frames"), kBenchmarkFrames, 1, kMostFrames);
  const std::optional<int> repeats = Count(args.Get("--repeat"), 1, 1, kMostRepeats);
  // Without the option a render takes one thread per core, as the editor does.
  const std::optional<int> threads = Count(args.Get("--threads"), 0, 1, kMostThreads);
  if (!args.error.empty() || args.positional.size() != 1 || !frames || !repeats || !threads) {
    err << kBenchUsage;
    return 2;
  }
  // The render options go to the view set-up without the bench's own.
  args.options.erase("--frames");
  args.options.erase("--repeat");
  args.options.erase("--threads");
  HeadlessView view(err);
  if (const int failed = SetUpHeadlessView(view, args, err)) return failed;
  view.ws.renderModes.SetThreads(*threads);
  std::vector<double> rates;
  for (int i = 0; i < *repeats; ++i) {
    BenchmarkResult result = RunBenchmark(view.ws.renderModes, view.context, {}, *frames);
    out << result.text << '\n';
    if (result.preciseMilliseconds > 0) rates.push_back(*frames / (result.preciseMilliseconds * 0.001));
  }
  if (*repeats > 1 && !rates.empty()) {
    std::sort(rates.begin(), rates.end());
    const std::size_t n = rates.size();
    const double median = n % 2 ? rates[n / 2] : (rates[n / 2 - 1] + rates[n / 2]) / 2;
    char line[64];
    std::snprintf(line, sizeof line, "median: %f fps", median);
    out << line << '\n';
  }
  return 0;
}
