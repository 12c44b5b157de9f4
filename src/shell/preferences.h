#pragma once
// The "Preferences" dialog's values as a plain struct, read from and written
// to the profile, its folder and file buttons, and what its OK applies at
// once. The dialog window itself belongs to the front end.

#include <array>
#include <optional>
#include <string>

#include "model/md2_load.h"
#include "platform/profile_keys.h"

class AnimationPlayer;
class App;
class Profile;

inline constexpr char kPhongFolderTitle[] = "Select the folder to be scanned for Phong Maps";
inline constexpr char kEnvFolderTitle[] = "Select the folder to be scanned for Environment Maps";
inline constexpr char kPrefFolderInvalidText[] = "That folder is not valid";
inline constexpr char kPrefNextRunText[] = "This setting will take affect the next time you run VRK.";
inline constexpr char kPrefPaletteFilter[] =
    "Mesh Skin (*.pcx)|*.pcx|Bitmap (*.bmp)|*.bmp|Photoshop ACT (*.act)|*.act|All Files (*.*)|*.*||";
inline constexpr char kPrefWavFilter[] = "WAV Audio (*.wav)|*.wav|All Files (*.*)|*.*||";

// The threads the 3D view draws on; 0: one per core.
inline constexpr IntSetting kRenderThreadsSetting{kPreferencesSection, "Render Threads", 0};
inline constexpr int kRenderThreadsMax = 64;
// The command Skins > Edit Externally starts with the skin's file after it;
// empty: the desktop's default program for the file's type.
inline constexpr StringSetting kImageEditorSetting{kPreferencesSection, "Image Editor", ""};
// The two big views draw one pixel per screen pixel on high-density
// screens; off: at the desktop's scale, enlarged by whole steps.
inline constexpr IntSetting kFullResolutionSetting{kPreferencesSection, "Full Resolution", 1};
// The animation's speed in frames per second and Interpolate Frames, as
// last chosen.
inline constexpr IntSetting kPlaySpeedSetting{kPreferencesSection, "Play Speed", 10};
inline constexpr IntSetting kInterpolateFramesSetting{kPreferencesSection, "Interpolate Frames", 0};
// The main window's toolbars as the window system saved them (base64).
inline constexpr StringSetting kWindowStateSetting{kPreferencesSection, "Window State", ""};

constexpr int kIntroRandom = 8;
constexpr int kIntroCustom = 9;
// The sound resources of intro entries 0..7.
inline constexpr std::array<int, 8> kIntroSoundResources = {162, 148, 154, 153, 164, 165, 166, 167};

// Each value starts at its setting's default (platform/profile_keys.h); an
// empty path means none chosen.
struct Preferences {
  int dirScanPrompt = kDirScanPromptSetting.def;  // 0 auto yes, 1 auto no, 2 prompt
  std::string palettePath = kPalettePathSetting.def;
  std::string phongPath = kPhongPathSetting.def;
  std::string envPath = kEnvPathSetting.def;
  int introNumber = kIntroNumberSetting.def;  // 0..7 built in, 8 random, 9 custom
  std::string introWav = kIntroWavSetting.def;
  bool skipIntro = kSkipIntroSetting.def != 0;
  bool quickExit = kQuickExitSetting.def != 0;
  bool palOnTop = kPalOnTopSetting.def != 0;
  bool customCursors = kCustomCursorsSetting.def != 0;
  bool ctrlZUndoes = kUndoCtrlZSetting.def != 0;
  bool dither = kDitherSetting.def != 0;
  int undoMemoryMiB = kUndoMemorySetting.def;  // 1..kUndoMemoryMaxMiB
  int recoveryMinutes = kRecoveryMinutesSetting.def;  // 0..kRecoveryMinutesMax, 0: no timed copies
  int renderThreads = kRenderThreadsSetting.def;      // 0..kRenderThreadsMax, 0: one per core
  std::string imageEditor = kImageEditorSetting.def;  // empty: the desktop's default
  bool fullResolution = kFullResolutionSetting.def != 0;
};

// What the dialog opens with: the profile under the dialog's defaults;
// "Custom..." with an unreadable file shows "Random".
Preferences LoadPreferences(const Profile& profile);
// The OK button's writes; the map folders take effect at the next start.
void SavePreferences(Profile& profile, const Preferences& prefs);

// The folder-scan policy for models without skins ("DirScan_Prompt"; a
// value out of range asks, as the dialog shows it).
SkinScan SkinScanPreference(const Profile& profile);

// The "..." buttons. Each gives the new text of its edit, or nothing.
std::optional<std::string> BrowsePalettePath(App& app);
std::optional<std::string> BrowseIntroWav(App& app);
// Writes "Phong Path" / "Env Path" at once when a usable folder is chosen.
std::optional<std::string> BrowsePhongFolder(App& app);
std::optional<std::string> BrowseEnvFolder(App& app);

// What the intro list's preview plays for `entry`: a sound resource
// (>= 0), kPlayCustomWav for the custom file, or kPlayNothing. `randomValue`
// picks among the built-in sounds for "Random".
constexpr int kPlayNothing = -1;
constexpr int kPlayCustomWav = -2;
int IntroPreviewSound(int entry, const std::string& wavPath, int randomValue);
constexpr int kIntroPreviewMs = 15000;

// The dialog, answered by the front end (or a script in tests): the values
// on OK, nothing on Cancel.
class PreferencesDialog {
 public:
  virtual ~PreferencesDialog() = default;
  virtual std::optional<Preferences> Ask(App& app, const Preferences& initial) = 0;
};

// The Preferences command: asks through app.services.preferencesDialog; on OK writes
// the values and applies them at once (all but the intro's and the start-up
// folders').
void OnPreferences(App& app);
// The settings the App keeps while it runs: Ctrl+Z's owner, the undo
// history's memory budget, dithering, the recovery copies' interval.
void ApplyRuntimePreferences(App& app, const Preferences& prefs);
// The player's speed (held to its range) and interpolation from the
// profile, and back.
void ReadPlaySettings(const Profile& profile, AnimationPlayer& player);
void WritePlaySettings(Profile& profile, const AnimationPlayer& player);
