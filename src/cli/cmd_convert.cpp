#include <cstdio>
#include <ostream>

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "image/image_files.h"
#include "image/skin_resize.h"
#include "platform/files.h"
#include "platform/headless_ui.h"

int CmdConvert(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
  CliArgs a = ParseCliArgs(args, {"--resize"}, {"--no-limits"});
  int newWidth = 0, newHeight = 0;
  if (auto size = a.Get("--resize")) {
    char x = 0, extra = 0;
    if (std::sscanf(size->c_str(), "%d%c%d%c", &newWidth, &x, &newHeight, &extra) != 3 || (x != 'x' && x != 'X'))
      a.error = "--resize takes WIDTHxHEIGHT";
  }
  if (!a.error.empty() || a.positional.size() != 2) {
    if (!a.error.empty()) err << "skintool: " << a.error << '\n';
    err << "usage: skintool convert IN OUT [--resize WxH [--no-limits]]\n";
    return 2;
  }
  const std::string& in = a.positional[0];
  const std::string& out = a.positional[1];
  std::string ext = ExtensionOf(out);
  if (ext != "pcx" && ext != "bmp") {
    err << "skintool: the output must end in .pcx or .bmp: " << out << '\n';
    return 2;
  }
  HeadlessUi ui(err);
  auto skin = LoadSkinImage(in, ui);
  if (!skin) {
    if (ui.messagesShown() == 0) err << "There was an error loading the specified file!\n";
    return 1;
  }
  if (a.Has("--resize")) {
    std::string error;
    if (!ResizeSkinImage(*skin, newWidth, newHeight, !a.Has("--no-limits"), &error)) {
      err << error << '\n';
      return 1;
    }
  }
  bool ok = ext == "pcx" ? WritePcx(*skin, out, ui) : WriteBmp(*skin, out, ui);
  return ok ? 0 : 1;
}
