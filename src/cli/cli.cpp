#include "cli/cli.h"

#include <new>
#include <ostream>
#include <string>
#include <vector>

#include "cli/batch.h"
#include "cli/commands.h"
#include "platform/version.h"


namespace {
constexpr const char* kUsage =
    "usage: skintool COMMAND [ARGS]\n"
    "  info MODEL.md2 [--base DIR] [--json]\n"
    "                                     model statistics and skin names (--json: as JSON)\n"
    "  check MODEL.md2 [--base DIR] [--fix OUT.md2]\n"
    "                                     what would hurt in the game or the editor: missing\n"
    "                                     or wrongly sized skins, mapping outside the skin,\n"
    "                                     degenerate and duplicate triangles, unused vertices\n"
    "                                     and mapping vertices, bad frame bounds, limits;\n"
    "                                     exit 1 when anything is found; --fix writes a copy\n"
    "                                     without the unused entries\n"
    "  resave IN.md2 OUT.md2 [--base DIR] read a model and write it back\n"
    "  convert IN OUT [--resize WxH [--no-limits]] [--palette FILE] [--dither]\n"
    "                                     convert a PCX, BMP, PNG, TGA or JPEG picture to\n"
    "                                     PCX, BMP or PNG by OUT's extension, resampled to\n"
    "                                     WxH (at most 640x480, width a multiple of 4, unless\n"
    "                                     --no-limits); --palette maps it into the palette of\n"
    "                                     a PCX, BMP or ACT file (nearest colour, --dither for\n"
    "                                     Floyd-Steinberg), which true-colour pictures need;\n"
    "                                     alpha below 128 becomes index 255\n"
    "  demo DIR [--profile FILE.ini]      write the demo base folder (and editor settings)\n"
    "  render MODEL.md2 OUT.bmp|OUT.png [--mode N|NAME] [--size WxH] [--frame N]\n"
    "         [--skin FILE] [--colormap FILE] [--phong FILE] [--env FILE] [--base DIR]\n"
    "         [--view front|back|left|right|top|bottom] [--center] [--mapping] [--no-guide]\n"
    "         [--slots I0,I1,...] [--distance D] [--fit|--no-fit]\n"
    "                                     draw the model as the 3D view would, framed to fit\n"
    "                                     the picture (--no-fit, --center or --distance: the\n"
    "                                     view's own camera)\n"
    "  render MODEL.md2 --out-pattern OUT%03d.png [--frames A-B] [--turntable N] [render's options]\n"
    "                                     one picture per frame A..B (numbered by frame), or N\n"
    "                                     pictures turning round the model (numbered from 0),\n"
    "                                     one camera framing every frame\n"
    "  bench MODEL.md2 [render's options] [--frames N] [--repeat K] [--threads N]\n"
    "                                     time N (100) quick renders of that view, K (1) times;\n"
    "                                     with K > 1 a last line gives the median rate;\n"
    "                                     drawn on N threads (default one per core)\n"
    "  mapping export MODEL.md2 OUT.vmp [--base DIR]\n"
    "                                     write the model's mapping file\n"
    "  mapping import MODEL.md2 IN.vmp OUT.md2 [--base DIR]\n"
    "                                     take the mapping from the file, save the model as OUT\n"
    "  layout MODEL.md2 OUT.png|OUT.bmp [--skin FILE] [--base DIR] [--zoom Z] [--frame N]\n"
    "         [--no-skin] [--stretch]\n"
    "                                     draw the skin and its mapping as the skin view does\n"
    "                                     in Mapping Mode, skin-sized times Z (1..12, default 1);\n"
    "                                     --no-skin draws the mapping over the background only,\n"
    "                                     --stretch colours each triangle by how it stretches the skin\n"
    "  do MODEL.md2 [--base DIR] [--skin FILE] [--out OUT.md2] [--skin-out FILE] STEP...\n"
    "                                     run menu commands on the model in order, each a menu\n"
    "                                     path (\"Selection/Select All\") followed by name=value\n"
    "                                     answers to its dialog, or set/select/paint; write the\n"
    "                                     model and the current skin when --out, --skin-out\n"
    "  do --list                          every step with its fields and their values\n"
    "  info, check, resave, convert, render and layout take several inputs, or with\n"
    "    --recursive folders (their files of the verb's kind, at any depth), writing\n"
    "    into --out-dir DIR under each input's name (render and layout: .png, or --format\n"
    "    bmp; convert: --format pcx|bmp|png; check: the repaired copies), -j N at once\n"
    "    (default: the processors), a line per input and a summary; exit 1 if any failed\n"
    "  --help                             this text\n"
    "  --version                          the program's version\n"
    "exit codes: 0 done; 1 the command failed (a file missing, unreadable, damaged\n"
    "  or not writable, not enough memory); 2 bad usage (unknown command or option,\n"
    "  missing argument, bad option value), with this text\n";
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
    out << "skintool " << kProgramVersion << '\n';
    return 0;
  }
  std::vector<std::string> rest(argv + 2, argv + argc);
  // A damaged file may ask for more memory than there is: that is a failed
  // command with a message, never an abort.
  try {
    if (IsBatchVerb(cmd)) return RunBatchable(cmd, rest, out, err);
    if (cmd == "demo") return CmdDemo(rest, out, err);
    if (cmd == "bench") return CmdBench(rest, out, err);
    if (cmd == "mapping") return CmdMapping(rest, out, err);
    if (cmd == "do") return CmdDo(rest, out, err);
  } catch (const std::bad_alloc&) {
    // Which of the files was too much is not known here: name them all.
    err << "skintool: not enough memory for " << cmd;
    for (const std::string& arg : rest) err << ' ' << arg;
    err << '\n';
    return 1;
  }
  err << "skintool: unknown command '" << cmd << "'\n" << kUsage;
  return 2;
}
