// `do`: a model loaded as the editor loads it, the menu commands run on it
// in order with their dialogs answered from the arguments, and the model
// or the current skin written when they are done.

#include <algorithm>
#include <ostream>
#include <sstream>

#include "cli/cli_args.h"
#include "cli/commands.h"
#include "cli/load_model.h"
#include "editor/menu_ops.h"
#include "editor/paint_ops.h"
#include "editor/settle_skins.h"
#include "editor/skin_view.h"
#include "image/image_files.h"
#include "image/png_write.h"
#include "image/skin_set.h"
#include "platform/files.h"
#include "platform/show_file_error.h"
#include "render/camera.h"
#include "render/viewport.h"

namespace {

constexpr char kUsage[] =
    "usage: skintool do MODEL.md2 [--base DIR] [--skin FILE] [--out OUT.md2] [--skin-out FILE] STEP...\n"
    "       skintool do --list\n";

// The steps besides the menu commands, with what they take.
constexpr const char* kOwnSteps[] = {
    "set slot0..slot7=INDEX | active-slot=N | mode=paint|mapping | frame=N |"
    " view=front|back|left|right|top|bottom | view-size=WxH | brush=point|pencil|line | brush-size=1..32 |"
    " brush-shape=round|square | ink=colour|tint|ramp-up|ramp-down |"
    " symmetry=none|skin-x|skin-y|model-x|model-y|model-z | mask=on|off | tiled=on|off",
    "select all|none|T1,T2,...",
    "paint X,Y X,Y ...",
    "fill X,Y [tolerance=N] [contiguous=on|off]",
    "line X,Y X,Y",
    "rect X,Y X,Y [filled=on|off]",
    "ellipse X,Y X,Y [filled=on|off]",
    "pixels X,Y X,Y | none   (the pixel selection, a rectangle of texels)",
};

constexpr const char* kOwnStepNames[] = {"set", "select", "paint", "fill", "line", "rect", "ellipse", "pixels"};

struct Step {
  std::string name;               // a menu path, "set", "select" or "paint"
  std::vector<std::string> args;  // what follows it
};

bool IsOwnStep(const std::string& word) {
  return std::find(std::begin(kOwnStepNames), std::end(kOwnStepNames), word) != std::end(kOwnStepNames);
}

// The index of `value` among `names`, or -1.
int IndexOf(const std::vector<std::string>& names, const std::string& value) {
  auto at = std::find(names.begin(), names.end(), value);
  return at == names.end() ? -1 : static_cast<int>(at - names.begin());
}

// "name=value" with a field name of lower-case letters, digits and '-'.
bool IsFieldArgument(const std::string& token) {
  const std::size_t eq = token.find('=');
  if (eq == std::string::npos || eq == 0) return false;
  return std::all_of(token.begin(), token.begin() + static_cast<std::ptrdiff_t>(eq), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
  });
}

bool IsPlainArgument(const std::string& token) {
  return token == "all" || token == "none" ||
         (!token.empty() && std::all_of(token.begin(), token.end(), [](char c) {
           return (c >= '0' && c <= '9') || c == ',';
         }));
}

// Each step starts a new group; "set slot0=5" may also come as one argument.
std::vector<Step> GroupSteps(const std::vector<std::string>& tokens) {
  std::vector<Step> steps;
  for (const std::string& token : tokens) {
    const std::size_t space = token.find(' ');
    if (space != std::string::npos && IsOwnStep(token.substr(0, space))) {
      steps.push_back({token.substr(0, space), {}});
      std::size_t at = space + 1;
      while (at <= token.size()) {
        const std::size_t next = std::min(token.find(' ', at), token.size());
        if (next > at) steps.back().args.push_back(token.substr(at, next - at));
        at = next + 1;
      }
      continue;
    }
    const bool own = !steps.empty() && IsOwnStep(steps.back().name);
    if (!steps.empty() && (IsFieldArgument(token) || (own && IsPlainArgument(token))))
      steps.back().args.push_back(token);
    else
      steps.push_back({token, {}});
  }
  return steps;
}

