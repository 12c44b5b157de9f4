#pragma once
// The model every model command starts from: read as the editor reads it,
// with its skins, below a base folder, into a workspace without windows.

#include <iosfwd>
#include <string>

#include "cli/cli_args.h"
#include "editor/workspace.h"
#include "platform/headless_ui.h"

// A workspace with the base folder its names are below and the messages an
// editor would show going to a stream.
class CliWorkspace : public Workspace {
 public:
  explicit CliWorkspace(std::ostream& err) : ui(err) {}
  HeadlessUi ui;
  std::string baseFolder;
};

// Loads the model named by the first positional argument (relative to where
// the command runs), with skin names taken below --base or, by default,
// DefaultBaseFolder of the model. A model without skins is not scanned for
// any (there is nobody to ask) and stand-in skins keep the grey ramp. False
// after a message on `err` (or the loader's own message).
bool LoadModelForCli(CliWorkspace& ws, const CliArgs& args, std::ostream& err);
// Writes the model to `path`; false after the writer's message (or, with no
// model, none).
bool SaveModelForCli(CliWorkspace& ws, const std::string& path);
