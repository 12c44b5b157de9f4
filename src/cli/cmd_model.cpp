// `info` and `resave`: a model read as the editor reads it, with the
// messages it would show going to stderr.

#include <ostream>

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "cli/load_model.h"
#include "editor/model_stats.h"
#include "image/skin.h"
#include "platform/files.h"

int CmdInfo(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  CliArgs args = ParseCliArgs(argv, {"--base"});
  if (!args.error.empty() || args.positional.size() != 1) {
    err << "usage: skintool info MODEL.md2 [--base DIR]\n";
    return 2;
  }
  CliWorkspace ws(err);
  if (!LoadModelForCli(ws, args, err)) return 1;

  for (const ModelStatRow& row : ModelStatRows(ws.model)) out << row.data << ": " << row.current << '\n';
  out << "Skins:\n";
  for (const auto& skin : ws.model.skins)
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
  CliWorkspace ws(err);
  if (!LoadModelForCli(ws, args, err)) return 1;
  return SaveModelForCli(ws, AbsolutePath(args.positional[1])) ? 0 : 1;
}