std::size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      const bool same = std::tolower(static_cast<unsigned char>(a[i - 1])) ==
                        std::tolower(static_cast<unsigned char>(b[j - 1]));
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// The three names nearest to `wrong`.
void ListNearest(const std::string& wrong, std::vector<std::string> names, std::ostream& err) {
  std::stable_sort(names.begin(), names.end(), [&wrong](const std::string& x, const std::string& y) {
    return EditDistance(wrong, x) < EditDistance(wrong, y);
  });
  if (names.size() > 3) names.resize(3);
  err << "Did you mean:\n";
  for (const std::string& name : names) err << "  " << name << '\n';
}

void PrintList(std::ostream& out) {
  for (const MenuOp& op : MenuOps()) {
    out << op.path;
    for (const MenuOpField& field : op.fields) {
      out << "  " << field.name << '=';
      for (std::size_t i = 0; i < field.choices.size(); ++i) out << (i ? "|" : "") << field.choices[i];
    }
    for (int i = 0; i < op.files; ++i) out << "  file=PATH";
    if (!op.questions.empty()) {
      out << "  answers=";
      for (std::size_t i = 0; i < op.questions.size(); ++i) out << (i ? "," : "") << "yes|no";
    }
    out << '\n';
  }
  for (const char* own : kOwnSteps) out << own << '\n';
}

// A usage problem of one step: 2 after the message.
int Unknown(std::ostream& err, const std::string& what) {
  err << what << '\n';
  return 2;
}

// The answers to a menu command's dialogs, or 2 after naming the field that
// does not belong.
int ParseAnswers(const MenuOp& op, const Step& step, MenuOpAnswers& answers, std::ostream& err) {
  for (const std::string& arg : step.args) {
    const std::size_t eq = arg.find('=');
    const std::string name = arg.substr(0, eq);
    const std::string value = eq == std::string::npos ? "" : arg.substr(eq + 1);
    if (name == "file" && op.files > 0) {
      answers.files.push_back(value);
      continue;
    }
    if (name == "answers" && !op.questions.empty()) {
      std::stringstream words(value);
      for (std::string word; std::getline(words, word, ',');) {
        if (word != "yes" && word != "no") {
          err << "The answers of \"" << op.path << "\" are yes or no, not " << word << '\n';
          return 2;
        }
        answers.yes.push_back(word == "yes");
      }
      if (answers.yes.size() > op.questions.size())
        return Unknown(err, "\"" + op.path + "\" asks " + std::to_string(op.questions.size()) + " question(s)");
      continue;
    }
    auto field = std::find_if(op.fields.begin(), op.fields.end(), [&name](const MenuOpField& f) {
      return f.name == name;
    });
    if (field == op.fields.end()) {
      std::vector<std::string> names;
      for (const MenuOpField& f : op.fields) names.push_back(f.name);
      if (op.files > 0) names.push_back("file");
      if (!op.questions.empty()) names.push_back("answers");
      err << "\"" << op.path << "\" has no field " << name << '\n';
      if (!names.empty()) ListNearest(name, names, err);
      return 2;
    }
    if (!field->choices.empty() &&
        std::find(field->choices.begin(), field->choices.end(), value) == field->choices.end()) {
      err << "The field " << name << " of \"" << op.path << "\" takes no value " << value << '\n';
      ListNearest(value, field->choices, err);
      return 2;
    }
    answers.fields[name] = value;
  }
  if (static_cast<int>(answers.files.size()) != op.files)
    return Unknown(err, "\"" + op.path + "\" asks for " + std::to_string(op.files) + " file(s): file=PATH");
  return 0;
}

// The painting settings that take one of a few words.
struct Choice {
  bool known = false;
  int index = -1;
  std::vector<std::string> names;
};

