#include "editor/palette_box.h"

#include <algorithm>

#include "editor/paint_table.h"
#include "editor/workspace.h"
#include "image/skin.h"

namespace {


constexpr int kCell = 16;         // a slot's cell
constexpr int kBandHeight = 8;    // rows of one band of 64 entries
constexpr int kEntriesPerBand = 64;
constexpr std::uint8_t kFrameGrey = 128;

// The skin view's edges and the 3D view's ramps both follow slots 1..3;
// the background slot shows in both views.

bool IsEdgeSlot(int slot) { return slot >= 1 && slot <= 3; }
constexpr int kBackgroundSlot = 7;

}  // namespace

PaletteBox::PaletteBox(Workspace& workspace) : app_(workspace) {}

int PaletteBox::SlotAt(int x, int y) {
  if (x < 0 || y < 0 || x >= kSlotAreaWidth || y >= kStripHeight) return -1;
  return (y / kCell) * 4 + x / kCell;
}

int PaletteBox::EntryAt(int x, int y) const {
  const int column = x - kSlotAreaWidth;
  if (column < 0 || column >= static_cast<int>(columnMap_.size()) || y < 0 || y >= kStripHeight) return -1;
  return columnMap_[static_cast<std::size_t>(column)] + (y / kBandHeight) * kEntriesPerBand;
}

void PaletteBox::Resize(int clientWidth, int clientHeight) {
  clientWidth = std::max(clientWidth, 0);
  clientHeight = std::max(clientHeight, 0);
  if (clientWidth == clientWidth_ && clientHeight == height_) return;
  clientWidth_ = clientWidth;
  width_ = (clientWidth + 3) & ~3;
  height_ = clientHeight;
  pixels_.assign(static_cast<std::size_t>(width_) * 3 * static_cast<std::size_t>(height_), 0);
  // A strip no wider than the slot corner has no palette area at all.
  const int columns = std::max(width_ - kSlotAreaWidth, 0);
  columnMap_.resize(static_cast<std::size_t>(columns));
  for (int i = 0; i < columns; ++i)
    columnMap_[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * kEntriesPerBand / columns);
  Redraw(REDRAW_FULL, 0);
}

PaneImage PaletteBox::Image() const {
  PaneImage image;
  if (pixels_.empty()) return image;
  image.pixels = pixels_.data();
  image.width = clientWidth_;
  image.height = height_;
  image.stride = width_ * 3;
  image.bitsPerPixel = 24;
  image.bottomUp = true;
  return image;
}

void PaletteBox::PutPixel(int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  std::uint8_t* p = pixels_.data() + static_cast<std::size_t>(height_ - 1 - y) * static_cast<std::size_t>(width_) * 3 +
                    static_cast<std::size_t>(x) * 3;
  p[0] = b;
  p[1] = g;
  p[2] = r;
}

void PaletteBox::Redraw(int, int) {
  if (pixels_.empty()) return;
  std::fill(pixels_.begin(), pixels_.end(), 0);
  palette_ = app_.model.CurrentSkin() ? app_.model.CurrentSkin()->palette : GreyRampPalette();
  DrawSlots();
  DrawPalette();
  DrawSlotOutlines();
}

void PaletteBox::DrawSlots() {
  const Palette& palette = palette_;
  for (int slot = 0; slot < 8; ++slot) {
    const int left = (slot % 4) * kCell;
    const int top = (slot / 4) * kCell;
    const std::size_t c = std::size_t{app_.editor.colourSlots[static_cast<std::size_t>(slot)]} * 3;
    const std::uint8_t frame = slot == app_.editor.activeSlot ? 255 : kFrameGrey;
    for (int y = 1; y < kCell - 1; ++y) {
      for (int x = 1; x < kCell - 1; ++x) {
        const bool edge = x == 1 || y == 1 || x == kCell - 2 || y == kCell - 2;
        if (edge)
          PutPixel(left + x, top + y, frame, frame, frame);
        else
          PutPixel(left + x, top + y, palette[c], palette[c + 1], palette[c + 2]);
      }
    }
  }
}

