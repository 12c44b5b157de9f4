#pragma once
// The painting tools' commands: the Tools menu (tool, brush size and shape,
// ink, symmetry, fill and shape options, mask, tiled view), their keys and
// toolbar buttons, and Fill Selected With Colour. Each setting is written to
// the profile as it changes.

#include <vector>

#include "shell/command_table.h"

class App;

// The commands, their names left for the table to fill in.
std::vector<Command> PaintToolCommands();

void OnFillSelectedWithColour(App& app);
