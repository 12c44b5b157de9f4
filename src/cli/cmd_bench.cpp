// `bench`: the Benchmark command of the 3D view without a window.

#include <ostream>

#include "cli/commands.h"
#include "cli/render_setup.h"
#include "render/benchmark.h"

namespace {

constexpr const char* kBenchUsage =
    "usage: skintool bench MODEL.md2 [--mode N|NAME] [--size WxH] [--frame N] [--skin FILE]\n"
    "         [--colormap FILE] [--phong FILE] [--env FILE] [--base DIR]\n"
    "         [--view front|back|left|right|top|bottom] [--center] [--mapping] [--no-guide]\n"
    "         [--slots I0,I1,...] [--distance D]\n";

}  // namespace

int CmdBench(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  CliArgs args = ParseCliArgs(argv, kRenderValuedOptions, kRenderFlagOptions);
  if (!args.error.empty() || args.positional.size() != 1) {
    err << kBenchUsage;
    return 2;
  }
  HeadlessView view(err);
  if (!SetUpHeadlessView(view, args, err)) return 1;
  BenchmarkResult result = RunBenchmark(view.app.renderModes, view.context, {});
  out << result.text << '\n';
  return 0;
}
