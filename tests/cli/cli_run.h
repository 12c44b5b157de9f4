#pragma once
// Runs the command line in-process and keeps what it printed.

#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"

struct CliRun {
  int code;
  std::string out, err;
};

inline CliRun Cli(std::vector<std::string> args) {
  args.insert(args.begin(), "skintool");
  std::vector<const char*> argv;
  for (auto& a : args) argv.push_back(a.c_str());
  std::ostringstream out, err;
  int code = RunCommandLine(static_cast<int>(argv.size()), argv.data(), out, err);
  return {code, out.str(), err.str()};
}
