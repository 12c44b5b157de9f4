// What a user feels while dragging: the time from a mouse move reaching the
// real editor window to the pane's paint having returned, with everything
// the move sets off in between (camera or view update, render, the queued
// refreshes, the picture put on screen). Offscreen Qt, a 4,096-triangle
// torus with a 640 x 480 skin, in a 1920 x 1080 pane and in a
// high-density screen's 3840 x 2160:
//   - an orbit drag in the 3D view ("Textured");
//   - a pan of the skin view at zoom 4 in Mapping Mode, with the mapping's
//     edges drawn over the skin.
// Run with QT_QPA_PLATFORM=offscreen (set here when unset).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include <QApplication>
#include <QMouseEvent>

#include <chrono>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "bench_torus.h"
#include "editor/model_view.h"
#include "editor/skin_view.h"
#include "image/image_files.h"
#include "platform/files.h"
#include "platform/headless_ui.h"
#include "platform/profile.h"
#include "platform/qt/pane_widget.h"
#include "shell/app.h"
#include "shell/command_table.h"
#include "shell/qt/editor_session.h"
#include "shell/qt/main_wnd.h"
#include "shell/qt/shell_wnd.h"
#include "shell/shell_layout.h"

namespace {

QApplication& Application() {
  static int argc = 1;
  static char name[] = "bench_interactive";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

// A base folder with the torus and its skin, and the editor open on it.
struct Editor {
  std::string base;
  std::ostream quiet{nullptr};
  HeadlessUi ui{quiet};
  MemoryProfile profile;
  std::unique_ptr<EditorSession> session;

  Editor() {
    Application();
    base = (std::filesystem::temp_directory_path() / "skintool-bench-interactive").string();
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
    WriteFileAtomic(model, EncodeDemoMd2(BenchTorus(64, 32, 640, 480), "skin.pcx"));
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
  ShellWnd& shell() { return session->mainWnd().shellWnd(); }
  void Pump() {
    QCoreApplication::processEvents();
    session->mainWnd().SettleChanges();
  }
  void Run(const std::string& label) {
    if (const Command* c = FindCommandByLabel(label)) ExecuteCommand(app(), *c);
    Pump();
  }
  // The window sized so that the pane on the side `ratio` gives all the
  // room to is `view`.
  void Layout(double ratio, QSize view) {
    app().splitRatio = ratio;
    MainWnd& wnd = session->mainWnd();
    const QSize extra = wnd.size() - shell().size();
    wnd.resize(view.width() + kGradientStripWidth + extra.width(),
               view.height() + kPaletteStripHeight + extra.height());
    for (int i = 0; i < 5; ++i) Pump();
  }
};

void Send(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
  QMouseEvent e(type, QPointF(at), QPointF(target->mapToGlobal(at)), button, held, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &e);
}

// One move of a held left button, timed until the widget has painted.
double TimedMove(Editor& editor, PaneWidget& widget, QPoint to) {
  const int painted = widget.paintCount();
  const auto start = std::chrono::steady_clock::now();
  Send(&widget, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
  for (int spins = 0; widget.paintCount() == painted && spins < 1000; ++spins) editor.Pump();
  const auto end = std::chrono::steady_clock::now();
  if (widget.paintCount() == painted) return -1;  // the move showed nothing
  return std::chrono::duration<double>(end - start).count();
}

QSize ViewSize(const benchmark::State& state) {
  return QSize(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
}

void Drag(benchmark::State& state, Editor& editor, PaneWidget& widget, QPoint centre, int step) {
  if (widget.size() != ViewSize(state)) {
    state.SkipWithError(("the pane is " + std::to_string(widget.width()) + "x" + std::to_string(widget.height())).c_str());
    return;
  }
  Send(&widget, QEvent::MouseButtonPress, centre, Qt::LeftButton, Qt::LeftButton);
  int i = 0;
  std::vector<double> moves;
  for (auto _ : state) {
    const int dx = (i++ % 2) ? -step : step;
    const double seconds = TimedMove(editor, widget, centre + QPoint(dx, step / 2));
    if (seconds < 0) {
      state.SkipWithError("a move was not painted");
      break;
    }
    state.SetIterationTime(seconds);
    moves.push_back(seconds);
  }
  // The time shows the mean; a move's typical cost is the median, which a
  // stray slow move (the machine busy elsewhere) does not pull up.
  if (!moves.empty()) {
    std::nth_element(moves.begin(), moves.begin() + static_cast<std::ptrdiff_t>(moves.size() / 2), moves.end());
    state.counters["median_ms"] = moves[moves.size() / 2] * 1000.0;
  }
  Send(&widget, QEvent::MouseButtonRelease, centre, Qt::LeftButton, Qt::NoButton);
  editor.Pump();
}

void BM_OrbitDrag3DView(benchmark::State& state) {
  Editor editor;
  if (!editor.session) return state.SkipWithError("the editor did not start");
  const QSize view = ViewSize(state);
  editor.Layout(0.0, view);  // the 3D view on the right gets the width
  if (!editor.app().editor.cameraToggle) editor.Run("&Camera Toggle\tSpace");
  ShellWnd& shell = editor.shell();
  PaneWidget& widget = shell.widgetFor(shell.modelView());
  // Off the trackball guide's handles, so the drag is a free turn.
  Drag(state, editor, widget, QPoint(view.width() / 2 + 40, view.height() / 2 + 25), 6);
}
BENCHMARK(BM_OrbitDrag3DView)
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(300);

void BM_PanSkinViewZoom4(benchmark::State& state) {
  Editor editor;
  if (!editor.session) return state.SkipWithError("the editor did not start");
  const QSize size = ViewSize(state);
  editor.Layout(1.0, size);  // the skin view on the left gets the width
  editor.Run("M&apping Mode\t2");
  if (!editor.app().editor.cameraToggle) editor.Run("&Camera Toggle\tSpace");
  ShellWnd& shell = editor.shell();
  SkinView* view = shell.layout().skinViewPane();
  if (!view) return state.SkipWithError("no skin view");
  view->SetView(320, 240, 4.0f);
  PaneWidget& widget = shell.widgetFor(shell.skinView());
  Drag(state, editor, widget, QPoint(size.width() / 2, size.height() / 2), 6);
}
BENCHMARK(BM_PanSkinViewZoom4)
    ->Args({1920, 1080})
    ->Args({3840, 2160})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(300);

}  // namespace
BENCHMARK_MAIN();