Choice SetChoice(const std::string& name, const std::string& value) {
  static const std::vector<std::pair<std::string, std::vector<std::string>>> kChoices = {
      {"brush", {"point", "pencil", "line"}},
      {"brush-shape", {"round", "square"}},
      {"ink", {"colour", "tint", "ramp-up", "ramp-down"}},
      {"symmetry", {"none", "skin-x", "skin-y", "model-x", "model-y", "model-z"}},
      {"mask", {"off", "on"}},
      {"tiled", {"off", "on"}},
  };
  for (const auto& [setting, names] : kChoices)
    if (setting == name) return {true, IndexOf(names, value), names};
  return {};
}

void ApplyChoice(EditorState& editor, const std::string& name, int index) {
  if (name == "brush") {
    editor.brushKind = static_cast<BrushKind>(index);
  } else if (name == "brush-shape") {
    editor.brushShape = static_cast<BrushShape>(index);
  } else if (name == "ink") {
    // Colour and tint are the paint ink with its blend rule.
    editor.ink = index < 2 ? PaintInk::Paint : static_cast<PaintInk>(index - 1);
    if (index < 2) editor.blendMode = static_cast<PaintBlendMode>(index);
  } else if (name == "symmetry") {
    editor.symmetry = static_cast<Symmetry>(index);
  } else if (name == "mask") {
    editor.maskToSelection = index == 1;
  } else if (name == "tiled") {
    editor.tiledSkin = index == 1;
  }
}

int RunSet(CliWorkspace& ws, const Step& step, std::ostream& err) {
  for (const std::string& arg : step.args) {
    const std::size_t eq = arg.find('=');
    const std::string name = arg.substr(0, eq);
    const std::string value = eq == std::string::npos ? "" : arg.substr(eq + 1);
    EditorState& editor = ws.editor;
    Model& model = ws.model;
    if (name.size() == 5 && name.starts_with("slot") && name[4] >= '0' && name[4] <= '7') {
      auto index = WholeNumber(value, 0, 255);
      if (!index) return Unknown(err, "A colour slot takes a palette index 0..255: " + arg);
      editor.colourSlots[static_cast<std::size_t>(name[4] - '0')] = static_cast<std::uint8_t>(*index);
    } else if (name == "active-slot") {
      auto slot = WholeNumber(value, 0, 7);
      if (!slot) return Unknown(err, "The active slot is 0..7: " + arg);
      editor.activeSlot = *slot;
    } else if (name == "mode" && (value == "paint" || value == "mapping")) {
      editor.editMode = value == "paint" ? EditMode::Paint : EditMode::Mapping;
    } else if (name == "frame") {
      auto frame = WholeNumber(value, 0, 999999999);
      if (!frame || *frame >= static_cast<int>(model.frames.size()))
        return Unknown(err, "The model has no frame " + value);
      model.currentFrameIndex = static_cast<std::int16_t>(*frame);
    } else if (name == "view") {
      const std::vector<std::string> names = {"front", "back", "left", "right", "top", "bottom"};
      auto at = std::find(names.begin(), names.end(), value);
      if (at == names.end()) {
        err << "No view " << value << '\n';
        ListNearest(value, names, err);
        return 2;
      }
      Align(ws.viewport, static_cast<AlignKind>(at - names.begin()));
    } else if (name == "view-size") {
      auto size = WholeSize(value, 1, 4096);
      if (!size) return Unknown(err, "The view size is WxH, each 1..4096: " + arg);
      ResizeViewport(ws.viewport, size->first, size->second, false);
    } else if (name == "brush-size") {
      auto size = WholeNumber(value, 1, kMaxBrushSize);
      if (!size) return Unknown(err, "The brush size is 1.." + std::to_string(kMaxBrushSize) + ": " + arg);
      editor.brushSize = *size;
    } else if (const auto choice = SetChoice(name, value); choice.known) {
      if (choice.index < 0) {
        err << "The setting " << name << " takes no value " << value << '\n';
        ListNearest(value, choice.names, err);
        return 2;
      }
      ApplyChoice(editor, name, choice.index);
    } else {
      err << "Nothing to set called " << name << '\n';
      ListNearest(name, {"slot0", "slot1", "slot2", "slot3", "slot4", "slot5", "slot6", "slot7", "active-slot", "mode",
                         "frame", "view", "view-size", "brush", "brush-size", "brush-shape", "ink", "symmetry", "mask",
                         "tiled"},
                  err);
      return 2;
    }
  }
  ws.RebuildPaintTable();
  return 0;
}

