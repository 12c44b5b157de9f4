#include <gtest/gtest.h>

#include "platform/profile.h"
#include "support/scripted_services.h"
#include "support/scripted_ui.h"
#include "shell/app.h"
#include "shell/preferences.h"
#include "support/test_support.h"

namespace {

class ScriptedPreferencesDialog : public PreferencesDialog {
 public:
  std::optional<Preferences> answer;
  std::optional<Preferences> shown;
  std::optional<Preferences> Ask(App&, const Preferences& initial) override {
    shown = initial;
    return answer;
  }
};

}  // namespace

TEST(Preferences, DialogOpensWithItsOwnDefaults) {
  MemoryProfile profile;
  const Preferences p = LoadPreferences(profile);
  // No palette file and no map folders chosen.
  EXPECT_EQ(p.palettePath, "");
  EXPECT_EQ(p.phongPath, "");
  EXPECT_EQ(p.envPath, "");
  EXPECT_EQ(p.introNumber, 8);
  EXPECT_EQ(p.introWav, "");
  EXPECT_EQ(p.dirScanPrompt, 2);
  EXPECT_TRUE(p.customCursors);
  EXPECT_FALSE(p.skipIntro || p.quickExit || p.palOnTop || p.ctrlZUndoes);
  EXPECT_EQ(p.undoMemoryMiB, 256);
  EXPECT_EQ(p.recoveryMinutes, 2);
  EXPECT_EQ(p.renderThreads, 0);  // one per core
}

TEST(Preferences, CustomIntroWithUnreadableFileShowsRandomAndPlaysNothing) {
  TempDir dir;
  MemoryProfile profile;
  profile.WriteInt("Preferences", "Intro Number", 9);
  profile.WriteString("Preferences", "Intro WAV", dir.File("none.wav"));
  EXPECT_EQ(LoadPreferences(profile).introNumber, 8);
  EXPECT_EQ(IntroPreviewSound(9, dir.File("none.wav"), 0), kPlayNothing);
  WriteBytes(dir.File("intro.wav"), {1, 2, 3});
  profile.WriteString("Preferences", "Intro WAV", dir.File("intro.wav"));
  EXPECT_EQ(LoadPreferences(profile).introNumber, 9);
  EXPECT_EQ(IntroPreviewSound(9, dir.File("intro.wav"), 0), kPlayCustomWav);
  EXPECT_EQ(IntroPreviewSound(0, "", 0), 162);
  EXPECT_EQ(IntroPreviewSound(7, "", 0), 167);
  EXPECT_EQ(IntroPreviewSound(8, "", 11), 153);  // random 11 -> entry 3
}

TEST(Preferences, OkWritesEveryKeyAndAppliesAtOnce) {
  ScriptedUi ui;
  MemoryProfile profile;
  App app(ui, profile);
  ScriptedPreferencesDialog dialog;
  app.services = ScriptedServices(dialog);
  Preferences chosen;
  chosen.customCursors = false;
  chosen.dirScanPrompt = 0;
  chosen.skipIntro = chosen.quickExit = chosen.palOnTop = true;
  chosen.introNumber = 3;
  chosen.palettePath = "/q2/colormap.pcx";
  chosen.introWav = "/x.wav";
  chosen.ctrlZUndoes = true;
  chosen.undoMemoryMiB = 3;
  chosen.recoveryMinutes = 0;
  chosen.renderThreads = 3;
  dialog.answer = chosen;
  OnPreferences(app);
  EXPECT_FALSE(app.editor.customCursors);
  EXPECT_TRUE(app.ctrlZUndoes);
  EXPECT_EQ(app.document.history.budget(), std::size_t{3} << 20);
  EXPECT_EQ(profile.GetInt("Preferences", "Undo Ctrl+Z", -1), 1);
  EXPECT_EQ(profile.GetInt("Preferences", "Undo Memory MiB", -1), 3);
  EXPECT_EQ(profile.GetInt("Preferences", "Recovery Minutes", -1), 0);
  EXPECT_EQ(profile.GetInt("Preferences", "Render Threads", -1), 3);
  EXPECT_EQ(app.renderModes.Threads(), 3);
  EXPECT_EQ(profile.GetInt("Preferences", "CustomCursors", -1), 0);
  EXPECT_EQ(profile.GetInt("Preferences", "DirScan_Prompt", -1), 0);
  EXPECT_EQ(profile.GetInt("Preferences", "Skip Intro", -1), 1);
  EXPECT_EQ(profile.GetInt("Preferences", "Quick Exit", -1), 1);
  EXPECT_EQ(profile.GetInt("Preferences", "Pal On Top", -1), 1);
  EXPECT_EQ(profile.GetInt("Preferences", "Intro Number", -1), 3);
  EXPECT_EQ(profile.GetString("Preferences", "Palette Path", ""), "/q2/colormap.pcx");
  EXPECT_EQ(profile.GetString("Preferences", "Intro WAV", ""), "/x.wav");
  EXPECT_EQ(profile.GetString("Preferences", "Phong Path", "?"), "");  // typed boxes are kept too

  MemoryProfile untouched;
  App other(ui, untouched);
  other.services = ScriptedServices(dialog);
  dialog.answer.reset();  // Cancel
  OnPreferences(other);
  EXPECT_FALSE(untouched.Has("Preferences", "Quick Exit"));
}