void PaletteBox::DrawPalette() {
  const Palette& palette = palette_;
  const int rows = std::min(height_, kStripHeight);
  for (int y = 0; y < rows; ++y) {
    for (int x = kSlotAreaWidth; x < width_; ++x) {
      const int entry = EntryAt(x, y);
      const std::size_t c = static_cast<std::size_t>(entry) * 3;
      std::uint8_t r = palette[c], g = palette[c + 1], b = palette[c + 2];
      // Protected entries look speckled: every other 2 x 2 square lightened.
      if (app_.editor.protectedColours[static_cast<std::size_t>(entry)] && ((x / 2 + y / 2) & 1)) {
        r = static_cast<std::uint8_t>(r + 64);
        g = static_cast<std::uint8_t>(g + 64);
        b = static_cast<std::uint8_t>(b + 64);
      }
      PutPixel(x, y, r, g, b);
    }
  }
}

void PaletteBox::DrawSlotOutlines() {
  const Palette& palette = palette_;
  for (std::uint8_t entry : app_.editor.colourSlots) {
    const int column = entry % kEntriesPerBand;
    const auto first = std::find(columnMap_.begin(), columnMap_.end(), column);
    if (first == columnMap_.end()) continue;  // no column shows this entry
    const auto last = std::find_if(first, columnMap_.end(), [column](std::uint8_t c) { return c != column; });
    const int x0 = kSlotAreaWidth + static_cast<int>(first - columnMap_.begin());
    const int x1 = kSlotAreaWidth + static_cast<int>(last - columnMap_.begin()) - 1;
    const int y0 = (entry / kEntriesPerBand) * kBandHeight;
    const int y1 = y0 + kBandHeight - 1;
    const std::size_t c = std::size_t{entry} * 3;
    const auto r = static_cast<std::uint8_t>(palette[c] - 128);
    const auto g = static_cast<std::uint8_t>(palette[c + 1] - 128);
    const auto b = static_cast<std::uint8_t>(palette[c + 2] - 128);
    for (int x = x0; x <= x1; ++x) {
      PutPixel(x, y0, r, g, b);
      PutPixel(x, y1, r, g, b);
    }
    for (int y = y0; y <= y1; ++y) {
      PutPixel(x0, y, r, g, b);
      PutPixel(x1, y, r, g, b);
    }
  }
}

void PaletteBox::Show() {
  if (host()) host()->RepaintNow();
}

void PaletteBox::AnnounceSlots(int kind, int flags) { app_.document.changes.Announce(kSlotsChanged, {kind, flags}); }

void PaletteBox::SlotColourChanged(int slot) {
  if (slot == kBackgroundSlot) {
    AnnounceSlots(REDRAW_BACKGROUND, kDragging);
  } else if (IsEdgeSlot(slot)) {
    if (app_.rebuildShadeRamps) app_.rebuildShadeRamps();
    AnnounceSlots(REDRAW_QUICK, kDragging);
  }
}

void PaletteBox::AssignActive(int entry) {
  const int slot = std::clamp(app_.editor.activeSlot, 0, 7);
  auto& value = app_.editor.colourSlots[static_cast<std::size_t>(slot)];
  if (entry < 0 || value == entry) return;
  value = static_cast<std::uint8_t>(entry);
  Redraw(REDRAW_FULL, 0);
  Show();
  SlotColourChanged(slot);
}

void PaletteBox::AssignAt(int x, int y) {
  if (width_ <= kSlotAreaWidth) return;
  AssignActive(EntryAt(std::clamp(x, kSlotAreaWidth, width_ - 1), std::clamp(y, 0, kStripHeight - 1)));
}

