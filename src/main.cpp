// skintool: the editor when started without a command, the command line otherwise.

#include <iostream>

#include "cli/cli.h"

int main(int argc, char** argv) {
  if (IsCommandLineInvocation(argc, argv)) return RunCommandLine(argc, argv, std::cout, std::cerr);
  // The editor window is not part of this build yet.
  return RunCommandLine(argc, argv, std::cout, std::cerr);
}
