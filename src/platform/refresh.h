#pragma once
// "VRK-Refresh": which panes to redraw (the low four bits of lParam) and the
// second argument each pane's redraw gets (the bits above them); wParam is
// the redraw kind (REDRAW_FULL, REDRAW_QUICK, ...).

#include "platform/message_queue.h"

namespace refresh {

constexpr int kSkinView = 1;
constexpr int kModelView = 2;
constexpr int kGradient = 4;
constexpr int kPalette = 8;
constexpr int kAllPanes = kSkinView | kModelView | kGradient | kPalette;
constexpr int kPaneMask = 0xf;
constexpr int kDragging = 0x10;  // sent while a drag moves something
constexpr int kShowNow = 0x20;   // sent after a command or at the end of a drag

// The combinations the program sends.
constexpr int kEverythingShown = kAllPanes | kShowNow;
constexpr int kViewsShown = kSkinView | kModelView | kShowNow;
constexpr int kViewsAndPaletteShown = kSkinView | kModelView | kPalette | kShowNow;
constexpr int kModelViewShown = kModelView | kShowNow;
constexpr int kPaletteShown = kPalette | kShowNow;
constexpr int kAllButPaletteShown = kSkinView | kModelView | kGradient | kShowNow;

inline WndMessage Message(int kind, int bits) {
  return WndMessage{"VRK-Refresh", kind, bits};
}

}  // namespace refresh
