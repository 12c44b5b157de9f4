#include "shell/qt/editor_session.h"

#include <filesystem>

#include <QApplication>
#include <QGuiApplication>

#include "platform/process_id.h"
#include "platform/profile_keys.h"
#include "platform/state_folder.h"
#include "platform/qt/qsettings_profile.h"
#include "platform/qt/qt_ui.h"
#include "shell/app.h"
#include "shell/qt/intro_window.h"
#include "shell/qt/main_wnd.h"
#include "shell/qt/toolbar_icons.h"

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

int RunGui(int& argc, char** argv, const GuiOptions& options) {
  QApplication qapp(argc, argv);
  QApplication::setOrganizationName(kProfileOrganisation);
  QApplication::setApplicationName(kProfileApplication);
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
  session.mainWnd().show();
  return qapp.exec();
}
