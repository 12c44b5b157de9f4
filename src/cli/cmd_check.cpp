// `check`: what in a model would hurt in the game or in this editor, one
// line a finding, and with --fix a copy without its unused entries.

#include <ostream>

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "editor/model_check.h"
#include "model/md2_file.h"
#include "platform/file_error.h"
#include "platform/files.h"

namespace {
constexpr const char* kCheckUsage = "usage: skintool check MODEL.md2... [--base DIR] [--fix OUT.md2]\n";
}

int CmdCheck(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  CliArgs args = ParseCliArgs(argv, {"--base", "--fix"});
  if (!args.error.empty() || args.positional.size() != 1) {
    if (!args.error.empty()) err << "skintool: " << args.error << '\n';
    err << kCheckUsage;
    return 2;
  }
  const std::string model = AbsolutePath(args.positional[0]);
  const std::string base = AbsolutePath(args.Get("--base").value_or(DefaultBaseFolder(model)));
  if (!FolderExists(base)) {
    err << "That folder is not valid: " << base << '\n';
    return 1;
  }
  int cause = 0;
  auto bytes = ReadFileBytes(model, &cause, kMaxMd2FileBytes);
  if (!bytes) {
    err << ShownText(LoadFailure(model, cause)) << '\n';
    return 1;
  }
  std::string error;
  auto findings = CheckMd2(*bytes, base, &error);
  if (!findings) {
    err << error << '\n' << model << '\n';
    return 1;
  }
  for (const CheckFinding& finding : *findings) out << CheckKindName(finding.kind) << ": " << finding.text << '\n';

  if (auto fix = args.Get("--fix")) {
    const std::string path = AbsolutePath(*fix);
    const std::vector<std::uint8_t> repaired = RepairMd2(*bytes, &error);
    if (repaired.empty()) {
      err << error << '\n' << model << '\n';
      return 1;
    }
    if (const int failed = WriteFileAtomic(path, repaired)) {
      err << SaveErrorText(path, failed) << '\n';
      return 1;
    }
  }
  return findings->empty() ? 0 : 1;
}
