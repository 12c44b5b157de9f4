// skintool: the editor when started without a command, the command line otherwise.
//
//   skintool [--profile FILE.ini] [-md2 MODEL.md2 [SKIN ...]]   the editor
//   skintool COMMAND ...                                         the command line

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "platform/files.h"
#include "platform/profile.h"

#ifdef SKINTOOL_GUI
#include "shell/qt/editor_session.h"
#endif

int main(int argc, char** argv) {
  [[maybe_unused]] const auto started = std::chrono::steady_clock::now();  // for start-up timing
  // A save past the file-size limit is then a failed write (EFBIG) with a
  // message and the temporary file removed, not a process killed mid-save.
  std::signal(SIGXFSZ, SIG_IGN);
  // "--profile FILE" keeps a run's settings in an ini file of its own.
  std::string profilePath;
  int first = 1;
  if (argc >= 3 && std::string(argv[1]) == "--profile") {
    profilePath = argv[2];
    first = 3;
  }
  std::vector<char*> rest{argv[0]};
  for (int i = first; i < argc; ++i) rest.push_back(argv[i]);
  int restCount = static_cast<int>(rest.size());
  rest.push_back(nullptr);

  if (IsCommandLineInvocation(restCount, rest.data()))
    return RunCommandLine(restCount, rest.data(), std::cout, std::cerr);
#ifdef SKINTOOL_GUI
  if (int cause = profilePath.empty() ? 0 : ProfileFileCause(profilePath)) {
    std::cerr << "skintool: this settings file cannot be used: " << CauseText(cause) << '\n'
              << profilePath << '\n';
    return 1;
  }
  // Without any display Qt would abort with a message about platform
  // plugins; say instead what to do.
  auto set = [](const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
  };
  if (!set("DISPLAY") && !set("WAYLAND_DISPLAY") && !set("QT_QPA_PLATFORM")) {
    std::cerr << "skintool: no display to open the editor window on.\n"
                 "Run it under a virtual X server, e.g.\n"
                 "  xvfb-run -a -s \"-screen 0 1280x900x24\" skintool [-md2 MODEL.md2]\n"
                 "or use a command of the command line (skintool --help).\n";
    return 1;
  }
  GuiOptions options;
  options.profilePath = profilePath;
  options.started = started;
  return RunGui(restCount, rest.data(), options);
#else
  std::cerr << "skintool: this build has no editor window (Qt 6 was not found)\n";
  return RunCommandLine(1, argv, std::cout, std::cerr);
#endif
}
