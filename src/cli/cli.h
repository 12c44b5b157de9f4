#pragma once
// The headless front end: `skintool COMMAND ...`.

#include <iosfwd>

// Runs the command line; returns the process exit code (0 success, 1 failure
// of the operation, 2 bad usage).
int RunCommandLine(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

// True when the arguments ask for the command line rather than the editor.
bool IsCommandLineInvocation(int argc, const char* const* argv);
