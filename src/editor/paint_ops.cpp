#include "editor/paint_ops.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

#include "editor/skin_effects.h"
#include "editor/skin_fill.h"
#include "editor/skin_shapes.h"
#include "image/skin_set.h"

namespace {

std::uint8_t ActiveColour(const EditorState& editor) {
  const int slot = editor.activeSlot >= 0 && editor.activeSlot < 8 ? editor.activeSlot : 0;
  return editor.colourSlots[static_cast<std::size_t>(slot)];
}

bool MappedCorner(const Model& model, const Triangle& tri, int k, MapVertex& out) {
  const int m = tri.mapIndex[k];
  if (m < 0 || static_cast<std::size_t>(m) >= model.mapVertices.size()) return false;
  out = model.mapVertices[static_cast<std::size_t>(m)];
  return std::isfinite(out.s) && std::isfinite(out.t);
}

// One painting action on the current skin as its own step.
template <class Paint>
OpResult OnSkin(Document& document, const char* name, const EditorState& editor, CRasterizer& raster,
                Paint&& paint) {
  DocumentStep step(document, name, STEP_CURRENT_SKIN);
  Skin* skin = document.model.CurrentSkin();
  if (!skin || skin->width <= 0 || skin->height <= 0) return OpResult::Refused("There is no skin to paint on");
  SkinPainter painter(*skin, editor);
  PaintSetup setup;
  SetUpPainter(painter, setup, document.model, editor, raster);
  paint(painter, *skin);
  return OpResult::Done();
}

}  // namespace

std::vector<std::uint8_t> PaintMask(const Model& model, const Skin& skin, const EditorState& editor,
                                    CRasterizer& raster) {
  if (!editor.maskToSelection) return {};
  return BuildSelectionMask(model, skin.width, skin.height, raster);
}

std::uint64_t MirrorKey(const Model& model, int skinWidth, int skinHeight, int axis) {
  // FNV-1a over everything the mirror reads.
  std::uint64_t h = 1469598103934665603ull;
  const auto mix = [&h](const void* data, std::size_t bytes) {
    const auto* p = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < bytes; ++i) h = (h ^ p[i]) * 1099511628211ull;
  };
  const int head[4] = {skinWidth, skinHeight, axis, model.TriangleCount()};
  mix(head, sizeof head);
  for (int i = 0; i < model.TriangleCount(); ++i) {
    const Triangle& t = model.triangles[static_cast<std::size_t>(i)];
    const bool hidden = (t.flags & TRI_HIDDEN) != 0;
    mix(t.vertexIndex, sizeof t.vertexIndex);
    mix(t.mapIndex, sizeof t.mapIndex);
    mix(&hidden, sizeof hidden);
  }
  const std::size_t maps = model.mapVertices.size();
  if (maps > 0) mix(model.mapVertices.data(), maps * sizeof(MapVertex));
  if (model.CurrentFrame()) mix(model.CurrentFrame(), static_cast<std::size_t>(model.VertexCount()) * sizeof(Vec3));
  return h;
}

void SetUpPainter(SkinPainter& painter, PaintSetup& setup, const Model& model, const EditorState& editor,
                  CRasterizer& raster, MirrorCache* cache) {
  const Skin& skin = painter.skin();
  setup.mask = PaintMask(model, skin, editor, raster);
  painter.SetMask(editor.maskToSelection ? &setup.mask : nullptr);
  painter.SetWrap(editor.tiledSkin);
  const int axis = static_cast<int>(editor.symmetry) - static_cast<int>(Symmetry::ModelX);
  if (axis >= 0 && axis < 3) {
    const std::uint64_t key = cache ? MirrorKey(model, skin.width, skin.height, axis) : 0;
    if (cache && cache->mirror && cache->key == key) {
      setup.mirror = cache->mirror;
    } else {
      setup.mirror = std::make_shared<ModelMirror>(model, skin.width, skin.height, axis);
      if (cache) *cache = {key, setup.mirror};
    }
    ModelMirror* mirror = setup.mirror.get();
    painter.SetMirror([mirror](int offset) { return (*mirror)(offset); });
  }
}

