// What playing the model's animation costs: the editor window offscreen,
// a 4,096-triangle torus of eight frames with a 640 x 480 skin, the 3D view
// 1920 x 1080 in "Textured", played for two seconds at 60 pictures a second
// (60 fps, or 10 fps interpolated). Reported: the share of one core the
// whole process used (every thread's time over the wall time) and the
// pictures the view painted per second.
// Run with QT_QPA_PLATFORM=offscreen (set here when unset).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <cmath>
#include <ctime>
#include <filesystem>
#include <memory>
#include <string>

#include "bench_torus.h"
#include "editor/model_view.h"
#include "image/image_files.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/headless_ui.h"
#include "platform/profile.h"
#include "platform/qt/pane_widget.h"
#include "shell/app.h"
#include "shell/qt/animation_bar.h"
#include "shell/qt/editor_session.h"
#include "shell/qt/main_wnd.h"
#include "shell/qt/shell_wnd.h"
#include "shell/shell_layout.h"

namespace {

QApplication& Application() {
  static int argc = 1;
  static char name[] = "bench_playing";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

// The torus breathing over eight frames: its tube swells and shrinks.
DemoMesh AnimatedTorus() {
  DemoMesh mesh = BenchTorus(64, 32, 640, 480);
  const DemoMesh::FrameData rest = mesh.frames[0];
  mesh.frames.clear();
  for (int f = 0; f < 8; ++f) {
    DemoMesh::FrameData frame{"breathe" + std::to_string(f + 1), rest.positions};
    const float swell = 1.0f + 0.15f * std::sin(6.2831853f * static_cast<float>(f) / 8);
    for (auto& p : frame.positions) p[2] *= swell;
    mesh.frames.push_back(frame);
  }
  return mesh;
}

double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

struct Editor {
  std::string base;
  std::ostream quiet{nullptr};
  HeadlessUi ui{quiet};
  MemoryProfile profile;
  std::unique_ptr<EditorSession> session;

  Editor() {
    Application();
    base = (std::filesystem::temp_directory_path() / ("skintool-bench-playing-" + std::to_string(NowMs()))).string();
    std::filesystem::create_directories(base);
    Skin skin;
    skin.width = 640;
    skin.height = 480;
    skin.pixels.resize(640 * 480);
    for (std::size_t i = 0; i < skin.pixels.size(); ++i)
      skin.pixels[i] = static_cast<std::uint8_t>(((i % 640) / 16 ^ (i / 640) / 16) * 37);
    for (int i = 0; i < 768; ++i) skin.palette[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i / 3);
    skin.storedPixels = skin.pixels;
    static_cast<void>(WritePcx(skin, base + "/skin.pcx"));
    const std::string model = base + "/torus.md2";
    WriteFileAtomic(model, EncodeDemoMd2(AnimatedTorus(), "skin.pcx"));
    profile.WriteString("Project", "BaseDir", base);
    profile.WriteInt("Preferences", "Skip Intro", 1);
    session = std::make_unique<EditorSession>(ui, profile);
    StartupOptions options;
    options.commandLine = JoinCommandLine({"-md2", model});
    if (!session->Start(options, 1000, 720)) {
      session.reset();
      return;
    }
    session->mainWnd().show();
    Pump();
  }
  ~Editor() {
    session.reset();
    std::error_code ignored;
    std::filesystem::remove_all(base, ignored);
  }
  App& app() { return session->app(); }
  void Pump() {
    QCoreApplication::processEvents();
    session->mainWnd().SettleChanges();
  }
  // The 3D view alone gets the room, `view` big.
  void Layout(QSize view) {
    app().splitRatio = 0.0;
    MainWnd& wnd = session->mainWnd();
    const QSize extra = wnd.size() - wnd.shellWnd().size();
    wnd.resize(view.width() + kGradientStripWidth + extra.width(),
               view.height() + kPaletteStripHeight + extra.height());
    for (int i = 0; i < 5; ++i) Pump();
  }
};

// Arguments: frames per second, interpolated (0 or 1).
void BM_Play3DView(benchmark::State& state) {
  Editor editor;
  if (!editor.session) return state.SkipWithError("the editor did not start");
  const QSize view(1920, 1080);
  editor.Layout(view);
  App& app = editor.app();
  app.editor.cameraToggle = false;  // no trackball guide: the picture the user watches
  ShellWnd& shell = editor.session->mainWnd().shellWnd();
  PaneWidget& widget = shell.widgetFor(shell.modelView());
  if (widget.size() != view) return state.SkipWithError("the 3D view did not get its size");
  app.player.SetFps(static_cast<double>(state.range(0)), NowMs());
  app.player.SetInterpolate(state.range(1) != 0, NowMs());
  for (auto _ : state) {
    app.player.Play(NowMs());
    editor.session->mainWnd().animation()->AfterChange();
    const int painted = widget.paintCount();
    const double cpu = CpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    QEventLoop loop;
    QTimer::singleShot(2000, &loop, &QEventLoop::quit);
    loop.exec();
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    app.player.Pause();
    state.SetIterationTime(wall);
    state.counters["core_share"] = (CpuSeconds() - cpu) / wall;
    state.counters["pictures_per_s"] = (widget.paintCount() - painted) / wall;
  }
}
BENCHMARK(BM_Play3DView)->Args({60, 0})->Args({10, 1})->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
BENCHMARK_MAIN();
