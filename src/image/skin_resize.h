#pragma once
// Changing the size of skins: the checks the "Resize Skins" dialog's answer
// must pass, nearest-neighbour resampling, and the mapping's scale.

#include <string>

#include "image/skin.h"

inline constexpr char kResizeSameSizeText[] =
    "Try telling me something I don't already know!\nThe skins are already that size =]";
inline constexpr char kResizeZeroText[] = "Hey!  You really don't want to make your skin size 0!";
inline constexpr char kResizeWidthMultipleText[] = "The Width must be a multiple of 4!";
inline constexpr char kResizeTooLargeText[] = "Skins should not be larger than 640x480!";

constexpr int kSkinLimitWidth = 640;
constexpr int kSkinLimitHeight = 480;

// The message that refuses a new size, or "" when it is acceptable, checked
// in the dialog's order: same size, not positive, then (with the limits) a
// width that is not a multiple of 4 and a size above 640 x 480. Without the
// limits a size is still refused when a skin record cannot hold it (above
// 32767 columns or 2048 rows).
std::string CheckSkinResize(int oldWidth, int oldHeight, int width, int height, bool enforceLimits);

// Nearest-neighbour resampling: new (x, y) takes old
// (trunc(x * oldW / W), trunc(y * oldH / H)). storedPixels becomes a copy of
// the new pixels (the old stored state is lost) and the row offsets follow.
// Expects a size CheckSkinResize accepted; a record whose pixels do not
// match its size comes out blank.
void ResampleSkin(Skin& skin, int width, int height);

// A mapping coordinate on a skin side of `oldSize` onto one of `newSize`.
// The half pixel is added before scaling and stays added, as the editor has
// always done (256 -> 128 takes 10 to 5.25).
float ScaleMapCoordinate(float coordinate, int oldSize, int newSize);

// One image to a new size for the command line: the dialog's checks (a
// request for the size it already has succeeds and changes nothing), then
// ResampleSkin. False with *error set when refused or when the record's
// pixels do not match its size.
bool ResizeSkinImage(Skin& skin, int width, int height, bool enforceLimits, std::string* error);
