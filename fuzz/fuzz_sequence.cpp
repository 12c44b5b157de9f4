// Long runs of the command-sequence driver: the input chooses the model and
// every step played on it; a broken document aborts with the step and the
// operation.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "support/command_sequence.h"

namespace {

// One scratch folder for the whole run, refilled by every input.
const std::string& ScratchFolder() {
  static const std::string folder = [] {
    std::string pattern = "/tmp/skintool-sequence-XXXXXX";
    if (!mkdtemp(pattern.data())) std::abort();
    return pattern;
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  SpanBytes bytes({data, size});
  SequenceOptions options;
  options.maxSteps = 120;
  options.undoCheckEvery = 5;
  options.scratchFolder = ScratchFolder();
  options.trace = std::getenv("SKINTOOL_SEQUENCE_TRACE") != nullptr;
  RunCommandSequence(bytes, options);
  return 0;
}