std::vector<int> NumberList(const std::string& text) {
  std::vector<int> numbers;
  std::size_t at = 0;
  while (at <= text.size()) {
    const std::size_t comma = std::min(text.find(',', at), text.size());
    auto n = WholeNumber(text.substr(at, comma - at), 0, 999999);
    if (!n) return {};
    numbers.push_back(*n);
    at = comma + 1;
  }
  return numbers;
}

int RunSelect(CliWorkspace& ws, const Step& step, std::ostream& err) {
  if (step.args.size() != 1) return Unknown(err, "select takes all, none or T1,T2,...");
  Model& model = ws.model;
  const std::string& what = step.args[0];
  std::vector<int> chosen;
  if (what != "all" && what != "none") {
    chosen = NumberList(what);
    if (chosen.empty()) return Unknown(err, "select takes all, none or T1,T2,...: " + what);
    for (int t : chosen)
      if (t >= model.TriangleCount()) return Unknown(err, "The model has no triangle " + std::to_string(t));
  }
  DocumentStep open(ws.document, what == "none" ? "Select None" : "Select All", STEP_MESH);
  for (int t = 0; t < model.TriangleCount(); ++t) {
    const bool on = what == "all" || std::find(chosen.begin(), chosen.end(), t) != chosen.end();
    std::uint32_t& flags = model.triangles[static_cast<std::size_t>(t)].flags;
    flags = on ? (flags | TRI_SELECTED) : (flags & ~static_cast<std::uint32_t>(TRI_SELECTED));
  }
  return 0;
}

// One stroke through the skin view as the mouse makes it. The pane shows the
// whole skin at a zoom of 4 where the rasterizer's rows allow (else less), and
// the mouse goes to the middle of each texel's square, well clear of its
// edges, so the rounding of the pane's rows cannot move it to a neighbour.
int RunPaint(CliWorkspace& ws, const Step& step, std::ostream& err) {
  Model& model = ws.model;
  if (!SkinAt(model.skins, model.currentSkinIndex)) return Unknown(err, "There is no skin to paint on");
  std::vector<std::pair<int, int>> points;
  for (const std::string& arg : step.args) {
    const std::vector<int> xy = NumberList(arg);
    if (xy.size() != 2 || xy[0] >= model.skinWidth || xy[1] >= model.skinHeight)
      return Unknown(err, "paint takes texels X,Y inside the skin: " + arg);
    points.emplace_back(xy[0], xy[1]);
  }
  if (points.empty()) return Unknown(err, "paint takes texels X,Y inside the skin");
  const EditMode mode = ws.editor.editMode;
  const bool camera = ws.editor.cameraToggle;
  ws.editor.editMode = EditMode::Paint;
  ws.editor.cameraToggle = false;
  ws.RebuildPaintTable();
  {
    int zoom = 4;
    while (zoom > 1 && model.skinHeight * zoom > kRasterMaxRows) zoom /= 2;
    SkinView view(ws);
    view.Resize(model.skinWidth * zoom, model.skinHeight * zoom);
    view.SetView(model.skinWidth / 2.0f, model.skinHeight / 2.0f, static_cast<float>(zoom));
    view.Redraw(0, 0);
    MouseEvent e;
    e.button = MouseButton::Left;
    e.leftDown = true;
    for (std::size_t i = 0; i < points.size(); ++i) {
      e.x = zoom * points[i].first + zoom / 2;
      e.y = zoom * points[i].second + zoom / 2;
      if (i == 0)
        view.MouseDown(e);
      else
        view.MouseMove(e);
    }
    e.leftDown = false;
    view.MouseUp(e);
  }
  ws.editor.editMode = mode;
  ws.editor.cameraToggle = camera;
  return 0;
}

