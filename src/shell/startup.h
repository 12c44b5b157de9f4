#pragma once
// From process start to the first picture: the settings read at start, the
// base, load and save folders, the model from the command line, the last
// file or an open dialog, and the preferred map folders. The front end runs
// the steps around its own window creation; without a model it quits.

#include <string>
#include <vector>

class App;

inline constexpr char kBaseFolderTitle[] = "Please locate the 'baseq2' folder under Quake2";
inline constexpr char kFolderNotValidText[] = "That folder is not valid,\nPlease choose another";
inline constexpr char kCommandLineLoadErrorText[] = "There was an error loading from the command line!";
inline constexpr char kCommandLineSkinErrorText[] = "Error loading skin from the command line!";

// Application initialisation: colour slots from "Colors" and the
// "CustomCursors" preference.
void ReadStartupSettings(App& app);

// The split ratio from "Preferences"/"Splitter" (x 0.0001) into app.splitRatio.
void ReadSplitRatio(App& app);

// Whether the intro plays: not with Ctrl held, not with "Skip Intro".
bool IntroWanted(const App& app, bool ctrlDown);

// Asks for the base folder until a usable one is chosen, then settles the
// load and save folders and writes all three to "Project". False when a
// long run of refusals says nobody is there to answer (start-up quits).
bool SettleStartupFolders(App& app);

// The text of a command line as one string, each argument quoted when it
// holds a space, so the "-md2" rules can read it as typed.
std::string JoinCommandLine(const std::vector<std::string>& arguments);

// The tokens after "-md2" (and the one character after it): split at spaces
// outside double quotes; the quotes themselves are dropped. Empty when the
// line holds no "-md2".
std::vector<std::string> CommandLineTokens(const std::string& commandLine);

// The model and skins of a "-md2" command line; true when it loaded a model.
bool ProcessCommandLine(App& app, const std::string& commandLine);

struct StartupOptions {
  std::string commandLine;
  bool ctrlDown = false;  // Ctrl held while the main window was created
};

// Everything after the windows exist: folders, the model (command line,
// "CurFile", open dialog), the paint table, the preferred map folders and a
// full refresh. False when no model was loaded: the program quits.
bool RunModelStartup(App& app, const StartupOptions& options);
