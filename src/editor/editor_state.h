#pragma once
// The editor's interaction state shared by the panes and the command table:
// which mode the mouse edits in, the brush, the blend rule and strength, the
// colour slots, the protected colours and the paint remap built from them,
// and the mapping frame of the skin view.

#include <array>
#include <cstdint>

#include "platform/profile_keys.h"

enum class EditMode : int { Paint = 0, Mapping = 1 };
enum class BrushKind : int { Point = 0, Pencil = 1, Line = 2 };
enum class PaintBlendMode : int { Colour = 0, Tint = 1 };
enum class BrushShape : int { Round = 0, Square = 1 };
// What painting a texel does: the paint remap (Colour or Tint by the blend
// rule), or one step along the texel's colour ramp.
enum class PaintInk : int { Paint = 0, RampUp = 1, RampDown = 2 };
// Where each painted texel is painted again: across the skin's vertical or
// horizontal centre line, or at the mirror image of its surface point
// across the model's x, y or z = 0 plane.
enum class Symmetry : int { None = 0, SkinX = 1, SkinY = 2, ModelX = 3, ModelY = 4, ModelZ = 5 };
// What a left press in Paint Mode does on the skin view.
enum class SkinTool : int {
  Brush = 0,
  Fill = 1,
  Line = 2,
  Rectangle = 3,
  Ellipse = 4,
  Eyedropper = 5,
  SelectPixels = 6,
  LassoPixels = 7,
};
constexpr int kMaxBrushSize = 32;

// The rectangle of skin coordinates the mapping operations fit into, drawn
// over the skin view in Mapping Mode. It starts far outside every skin, so the
// first redraw clamps it to the whole skin.
struct MappingFrame {
  float left = -100, top = -100, right = 1000, bottom = 1000;
};

// The frame as the skin view keeps it: each side clamped to 0..the skin's
// size, and put in order (the side moved into left or top truncated).
MappingFrame NormalisedFrame(MappingFrame frame, int skinWidth, int skinHeight);

struct EditorState {
  EditMode editMode = EditMode::Paint;
  bool cameraToggle = true;  // drags in both views move the camera
  BrushKind brushKind = BrushKind::Point;
  PaintBlendMode blendMode = PaintBlendMode::Colour;
  double paintStrength = 1.0;  // weight of the paint colour, 0..1
  int brushSize = 1;           // texels across, 1..kMaxBrushSize (pixels across on the model)
  BrushShape brushShape = BrushShape::Round;
  PaintInk ink = PaintInk::Paint;
  Symmetry symmetry = Symmetry::None;
  SkinTool skinTool = SkinTool::Brush;
  bool shapeFilled = false;     // rectangles and ellipses
  int fillTolerance = 0;        // RGB distance a fill still takes as the same colour
  bool fillContiguous = true;   // else every matching texel of the skin
  bool maskToSelection = false; // paint only inside the selected triangles' mapping
  bool tiledSkin = false;       // the skin view repeats the skin around itself; painting wraps
  std::array<std::uint8_t, 256> protectedColours{};  // non-zero: never painted over
  // Every painted texel's new palette index, by its old one.
  std::array<std::uint8_t, 256> paintTable = IdentityTable();

  bool showMappingInPaint = false;
  // Mapping-mode toggles; here because both views and the command table read them.
  bool dragPixelsWithMapping = false;
  bool showMappingFrame = false;
  bool lockX = false;
  bool lockY = false;
  bool uniformScales = false;
  bool snapToGrid = false;
  // The skin view colours each triangle by how its mapping stretches the skin.
  bool showStretch = false;
  bool syncCameras = false;

  // Palette indices: the active slot paints; 1..3 colour edges; 7 is the
  // background.
  std::array<std::uint8_t, 8> colourSlots = DefaultColourSlots();
  int activeSlot = 0;
  MappingFrame mappingFrame;
  bool customCursors = true;  // the program's own cursors over the panes

  static constexpr std::array<std::uint8_t, 8> DefaultColourSlots() {
    std::array<std::uint8_t, 8> values{};
    for (std::size_t i = 0; i < values.size(); ++i) values[i] = static_cast<std::uint8_t>(kColourSlotSettings[i].def);
    return values;
  }
  static constexpr std::array<std::uint8_t, 256> IdentityTable() {
    std::array<std::uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i) table[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    return table;
  }
};