// "fill X,Y ..." and "line|rect|ellipse X,Y X,Y ...": the painting tools'
// actions on texels of the current skin, each one step.
int RunPaintAction(CliWorkspace& ws, const Step& step, std::ostream& err) {
  Model& model = ws.model;
  if (!SkinAt(model.skins, model.currentSkinIndex)) return Unknown(err, "There is no skin to paint on");
  EditorState editor = ws.editor;
  std::vector<std::pair<int, int>> points;
  for (const std::string& arg : step.args) {
    const std::size_t eq = arg.find('=');
    if (eq != std::string::npos) {
      const std::string name = arg.substr(0, eq), value = arg.substr(eq + 1);
      if (name == "tolerance" && step.name == "fill") {
        auto n = WholeNumber(value, 0, 442);
        if (!n) return Unknown(err, "The fill's tolerance is an RGB distance 0..442: " + arg);
        editor.fillTolerance = *n;
      } else if ((name == "contiguous" && step.name == "fill") ||
                 (name == "filled" && (step.name == "rect" || step.name == "ellipse"))) {
        if (value != "on" && value != "off") return Unknown(err, name + " is on or off: " + arg);
        (name == "filled" ? editor.shapeFilled : editor.fillContiguous) = value == "on";
      } else {
        return Unknown(err, step.name + " takes no " + name);
      }
      continue;
    }
    const std::vector<int> xy = NumberList(arg);
    if (xy.size() != 2 || xy[0] >= model.skinWidth || xy[1] >= model.skinHeight)
      return Unknown(err, step.name + " takes texels X,Y inside the skin: " + arg);
    points.emplace_back(xy[0], xy[1]);
  }
  const std::size_t wanted = step.name == "fill" ? 1 : 2;
  if (points.size() != wanted)
    return Unknown(err, step.name + (wanted == 1 ? " takes one texel X,Y" : " takes two texels X,Y X,Y"));
  ws.RebuildPaintTable();
  editor.paintTable = ws.editor.paintTable;
  OpResult result;
  if (step.name == "fill") {
    result = FillAtTexel(ws.document, editor, ws.rasterizer, points[0].first, points[0].second);
  } else {
    const SkinTool tool = step.name == "rect"      ? SkinTool::Rectangle
                          : step.name == "ellipse" ? SkinTool::Ellipse
                                                   : SkinTool::Line;
    result = DrawShapeAt(ws.document, editor, ws.rasterizer, tool, points[0].first, points[0].second,
                         points[1].first, points[1].second);
  }
  if (!result.message.empty()) return Unknown(err, result.message);
  return 0;
}

int RunPixels(CliWorkspace& ws, const Step& step, std::ostream& err) {
  const Model& model = ws.model;
  if (step.args.size() == 1 && step.args[0] == "none") {
    ws.pixels.selection = {};
    return 0;
  }
  std::vector<std::vector<int>> corners;
  for (const std::string& arg : step.args) corners.push_back(NumberList(arg));
  if (corners.size() != 2 || corners[0].size() != 2 || corners[1].size() != 2)
    return Unknown(err, "pixels takes two texels X,Y X,Y, or none");
  ws.pixels.selection = PixelSelection::Rectangle(corners[0][0], corners[0][1], corners[1][0], corners[1][1],
                                                  model.skinWidth, model.skinHeight);
  if (ws.pixels.selection.empty()) return Unknown(err, "The pixels lie outside the skin");
  return 0;
}

