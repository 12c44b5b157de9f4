// `layout`: the skin with its mapping drawn over it, as the skin view shows
// it in Mapping Mode, at a whole-skin zoom, written as a picture.

#include <algorithm>
#include <cmath>
#include <ostream>

#include "cli/commands.h"
#include "cli/load_model.h"
#include "editor/skin_view.h"
#include "image/image_files.h"
#include "image/png_write.h"
#include "platform/files.h"
#include "platform/show_file_error.h"
#include "render/render_context.h"

namespace {

constexpr const char* kLayoutUsage =
    "usage: skintool layout MODEL.md2 OUT.png|OUT.bmp [--skin FILE] [--base DIR] [--zoom Z] [--frame N]\n"
    "         [--no-skin] [--stretch]\n";

// A picture no writer or memory should be asked for.
constexpr long long kMaxPicturePixels = 64LL << 20;

bool ParseZoom(const std::string& text, float& zoom) {
  const auto value = DecimalNumber(text, SkinView::kMinZoom, SkinView::kMaxZoom);
  if (value) zoom = static_cast<float>(*value);
  return value.has_value();
}

bool ParseFrame(const std::string& text, int& frame) {
  const auto value = WholeNumber(text, 0, 999999999);
  if (value) frame = *value;
  return value.has_value();
}

// The pane's rows, drawn bottom-up, into the picture top row first.
void CopyBand(const SkinView& view, int clientWidth, int top, Skin& picture) {
  const int rows = view.bufferHeight();
  const int stride = view.bufferWidth();
  const std::uint8_t* frame = view.frameBuffer().data();
  for (int y = 0; y < rows; ++y)
    std::copy_n(frame + static_cast<std::ptrdiff_t>(rows - 1 - y) * stride, clientWidth,
                picture.pixels.begin() + static_cast<std::ptrdiff_t>(top + y) * picture.width);
}

}  // namespace

int CmdLayout(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  CliArgs args = ParseCliArgs(argv, {"--skin", "--base", "--zoom", "--frame"}, {"--no-skin", "--stretch"});
  if (!args.error.empty() || args.positional.size() != 2) {
    err << kLayoutUsage;
    return 2;
  }
  const std::string output = args.positional[1];
  const std::string ext = PictureOutputExtension(output, kLayoutUsage, err);
  if (ext.empty()) return 2;
  float zoom = 1;
  if (auto z = args.Get("--zoom"); z && !ParseZoom(*z, zoom)) {
    err << "The zoom must be a number from 1 to 12: " << *z << '\n' << kLayoutUsage;
    return 2;
  }

  CliWorkspace ws(err);
  Model& model = ws.model;
  if (!LoadModelForCli(ws, args, err)) return 1;
  const std::string modelPath = AbsolutePath(args.positional[0]);
  if (auto f = args.Get("--frame")) {
    int frame = -1;
    if (!ParseFrame(*f, frame)) {
      err << "The frame must be a whole number: " << *f << '\n' << kLayoutUsage;
      return 2;
    }
    if (frame >= static_cast<int>(model.frames.size())) {
      err << "The model has no frame " << *f << ": " << modelPath << '\n';
      return 1;
    }
    model.currentFrameIndex = static_cast<std::int16_t>(frame);
  }
  if (auto s = args.Get("--skin")) {
    auto loaded = LoadSkinImage(AbsolutePath(*s));
    if (!loaded) {
      ShowContentError(ws.ui, loaded.error());
      err << "Cannot read the skin " << *s << '\n';
      if (loaded.error().cause != 0) err << LoadErrorText(*s, loaded.error().cause) << '\n';
      return 1;
    }
    std::unique_ptr<Skin> skin = std::move(*loaded);
    skin->flags |= SKIN_EXTERNAL;
    model.skins.push_back(std::move(skin));
    model.currentSkinIndex = static_cast<std::int16_t>(model.skins.size() - 1);
  }
  if (args.Has("--no-skin")) model.currentSkinIndex = -1;
  if (model.skinWidth <= 0 || model.skinHeight <= 0) {
    err << "The model names no skin size: " << modelPath << '\n';
    return 1;
  }

  const int width = static_cast<int>(model.skinWidth * zoom);
  const int height = static_cast<int>(model.skinHeight * zoom);
  if (width > 32767 || height > 32767 || static_cast<long long>(width) * height > kMaxPicturePixels) {
    err << "The picture would be too large: " << width << "x" << height << '\n' << output << '\n';
    return 1;
  }

  ws.editor.editMode = EditMode::Mapping;
  // The stretch colours as the skin view's toggle shows them, legend included.
  ws.editor.showStretch = args.Has("--stretch");
  Skin picture;
  picture.name = output;
  picture.width = static_cast<std::int16_t>(width);
  picture.height = static_cast<std::int16_t>(height);
  picture.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));

  // The rasterizer fills at most kRasterMaxRows rows at once: a taller
  // picture is drawn in bands, each a pane placed over its part of the skin.
  SkinView view(ws);
  for (int top = 0; top < height; top += kRasterMaxRows) {
    const int rows = std::min(kRasterMaxRows, height - top);
    view.Resize(width, rows);
    // Skin (0, top / zoom) at the band's top-left pixel.
    const float centreS = static_cast<float>((view.bufferWidth() / 2) / zoom);
    const float centreT = static_cast<float>((top + rows - rows / 2) / zoom);
    view.SetView(centreS, centreT, zoom);
    view.Redraw(REDRAW_FULL, 0);
    CopyBand(view, width, top, picture);
  }
  picture.palette = *view.Image().palette;
  ComputeRowOffsets(&picture);

  const std::string path = AbsolutePath(output);
  WriteResult written = ext == "png" ? WritePngPicture(picture, path) : WriteBmp(picture, path);
  if (!written) {
    ShowFileError(ws.ui, written.error());
    return 1;
  }
  out << "Drew the mapping " << width << "x" << height << " to " << output << '\n';
  return 0;
}
