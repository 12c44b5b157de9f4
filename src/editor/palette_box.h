#pragma once
// The palette strip ("Pal Box"): the eight colour slots in its left 64 x 32
// corner and the current skin's 256 colours beside them, four bands of 64.
// The mouse chooses the active slot, gives it a palette entry and marks
// entries as protected from painting; the wheel steps the active colour by
// a palette row.

#include <cstdint>
#include <vector>

#include "image/skin.h"
#include "platform/pane.h"

class Workspace;

class PaletteBox : public Pane {
 public:
  enum class DragState { Idle, SlotDrag, AssignDrag, ProtectDrag };

  static constexpr int kSlotAreaWidth = 64;
  static constexpr int kStripHeight = 32;

  explicit PaletteBox(Workspace& workspace);

  const char* WindowName() const override { return "Pal Box"; }
  void Redraw(int kind, int flags) override;
  // New buffers and column map for the new size, then a redraw.
  void Resize(int clientWidth, int clientHeight) override;
  PaneImage Image() const override;

  void MouseDown(const MouseEvent& e) override;
  void MouseUp(const MouseEvent& e) override;
  void MouseMove(const MouseEvent& e) override;
  void Wheel(int delta, int x, int y) override;
  void CaptureLost() override;

  // The slot whose cell holds the point, or -1 outside the slot area.
  static int SlotAt(int x, int y);
  // The palette entry under a point of the palette area, or -1 where no
  // entry has a column (or outside the area).
  int EntryAt(int x, int y) const;
  const std::vector<std::uint8_t>& columnMap() const { return columnMap_; }
  DragState dragState() const { return dragState_; }

 private:
  void DrawSlots();
  void DrawPalette();
  void DrawSlotOutlines();
  void PutPixel(int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b);
  void Show();
  // The views redraw what the slots colour.
  void AnnounceSlots(int kind, int flags);
  // The slot's colour became `entry`: redraw and tell the views that use it.
  void AssignActive(int entry);
  void SlotColourChanged(int slot);
  void AssignAt(int x, int y);
  void ProtectAt(int x, int y);
  void SelectSlotAt(int x, int y);
  void EndDrag();

  Workspace& app_;
  int clientWidth_ = -1;
  int width_ = -1;  // client width rounded up to a multiple of 4
  int height_ = -1;
  std::vector<std::uint8_t> pixels_;  // B, G, R; rows bottom-up
  std::vector<std::uint8_t> columnMap_;
  Palette palette_{};  // the current skin's, or a grey ramp without one
  DragState dragState_ = DragState::Idle;
  std::uint8_t protectValue_ = 0;  // what a protection drag writes
};
