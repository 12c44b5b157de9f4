// `mapping export` and `mapping import`: the Mapping menu's Export and Import
// for scripts, on a model read as the editor reads it.

#include <ostream>

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "cli/load_model.h"
#include "platform/files.h"
#include "platform/headless_ui.h"
#include "platform/profile.h"
#include "shell/app.h"
#include "shell/mapping_file_commands.h"

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
  HeadlessUi ui(err);
  MemoryProfile profile;
  App app(ui, profile);
  if (!LoadModelForCli(app, args, err)) return 1;
  if (exporting) return ExportMappingTo(app, AbsolutePath(args.positional[1])) ? 0 : 1;
  if (!ImportMappingFrom(app, AbsolutePath(args.positional[1]), false)) return 1;
  return app.SaveMd2(AbsolutePath(args.positional[2])) == 1 ? 0 : 1;
}