TEST(Preferences, ScanPolicyComesFromTheSettingAndAsksWhenItIsOutOfRange) {
  const std::pair<int, SkinScan> cases[] = {
      {0, SkinScan::Always}, {1, SkinScan::Never}, {2, SkinScan::Ask}, {3, SkinScan::Ask}, {-1, SkinScan::Ask}};
  for (const auto& [stored, want] : cases) {
    MemoryProfile profile;
    profile.WriteInt("Preferences", "DirScan_Prompt", stored);
    EXPECT_EQ(SkinScanPreference(profile), want) << stored;
    EXPECT_EQ(LoadPreferences(profile).dirScanPrompt, static_cast<int>(want)) << stored;
  }
  EXPECT_EQ(SkinScanPreference(MemoryProfile()), SkinScan::Ask);
}

TEST(Preferences, FolderButtonsWriteAtOnceOrRefuse) {
  TempDir dir;
  FolderGuard guard;
  ScriptedUi ui;
  MemoryProfile profile;
  App app(ui, profile);
  ui.QueueFolder(std::nullopt);
  EXPECT_FALSE(BrowsePhongFolder(app));
  ui.QueueFolder(dir.File("missing"));
  EXPECT_FALSE(BrowseEnvFolder(app));
  ui.QueueFolder(dir.path());
  EXPECT_EQ(BrowsePhongFolder(app), dir.path());
  EXPECT_EQ(ui.texts(), (std::vector<std::string>{"That folder is not valid", "That folder is not valid",
                                                  "This setting will take affect the next time you run VRK."}));
  EXPECT_EQ(ui.folderTitles()[0], "Select the folder to be scanned for Phong Maps");
  EXPECT_EQ(ui.folderTitles()[1], "Select the folder to be scanned for Environment Maps");
  EXPECT_EQ(profile.GetString("Preferences", "Phong Path", ""), dir.path());
  EXPECT_FALSE(profile.Has("Preferences", "Env Path"));
}

TEST(Preferences, FileButtonsAddTheFiltersExtension) {
  ScriptedUi ui;
  MemoryProfile profile;
  App app(ui, profile);
  app.baseFolder = "/base";
  ui.QueueFile("/q2/colormap", 3);
  ui.QueueFile("/q2/pal", 2);
  ui.QueueFile("/q2/v1.0/pal", 1);  // a dot in a folder name counts
  ui.QueueFile("/snd/intro", 1);
  EXPECT_EQ(BrowsePalettePath(app), "/q2/colormap.act");
  EXPECT_EQ(BrowsePalettePath(app), "/q2/pal.bmp");
  EXPECT_EQ(BrowsePalettePath(app), "/q2/v1.0/pal");
  EXPECT_EQ(BrowseIntroWav(app), "/snd/intro.wav");
  EXPECT_EQ(ui.dialogs()[0].initialName, "*.pcx");
  EXPECT_EQ(ui.dialogs()[0].initialFolder, "/base");
  EXPECT_EQ(ui.dialogs()[3].filter, "WAV Audio (*.wav)|*.wav|All Files (*.*)|*.*||");
}

TEST(Preferences, PlaySpeedAndInterpolationComeBackFromTheProfile) {
  MemoryProfile profile;
  ScriptedUi ui;
  App app(ui, profile);
  // Unset: the game's 10 frames a second, whole frames.
  ReadPlaySettings(profile, app.player);
  EXPECT_EQ(app.player.fps(), 10);
  EXPECT_FALSE(app.player.interpolate());
  app.player.SetFps(24, 0);
  app.player.SetInterpolate(true, 0);
  WritePlaySettings(profile, app.player);
  App next(ui, profile);
  ReadPlaySettings(profile, next.player);
  EXPECT_EQ(next.player.fps(), 24);
  EXPECT_TRUE(next.player.interpolate());
  // A stored speed beyond the box's range is held to it.
  for (const auto& [stored, held] : {std::pair{500, 60}, std::pair{0, 1}}) {
    profile.WriteInt(kPreferencesSection, "Play Speed", stored);
    ReadPlaySettings(profile, next.player);
    EXPECT_EQ(next.player.fps(), held) << stored;
  }
}
