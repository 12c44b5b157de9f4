// `render` and `bench`: the 3D view without a window. The model is loaded
// and drawn as the editor would show it at start-up, in the chosen mode.

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <ostream>
#include <tuple>
#include <vector>

#include "cli/commands.h"
#include "cli/load_model.h"
#include "cli/render_fit.h"
#include "cli/render_sequence.h"
#include "cli/render_setup.h"
#include "editor/view_fit.h"
#include "image/image_files.h"
#include "image/maps.h"
#include "image/png_write.h"
#include "platform/files.h"
#include "platform/show_file_error.h"
#include "render/camera.h"
#include "render/lighting.h"
#include "render/render_mode.h"

const std::set<std::string> kRenderValuedOptions = {"--mode", "--size",  "--frame", "--skin", "--colormap",
                                                    "--phong", "--env",  "--base",  "--view", "--slots", "--distance"};
const std::set<std::string> kRenderFlagOptions = {"--center", "--mapping", "--no-guide"};
const std::set<std::string> kRenderSequenceOptions = {"--frames", "--out-pattern", "--turntable"};

namespace {

constexpr const char* kRenderUsage =
    "usage: skintool render MODEL.md2 OUT.bmp|OUT.png [--mode N|NAME] [--size WxH] [--frame N]\n"
    "         [--skin FILE] [--colormap FILE] [--phong FILE] [--env FILE] [--base DIR]\n"
    "         [--view front|back|left|right|top|bottom] [--center] [--mapping] [--no-guide]\n"
    "         [--slots I0,I1,...] [--distance D] [--fit|--no-fit]\n"
    "       skintool render MODEL.md2 --out-pattern OUT%03d.png [--frames A-B] [--turntable N] [options]\n";
std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool ParseInt(const std::string& text, int& out) {
  const auto value = WholeNumber(text, 0, 999999999);
  if (value) out = *value;
  return value.has_value();
}

// A number 0..9 or a mode name, any case.
int ParseMode(const std::string& text) {
  int n = -1;
  if (ParseInt(text, n)) return n < kNumRenderModes ? n : -1;
  for (int i = 0; i < kNumRenderModes; ++i)
    if (Lower(RenderModeName(i)) == Lower(text)) return i;
  return -1;
}

// "0 \"Wireframe\", 1 ..., 9 \"Textured, P-Shade\"": what --mode takes.
std::string ModeList() {
  std::string list;
  for (int i = 0; i < kNumRenderModes; ++i)
    list += (i ? ", " : "") + std::to_string(i) + " \"" + RenderModeName(i) + "\"";
  return list;
}

// The file a mode was refused for: the model when it has no skin, the map
// file or folder that gave no map; empty for the colormap, whose message
// names it already.
std::string RefusedModeFile(const CliWorkspace& ws, const CliArgs& args, int mode) {
  const Model& model = ws.model;
  const bool textured = mode == MODE_TEXTURED || IsLitTexturedIndex(mode);
  if (textured && !model.CurrentSkin()) return AbsolutePath(args.positional.at(0));
  auto mapSource = [&](const char* option, const char* folder) {
    const auto file = args.Get(option);
    return file ? AbsolutePath(*file) : ws.baseFolder + folder;
  };
  if ((mode == MODE_PHONG || mode == MODE_TEXTURED_P) && !model.CurrentPhongMap())
    return mapSource("--phong", "/phongs");
  if (mode == MODE_ENVIRONMENT && !model.CurrentEnvMap()) return mapSource("--env", "/enviros");
  return {};
}

// 16..8192 each way: a high-density screen's view and more.
bool ParseSize(const std::string& text, int& w, int& h) {
  const auto size = WholeSize(text, 16, 8192);
  if (size) std::tie(w, h) = *size;
  return size.has_value();
}

// Up to eight comma-separated palette indices, from slot 0 on.
bool ParseSlots(const std::string& text, std::array<std::uint8_t, 8>& slots) {
  std::size_t start = 0;
  for (int i = 0; i < 8; ++i) {
    std::size_t comma = text.find(',', start);
    int v = -1;
    if (!ParseInt(text.substr(start, comma - start), v) || v > 255) return false;
    slots[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v);
    if (comma == std::string::npos) return true;
    start = comma + 1;
  }
  return false;
}

bool ParseView(const std::string& text, AlignKind& kind) {
  static const std::pair<const char*, AlignKind> kViews[] = {
      {"front", AlignKind::Front}, {"back", AlignKind::Back}, {"left", AlignKind::Left},
      {"right", AlignKind::Right}, {"top", AlignKind::Top},   {"bottom", AlignKind::Bottom}};
  for (const auto& [name, k] : kViews)
    if (Lower(text) == name) {
      kind = k;
      return true;
    }
  return false;
}

// A 256 x 256 map from `file`, or else the first usable one in `folder`.
std::unique_ptr<Skin> LoadMapFor(MapKind kind, const std::optional<std::string>& file, const std::string& folder,
                                 Ui& ui, std::ostream& err) {
  auto take = [&](const std::string& path) -> std::unique_ptr<Skin> {
    auto loaded = LoadSkinImage(path);
    if (!loaded) {
      ShowContentError(ui, loaded.error());
      return nullptr;
    }
    std::unique_ptr<Skin> image = std::move(*loaded);
    if (!IsMapSized(*image)) return nullptr;
    image->path = path;
    PrepareMap(*image, kind);
    return image;
  };
  if (file) {
    auto map = take(AbsolutePath(*file));
    if (!map) err << "Not a usable 256x256 map: " << *file << '\n';
    return map;
  }
  if (!FolderExists(folder)) return nullptr;
  for (const char* pattern : {"*.pcx", "*.bmp"})
    for (const std::string& path : FindFiles(folder, pattern))
      if (auto map = take(path)) return map;
  return nullptr;
}

}  // namespace

