#pragma once
// Every setting the program keeps, with the one default it is read with.
//
// The names are the ones existing settings files already hold, spelled as
// they always were. A path setting that is empty means "none chosen"; the
// "Project" folders and the last file say "Unknown" when never set, which
// older files hold too.

#include <array>
#include <cstdint>

struct StringSetting {
  const char* section;
  const char* key;
  const char* def;
};

struct IntSetting {
  const char* section;
  const char* key;
  int def;
};

inline constexpr char kColorsSection[] = "Colors";
inline constexpr char kPreferencesSection[] = "Preferences";
inline constexpr char kProjectSection[] = "Project";

// What the "Project" settings hold until something is chosen.
inline constexpr char kUnknownSetting[] = "Unknown";

// --- Colors: the palette box's eight colour slots (palette indices) ---
inline constexpr int kNumColourSlots = 8;
inline constexpr std::array<IntSetting, kNumColourSlots> kColourSlotSettings = {{
    {kColorsSection, "Color-0", 248},
    {kColorsSection, "Color-1", 64},
    {kColorsSection, "Color-2", 128},
    {kColorsSection, "Color-3", 192},
    {kColorsSection, "Color-4", 15},
    {kColorsSection, "Color-5", 10},
    {kColorsSection, "Color-6", 5},
    {kColorsSection, "Color-7", 0},
}};

// --- Preferences ---
// What loading does with a model that names no skins: 0 scan its folder,
// 1 do not, 2 ask.
inline constexpr IntSetting kDirScanPromptSetting{kPreferencesSection, "DirScan_Prompt", 2};
// The palette (PCX, BMP or ACT) new and stand-in skins start with, and the
// colormap of the lit textured modes; empty: none chosen (a grey ramp, and
// the base folder's pics/colormap.pcx).
inline constexpr StringSetting kPalettePathSetting{kPreferencesSection, "Palette Path", ""};
// Folders scanned for maps at start; empty: none chosen.
inline constexpr StringSetting kPhongPathSetting{kPreferencesSection, "Phong Path", ""};
inline constexpr StringSetting kEnvPathSetting{kPreferencesSection, "Env Path", ""};
// 0..7 a built-in intro sound, 8 a random one, 9 the file of "Intro WAV".
inline constexpr IntSetting kIntroNumberSetting{kPreferencesSection, "Intro Number", 8};
inline constexpr StringSetting kIntroWavSetting{kPreferencesSection, "Intro WAV", ""};
inline constexpr IntSetting kSkipIntroSetting{kPreferencesSection, "Skip Intro", 0};
inline constexpr IntSetting kQuickExitSetting{kPreferencesSection, "Quick Exit", 0};
inline constexpr IntSetting kPalOnTopSetting{kPreferencesSection, "Pal On Top", 0};
inline constexpr IntSetting kCustomCursorsSetting{kPreferencesSection, "CustomCursors", 1};
// True-colour pictures are brought into the palette with Floyd-Steinberg
// dithering when set.
inline constexpr IntSetting kDitherSetting{kPreferencesSection, "Dither", 0};
// Edit > Undo takes Ctrl+Z (and Skins > Revert none) when set.
inline constexpr IntSetting kUndoCtrlZSetting{kPreferencesSection, "Undo Ctrl+Z", 0};
// The most memory the undo history keeps, in MiB (at least 1).
inline constexpr IntSetting kUndoMemorySetting{kPreferencesSection, "Undo Memory MiB", 256};
inline constexpr int kUndoMemoryMaxMiB = 65536;
// Minutes before a recovery copy that could not be written is tried again;
// 0 waits for a number of undo steps alone. (The name is the one the setting
// had when copies were taken on a timer.)
inline constexpr IntSetting kRecoveryMinutesSetting{kPreferencesSection, "Recovery Minutes", 2};
inline constexpr int kRecoveryMinutesMax = 1440;
// The main window's place and size as the window system saved them (base64);
// empty until the first quit.
inline constexpr StringSetting kWindowGeometrySetting{kPreferencesSection, "Window Geometry", ""};
// The left pane's share of the width, in units of 0.0001.
inline constexpr IntSetting kSplitterSetting{kPreferencesSection, "Splitter", 6500};

// --- Project ---
inline constexpr StringSetting kBaseDirSetting{kProjectSection, "BaseDir", kUnknownSetting};
inline constexpr StringSetting kLoadDirSetting{kProjectSection, "LoadDir", kUnknownSetting};
inline constexpr StringSetting kSaveDirSetting{kProjectSection, "SaveDir", kUnknownSetting};
inline constexpr StringSetting kCurFileSetting{kProjectSection, "CurFile", kUnknownSetting};