std::vector<int> MappingIsland(const Model& model, int triangle) {
  const int count = model.TriangleCount();
  if (triangle < 0 || triangle >= count) return {};
  // Corners are joined by mapping index and by position, so an unwelded
  // mapping makes the same islands as a welded one.
  std::map<std::pair<float, float>, int> byPosition;
  std::vector<int> cornerGroup(static_cast<std::size_t>(count) * 3, -1);
  for (int i = 0; i < count; ++i)
    for (int k = 0; k < 3; ++k) {
      MapVertex v;
      if (!MappedCorner(model, model.triangles[static_cast<std::size_t>(i)], k, v)) continue;
      auto [at, fresh] = byPosition.try_emplace({v.s, v.t}, static_cast<int>(byPosition.size()));
      cornerGroup[static_cast<std::size_t>(i) * 3 + static_cast<std::size_t>(k)] = at->second;
    }
  std::vector<std::vector<int>> trianglesOf(byPosition.size());
  for (int i = 0; i < count; ++i)
    for (int k = 0; k < 3; ++k)
      if (const int g = cornerGroup[static_cast<std::size_t>(i) * 3 + static_cast<std::size_t>(k)]; g >= 0)
        trianglesOf[static_cast<std::size_t>(g)].push_back(i);
  std::vector<std::uint8_t> seen(static_cast<std::size_t>(count), 0);
  std::vector<int> island{triangle};
  seen[static_cast<std::size_t>(triangle)] = 1;
  for (std::size_t next = 0; next < island.size(); ++next)
    for (int k = 0; k < 3; ++k) {
      const int g = cornerGroup[static_cast<std::size_t>(island[next]) * 3 + static_cast<std::size_t>(k)];
      if (g < 0) continue;
      for (int other : trianglesOf[static_cast<std::size_t>(g)])
        if (!seen[static_cast<std::size_t>(other)]) {
          seen[static_cast<std::size_t>(other)] = 1;
          island.push_back(other);
        }
    }
  std::sort(island.begin(), island.end());
  return island;
}

int TriangleAtTexel(const Model& model, int x, int y) {
  const double px = x + 0.5, py = y + 0.5;
  for (int i = 0; i < model.TriangleCount(); ++i) {
    const Triangle& tri = model.triangles[static_cast<std::size_t>(i)];
    if (tri.flags & TRI_HIDDEN) continue;
    MapVertex c[3];
    if (!MappedCorner(model, tri, 0, c[0]) || !MappedCorner(model, tri, 1, c[1]) || !MappedCorner(model, tri, 2, c[2]))
      continue;
    double side[3];
    for (int k = 0; k < 3; ++k) {
      const MapVertex& a = c[k];
      const MapVertex& b = c[(k + 1) % 3];
      side[k] = (b.s - a.s) * (py - a.t) - (b.t - a.t) * (px - a.s);
    }
    const bool allIn = side[0] >= 0 && side[1] >= 0 && side[2] >= 0;
    const bool allOut = side[0] <= 0 && side[1] <= 0 && side[2] <= 0;
    if (allIn || allOut) return i;
  }
  return -1;
}

const char* BrushStepName(const EditorState& editor) {
  switch (editor.ink) {
    case PaintInk::RampUp:
      return "Lighten Stroke";
    case PaintInk::RampDown:
      return "Darken Stroke";
    default:
      return "Brush Stroke";
  }
}

const char* ShapeStepName(SkinTool tool) {
  switch (tool) {
    case SkinTool::Rectangle:
      return "Draw Rectangle";
    case SkinTool::Ellipse:
      return "Draw Ellipse";
    default:
      return "Draw Line";
  }
}

OpResult FillSelectedWithColour(Document& document, const EditorState& editor, CRasterizer& raster) {
  DocumentStep step(document, "Fill Selected With Colour", STEP_CURRENT_SKIN);
  Skin* skin = document.model.CurrentSkin();
  if (!skin || skin->width <= 0 || skin->height <= 0) return OpResult::Nothing();
  const std::vector<std::uint8_t> mask = BuildSelectionMask(document.model, skin->width, skin->height, raster);
  const std::uint8_t colour = ActiveColour(editor);
  for (std::size_t i = 0; i < skin->pixels.size() && i < mask.size(); ++i)
    if (mask[i] && !editor.protectedColours[skin->pixels[i]]) skin->pixels[i] = colour;
  return OpResult::Done();
}

OpResult FillAtTexel(Document& document, const EditorState& editor, CRasterizer& raster, int x, int y) {
  return OnSkin(document, kFillStepName, editor, raster, [&](SkinPainter& painter, Skin&) {
    FillAt(painter, x, y, {editor.fillTolerance, editor.fillContiguous});
  });
}

OpResult DrawShapeAt(Document& document, const EditorState& editor, CRasterizer& raster, SkinTool tool, int x0,
                     int y0, int x1, int y1) {
  const ShapeKind kind = tool == SkinTool::Rectangle ? ShapeKind::Rectangle
                         : tool == SkinTool::Ellipse ? ShapeKind::Ellipse
                                                     : ShapeKind::Line;
  return OnSkin(document, ShapeStepName(tool), editor, raster, [&](SkinPainter& painter, Skin&) {
    DrawShape(painter, kind, x0, y0, x1, y1, editor.shapeFilled);
  });
}
