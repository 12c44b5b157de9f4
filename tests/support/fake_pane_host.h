#pragma once
// A pane's host without a window: it keeps the capture, counts cursor
// show/hide and repaints, remembers where the cursor was put, and reports
// the modifier keys it is told are held.

#include "platform/pane.h"

class FakePaneHost : public PaneHost {
 public:
  void CaptureMouse() override { captured = true; }
  void ReleaseMouse() override { captured = false; }
  bool HasCapture() const override { return captured; }
  void ShowCursor(bool show) override { cursorCount += show ? 1 : -1; }
  void SetCursorPos(int x, int y) override {
    cursorX = x;
    cursorY = y;
  }
  void SetCursor(CursorKind) override {}
  void RepaintNow() override { ++repaints; }
  bool ShiftDown() const override { return shift; }
  bool CtrlDown() const override { return ctrl; }

  bool captured = false;
  int cursorCount = 0;  // below zero: hidden
  int cursorX = -1, cursorY = -1;
  int repaints = 0;
  bool shift = false, ctrl = false;  // the modifier keys the pane asks about
};