int SetUpHeadlessView(HeadlessView& view, const CliArgs& args, std::ostream& err) {
  CliWorkspace& ws = view.ws;
  Model& model = ws.model;

  int mode = kTexturedModeIndex;
  if (auto m = args.Get("--mode")) {
    mode = ParseMode(*m);
    if (mode < 0) {
      err << "Unknown render mode: " << *m << '\n' << "The modes, by number or name: " << ModeList() << '\n';
      err << kRenderUsage;
      return 2;  // a bad option value is a usage error
    }
  }
  int width = 640, height = 480;
  if (auto s = args.Get("--size"); s && !ParseSize(*s, width, height)) {
    err << "The size must be WxH with both from 16 to 8192: " << *s << '\n';
    err << kRenderUsage;
    return 2;  // a bad option value is a usage error
  }
  AlignKind align = AlignKind::Front;
  if (auto v = args.Get("--view"); v && !ParseView(*v, align)) {
    err << "Unknown view: " << *v << '\n';
    err << kRenderUsage;
    return 2;  // a bad option value is a usage error
  }

  if (auto s = args.Get("--slots"); s && !ParseSlots(*s, ws.editor.colourSlots)) {
    err << "The colour slots must be up to eight palette indices 0..255, comma-separated: " << *s << '\n';
    err << kRenderUsage;
    return 2;  // a bad option value is a usage error
  }

  if (!LoadModelForCli(ws, args, err)) return 1;

  if (auto f = args.Get("--frame")) {
    int frame = -1;
    if (!ParseInt(*f, frame)) {
      err << "The frame must be a whole number: " << *f << '\n';
      err << kRenderUsage;
      return 2;  // a bad option value is a usage error
    }
    if (frame >= static_cast<int>(model.frames.size())) {
      err << "The model has no frame " << *f << ": " << AbsolutePath(args.positional.at(0)) << '\n';
      return 1;
    }
    model.currentFrameIndex = static_cast<std::int16_t>(frame);
    model.ComputeFaceNormals();
  }
  if (auto s = args.Get("--skin")) {
    auto loaded = LoadSkinImage(AbsolutePath(*s));
    if (!loaded) {
      ShowContentError(view.ui, loaded.error());
      err << "Cannot read the skin " << *s << '\n';
      if (loaded.error().cause != 0) err << LoadErrorText(*s, loaded.error().cause) << '\n';
      return 1;
    }
    std::unique_ptr<Skin> skin = std::move(*loaded);
    skin->flags |= SKIN_EXTERNAL;
    model.skins.push_back(std::move(skin));
    model.currentSkinIndex = static_cast<std::int16_t>(model.skins.size() - 1);
  }

  if (mode == MODE_PHONG || mode == MODE_TEXTURED_P) {
    if (auto map = LoadMapFor(MapKind::Phong, args.Get("--phong"), ws.baseFolder + "/phongs", view.ui, err)) {
      model.phongMaps.push_back(std::move(map));
      model.currentPhongMapIndex = 0;
    }
  }
  if (mode == MODE_ENVIRONMENT) {
    if (auto map = LoadMapFor(MapKind::Environment, args.Get("--env"), ws.baseFolder + "/enviros", view.ui, err)) {
      model.envMaps.push_back(std::move(map));
      model.currentEnvMapIndex = 0;
    }
  }
  // No --colormap: the lit modes take the base folder's, as the editor does
  // when no palette is chosen.
  const std::string colormap = args.Get("--colormap") ? AbsolutePath(*args.Get("--colormap")) : "";

  ResizeViewport(ws.viewport, width, height, false);
  view.requestedWidth = width;
  // The same gate as the Modes bar, with its messages.
  if (CheckRenderMode(ws.renderModes, model, ws.viewport, view.ui, colormap, ws.baseFolder, kTexturedModeIndex,
                      mode) != 1) {
    // The Modes bar's message about a missing skin or map names no file.
    if (const std::string file = RefusedModeFile(ws, args, mode); !file.empty()) err << file << '\n';
    return 1;
  }
  ws.renderModes.renderModeIndex = mode;

  BuildLightCurve(ws.lighting);
  if (model.CurrentPhongMap()) BuildPhongLightRows(ws.lighting, *model.CurrentPhongMap());
  const std::uint8_t slots[3] = {ws.editor.colourSlots[1], ws.editor.colourSlots[2], ws.editor.colourSlots[3]};
  BuildShadeRamps(ws.lighting, model.CurrentSkin() ? &model.CurrentSkin()->palette : nullptr, slots);

  Align(ws.viewport, align);
  if (args.Has("--center")) CenterOnScene(ws.viewport, model);
  if (auto d = args.Get("--distance")) {
    int distance = 0;
    if (!ParseInt(*d, distance) || distance < 1 || distance > 100000) {
      err << "The distance must be a whole number from 1 to 100000: " << *d << '\n';
      err << kRenderUsage;
      return 2;  // a bad option value is a usage error
    }
    ws.viewport.distance = static_cast<float>(distance);
  }

  ws.editor.editMode = args.Has("--mapping") ? EditMode::Mapping : EditMode::Paint;
  ws.editor.cameraToggle = !args.Has("--no-guide");
  view.context = ws.MakeRenderContext();
  return 0;
}

