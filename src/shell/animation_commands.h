#pragma once
// Playing the model's animation in the 3D view: the Views > Animation
// commands, the Animations list beside the Frames list, and the step the
// front end's timer takes. Playing changes only which frame is shown.

#include <cstdint>
#include <string>
#include <vector>

#include "shell/command_table.h"

class App;
struct ListBar;

constexpr const char* kAllFramesEntry = "All frames";

// The commands, their names left for the table to fill in.
std::vector<Command> AnimationCommands();

// The Animations list from the model's frame names: "All frames" first,
// then each animation, the one the player loops over selected.
void FillAnimationBar(App& app, ListBar& bar);
// Entry 0 loops over the whole model, entry n over the n-th animation.
void SelectAnimationEntry(App& app, int index);
void SetAnimationSpeed(App& app, double fps);

// What the player reaches at nowMs is shown, the Frames list following;
// true when the picture changed.
bool AdvanceAnimation(App& app, std::int64_t nowMs);
