// `info` and `resave`: a model read as the editor reads it, with the
// messages it would show going to stderr.

#include <ostream>

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/load_model.h"
#include "editor/model_stats.h"
#include "image/skin.h"
#include "platform/files.h"

namespace {

// The JSON names of the statistics rows, in their order; the values are the
// rows' own numbers ("Wasted Space" without its '%').
constexpr const char* kInfoJsonKeys[] = {"vertices",    "mappingVertices", "triangles", "frames",     "linkedSkins",
                                         "externalSkins", "skinWidth",     "skinHeight", "wastedSpace"};

void PrintInfoJson(const CliWorkspace& ws, const std::string& model, std::ostream& out) {
  out << "{\"file\":" << JsonString(model);
  const std::vector<ModelStatRow> rows = ModelStatRows(ws.model);
  for (std::size_t i = 0; i < rows.size() && i < std::size(kInfoJsonKeys); ++i) {
    std::string value = rows[i].current;
    if (!value.empty() && value.back() == '%') value.pop_back();
    out << ",\"" << kInfoJsonKeys[i] << "\":" << value;
  }
  out << ",\"skins\":[";
  const char* comma = "";
  for (const auto& skin : ws.model.skins) {
    out << comma << "{\"name\":" << JsonString(ToForwardSlashes(skin->name))
        << ",\"external\":" << ((skin->flags & SKIN_EXTERNAL) ? "true" : "false")
        << ",\"temporary\":" << (skin->hasFile ? "false" : "true") << '}';
    comma = ",";
  }
  out << "]}\n";
}

}  // namespace

int CmdInfo(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  CliArgs args = ParseCliArgs(argv, {"--base"}, {"--json"});
  if (!args.error.empty() || args.positional.size() != 1) {
    err << "usage: skintool info MODEL.md2... [--base DIR] [--json]\n";
    return 2;
  }
  CliWorkspace ws(err);
  if (!LoadModelForCli(ws, args, err)) return 1;
  if (args.Has("--json")) {
    PrintInfoJson(ws, AbsolutePath(args.positional[0]), out);
    return 0;
  }

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
