#pragma once
// Round trips with another painter: Skins > Edit Externally hands the
// current skin's file to the user's image editor, and a skin file the
// program has open that changes on disk is read again, as one undo step;
// when the skin has changes here that are not saved, the user is asked
// first. A true-colour file is brought into the skin's palette by the
// nearest colour, never one of the protected colours.

#include <string>
#include <vector>

#include "image/true_colour.h"

class App;

inline constexpr char kEditExternallyNoFileText[] =
    "The skin has no file yet. Save it first, then edit it in another program.";
inline constexpr char kEditExternallyFailedText[] = "No image editor could be started for:";
inline constexpr char kOutsideChangeText[] =
    "Another program changed the skin file\n%s\nThe skin has changes here that are not saved. Reload it from the "
    "file and lose them?";

// The files (host paths) of the open skins that have one, each once.
std::vector<std::string> WatchedSkinPaths(const App& app);
// The file at `path` changed: every skin read from it is read again. False
// when none was (or the file could not be read yet: a writer still busy
// with it changes it again when done).
bool OnSkinFileChanged(App& app, const std::string& path);
// Skins > Edit Externally.
void OnEditExternally(App& app);

// A picture's pixels as palette indices: each the nearest entry of `palette`
// that `avoid` does not mark; a pixel at least half transparent takes
// index 255 as the game expects.
std::vector<std::uint8_t> MapAvoiding(const TrueColourPicture& picture, const Palette& palette,
                                      const std::array<std::uint8_t, 256>& avoid);
