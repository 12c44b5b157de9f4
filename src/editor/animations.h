#pragma once
// The animations of a model, read from its frame names: a run of frames
// whose names share a stem before a trailing number ("run1".."run6") is one
// animation, as the game's model tools name them.

#include <string>
#include <vector>

struct Animation {
  std::string name;  // "run", or "pain1" for the game's pain101..pain104
  int first = 0;     // frame number of its first frame
  int count = 0;     // frames in it
  int last() const { return first + count - 1; }
};

// Every frame belongs to exactly one animation, in frame order. A run breaks
// where the stem changes or the number starts again (it goes down, or jumps
// to another hundred: pain104 then pain201). Names without a trailing number
// join neighbours of the same name; all-digit names form one run named after
// its first frame.
std::vector<Animation> FindAnimations(const std::vector<std::string>& frameNames);

// The entry a list shows for it: "run (40-45)".
std::string AnimationLabel(const Animation& animation);
