#pragma once
// What the painting tools need of the document beyond a painter: the mask
// they keep to, the mirror for the model-plane symmetries, the island of the
// mapping a texel belongs to; and the painting commands that are not drags.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editor/document.h"
#include "editor/document_ops.h"
#include "editor/model_mirror.h"
#include "editor/skin_painter.h"

class CRasterizer;

// The selected triangles' mapping as a texel mask when Mask to Selection is
// on; empty (paint everywhere) when it is off.
std::vector<std::uint8_t> PaintMask(const Model& model, const Skin& skin, const EditorState& editor,
                                    CRasterizer& raster);

// A painter's companions for one stroke: the mask and the mirror it refers to.
struct PaintSetup {
  std::vector<std::uint8_t> mask;
  std::shared_ptr<ModelMirror> mirror;
};
// The mirror of the last model-plane stroke, kept for the next while the
// mesh, its mapping, the frame's shape and the skin's size stay the same:
// its texels' mirror images are found once, not at every stroke.
struct MirrorCache {
  std::uint64_t key = 0;
  std::shared_ptr<ModelMirror> mirror;
};
// What a mirror depends on, as one number.
std::uint64_t MirrorKey(const Model& model, int skinWidth, int skinHeight, int axis);
// Gives `painter` the editor's mask, mirror and wrap; the mirror from
// `cache` when it still fits.
void SetUpPainter(SkinPainter& painter, PaintSetup& setup, const Model& model, const EditorState& editor,
                  CRasterizer& raster, MirrorCache* cache = nullptr);

// The triangles connected to `triangle` in the mapping: through shared
// mapping corners, corners at the same skin position counting as shared.
std::vector<int> MappingIsland(const Model& model, int triangle);
// The first triangle whose mapping covers texel (x, y)'s centre; -1: none.
int TriangleAtTexel(const Model& model, int x, int y);

// The undo step names of the painting tools.
const char* BrushStepName(const EditorState& editor);
const char* ShapeStepName(SkinTool tool);
inline constexpr char kFillStepName[] = "Fill";

// Every texel of the selected triangles' mapping (protected colours kept)
// in the active colour slot's colour.
OpResult FillSelectedWithColour(Document& document, const EditorState& editor, CRasterizer& raster);

// The painting tools' actions as one step each, on texels of the current
// skin (what `skintool do` runs): a fill at (x, y), a line, rectangle or
// ellipse between two texels.
OpResult FillAtTexel(Document& document, const EditorState& editor, CRasterizer& raster, int x, int y);
OpResult DrawShapeAt(Document& document, const EditorState& editor, CRasterizer& raster, SkinTool tool, int x0,
                     int y0, int x1, int y1);
