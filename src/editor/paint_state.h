#pragma once
// The editor's interaction state shared by both views and the command table:
// which mode the mouse edits in, the brush, the blend rule and strength, the
// protected colours and the paint remap built from them. The App holds one.

#include <array>
#include <cstdint>

enum class EditMode : int { Paint = 0, Mapping = 1 };
enum class BrushKind : int { Point = 0, Pencil = 1, Line = 2 };
enum class PaintBlendMode : int { Colour = 0, Tint = 1 };

struct PaintState {
  EditMode editMode = EditMode::Paint;
  bool cameraToggle = true;  // drags in both views move the camera
  BrushKind brushKind = BrushKind::Point;
  PaintBlendMode blendMode = PaintBlendMode::Colour;
  double paintStrength = 1.0;  // weight of the paint colour, 0..1
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
  bool syncCameras = false;

  static constexpr std::array<std::uint8_t, 256> IdentityTable() {
    std::array<std::uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i) table[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    return table;
  }
};
