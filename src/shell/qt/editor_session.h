#pragma once
// One run of the editor window over a given Ui and profile: the App, the
// start-up around the main window's creation, and the main window. The
// program uses it with real dialogs and the user's settings; tests with
// scripted answers and a profile in memory.

#include <chrono>
#include <memory>
#include <string>

#include "shell/startup.h"

class App;
class MainWnd;
class Profile;
class Ui;

class EditorSession {
 public:
  EditorSession(Ui& ui, Profile& profile);
  ~EditorSession();

  // The settings read at start, the main window and its parts, then the
  // model (command line, last file or open dialog). False when no model was
  // loaded: the program ends without showing its window.
  bool Start(const StartupOptions& options, int width = 1000, int height = 720);

  App& app() { return *app_; }
  MainWnd& mainWnd() { return *mainWnd_; }

 private:
  std::unique_ptr<App> app_;
  std::unique_ptr<MainWnd> mainWnd_;
};

struct GuiOptions {
  std::string profilePath;  // empty: the user's own settings
  // When main began; with SKINTOOL_FIRST_FRAME set in the environment the
  // time from here to the 3D view's first painted frame goes to stderr
  // ("quit": and the program ends there, for timing start-up).
  std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
};

// The editor as a program: QApplication, real dialogs, the event loop. The
// arguments Qt leaves (after its own, such as -platform) are the command
// line the "-md2" rules read. Returns the exit code.
int RunGui(int& argc, char** argv, const GuiOptions& options);
