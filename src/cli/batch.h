#pragma once
// The verbs that take one model or picture, run over many: inputs named
// one by one or found in folders, outputs written into one folder under the
// inputs' names, several at once, reported in the order given.

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

// A verb as the command line runs it on one input.
using CommandFunction = int (*)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// One run of a verb: the input as the report names it and the verb's whole
// argument list for it.
struct BatchJob {
  std::string input;
  std::vector<std::string> args;
};

struct BatchResult {
  int code = 0;
  std::string out, err;  // what the run printed, kept apart from the others'
};

// Runs every job on `threads` threads at once (at least one), each with
// streams of its own, and hands each result to `done` in the jobs' order as
// soon as it and those before it are finished. A run that runs out of memory
// or throws is a failed run with a message; the others go on.
void RunBatchJobs(const std::vector<BatchJob>& jobs, CommandFunction run, int threads,
                  const std::function<void(const BatchJob& job, const BatchResult& result)>& done);

// True when `verb` is one of those that take one model or picture.
bool IsBatchVerb(const std::string& verb);

// Runs the verb `verb` (IsBatchVerb) on its arguments: as it always ran when
// they name one input (and, for the verbs that write, its OUT), else as a
// batch over every input (with --recursive, each folder's files of the
// verb's kind at any depth instead of the folder), writing into
// --out-dir DIR, -j N at once (default: the processors there are), one line
// per input and a summary. The exit code is 0 when every run succeeded, 2
// for bad usage (of the batch, or of any run), else 1.
int RunBatchable(const std::string& verb, const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
