#include "shell/preferences.h"

#include <cstdio>
#include <cstdlib>

#include "image/skin_set.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/ui.h"
#include "shell/app.h"
#include "shell/shell_layout.h"

namespace {

bool OpensForReading(const std::string& path) {
  if (path.empty()) return false;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  std::fclose(file);
  return true;
}

std::string DialogFolder(App& app) {
  std::string folder = app.profile.GetString("Project", "LoadDir", "Unknown");
  return folder == "Unknown" ? app.baseFolder : folder;
}

std::optional<std::string> BrowseFolderSetting(App& app, const char* title, const char* key) {
  auto chosen = app.ui.BrowseFolder(title);
  if (!chosen || !ChangeFolder(*chosen)) {
    app.ui.Message(kPrefFolderInvalidText);
    return std::nullopt;
  }
  app.ui.Message(kPrefNextRunText);
  app.profile.WriteString("Preferences", key, *chosen);
  return chosen;
}

}  // namespace

Preferences LoadPreferences(const Profile& profile) {
  Preferences p;
  p.dirScanPrompt = profile.GetInt("Preferences", "DirScan_Prompt", 2);
  if (p.dirScanPrompt < 0 || p.dirScanPrompt > 2) p.dirScanPrompt = 2;
  p.palettePath = profile.GetString("Preferences", "Palette Path", kPrefPaletteDefault);
  p.phongPath = profile.GetString("Preferences", "Phong Path", kPrefPhongDefault);
  p.envPath = profile.GetString("Preferences", "Env Path", kPrefEnvDefault);
  p.introNumber = profile.GetInt("Preferences", "Intro Number", kIntroRandom);
  if (p.introNumber < 0 || p.introNumber > kIntroCustom) p.introNumber = kIntroRandom;
  p.introWav = profile.GetString("Preferences", "Intro WAV", "");
  if (p.introNumber == kIntroCustom && !OpensForReading(p.introWav)) p.introNumber = kIntroRandom;
  p.skipIntro = profile.GetInt("Preferences", "Skip Intro", 0) != 0;
  p.quickExit = profile.GetInt("Preferences", "Quick Exit", 0) != 0;
  p.palOnTop = profile.GetInt("Preferences", "Pal On Top", 0) != 0;
  p.customCursors = profile.GetInt("Preferences", "CustomCursors", 1) != 0;
  return p;
}

void SavePreferences(Profile& profile, const Preferences& p) {
  profile.WriteInt("Preferences", "CustomCursors", p.customCursors ? 1 : 0);
  profile.WriteInt("Preferences", "DirScan_Prompt", p.dirScanPrompt);
  profile.WriteInt("Preferences", "Skip Intro", p.skipIntro ? 1 : 0);
  profile.WriteInt("Preferences", "Quick Exit", p.quickExit ? 1 : 0);
  profile.WriteInt("Preferences", "Pal On Top", p.palOnTop ? 1 : 0);
  profile.WriteInt("Preferences", "Intro Number", p.introNumber);
  profile.WriteString("Preferences", "Palette Path", p.palettePath);
  profile.WriteString("Preferences", "Intro WAV", p.introWav);
}

std::optional<std::string> BrowsePalettePath(App& app) {
  FileDialogRequest request;
  request.filter = kPrefPaletteFilter;
  request.initialName = "*.pcx";
  request.initialFolder = DialogFolder(app);
  auto chosen = app.ui.FileDialog(request);
  if (!chosen) return std::nullopt;
  const char* extension = chosen->filterIndex == 2 ? ".bmp" : chosen->filterIndex == 3 ? ".act" : ".pcx";
  return AppendExtensionIfNoDot(chosen->path, extension);
}

std::optional<std::string> BrowseIntroWav(App& app) {
  FileDialogRequest request;
  request.filter = kPrefWavFilter;
  request.initialName = "*.wav";
  request.initialFolder = DialogFolder(app);
  auto chosen = app.ui.FileDialog(request);
  if (!chosen) return std::nullopt;
  return AppendExtensionIfNoDot(chosen->path, ".wav");
}

std::optional<std::string> BrowsePhongFolder(App& app) {
  return BrowseFolderSetting(app, kPhongFolderTitle, "Phong Path");
}

std::optional<std::string> BrowseEnvFolder(App& app) {
  return BrowseFolderSetting(app, kEnvFolderTitle, "Env Path");
}

int IntroPreviewSound(int entry, const std::string& wavPath, int randomValue) {
  if (entry == kIntroCustom) return OpensForReading(wavPath) ? kPlayCustomWav : kPlayNothing;
  if (entry == kIntroRandom) entry = std::abs(randomValue % 8);
  if (entry < 0 || entry > 7) return kPlayNothing;
  return kIntroSoundResources[static_cast<std::size_t>(entry)];
}

void OnPreferences(App& app) {
  if (!app.preferencesDialog) return;
  std::optional<Preferences> chosen = app.preferencesDialog->Ask(app, LoadPreferences(app.profile));
  if (!chosen) return;
  SavePreferences(app.profile, *chosen);
  app.editor.customCursors = chosen->customCursors;
  if (app.shellLayout) app.shellLayout->SetPalOnTop(chosen->palOnTop);
}
