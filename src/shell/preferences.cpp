#include "shell/preferences.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "image/skin_set.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/ui.h"
#include "shell/app.h"
#include "shell/file_dialog_step.h"
#include "shell/shell_layout.h"

namespace {

std::string StartFolder(App& app) {
  std::string folder = app.profile.Get(kLoadDirSetting);
  return folder == kUnknownSetting ? app.baseFolder : folder;
}

std::optional<std::string> BrowseFolderSetting(App& app, const char* title, const StringSetting& setting) {
  auto chosen = app.ui.BrowseFolder(title);
  if (!chosen || !FolderUsable(*chosen)) {
    app.ui.Message(kPrefFolderInvalidText);
    return std::nullopt;
  }
  app.ui.Message(kPrefNextRunText);
  app.profile.Write(setting, *chosen);
  return chosen;
}

}  // namespace

Preferences LoadPreferences(const Profile& profile) {
  Preferences p;
  p.dirScanPrompt = static_cast<int>(SkinScanPreference(profile));
  p.palettePath = profile.Get(kPalettePathSetting);
  p.phongPath = profile.Get(kPhongPathSetting);
  p.envPath = profile.Get(kEnvPathSetting);
  p.introNumber = profile.Get(kIntroNumberSetting);
  if (p.introNumber < 0 || p.introNumber > kIntroCustom) p.introNumber = kIntroRandom;
  p.introWav = profile.Get(kIntroWavSetting);
  if (p.introNumber == kIntroCustom && !IsReadableFile(p.introWav)) p.introNumber = kIntroRandom;
  p.skipIntro = profile.Get(kSkipIntroSetting) != 0;
  p.quickExit = profile.Get(kQuickExitSetting) != 0;
  p.palOnTop = profile.Get(kPalOnTopSetting) != 0;
  p.customCursors = profile.Get(kCustomCursorsSetting) != 0;
  p.ctrlZUndoes = profile.Get(kUndoCtrlZSetting) != 0;
  p.dither = profile.Get(kDitherSetting) != 0;
  p.undoMemoryMiB = std::clamp(profile.Get(kUndoMemorySetting), 1, kUndoMemoryMaxMiB);
  p.recoveryMinutes = std::clamp(profile.Get(kRecoveryMinutesSetting), 0, kRecoveryMinutesMax);
  p.renderThreads = std::clamp(profile.Get(kRenderThreadsSetting), 0, kRenderThreadsMax);
  p.imageEditor = profile.Get(kImageEditorSetting);
  p.fullResolution = profile.Get(kFullResolutionSetting) != 0;
  return p;
}

void SavePreferences(Profile& profile, const Preferences& p) {
  profile.Write(kCustomCursorsSetting, p.customCursors ? 1 : 0);
  profile.Write(kDirScanPromptSetting, p.dirScanPrompt);
  profile.Write(kSkipIntroSetting, p.skipIntro ? 1 : 0);
  profile.Write(kQuickExitSetting, p.quickExit ? 1 : 0);
  profile.Write(kPalOnTopSetting, p.palOnTop ? 1 : 0);
  profile.Write(kIntroNumberSetting, p.introNumber);
  profile.Write(kPalettePathSetting, p.palettePath);
  profile.Write(kIntroWavSetting, p.introWav);
  profile.Write(kPhongPathSetting, p.phongPath);
  profile.Write(kEnvPathSetting, p.envPath);
  profile.Write(kUndoCtrlZSetting, p.ctrlZUndoes ? 1 : 0);
  profile.Write(kDitherSetting, p.dither ? 1 : 0);
  profile.Write(kUndoMemorySetting, std::clamp(p.undoMemoryMiB, 1, kUndoMemoryMaxMiB));
  profile.Write(kRecoveryMinutesSetting, std::clamp(p.recoveryMinutes, 0, kRecoveryMinutesMax));
  profile.Write(kRenderThreadsSetting, std::clamp(p.renderThreads, 0, kRenderThreadsMax));
  profile.Write(kImageEditorSetting, p.imageEditor);
  profile.Write(kFullResolutionSetting, p.fullResolution ? 1 : 0);
}

SkinScan SkinScanPreference(const Profile& profile) {
  const int value = profile.Get(kDirScanPromptSetting);
  return value >= 0 && value <= 2 ? static_cast<SkinScan>(value) : SkinScan::Ask;
}

std::optional<std::string> BrowsePalettePath(App& app) {
  FileDialogRequest request;
  request.filter = kPrefPaletteFilter;
  request.initialName = "*.pcx";
  request.initialFolder = StartFolder(app);
  auto chosen = AskForFile(app, request, DialogFolder::Fixed, [](int filter) {
    return std::string(filter == 2 ? ".bmp" : filter == 3 ? ".act" : ".pcx");
  });
  if (!chosen) return std::nullopt;
  return chosen->path;
}

std::optional<std::string> BrowseIntroWav(App& app) {
  FileDialogRequest request;
  request.filter = kPrefWavFilter;
  request.initialName = "*.wav";
  request.initialFolder = StartFolder(app);
  auto chosen = AskForFile(app, request, DialogFolder::Fixed, AlwaysExtension(".wav"));
  if (!chosen) return std::nullopt;
  return chosen->path;
}

std::optional<std::string> BrowsePhongFolder(App& app) {
  return BrowseFolderSetting(app, kPhongFolderTitle, kPhongPathSetting);
}

std::optional<std::string> BrowseEnvFolder(App& app) {
  return BrowseFolderSetting(app, kEnvFolderTitle, kEnvPathSetting);
}

int IntroPreviewSound(int entry, const std::string& wavPath, int randomValue) {
  if (entry == kIntroCustom) return IsReadableFile(wavPath) ? kPlayCustomWav : kPlayNothing;
  if (entry == kIntroRandom) entry = std::abs(randomValue % 8);
  if (entry < 0 || entry > 7) return kPlayNothing;
  return kIntroSoundResources[static_cast<std::size_t>(entry)];
}

void OnPreferences(App& app) {
  if (!app.services.preferencesDialog) return;
  std::optional<Preferences> chosen = app.services.preferencesDialog->Ask(app, LoadPreferences(app.profile));
  if (!chosen) return;
  SavePreferences(app.profile, *chosen);
  app.editor.customCursors = chosen->customCursors;
  if (app.services.shellLayout) app.services.shellLayout->SetPalOnTop(chosen->palOnTop);
  ApplyRuntimePreferences(app, LoadPreferences(app.profile));
}

void ApplyRuntimePreferences(App& app, const Preferences& prefs) {
  app.ctrlZUndoes = prefs.ctrlZUndoes;
  app.ditherTrueColour = prefs.dither;
  app.document.history.SetBudget(static_cast<std::size_t>(std::clamp(prefs.undoMemoryMiB, 1, kUndoMemoryMaxMiB))
                                 << 20);
  app.recovery.SetIntervalMinutes(prefs.recoveryMinutes);
  app.renderModes.SetThreads(std::clamp(prefs.renderThreads, 0, kRenderThreadsMax));
  app.fullResolution = prefs.fullResolution;
}

void ReadPlaySettings(const Profile& profile, AnimationPlayer& player) {
  player.SetFps(profile.Get(kPlaySpeedSetting), 0);
  player.SetInterpolate(profile.Get(kInterpolateFramesSetting) != 0, 0);
}

void WritePlaySettings(Profile& profile, const AnimationPlayer& player) {
  profile.Write(kPlaySpeedSetting, static_cast<int>(std::lround(player.fps())));
  profile.Write(kInterpolateFramesSetting, player.interpolate() ? 1 : 0);
}
