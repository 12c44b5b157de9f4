#include <cstdio>
#include <ostream>
#include <tuple>

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "image/image_files.h"
#include "image/png_write.h"
#include "image/skin_resize.h"
#include "image/true_colour.h"
#include "platform/files.h"
#include "platform/headless_ui.h"
#include "platform/show_file_error.h"

namespace {

constexpr char kConvertUsage[] =
    "usage: skintool convert IN OUT [--resize WxH [--no-limits]] [--palette FILE] [--dither]\n";
constexpr char kNeedsPaletteText[] =
    "This picture is true colour: give the palette to map it into with --palette FILE";

}  // namespace

int CmdConvert(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
  CliArgs a = ParseCliArgs(args, {"--resize", "--palette"}, {"--no-limits", "--dither"});
  int newWidth = 0, newHeight = 0;
  if (auto size = a.Get("--resize")) {
    // Sizes a skin record could never hold are a usage error, not a wrap.
    if (auto wh = WholeSize(*size, 0, 32767))
      std::tie(newWidth, newHeight) = *wh;
    else
      a.error = "--resize takes WIDTHxHEIGHT";
  }
  if (!a.error.empty() || a.positional.size() != 2) {
    if (!a.error.empty()) err << "skintool: " << a.error << '\n';
    err << kConvertUsage;
    return 2;
  }
  const std::string& in = a.positional[0];
  const std::string& out = a.positional[1];
  std::string ext = ExtensionOf(out);
  if (ext != "pcx" && ext != "bmp" && ext != "png") {
    err << "skintool: the output must end in .pcx, .bmp or .png: " << out << '\n' << kConvertUsage;
    return 2;
  }
  Palette palette{};
  const auto paletteFile = a.Get("--palette");
  int cause = 0;
  if (paletteFile && !LoadPaletteFile(*paletteFile, palette, &cause)) {
    err << "No palette could be read from " << *paletteFile << '\n';
    if (cause != 0) err << LoadErrorText(*paletteFile, cause) << '\n';
    return 1;
  }
  HeadlessUi ui(err);
  auto picture = LoadPicture(in);
  if (!picture) {
    if (picture.error().cause == 0)
      ShowFileError(ui, picture.error());
    else
      err << "There was an error loading the specified file!\n" << ShownText(picture.error()) << '\n';
    return 1;
  }
  std::unique_ptr<Skin> skin;
  if (paletteFile) {
    // An 8-bit picture goes into the new palette through the colour each of
    // its indices shows.
    if (picture->indexed) picture->trueColour = ExpandToTrueColour(*picture->indexed);
    picture->indexed.reset();
    skin = SkinFromPicture(std::move(*picture), palette, a.Has("--dither"));
  } else if (picture->indexed) {
    skin = std::move(picture->indexed);
  } else {
    err << kNeedsPaletteText << '\n' << in << '\n';
    return 1;
  }
  if (!skin) {
    err << "There was an error loading the specified file!\n" << in << '\n';
    return 1;
  }
  if (a.Has("--resize")) {
    std::string error;
    if (!ResizeSkinImage(*skin, newWidth, newHeight, !a.Has("--no-limits"), &error)) {
      err << error << '\n' << in << '\n';
      return 1;
    }
  }
  WriteResult written = ext == "pcx"   ? WritePcx(*skin, out)
                        : ext == "bmp" ? WriteBmp(*skin, out)
                                       : WritePng(*skin, out);
  if (!written) {
    ShowFileError(ui, written.error());
    return 1;
  }
  return 0;
}
