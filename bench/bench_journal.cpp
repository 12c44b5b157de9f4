// The recovery journal under a painter: a one-texel stroke every 20 ms on a
// 4096-triangle model with a 640 x 480 skin, each stroke's step going to the
// journal. Measures how long after a step closes its record is on disk (the
// 50th and 95th percentile and the worst, target under 1 s at the 95th) and
// what the journal adds to a stroke on the window thread (target under
// 0.2 ms): the stroke with the journal against the same stroke without.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "editor/document.h"
#include "image/new_skin.h"
#include "shell/recovery.h"

namespace {

using Clock = std::chrono::steady_clock;

std::unique_ptr<Document> BigDocument() {
  auto d = std::make_unique<Document>();
  Model& m = d->model;
  m.modelLoaded = 1;
  m.SetMapVertexCount(kMaxMapVertices);
  m.skinWidth = 640;
  m.skinHeight = 480;
  auto skin = MakeBlankSkin("s", 640, 480, GreyRampPalette());
  FillSkin(*skin, 7);
  m.skins.push_back(std::move(skin));
  m.currentSkinIndex = 0;
  return d;
}

struct Scratch {
  std::string path;
  Scratch() {
    char name[] = "/tmp/bench-journal-XXXXXX";
    path = ::mkdtemp(name) ? name : "/tmp";
  }
  ~Scratch() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
};

void Stroke(Document& d, std::size_t& texel) {
  DocumentStep step(d, "Pencil Stroke", STEP_CURRENT_SKIN);
  std::uint8_t& p = d.model.CurrentSkin()->pixels[texel];
  p = static_cast<std::uint8_t>(p + 1);
  texel = (texel + 4099) % d.model.CurrentSkin()->pixels.size();
}

// A recovery copy written, with its journal following the document.
struct Journalled {
  Scratch scratch;
  std::unique_ptr<Document> document = BigDocument();
  CrashRecovery recovery;
  std::size_t texel = 0;
  Journalled() {
    recovery.SetRoot(scratch.path, static_cast<int>(::getpid()));
    recovery.Attach(document->history);
    Stroke(*document, texel);
    recovery.Poll(*document, 0);
    recovery.writer().Wait();
    recovery.Poll(*document, 1);  // the copy is on disk: the journal starts again from it
  }
};

void BM_StrokeWithoutJournal(benchmark::State& state) {
  auto d = BigDocument();
  std::size_t texel = 0;
  for (auto _ : state) Stroke(*d, texel);
}
BENCHMARK(BM_StrokeWithoutJournal)->Unit(benchmark::kMicrosecond);

void BM_StrokeWithJournal(benchmark::State& state) {
  Journalled j;
  for (auto _ : state) Stroke(*j.document, j.texel);
  j.recovery.journal().Flush();
}
BENCHMARK(BM_StrokeWithJournal)->Unit(benchmark::kMicrosecond);

// The same stroke with and without the journal, taken in turns so that the
// machine's other work weighs on both alike; the medians and what the
// journal adds.
void BM_JournalAddedToStroke(benchmark::State& state) {
  for (auto _ : state) {
    Journalled j;
    auto plain = BigDocument();
    std::size_t texel = 0;
    std::vector<double> with, without;
    for (int i = 0; i < 2000; ++i) {
      Clock::time_point t0 = Clock::now();
      Stroke(*j.document, j.texel);
      Clock::time_point t1 = Clock::now();
      Stroke(*plain, texel);
      Clock::time_point t2 = Clock::now();
      with.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
      without.push_back(std::chrono::duration<double, std::micro>(t2 - t1).count());
    }
    j.recovery.journal().Flush();
    std::sort(with.begin(), with.end());
    std::sort(without.begin(), without.end());
    state.counters["with_us"] = with[with.size() / 2];
    state.counters["without_us"] = without[without.size() / 2];
    state.counters["added_us"] = with[with.size() / 2] - without[without.size() / 2];
  }
}
BENCHMARK(BM_JournalAddedToStroke)->Iterations(1)->Unit(benchmark::kMillisecond);

// Strokes at a painter's pace; the counters are milliseconds from a step
// closing to its record being flushed.
void BM_JournalOnDiskAfterStroke(benchmark::State& state) {
  const int strokes = static_cast<int>(state.range(0));
  for (auto _ : state) {
    Journalled j;
    RecoveryJournal& journal = j.recovery.journal();
    std::vector<Clock::time_point> closed;
    std::vector<double> latency;
    std::vector<double> windowCost;
    const std::uint64_t first = j.recovery.moves() + 1;
    auto watch = [&](Clock::time_point until) {
      do {
        const std::uint64_t durable = journal.durable();
        const Clock::time_point now = Clock::now();
        while (latency.size() < closed.size() && first + latency.size() <= durable)
          latency.push_back(std::chrono::duration<double, std::milli>(now - closed[latency.size()]).count());
        std::this_thread::sleep_for(std::chrono::microseconds(100));
      } while (Clock::now() < until);
    };
    Clock::time_point tick = Clock::now();
    for (int i = 0; i < strokes; ++i) {
      const Clock::time_point begin = Clock::now();
      Stroke(*j.document, j.texel);
      const Clock::time_point end = Clock::now();
      closed.push_back(end);
      windowCost.push_back(std::chrono::duration<double, std::micro>(end - begin).count());
      tick += std::chrono::milliseconds(20);
      watch(tick);
    }
    const Clock::time_point give_up = Clock::now() + std::chrono::seconds(5);
    while (latency.size() < closed.size() && Clock::now() < give_up) watch(Clock::now());
    if (latency.size() < closed.size()) {
      state.SkipWithError("records never reached the disk");
      return;
    }
    std::sort(latency.begin(), latency.end());
    std::sort(windowCost.begin(), windowCost.end());
    auto at = [](const std::vector<double>& v, double q) {
      return v[std::min(v.size() - 1, static_cast<std::size_t>(q * static_cast<double>(v.size())))];
    };
    state.counters["ondisk_p50_ms"] = at(latency, 0.50);
    state.counters["ondisk_p95_ms"] = at(latency, 0.95);
    state.counters["ondisk_max_ms"] = latency.back();
    state.counters["stroke_p95_us"] = at(windowCost, 0.95);
  }
}
BENCHMARK(BM_JournalOnDiskAfterStroke)->Arg(250)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
