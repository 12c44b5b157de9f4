#pragma once
// What `render` and `bench` share: a model loaded headless and set up as
// the 3D view would show it (mode, maps, colormap, camera, size).

#include <iosfwd>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "cli/cli_args.h"
#include "cli/load_model.h"
#include "render/render_context.h"

// The options both commands take ("--mode" ... "--mapping").
extern const std::set<std::string> kRenderValuedOptions;
extern const std::set<std::string> kRenderFlagOptions;
// render's own: the picture sequences ("--frames", "--out-pattern", "--turntable").
extern const std::set<std::string> kRenderSequenceOptions;

struct HeadlessView {
  explicit HeadlessView(std::ostream& err) : ws(err) {}
  CliWorkspace ws;
  HeadlessUi& ui = ws.ui;
  RenderContext context;
  int requestedWidth = 0;  // the picture's width before rounding to 4
};

// Loads the model (first positional argument) and readies the view; false
// after a message on `err`.
// 0 when the view is ready; 2 (after a message) for a bad option value, 1
// when the model or a file cannot be used.
int SetUpHeadlessView(HeadlessView& view, const CliArgs& args, std::ostream& err);
