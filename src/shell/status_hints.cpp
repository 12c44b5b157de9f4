#include "shell/status_hints.h"

#include <cmath>
#include <cstdio>
#include <iterator>
#include <string_view>

#include "shell/app.h"
#include "shell/command_table.h"

namespace {

constexpr char kWheelZoom[] = "Wheel: zoom";

std::string Join(std::initializer_list<std::string_view> parts) {
  std::string line;
  for (std::string_view part : parts) {
    if (part.empty()) continue;
    if (!line.empty()) line += "  ";
    line += part;
  }
  return line;
}

// What the left button does in Paint Mode; lines and shapes are drawn on
// the skin view only, the model paints with the brush instead.
const char* LeftPaint(const HintSituation& s, bool onSkin) {
  switch (s.tool) {
    case SkinTool::Fill:
      return "Left: fill";
    case SkinTool::Eyedropper:
      return "Left: pick colour";
    case SkinTool::Line:
      return onSkin ? "Left: drag a line (Shift: 45 degrees)" : "Left: paint";
    case SkinTool::Rectangle:
      return onSkin ? "Left: drag a rectangle (Shift: square)" : "Left: paint";
    case SkinTool::Ellipse:
      return onSkin ? "Left: drag an ellipse (Shift: circle)" : "Left: paint";
    case SkinTool::SelectPixels:
      return onSkin ? "Left: select pixels, or drag the pasted piece" : "Left: paint";
    case SkinTool::LassoPixels:
      return onSkin ? "Left: lasso pixels, or drag the pasted piece" : "Left: paint";
    case SkinTool::Brush:
      break;
  }
  return "Left: paint";
}

// "Space: camera", with the key the user gave the Camera Toggle.
std::string CameraKeyHint(const HintSituation& s, const char* what) {
  return s.cameraKey.empty() ? std::string() : s.cameraKey + ": " + what;
}

std::string SkinViewHint(const HintSituation& s) {
  if (s.cameraToggle) return Join({"Left: pan", "Right: zoom", kWheelZoom, CameraKeyHint(s, "camera off")});
  if (s.mode == EditMode::Paint) {
    if (!s.textured) return Join({"Painting needs a textured render mode", kWheelZoom});
    return Join({LeftPaint(s, true), "Right: pick colour", kWheelZoom, CameraKeyHint(s, "camera")});
  }
  const char* right = s.ctrl ? "Right: scale selected mapping"
                      : s.shift ? "Right: rotate selected mapping"
                                : "Right: move selected mapping";
  if (s.mappingFrame) return Join({"Left: drag the mapping frame", right, kWheelZoom});
  if (s.shift && s.ctrl) return Join({"Left: select triangles in a rectangle", right, kWheelZoom});
  if (s.shift) return Join({"Left: select triangles", right, kWheelZoom});
  if (s.ctrl) return Join({"Left: deselect triangles", right, kWheelZoom});
  return Join({"Left: drag a mapping vertex", "Shift+Left: select", "Ctrl+Left: deselect",
               "Shift+Ctrl+Left: select in a rectangle", right, kWheelZoom});
}

std::string ModelViewHint(const HintSituation& s) {
  if (s.cameraToggle) {
    if (s.shift) return Join({"Left: field of view", "Right: turn the light", "Middle: zoom", kWheelZoom});
    return Join({"Left: orbit", "Right: pan", "Middle: zoom", kWheelZoom, "Shift: field of view, light"});
  }
  if (s.mode == EditMode::Mapping) return Join({"Left: select triangles", "Right: deselect triangles", kWheelZoom});
  if (!s.textured) return Join({"Painting needs a textured render mode", kWheelZoom});
  return Join({LeftPaint(s, false), "Right: pick colour", kWheelZoom, CameraKeyHint(s, "camera")});
}

}  // namespace

std::string ModeTitle(const HintSituation& s) {
  if (s.cameraToggle && (s.pane == HintPane::SkinView || s.pane == HintPane::ModelView)) return "Camera";
  return s.mode == EditMode::Mapping ? "Mapping Mode" : "Paint Mode";
}

std::string MouseHint(const HintSituation& s) {
  switch (s.pane) {
    case HintPane::SkinView:
      return SkinViewHint(s);
    case HintPane::ModelView:
      return ModelViewHint(s);
    case HintPane::PaletteStrip:
      return Join({"Left: choose a slot, or give the active slot a colour", "Right: protect a colour",
                   "Wheel: step a palette row"});
    case HintPane::GradientStrip:
      return Join({"Slider: Left: paint strength, Right: shade exponent",
                   "Split button: Left: drag, Right: swap views", "Small buttons: Left: recall, Right: store"});
    case HintPane::None:
      break;
  }
  return {};
}

HintSituation SituationOf(const App& app, HintPane pane, bool shift, bool ctrl) {
  HintSituation s;
  s.pane = pane;
  s.mode = app.editor.editMode;
  s.cameraToggle = app.editor.cameraToggle;
  s.textured = app.renderModes.Current().IsTextured() != 0;
  s.mappingFrame = app.editor.showMappingFrame;
  s.shift = shift;
  s.ctrl = ctrl;
  s.tool = app.editor.skinTool;
  if (const Command* camera = FindCommand("Options > Camera Toggle")) {
    const std::vector<std::string> keys = CommandKeys(app, *camera);
    s.cameraKey = keys.empty() ? std::string() : keys.front();
  }
  return s;
}

