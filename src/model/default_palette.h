#pragma once
// The palette new and stand-in skins start with.

#include "image/skin.h"

class Profile;

// The palette of the file named by "Preferences"/"Palette Path"; a grey ramp
// (entry i = i, i, i) when there is none or it cannot be read.
void LoadDefaultPalette(const Profile& profile, Palette& out);
