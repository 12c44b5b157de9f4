// `info` and `resave`: a model read as the editor reads it, with the
// messages it would show going to stderr.

#include <ostream>

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "image/skin.h"
#include "platform/files.h"
#include "platform/headless_ui.h"
#include "platform/profile.h"
#include "shell/app.h"
#include "shell/model_stats.h"

namespace {

// Loads the model named by the first positional argument into `app`, with
// the base folder from --base or found from the model's path.
bool LoadForCli(App& app, const CliArgs& args, std::ostream& err) {
  const std::string& model = args.positional[0];
  app.baseFolder = AbsolutePath(args.Get("--base").value_or(DefaultBaseFolder(model)));
  if (!FolderExists(app.baseFolder)) {
    err << "That folder is not valid: " << app.baseFolder << '\n';
    return false;
  }
  // Skin-less models are not scanned unasked on the command line.
  app.profile.WriteInt("Preferences", "DirScan_Prompt", 1);
  return app.LoadMd2(AbsolutePath(model)) == 1;
}

}  // namespace

int CmdInfo(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  CliArgs args = ParseCliArgs(argv, {"--base"});
  if (!args.error.empty() || args.positional.size() != 1) {
    err << "usage: skintool info MODEL.md2 [--base DIR]\n";
    return 2;
  }
  HeadlessUi ui(err);
  MemoryProfile profile;
  App app(ui, profile);
  if (!LoadForCli(app, args, err)) return 1;

  for (const ModelStatRow& row : ModelStatRows(app.model)) out << row.data << ": " << row.current << '\n';
  out << "Skins:\n";
  for (const auto& skin : app.model.skins)
    out << "  " << ToForwardSlashes(skin->name) << ((skin->flags & SKIN_EXTERNAL) ? " (external)" : "")
        << (skin->hasFile ? "" : " (temporary)") << '\n';
  return 0;
}

int CmdResave(const std::vector<std::string>& argv, std::ostream&, std::ostream& err) {
  CliArgs args = ParseCliArgs(argv, {"--base"});
  if (!args.error.empty() || args.positional.size() != 2) {
    err << "usage: skintool resave IN.md2 OUT.md2 [--base DIR]\n";
    return 2;
  }
  HeadlessUi ui(err);
  MemoryProfile profile;
  App app(ui, profile);
  if (!LoadForCli(app, args, err)) return 1;
  return app.SaveMd2(AbsolutePath(args.positional[1])) == 1 ? 0 : 1;
}
