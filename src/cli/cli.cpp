#include "cli/cli.h"

#include <ostream>
#include <string>

#ifndef SKINTOOL_VERSION
#define SKINTOOL_VERSION "0.1.0"
#endif

namespace {
constexpr const char* kUsage =
    "usage: skintool COMMAND [ARGS]\n"
    "  info MODEL.md2 [--base DIR]        model statistics and skin names\n"
    "  resave IN.md2 OUT.md2 [--base DIR] read a model and write it back\n"
    "  convert IN OUT                     convert a PCX or BMP skin by OUT's extension\n"
    "  --help                             this text\n"
    "  --version                          the program's version\n";
}

bool IsCommandLineInvocation(int argc, const char* const* argv) {
  if (argc < 2) return false;
  std::string first = argv[1];
  return first != "-md2";
}

int RunCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  if (argc < 2) {
    err << kUsage;
    return 2;
  }
  std::string cmd = argv[1];
  if (cmd == "--help" || cmd == "-h") {
    out << kUsage;
    return 0;
  }
  if (cmd == "--version") {
    out << "skintool " << SKINTOOL_VERSION << '\n';
    return 0;
  }
  err << "skintool: unknown command '" << cmd << "'\n" << kUsage;
  return 2;
}
