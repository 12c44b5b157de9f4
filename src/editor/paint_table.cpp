#include "editor/paint_table.h"

#include <algorithm>
#include <cmath>

#include "editor/workspace.h"
#include "image/colour.h"

std::array<std::uint8_t, 256> ComputePaintTable(const Palette& palette, std::uint8_t paintIndex,
                                                double strength, PaintBlendMode mode) {
  const std::size_t c = std::size_t{paintIndex} * 3;
  const double cr = palette[c], cg = palette[c + 1], cb = palette[c + 2];
  const Hsv paintHsv = RgbToHsv(cr, cg, cb);
  std::array<std::uint8_t, 256> table{};
  for (int i = 0; i < 256; ++i) {
    const std::size_t k = static_cast<std::size_t>(i) * 3;
    const double pr = palette[k], pg = palette[k + 1], pb = palette[k + 2];
    double tr = cr, tg = cg, tb = cb;
    if (mode == PaintBlendMode::Tint) {
      Hsv target = paintHsv;
      target.v = RgbToHsv(pr, pg, pb).v;
      HsvToRgb(target, tr, tg, tb);
    }
    table[static_cast<std::size_t>(i)] = NearestPaletteEntry(
        palette, pr + (tr - pr) * strength, pg + (tg - pg) * strength, pb + (tb - pb) * strength);
  }
  return table;
}

void BuildPaintTable(Workspace& app) {
  const Skin* skin = app.model.CurrentSkin();
  if (!skin) return;
  const int slot = std::clamp(app.editor.activeSlot, 0, 7);
  app.editor.paintTable = ComputePaintTable(skin->palette, app.editor.colourSlots[static_cast<std::size_t>(slot)],
                                           app.editor.paintStrength, app.editor.blendMode);
}