int CmdRender(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  std::set<std::string> flags = kRenderFlagOptions;
  flags.insert({"--fit", "--no-fit"});
  std::set<std::string> valued = kRenderValuedOptions;
  valued.insert(kRenderSequenceOptions.begin(), kRenderSequenceOptions.end());
  CliArgs args = ParseCliArgs(argv, valued, flags);
  // A sequence names its pictures from the pattern instead of one OUT.
  const std::optional<std::string> pattern = args.Get("--out-pattern");
  if (!args.error.empty() || args.positional.size() != (pattern ? 1u : 2u)) {
    err << kRenderUsage;
    return 2;
  }
  const std::string output = pattern ? *pattern : args.positional[1];
  const std::string ext = PictureOutputExtension(output, kRenderUsage, err);
  if (ext.empty()) return 2;
  const bool png = ext == "png";

  std::optional<FrameRange> range;
  int turntable = 0;
  if (!pattern && (args.Has("--frames") || args.Has("--turntable"))) {
    err << "--frames and --turntable write several pictures: name them with --out-pattern\n" << kRenderUsage;
    return 2;
  }
  if (pattern && !PatternName(*pattern, 0)) {
    err << "The output pattern must hold one number field such as %03d: " << *pattern << '\n' << kRenderUsage;
    return 2;
  }
  if (auto f = args.Get("--frames")) {
    range = ParseFrameRange(*f);
    if (!range || args.Has("--frame")) {
      err << (range ? "--frame and --frames cannot be given together" : "The frames must be A-B, from A to B: " + *f)
          << '\n'
          << kRenderUsage;
      return 2;
    }
  }
  if (auto t = args.Get("--turntable")) {
    const auto steps = WholeNumber(*t, 1, 3600);
    if (!steps) {
      err << "The turntable must be a number of pictures from 1 to 3600: " << *t << '\n' << kRenderUsage;
      return 2;
    }
    turntable = *steps;
  }

  HeadlessView view(err);
  if (const int failed = SetUpHeadlessView(view, args, err)) return failed;
  CliWorkspace& ws = view.ws;
  Model& model = ws.model;
  if (range && range->last >= static_cast<int>(model.frames.size())) {
    err << "The model has no frame " << range->last << ": " << AbsolutePath(args.positional.at(0)) << '\n';
    return 1;
  }
  // The picture shows the whole model unless the camera was asked for; a
  // sequence keeps one camera that holds every frame from every side.
  if (!args.Has("--no-fit") && !args.Has("--center") && !args.Has("--distance")) {
    if (pattern)
      FitViewToAllFrames(ws.viewport, model);
    else
      FitViewToModel(ws.viewport, model, view.requestedWidth,
                     std::max(2, std::min<int>(view.requestedWidth, ws.viewport.height) / 20));
  }

  // One picture per frame of the range (numbered by frame), or per step of
  // the turntable (numbered from 0, the frames of the range played along).
  struct Shot {
    int frame;
    int number;
    Mat3 rotation;
  };
  std::vector<Shot> shots;
  const Mat3 start = ws.viewport.rotation;
  const int shown = model.currentFrameIndex;
  if (turntable > 0) {
    for (int i = 0; i < turntable; ++i)
      shots.push_back({range ? range->first + i % (range->last - range->first + 1) : shown, i,
                       TurntableRotation(start, i, turntable)});
  } else if (range) {
    for (int f = range->first; f <= range->last; ++f) shots.push_back({f, f, start});
  } else {
    shots.push_back({shown, 0, start});
  }

  for (const Shot& shot : shots) {
    if (shot.frame != model.currentFrameIndex) {
      model.currentFrameIndex = static_cast<std::int16_t>(shot.frame);
      model.ComputeFaceNormals();
    }
    ws.viewport.rotation = shot.rotation;
    ws.renderModes.Render(view.context, REDRAW_FULL, 32);

    // The buffer is stored bottom-up with its width rounded up to 4; the
    // picture is the requested width, top row first.
    const Viewport& vp = ws.viewport;
    const std::string name = pattern ? *PatternName(*pattern, shot.number) : output;
    Skin picture;
    picture.name = name;
    picture.width = static_cast<std::int16_t>(view.requestedWidth);
    picture.height = vp.height;
    picture.palette = ws.renderModes.Current().palette;
    picture.pixels.resize(static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height));
    for (int y = 0; y < vp.height; ++y)
      std::copy_n(vp.frameBuffer.begin() + static_cast<std::ptrdiff_t>(vp.height - 1 - y) * vp.width,
                  picture.width, picture.pixels.begin() + static_cast<std::ptrdiff_t>(y) * picture.width);
    ComputeRowOffsets(&picture);
    const std::string path = AbsolutePath(name);
    WriteResult written = png ? WritePngPicture(picture, path) : WriteBmp(picture, path);
    if (!written) {
      ShowFileError(view.ui, written.error());
      return 1;
    }
    out << "Rendered \"" << ws.renderModes.Current().GetName() << "\" " << picture.width << "x" << picture.height
        << " to " << name << '\n';
  }
  return 0;
}
