#include "shell/paint_settings.h"
#include "shell/startup.h"

#include <algorithm>

#include "platform/files.h"
#include "platform/profile.h"
#include "platform/ui.h"
#include "shell/app.h"
#include "shell/file_commands.h"
#include "shell/map_commands.h"
#include "shell/preferences.h"
#include "shell/recovery.h"
#include "shell/skin_commands.h"

namespace {

// A non-interactive Ui answers every folder browser with Cancel; past this
// many refusals in a row the start gives up instead of asking for ever.
constexpr int kMaxBaseFolderAttempts = 100;

bool Usable(const std::string& folder) { return folder != kUnknownSetting && FolderUsable(folder); }

}  // namespace

void ReadStartupSettings(App& app) {
  for (int i = 0; i < kNumColourSlots; ++i) {
    const int value = app.profile.Get(kColourSlotSettings[static_cast<std::size_t>(i)]);
    // Slots are palette indices; an edited profile must not push one off the palette.
    app.editor.colourSlots[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
  }
  app.editor.customCursors = app.profile.Get(kCustomCursorsSetting) != 0;
  ReadPaintSettings(app.profile, app.editor);
  ApplyRuntimePreferences(app, LoadPreferences(app.profile));
}

void ReadSplitRatio(App& app) {
  const int stored = app.profile.Get(kSplitterSetting);
  app.splitRatio = std::clamp(stored * 0.0001, 0.0, 1.0);
}

bool IntroWanted(const App& app, bool ctrlDown) {
  return !ctrlDown && app.profile.Get(kSkipIntroSetting) != 1;
}

bool SettleStartupFolders(App& app) {
  std::string base = app.profile.Get(kBaseDirSetting);
  int attempts = 0;
  while (!Usable(base)) {
    if (++attempts > kMaxBaseFolderAttempts) return false;
    auto chosen = app.ui.BrowseFolder(kBaseFolderTitle);
    // Cancel ends the program, as cancelling the first open dialog does.
    if (!chosen) return false;
    if (!FolderUsable(*chosen)) {
      app.ui.Message(kFolderNotValidText);
      continue;
    }
    base = *chosen;
  }
  app.baseFolder = base;
  app.loadFolder = app.profile.Get(kLoadDirSetting);
  if (!Usable(app.loadFolder)) app.loadFolder = base;
  app.saveFolder = app.profile.Get(kSaveDirSetting);
  if (!Usable(app.saveFolder)) app.saveFolder = base;
  app.profile.Write(kBaseDirSetting, app.baseFolder);
  app.profile.Write(kLoadDirSetting, app.loadFolder);
  app.profile.Write(kSaveDirSetting, app.saveFolder);
  return true;
}

std::string JoinCommandLine(const std::vector<std::string>& arguments) {
  std::string line;
  for (const std::string& argument : arguments) {
    if (!line.empty()) line += ' ';
    if (argument.find(' ') != std::string::npos)
      line += '"' + argument + '"';
    else
      line += argument;
  }
  return line;
}

std::vector<std::string> CommandLineTokens(const std::string& commandLine) {
  std::vector<std::string> tokens;
  const std::size_t at = commandLine.find("-md2");
  if (at == std::string::npos) return tokens;
  const std::size_t start = at + 4 + 1;
  if (start >= commandLine.size()) return tokens;
  std::string token;
  bool inQuotes = false;
  bool quoted = false;
  for (std::size_t i = start; i < commandLine.size(); ++i) {
    const char c = commandLine[i];
    if (c == '"') {
      inQuotes = !inQuotes;
      quoted = true;
    } else if (c == ' ' && !inQuotes) {
      if (!token.empty() || quoted) tokens.push_back(token);
      token.clear();
      quoted = false;
    } else {
      token += c;
    }
  }
  if (!token.empty() || quoted) tokens.push_back(token);
  return tokens;
}

bool ProcessCommandLine(App& app, const std::string& commandLine) {
  const std::vector<std::string> tokens = CommandLineTokens(commandLine);
  if (tokens.empty()) return false;
  app.model.modelLoaded = 0;
  if (app.LoadMd2(tokens[0]) != 1) {
    app.ui.Message(kCommandLineLoadErrorText);
    return false;
  }
  app.document.currentFile = tokens[0];
  app.profile.Write(kCurFileSetting, tokens[0]);
  for (std::size_t i = 1; i < tokens.size(); ++i) {
    // Read as Skins > Open reads it, so every picture it takes is taken here.
    std::unique_ptr<Skin> skin = LoadPictureAsSkin(app, tokens[i]);
    if (!skin) {
      app.ui.Message(kCommandLineSkinErrorText);
      break;
    }
    if (skin->width != app.model.skinWidth || skin->height != app.model.skinHeight) {
      app.ui.Message(kSkinWrongSizeText);
      break;
    }
    skin->name = skin->path;
    skin->flags |= SKIN_EXTERNAL;
    AppendSkin(app, std::move(skin));
  }
  return true;
}

bool RunModelStartup(App& app, const StartupOptions& options) {
  const bool autoLoad = !options.ctrlDown;
  if (!SettleStartupFolders(app)) return false;
  // Work that a crash would otherwise have lost comes first: restored, it
  // takes the place of the model the command line or the last file names.
  bool loaded = OfferRecovery(app);
  loaded = loaded || (autoLoad && ProcessCommandLine(app, options.commandLine));
  if (!loaded) {
    const std::string last = app.profile.Get(kCurFileSetting);
    if (last != kUnknownSetting && autoLoad && app.LoadMd2(last) == 1) {
      app.document.currentFile = last;
      loaded = true;
    }
  }
  if (!loaded) {
    OpenCommand(app);
    loaded = app.model.modelLoaded != 0;
  }
  if (!loaded) return false;
  LeaveTexturedModeWithoutSkins(app);
  app.RebuildPaintTable();
  ScanPreferredMapFolders(app);
  app.RefreshAll();
  return true;
}
