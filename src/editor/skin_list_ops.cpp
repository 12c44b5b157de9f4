#include "editor/skin_list_ops.h"

#include <cmath>
#include <utility>

#include "editor/document.h"
#include "image/new_skin.h"
#include "image/skin_set.h"
#include "render/rasterizer.h"

namespace {

bool HasSkinSize(const Model& m) { return m.skinWidth > 0 && m.skinHeight > 0; }

std::size_t SkinArea(const Model& m) {
  return static_cast<std::size_t>(m.skinWidth) * static_cast<std::size_t>(m.skinHeight);
}

std::uint8_t Slot(const EditorState& editor, int slot) { return editor.colourSlots[static_cast<std::size_t>(slot)]; }

std::uint8_t ActiveSlotColour(const EditorState& editor) {
  return Slot(editor, editor.activeSlot >= 0 && editor.activeSlot < 8 ? editor.activeSlot : 0);
}

// The step's parts announce the change when it closes.
void Append(Document& document, std::unique_ptr<Skin> skin) {
  Model& m = document.model;
  AppendSkinToList(m.skins, m.currentSkinIndex, std::move(skin));
}

}  // namespace

void DrawMeshOutline(const Model& model, Skin& skin, std::uint8_t colour) {
  if (skin.width <= 0 || skin.height <= 0 ||
      skin.pixels.size() != static_cast<std::size_t>(skin.width) * static_cast<std::size_t>(skin.height))
    return;
  const RasterTarget target = RasterTarget::Bytes(skin.pixels.data(), skin.width, skin.height);
  auto corner = [](const MapVertex& v, std::int32_t& x, std::int32_t& y) {
    // Far-off or broken coordinates cannot be converted; such an edge is
    // skipped rather than drawn from an undefined value.
    if (!(std::fabs(v.s) < 1e9f) || !(std::fabs(v.t) < 1e9f)) return false;
    x = static_cast<std::int32_t>(v.s);
    y = static_cast<std::int32_t>(v.t);
    return true;
  };
  for (int i = 0; i < model.TriangleCount(); ++i) {
    const Triangle& tri = model.triangles[static_cast<std::size_t>(i)];
    for (int k = 0; k < 3; ++k) {
      std::int32_t x0, y0, x1, y1;
      if (!corner(tri.cornerMap[k], x0, y0) || !corner(tri.cornerMap[(k + 1) % 3], x1, y1)) continue;
      if (CRasterizer::ClipLine(target, x0, y0, x1, y1)) CRasterizer::DrawLine(target, x0, y0, x1, y1, colour);
    }
  }
}

OpResult NewSkin(Document& document, const EditorState& editor, const Palette& palette, const NewSkinLook& look) {
  Model& m = document.model;
  if (!HasSkinSize(m)) return OpResult::Nothing();
  DocumentStep step(document, "New Skin", STEP_SKINS | STEP_MESH);
  m.WeldMapVertices(1);
  auto skin = MakeBlankSkin("newskin", m.skinWidth, m.skinHeight, palette);
  if (look.checkerboard)
    FillCheckerboard(*skin, Slot(editor, 2), Slot(editor, 3));
  else
    FillSkin(*skin, Slot(editor, 7));
  if (look.gridDots) DrawGridDots(*skin, Slot(editor, 4), Slot(editor, 5));
  if (look.meshOutline) DrawMeshOutline(m, *skin, ActiveSlotColour(editor));
  skin->storedPixels = skin->pixels;
  Append(document, std::move(skin));
  return OpResult::Done();
}

OpResult DuplicateCurrentSkin(Document& document, const EditorState& editor, const NewSkinLook& look) {
  Model& m = document.model;
  if (!HasSkinSize(m)) return OpResult::Nothing();
  DocumentStep step(document, "Duplicate Skin", STEP_SKINS);
  Skin* current = m.SettleCurrentSkin();
  auto skin = MakeBlankSkin("dupskin", m.skinWidth, m.skinHeight, current ? current->palette : GreyRampPalette());
  if (current) {
    // Revert on the copy goes back to the original's stored state.
    if (current->pixels.size() == SkinArea(m)) skin->pixels = current->pixels;
    if (current->storedPixels.size() == SkinArea(m)) skin->storedPixels = current->storedPixels;
  } else {
    if (look.checkerboard)
      FillCheckerboard(*skin, 64, 192);
    else
      FillSkin(*skin, Slot(editor, 7));
    if (look.meshOutline) DrawMeshOutline(m, *skin, ActiveSlotColour(editor));
    skin->storedPixels = skin->pixels;
  }
  Append(document, std::move(skin));
  return OpResult::Done();
}

OpResult CloseCurrentSkin(Document& document) {
  Model& m = document.model;
  if (!m.SettleCurrentSkin()) return OpResult::Nothing();
  DocumentStep step(document, "Close Skin", STEP_SKINS);
  const int removed = m.currentSkinIndex;
  m.skins.erase(m.skins.begin() + removed);
  m.currentSkinIndex = static_cast<std::int16_t>(IndexAfterRemoval(removed, static_cast<int>(m.skins.size())));
  return OpResult::Done();
}

OpResult UnlinkCurrentSkin(Document& document) {
  Skin* skin = document.model.SettleCurrentSkin();
  if (!skin || IsExternalSkin(*skin)) return OpResult::Nothing();
  DocumentStep step(document, "Unlink Skin", STEP_SKINS);
  skin->flags |= SKIN_EXTERNAL;
  skin->name = skin->path;
  return OpResult::Done();
}

OpResult MoveCurrentSkin(Document& document, int step) {
  Model& m = document.model;
  if (!m.SettleCurrentSkin()) return OpResult::Nothing();
  const int from = m.currentSkinIndex;
  const int to = from + step;
  if (to < 0 || to >= static_cast<int>(m.skins.size())) return OpResult::Nothing();
  DocumentStep open(document, step < 0 ? "Move Skin Up" : "Move Skin Down", STEP_SKINS);
  std::swap(m.skins[static_cast<std::size_t>(from)], m.skins[static_cast<std::size_t>(to)]);
  m.currentSkinIndex = static_cast<std::int16_t>(to);
  return OpResult::Done();
}

OpResult StoreCurrentSkin(Document& document) {
  Skin* skin = document.model.SettleCurrentSkin();
  if (!skin) return OpResult::Nothing();
  DocumentStep step(document, "Store Skin", STEP_CURRENT_SKIN);
  skin->storedPixels = skin->pixels;
  return OpResult::Done();
}

OpResult RevertCurrentSkin(Document& document) {
  Skin* skin = document.model.SettleCurrentSkin();
  if (!skin || skin->storedPixels.size() != skin->pixels.size()) return OpResult::Nothing();
  DocumentStep step(document, "Revert Skin", STEP_CURRENT_SKIN);
  skin->pixels = skin->storedPixels;
  return OpResult::Done();
}
