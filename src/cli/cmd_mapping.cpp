// `mapping export` and `mapping import`: the Mapping menu's Export and Import
// for scripts, on a model read as the editor reads it.

#include <ostream>

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "cli/load_model.h"
#include "editor/document_ops.h"
#include "platform/files.h"

namespace {

constexpr char kUsage[] =
    "usage: skintool mapping export MODEL.md2 OUT.vmp [--base DIR]\n"
    "       skintool mapping import MODEL.md2 IN.vmp OUT.md2 [--base DIR]\n";

}  // namespace

int CmdMapping(const std::vector<std::string>& argv, std::ostream&, std::ostream& err) {
  if (argv.empty() || (argv[0] != "export" && argv[0] != "import")) {
    err << kUsage;
    return 2;
  }
  const bool exporting = argv[0] == "export";
  CliArgs args = ParseCliArgs(std::vector<std::string>(argv.begin() + 1, argv.end()), {"--base"});
  if (!args.error.empty() || args.positional.size() != (exporting ? 2u : 3u)) {
    err << kUsage;
    return 2;
  }
  CliWorkspace ws(err);
  if (!LoadModelForCli(ws, args, err)) return 1;
  const std::string vmap = AbsolutePath(args.positional[1]);
  const OpResult result = exporting ? ExportMapping(ws.document, vmap) : ImportMapping(ws.document, vmap, false);
  if (!result.message.empty()) ws.ui.Message(result.message);
  if (!result.done) return 1;
  if (exporting) return 0;
  return SaveModelForCli(ws, AbsolutePath(args.positional[2])) ? 0 : 1;
}
