#pragma once
// What the status bar says: the mouse bindings in force for the pane under
// the pointer (as the edit mode, Camera Toggle and held modifiers choose
// them), the texel, palette index and colour under it, the zoom and the
// selection. The Help's "Mouse and Keys" page is built from the same rows,
// and from the command table, so neither can disagree with what the
// program does.

#include <cstdint>
#include <string>
#include <vector>

#include "editor/editor_state.h"

class App;

enum class HintPane { None, SkinView, ModelView, PaletteStrip, GradientStrip };

struct HintSituation {
  HintPane pane = HintPane::None;
  EditMode mode = EditMode::Paint;
  bool cameraToggle = true;
  bool textured = true;       // the render mode draws the skin
  bool mappingFrame = false;  // "Show mapping frame" is on
  bool shift = false;
  bool ctrl = false;
  SkinTool tool = SkinTool::Brush;  // the left button's tool in Paint Mode
  std::string cameraKey = "Space";  // the Camera Toggle's key in force; empty: none
};

// "Camera", "Paint Mode" or "Mapping Mode": what a drag in the views does.
std::string ModeTitle(const HintSituation& s);
// One line of the buttons and the wheel, "Left: paint  Right: pick colour
// Wheel: zoom"; empty away from every pane.
std::string MouseHint(const HintSituation& s);

// The situation of `app` over `pane` with the modifiers held.
HintSituation SituationOf(const App& app, HintPane pane, bool shift, bool ctrl);

// What lies under the pointer: a texel of the current skin, in the skin
// view or on the model.
struct TexelSample {
  bool valid = false;
  int x = 0;
  int y = 0;
  std::uint8_t index = 0;
  std::uint8_t r = 0, g = 0, b = 0;
};

// The texel of skin coordinates (s, t) of the current skin; invalid off
// the skin or without one.
TexelSample SampleSkinAt(const App& app, float s, float t);
// The texel a skin texel offset (y * width + x, as the tag buffers hold it)
// names.
TexelSample SampleSkinOffset(const App& app, std::int32_t offset);

// The texel drawn at client point (x, y) of the 3D view; only a textured
// mode in Paint Mode draws texels there (else its tags are triangles).
TexelSample SampleModelViewAt(const App& app, int x, int y);

// "Texel 12, 40  Index 37  RGB 91 63 43" (empty when invalid).
std::string TexelText(const TexelSample& sample);
// "Zoom 250%".
std::string ZoomText(double zoom);
// "3 triangles selected", "1 triangle selected", "" for none.
std::string SelectionText(int selected);
int SelectedTriangles(const App& app);

// Every binding of every pane and mode, then every key of the command table
// with the keys now in force: the text of Help > Mouse and Keys.
std::string MouseAndKeysText(const App& app);
