#pragma once
// The model every model command starts from: read as the editor reads it,
// with its skins, below a base folder.

#include <iosfwd>

#include "cli/cli_args.h"

class App;

// Loads the model named by the first positional argument (relative to where
// the command runs) into `app`, with skin names taken below --base or, by
// default, DefaultBaseFolder of the model. A model without skins is not
// scanned for any (there is nobody to ask) and stand-in skins keep the grey
// ramp. False after a message on `err` (or the loader's own message).
bool LoadModelForCli(App& app, const CliArgs& args, std::ostream& err);
