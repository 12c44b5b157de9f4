#include "editor/tools/fill_tool.h"

#include "editor/paint_ops.h"
#include "editor/skin_effects.h"
#include "editor/skin_fill.h"
#include "editor/tools/brush_tool.h"
#include "editor/workspace.h"
#include "render/render_context.h"

void FillTool::Press(ToolContext& c, const MouseEvent& e) {
  active_ = true;
  Model& model = c.app.model;
  const EditorState& editor = c.app.editor;
  if (!onModel_) {
    int x = 0, y = 0;
    ClientToTexel(c, e.x, e.y, x, y);
    if (editor.tiledSkin && model.skinWidth > 0 && model.skinHeight > 0) {
      x = ((x % model.skinWidth) + model.skinWidth) % model.skinWidth;
      y = ((y % model.skinHeight) + model.skinHeight) % model.skinHeight;
    }
    if (FillAtTexel(document_, editor, c.app.rasterizer, x, y).done)
      Announce(c.app, kSkinPixelsChanged, REDRAW_PIXELS, kShowNow);
    return;
  }
  Skin* skin = model.CurrentSkin();
  const std::int32_t tag = c.tags.TagAt(e.x, e.y);
  if (!skin || tag < 0 || skin->width <= 0) return;
  const int triangle = TriangleAtTexel(model, tag % skin->width, tag / skin->width);
  if (triangle < 0) return;
  DocumentStep step(document_, kFillStepName, STEP_CURRENT_SKIN);
  SkinPainter painter(*skin, editor);
  PaintSetup setup;
  SetUpPainter(painter, setup, model, editor, c.app.rasterizer, &c.app.mirrorCache);
  // The island bounds the fill; the selection's mask, when it is on, too.
  std::vector<std::uint8_t> island =
      BuildTriangleMask(model, MappingIsland(model, triangle), skin->width, skin->height, c.app.rasterizer);
  const std::vector<std::uint8_t>* selection = painter.mask();
  for (std::size_t i = 0; i < island.size(); ++i)
    island[i] = island[i] && (!selection || (i < selection->size() && (*selection)[i])) ? 1 : 0;
  painter.SetMask(&island);
  if (painter.Region(island) > 0) Announce(c.app, kSkinPixelsChanged, REDRAW_PIXELS, kShowNow);
}

ToolEnd FillTool::Release(ToolContext&, const MouseEvent& e) {
  if (e.button != MouseButton::Left) return ToolEnd::Continue;
  active_ = false;
  return ToolEnd::Hold;
}
