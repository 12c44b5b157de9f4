#include "shell/paint_tool_commands.h"

#include <algorithm>
#include <string>
#include <utility>

#include "editor/paint_ops.h"
#include "editor/pixel_ops.h"
#include "editor/skin_view.h"
#include "shell/app.h"
#include "shell/shell_layout.h"
#include "shell/paint_settings.h"
#include "shell/show_op_result.h"
#include "shell/skin_commands.h"

namespace {

const std::vector<std::string> kTools{"&Tools"};
const std::vector<std::string> kBrush{"&Tools", "Brush &Size"};
const std::vector<std::string> kInk{"&Tools", "&Ink"};
const std::vector<std::string> kSymmetry{"&Tools", "S&ymmetry"};
const std::vector<std::string> kTolerance{"&Tools", "Fill &Tolerance"};
const std::vector<std::string> kEdit{"&Edit"};

// A setting changed: kept in the profile, and the views told (the skin view
// draws differently when tiled, the cursors may change).
void Changed(App& app, unsigned changes = kBrushChanged) {
  WritePaintSettings(app.profile, app.editor);
  app.document.changes.Announce(changes, RedrawHint{REDRAW_FULL, 0});
}

Command Make(const std::vector<std::string>& menu, std::string label, std::string key, std::function<void(App&)> run,
             std::function<bool(const App&)> checked = {}, const char* stepName = "") {
  Command c;
  c.menu = menu;
  c.label = std::move(label);
  c.key = std::move(key);
  c.run = std::move(run);
  c.checked = std::move(checked);
  c.stepName = stepName;
  c.stepParts = *stepName ? STEP_CURRENT_SKIN : 0u;
  return c;
}

void SetTool(App& app, SkinTool tool) {
  app.editor.skinTool = tool;
  // A tool is for painting: choosing one leaves Mapping Mode.
  if (app.editor.editMode != EditMode::Paint) {
    app.editor.editMode = EditMode::Paint;
    app.RefreshAll();
  }
  Changed(app);
}

void StepBrushSize(App& app, int step) {
  const int size = std::clamp(app.editor.brushSize + step, 1, kMaxBrushSize);
  if (size == app.editor.brushSize) return;
  app.editor.brushSize = size;
  Changed(app);
}

// Where a pasted piece floats first: over the selection, else in the middle
// of the skin view, on the skin.
std::pair<int, int> PastePlace(App& app, const SkinPiece& piece) {
  const PixelSelection& s = app.pixels.selection;
  if (!s.empty()) return {s.x, s.y};
  int x = (app.model.skinWidth - piece.width) / 2, y = (app.model.skinHeight - piece.height) / 2;
  if (SkinView* view = app.services.shellLayout ? app.services.shellLayout->skinViewPane() : nullptr) {
    x = static_cast<int>(view->viewCentreS()) - piece.width / 2;
    y = static_cast<int>(view->viewCentreT()) - piece.height / 2;
  }
  return {std::clamp(x, 0, std::max(app.model.skinWidth - piece.width, 0)),
          std::clamp(y, 0, std::max(app.model.skinHeight - piece.height, 0))};
}

// A pixel command's result shown, and the skin view (and for a change of
// the skin, every view of it) redrawn.
void AfterPixels(App& app, const OpResult& result, bool skinChanged) {
  if (!ShowOpResult(app.ui, result)) return;
  app.document.changes.Announce(skinChanged ? kSkinPixelsChanged : kSkinViewChanged, RedrawHint{REDRAW_FULL, 0});
}

void OnCopyPixels(App& app) {
  const OpResult result = CopyPixelSelection(app.document, app.pixels);
  if (result.done && app.services.putClipboardPicture) app.services.putClipboardPicture(PieceToPicture(app.pixels.clipboard));
  AfterPixels(app, result, false);
}

void OnCutPixels(App& app) {
  const OpResult result = CutPixelSelection(app.document, app.editor, app.pixels);
  if (result.done && app.services.putClipboardPicture) app.services.putClipboardPicture(PieceToPicture(app.pixels.clipboard));
  AfterPixels(app, result, true);
}

void OnPastePixels(App& app) {
  std::optional<SkinPiece> piece;
  if (app.services.takeClipboardPicture && app.model.CurrentSkin()) {
    std::string refusal;
    std::optional<TrueColourPicture> picture = app.services.takeClipboardPicture(refusal);
    if (!refusal.empty()) {
      app.ui.Message(refusal);
      return;
    }
    if (picture) piece = PieceFromPicture(*picture, app.model.CurrentSkin()->palette, app.editor, app.ditherTrueColour);
  }
  const SkinPiece& chosen = piece ? *piece : app.pixels.clipboard;
  const auto [x, y] = PastePlace(app, chosen);
  // Pasting is for the pixel tools: the rectangle takes over the mouse so the
  // piece can be dragged into place.
  if (app.editor.skinTool != SkinTool::LassoPixels) app.editor.skinTool = SkinTool::SelectPixels;
  AfterPixels(app, PastePiece(app.document, app.editor, app.pixels, piece, x, y), true);
}

}  // namespace