void PaletteBox::ProtectAt(int x, int y) {
  if (width_ <= kSlotAreaWidth) return;
  const int entry = EntryAt(std::clamp(x, kSlotAreaWidth, width_ - 1), std::clamp(y, 0, kStripHeight - 1));
  if (entry < 0) return;
  auto& flag = app_.editor.protectedColours[static_cast<std::size_t>(entry)];
  if (flag == protectValue_) return;
  flag = protectValue_;
  Redraw(REDRAW_FULL, 0);
  Show();
}

void PaletteBox::SelectSlotAt(int x, int y) {
  const int slot = SlotAt(std::clamp(x, 0, kSlotAreaWidth - 1), std::clamp(y, 0, kStripHeight - 1));
  if (slot == app_.editor.activeSlot) return;
  app_.editor.activeSlot = slot;
  Redraw(REDRAW_FULL, 0);
  Show();
}

void PaletteBox::MouseDown(const MouseEvent& e) {
  if (dragState_ != DragState::Idle) return;
  const bool inSlots = SlotAt(e.x, e.y) >= 0;
  const bool inPalette = EntryAt(e.x, e.y) >= 0;
  if (e.button == MouseButton::Left && inSlots) {
    dragState_ = DragState::SlotDrag;
    SelectSlotAt(e.x, e.y);
  } else if (e.button == MouseButton::Left && inPalette) {
    dragState_ = DragState::AssignDrag;
    AssignAt(e.x, e.y);
  } else if (e.button == MouseButton::Right && inPalette) {
    const int entry = EntryAt(e.x, e.y);
    // The press decides: a drag spreads the one value it toggled to.
    protectValue_ = app_.editor.protectedColours[static_cast<std::size_t>(entry)] ? 0 : 1;
    dragState_ = DragState::ProtectDrag;
    ProtectAt(e.x, e.y);
  } else {
    return;
  }
  if (host()) host()->CaptureMouse();
}

void PaletteBox::MouseMove(const MouseEvent& e) {
  switch (dragState_) {
    case DragState::Idle:
      return;
    case DragState::SlotDrag:
      SelectSlotAt(e.x, e.y);
      return;
    case DragState::AssignDrag:
      AssignAt(e.x, e.y);
      return;
    case DragState::ProtectDrag:
      ProtectAt(e.x, e.y);
      return;
  }
}

void PaletteBox::MouseUp(const MouseEvent& e) {
  const bool ends = dragState_ == DragState::ProtectDrag ? e.button == MouseButton::Right
                                                         : e.button == MouseButton::Left;
  if (dragState_ == DragState::Idle || !ends) return;
  if (dragState_ == DragState::AssignDrag) AssignAt(e.x, e.y);
  EndDrag();
  if (host()) host()->ReleaseMouse();
}

void PaletteBox::CaptureLost() { EndDrag(); }

void PaletteBox::EndDrag() {
  const DragState ended = dragState_;
  dragState_ = DragState::Idle;
  if (ended == DragState::SlotDrag) {
    BuildPaintTable(app_);
  } else if (ended == DragState::AssignDrag) {
    const int slot = app_.editor.activeSlot;
    Redraw(REDRAW_FULL, 0);
    Show();
    if (IsEdgeSlot(slot)) {
      if (app_.rebuildShadeRamps) app_.rebuildShadeRamps();
      AnnounceSlots(REDRAW_QUICK, kDragging);
    } else {
      AnnounceSlots(slot == kBackgroundSlot ? REDRAW_BACKGROUND : REDRAW_FULL, kShowNow);
    }
    BuildPaintTable(app_);
  }
}

void PaletteBox::Wheel(int delta, int, int) {
  const int step = (delta / 120) * 16;
  if (step == 0) return;
  const int slot = std::clamp(app_.editor.activeSlot, 0, 7);
  auto& value = app_.editor.colourSlots[static_cast<std::size_t>(slot)];
  value = static_cast<std::uint8_t>((value + step) & 0xff);
  Redraw(REDRAW_FULL, 0);
  Show();
  SlotColourChanged(slot);
  BuildPaintTable(app_);
}