bool WriteSkin(CliWorkspace& ws, const std::string& path) {
  Skin* skin = SkinAt(ws.model.skins, ws.model.currentSkinIndex);
  if (!skin) {
    ws.ui.Message("There is no skin to write: " + path);
    return false;
  }
  const std::string ext = ExtensionOf(path);
  WriteResult written = ext == "bmp"   ? WriteBmp(*skin, path)
                        : ext == "png" ? WritePng(*skin, path)
                                       : WritePcx(*skin, path);
  if (!written) ShowFileError(ws.ui, written.error());
  return static_cast<bool>(written);
}

}  // namespace

int CmdDo(const std::vector<std::string>& argv, std::ostream& out, std::ostream& err) {
  if (argv.size() == 1 && argv[0] == "--list") {
    PrintList(out);
    return 0;
  }
  CliArgs args = ParseCliArgs(argv, {"--base", "--skin", "--out", "--skin-out"});
  if (!args.error.empty() || args.positional.empty()) {
    err << kUsage;
    return 2;
  }
  const std::vector<Step> steps =
      GroupSteps(std::vector<std::string>(args.positional.begin() + 1, args.positional.end()));

  // Every step is checked before the model is read, so a misspelt one costs
  // nothing and changes nothing.
  std::vector<std::string> paths;
  for (const MenuOp& op : MenuOps()) paths.push_back(op.path);
  std::vector<MenuOpAnswers> answers(steps.size());
  for (std::size_t i = 0; i < steps.size(); ++i) {
    if (IsOwnStep(steps[i].name)) continue;
    const MenuOp* op = FindMenuOp(steps[i].name);
    if (!op) {
      err << "No command \"" << steps[i].name << "\"\n";
      std::vector<std::string> names = paths;
      names.insert(names.end(), std::begin(kOwnStepNames), std::end(kOwnStepNames));
      ListNearest(steps[i].name, names, err);
      return 2;
    }
    if (const int bad = ParseAnswers(*op, steps[i], answers[i], err)) return bad;
  }

  CliWorkspace ws(err);
  if (!LoadModelForCli(ws, args, err)) return 1;
  if (auto s = args.Get("--skin")) {
    auto loaded = LoadSkinImage(AbsolutePath(*s));
    if (!loaded) {
      ShowFileError(ws.ui, loaded.error());
      return 1;
    }
    std::unique_ptr<Skin> skin = std::move(*loaded);
    skin->flags |= SKIN_EXTERNAL;
    AppendSkinToList(ws.model.skins, ws.model.currentSkinIndex, std::move(skin));
  }
  ws.RebuildPaintTable();
  // The 3D view's size as `render` draws it, until a step sets another.
  ResizeViewport(ws.viewport, 640, 480, false);

  MenuOpSession session{ws, ws.baseFolder, {}};
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const Step& step = steps[i];
    int failed = 0;
    if (step.name == "set")
      failed = RunSet(ws, step, err);
    else if (step.name == "select")
      failed = RunSelect(ws, step, err);
    else if (step.name == "paint")
      failed = RunPaint(ws, step, err);
    else if (step.name == "pixels")
      failed = RunPixels(ws, step, err);
    else if (IsOwnStep(step.name))
      failed = RunPaintAction(ws, step, err);
    else {
      const OpResult result = FindMenuOp(step.name)->run(session, answers[i]);
      // A done step's words report what it did (a share covered, the
      // triangles left out) and the script goes on; a refusal ends it.
      if (!result.message.empty() && result.done) {
        out << result.message << '\n';
      } else if (!result.message.empty()) {
        ws.ui.Message(result.message);
        failed = 1;
      }
    }
    if (failed) return failed;
    // As the skin bar does before it shows the list.
    SettleSkins(ws.model);
  }

  if (auto o = args.Get("--out"); o && !SaveModelForCli(ws, AbsolutePath(*o))) return 1;
  if (auto s = args.Get("--skin-out"); s && !WriteSkin(ws, AbsolutePath(*s))) return 1;
  return 0;
}
