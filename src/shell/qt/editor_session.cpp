#include "shell/qt/editor_session.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include <QApplication>
#include <QGuiApplication>
#include <QTimer>

#include "editor/model_view.h"
#include "platform/process_id.h"
#include "platform/profile_keys.h"
#include "platform/qt/pane_widget.h"
#include "platform/state_folder.h"
#include "platform/qt/qsettings_profile.h"
#include "platform/qt/qt_ui.h"
#include "shell/app.h"
#include "shell/qt/guarded_application.h"
#include "shell/qt/intro_window.h"
#include "shell/qt/main_wnd.h"
#include "shell/qt/shell_wnd.h"
#include "shell/qt/toolbar_icons.h"
#include "shell/view_commands.h"

EditorSession::EditorSession(Ui& ui, Profile& profile) : app_(std::make_unique<App>(ui, profile)) {}

EditorSession::~EditorSession() {
  // The window's panes refer to the App.
  mainWnd_.reset();
}

bool EditorSession::Start(const StartupOptions& options, int width, int height) {
  ReadStartupSettings(*app_);
  ReadSplitRatio(*app_);
  // The intro plays while the main window is being made, before it shows.
  if (IntroWanted(*app_, options.ctrlDown))
    ShowIntro({app_->profile.Get(kIntroNumberSetting), app_->profile.Get(kIntroWavSetting)});
  mainWnd_ = std::make_unique<MainWnd>(*app_);
  mainWnd_->resize(width, height);
  return RunModelStartup(*app_, options);
}

namespace {

// Start-up timing on request: the first paint of the 3D view, in ms since
// main began, to stderr; "quit" ends the program there.
void ReportFirstFrame(EditorSession& session, std::chrono::steady_clock::time_point started) {
  const char* mode = std::getenv("SKINTOOL_FIRST_FRAME");
  if (!mode || !*mode) return;
  ShellWnd& shell = session.mainWnd().shellWnd();
  PaneWidget& view = shell.widgetFor(shell.modelView());
  const bool quit = std::string(mode) == "quit";
  view.onPainted = [&view, started, quit] {
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
    std::fprintf(stderr, "skintool: first frame painted %.1f ms after start\n", ms);
    view.onPainted = nullptr;
    if (quit) QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
  };
}

}  // namespace

int RunGui(int& argc, char** argv, const GuiOptions& options) {
  GuardedApplication qapp(argc, argv);
  QApplication::setOrganizationName(kProfileOrganisation);
  QApplication::setApplicationName(kProfileApplication);
  // Ties the windows to the installed menu entry and its icon.
  QGuiApplication::setDesktopFileName("skintool");
  QApplication::setWindowIcon(QIcon(AppIconPixmap(32)));

  std::unique_ptr<QSettingsProfile> profile =
      options.profilePath.empty()
          ? std::make_unique<QSettingsProfile>()
          : std::make_unique<QSettingsProfile>(std::filesystem::absolute(options.profilePath).string());
  QtUi ui;
  EditorSession session(ui, *profile);
  // Only the real program keeps recovery copies; sessions made by tests name
  // their own folder or none.
  session.app().recovery.SetRoot(StateFolder(), CurrentProcessId());
  StartupOptions startup;
  // Start-up takes relative names from the base folder; the files named
  // after "-md2" are pinned to the folder the user started in first.
  std::vector<std::string> arguments;
  bool afterMd2 = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (afterMd2 && !arg.empty() && std::filesystem::path(arg).is_relative())
      arg = std::filesystem::absolute(arg).lexically_normal().string();
    afterMd2 = afterMd2 || arg == "-md2";
    arguments.push_back(std::move(arg));
  }
  startup.commandLine = JoinCommandLine(arguments);
  // Ctrl held at start: no command line, no last file, straight to Open.
  startup.ctrlDown = QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier;
  if (!session.Start(startup)) return 0;
  ui.SetParent(&session.mainWnd());
  session.mainWnd().PlaceOnScreen();
  ReportFirstFrame(session, options.started);
  session.mainWnd().show();
  // The model was loaded before the panes had their sizes: fit the views
  // again once the window is laid out.
  QTimer::singleShot(0, &session.mainWnd(), [&session] {
    if (ZoomToFit(session.app())) session.app().RefreshAll();
  });
  return qapp.exec();
}