void OnFillSelectedWithColour(App& app) {
  if (!ShowOpResult(app.ui, FillSelectedWithColour(app.document, app.editor, app.rasterizer))) return;
  RefreshSkinBar(app);
}

std::vector<Command> PaintToolCommands() {
  std::vector<Command> out;
  const struct {
    const char* label;
    const char* key;
    SkinTool tool;
  } tools[] = {{"&Brush Tool\tB", "B", SkinTool::Brush},
               {"&Fill Tool\tF", "F", SkinTool::Fill},
               {"&Line Tool\tL", "L", SkinTool::Line},
               {"&Rectangle Tool\tR", "R", SkinTool::Rectangle},
               {"&Ellipse Tool\tE", "E", SkinTool::Ellipse},
               {"Eye&dropper Tool\tK", "K", SkinTool::Eyedropper},
               {"Select &Pixels Tool\tM", "M", SkinTool::SelectPixels},
               {"Lasso Pi&xels Tool\tShift+M", "Shift+M", SkinTool::LassoPixels}};
  for (const auto& t : tools) {
    const SkinTool tool = t.tool;
    out.push_back(Make(kTools, t.label, t.key, [tool](App& a) { SetTool(a, tool); },
                       [tool](const App& a) { return a.editor.skinTool == tool; }));
    out.back().toolbar = true;
    out.back().separatorBefore = tool == SkinTool::Brush;
  }
  out.push_back(Make(kBrush, "&Larger\t=", "=", [](App& a) { StepBrushSize(a, 1); }));
  out.back().toolbar = true;
  out.push_back(Make(kBrush, "&Smaller\t-", "-", [](App& a) { StepBrushSize(a, -1); }));
  out.back().toolbar = true;
  for (int size : {1, 2, 3, 5, 8, 12, 16, 24, 32}) {
    Command c = Make(kBrush, std::to_string(size) + (size == 1 ? " texel" : " texels"), "", [size](App& a) {
      a.editor.brushSize = size;
      Changed(a);
    });
    c.checked = [size](const App& a) { return a.editor.brushSize == size; };
    c.separatorBefore = size == 1;
    out.push_back(std::move(c));
  }
  out.push_back(Make(
      kTools, "Round Brush", "",
      [](App& a) {
        a.editor.brushShape = BrushShape::Round;
        Changed(a);
      },
      [](const App& a) { return a.editor.brushShape == BrushShape::Round; }));
  out.back().separatorBefore = out.back().toolbar = true;
  out.push_back(Make(
      kTools, "Square Brush", "",
      [](App& a) {
        a.editor.brushShape = BrushShape::Square;
        Changed(a);
      },
      [](const App& a) { return a.editor.brushShape == BrushShape::Square; }));
  out.back().toolbar = true;
  const struct {
    const char* label;
    PaintInk ink;
  } inks[] = {{"&Paint (blend as chosen)", PaintInk::Paint},
              {"Ramp &Up (lighten)", PaintInk::RampUp},
              {"Ramp &Down (darken)", PaintInk::RampDown}};
  for (const auto& i : inks) {
    const PaintInk ink = i.ink;
    out.push_back(Make(
        kInk, i.label, "",
        [ink](App& a) {
          a.editor.ink = ink;
          Changed(a);
        },
        [ink](const App& a) { return a.editor.ink == ink; }));
  }
  const struct {
    const char* label;
    Symmetry symmetry;
  } symmetries[] = {{"&None", Symmetry::None},
                    {"Skin &Left-Right", Symmetry::SkinX},
                    {"Skin &Top-Bottom", Symmetry::SkinY},
                    {"Model &X Plane", Symmetry::ModelX},
                    {"Model &Y Plane", Symmetry::ModelY},
                    {"Model &Z Plane", Symmetry::ModelZ}};
  for (const auto& s : symmetries) {
    const Symmetry symmetry = s.symmetry;
    out.push_back(Make(
        kSymmetry, s.label, "",
        [symmetry](App& a) {
          a.editor.symmetry = symmetry;
          Changed(a);
        },
        [symmetry](const App& a) { return a.editor.symmetry == symmetry; }));
    out.back().separatorBefore = symmetry == Symmetry::ModelX;
  }
  for (int tolerance : {0, 8, 16, 32, 64, 128}) {
    out.push_back(Make(
        kTolerance, tolerance == 0 ? std::string("Exact colour") : std::to_string(tolerance), "",
        [tolerance](App& a) {
          a.editor.fillTolerance = tolerance;
          Changed(a);
        },
        [tolerance](const App& a) { return a.editor.fillTolerance == tolerance; }));
  }
  const struct {
    const char* label;
    bool EditorState::*flag;
    unsigned changes;
  } toggles[] = {{"&Contiguous Fill", &EditorState::fillContiguous, kBrushChanged},
                 {"Filled S&hapes", &EditorState::shapeFilled, kBrushChanged},
                 {"&Mask to Selection", &EditorState::maskToSelection, kBrushChanged},
                 {"T&iled Skin View", &EditorState::tiledSkin, kSkinViewChanged}};
  for (const auto& t : toggles) {
    bool EditorState::*flag = t.flag;
    const unsigned changes = t.changes;
    out.push_back(Make(
        kTools, t.label, "",
        [flag, changes](App& a) {
          a.editor.*flag = !(a.editor.*flag);
          Changed(a, changes);
        },
        [flag](const App& a) { return a.editor.*flag; }));
    out.back().separatorBefore = flag == &EditorState::fillContiguous;
  }
  out.push_back(Make(kEdit, "Cu&t Pixels\tCtrl+X", "Ctrl+X", OnCutPixels, {}, "Cut Pixels"));
  out.back().separatorBefore = true;
  out.push_back(Make(kEdit, "&Copy Pixels\tCtrl+C", "Ctrl+C", OnCopyPixels, {}, "Copy Pixels"));
  out.push_back(Make(kEdit, "&Paste Pixels\tCtrl+V", "Ctrl+V", OnPastePixels, {}, "Paste"));
  out.push_back(Make(kEdit, "&Delete Pixels\tDel", "Del", [](App& a) {
    AfterPixels(a, DeletePixelSelection(a.document, a.editor, a.pixels), true);
  }, {}, "Delete Pixels"));
  out.push_back(Make(kEdit, "Flip Piece &Left-Right", "", [](App& a) {
    AfterPixels(a, FlipPixelPiece(a.pixels, true), false);
  }, {}, "Flip Piece"));
  out.push_back(Make(kEdit, "Flip Piece &Top-Bottom", "", [](App& a) {
    AfterPixels(a, FlipPixelPiece(a.pixels, false), false);
  }, {}, "Flip Piece"));
  out.push_back(Make(kEdit, "Place Piece\tReturn", "Return", [](App& a) {
    AfterPixels(a, PlaceFloatingPiece(a.document, a.editor, a.pixels), true);
  }, {}, "Paste"));
  out.push_back(Make(kEdit, "Select No Pixels\tEscape", "Escape", [](App& a) {
    a.pixels.selection = {};
    AfterPixels(a, OpResult::Done(), false);
  }));
  return out;
}