TexelSample SampleSkinOffset(const App& app, std::int32_t offset) {
  TexelSample sample;
  const Skin* skin = app.model.CurrentSkin();
  if (!skin || offset < 0 || skin->width <= 0 || offset >= static_cast<std::int32_t>(skin->pixels.size()))
    return sample;
  const auto at = static_cast<std::size_t>(offset);
  sample.valid = true;
  sample.x = offset % skin->width;
  sample.y = offset / skin->width;
  sample.index = skin->pixels[at];
  sample.r = skin->palette[sample.index * 3u];
  sample.g = skin->palette[sample.index * 3u + 1];
  sample.b = skin->palette[sample.index * 3u + 2];
  return sample;
}

TexelSample SampleSkinAt(const App& app, float s, float t) {
  const Skin* skin = app.model.CurrentSkin();
  if (!skin || !(s >= 0) || !(t >= 0) || s >= skin->width || t >= skin->height) return {};
  const int x = static_cast<int>(s), y = static_cast<int>(t);
  return SampleSkinOffset(app, y * skin->width + x);
}

TexelSample SampleModelViewAt(const App& app, int x, int y) {
  const Viewport& v = app.viewport;
  if (app.editor.editMode != EditMode::Paint || !app.renderModes.Current().IsTextured()) return {};
  if (x < 0 || y < 0 || x >= v.width || y >= v.height) return {};
  const std::size_t at = static_cast<std::size_t>(x) + static_cast<std::size_t>(v.height - 1 - y) * static_cast<std::size_t>(v.width);
  if (at >= v.tagBuffer.size()) return {};
  return SampleSkinOffset(app, v.tagBuffer[at]);
}

std::string TexelText(const TexelSample& sample) {
  if (!sample.valid) return {};
  char text[80];
  std::snprintf(text, sizeof text, "Texel %d, %d  Index %d  RGB %d %d %d", sample.x, sample.y, sample.index,
                sample.r, sample.g, sample.b);
  return text;
}

std::string ZoomText(double zoom) { return "Zoom " + std::to_string(std::lround(zoom * 100)) + "%"; }

std::string SelectionText(int selected) {
  if (selected <= 0) return {};
  return std::to_string(selected) + (selected == 1 ? " triangle selected" : " triangles selected");
}

int SelectedTriangles(const App& app) {
  int count = 0;
  const int n = app.model.TriangleCount();
  for (int i = 0; i < n; ++i)
    if (app.model.triangles[static_cast<std::size_t>(i)].flags & TRI_SELECTED) ++count;
  return count;
}

// In SkinTool order.
constexpr const char* kToolNames[] = {"Brush",     "Fill",       "Line",          "Rectangle",
                                      "Ellipse",   "Eyedropper", "Select Pixels", "Lasso Pixels"};

std::string MouseAndKeysText(const App& app) {
  std::string text;
  const struct {
    HintPane pane;
    const char* title;
  } panes[] = {{HintPane::SkinView, "Skin view"},
               {HintPane::ModelView, "3D view"},
               {HintPane::PaletteStrip, "Palette strip"},
               {HintPane::GradientStrip, "Gradient strip"}};
  // Every situation the mouse meets, each line once.
  for (const auto& p : panes) {
    text += p.title;
    text += "\n";
    std::vector<std::string> seen;
    for (int camera = 1; camera >= 0; --camera)
      for (EditMode mode : {EditMode::Paint, EditMode::Mapping})
        for (int textured = 1; textured >= 0; --textured)
          for (int frame = 0; frame <= 1; ++frame)
            for (int mods = 0; mods < 3; ++mods)
              for (int tool = 0; tool < static_cast<int>(std::size(kToolNames)); ++tool) {
                HintSituation s{p.pane, mode,      camera != 0, textured != 0, frame != 0, mods == 1, mods == 2,
                                static_cast<SkinTool>(tool)};
                const bool view = p.pane == HintPane::SkinView || p.pane == HintPane::ModelView;
                std::string heading = view ? ModeTitle(s) : "";
                if (view && !camera && mode == EditMode::Paint && tool) heading += std::string(", ") + kToolNames[tool];
                if (!camera && mode == EditMode::Mapping && frame && p.pane == HintPane::SkinView)
                  heading += ", mapping frame shown";
                if (mods == 1) heading += heading.empty() ? "Shift held" : ", Shift held";
                if (mods == 2) heading += heading.empty() ? "Ctrl held" : ", Ctrl held";
                const std::string hint = MouseHint(s);
                bool known = false;
                for (const std::string& line : seen) known = known || line.ends_with(hint);
                if (!known) seen.push_back(heading.empty() ? hint : heading + ": " + hint);
              }
    for (const std::string& line : seen) text += "  " + line + "\n";
    text += "\n";
  }
  text += "Keys\n";
  for (const Command& c : CommandTable()) {
    const std::vector<std::string> keys = CommandKeys(app, c);
    if (keys.empty()) continue;
    std::string joined;
    for (const std::string& key : keys) joined += (joined.empty() ? "" : ", ") + key;
    text += "  " + joined + "\t" + c.name + "\n";
  }
  return text;
}
