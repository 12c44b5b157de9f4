#pragma once
// A pane's host without a window: it keeps the capture, keeps whether the
// cursor is hidden, counts repaints, remembers where the cursor was put, and reports
// the modifier keys it is told are held. And a mouse event to hand a pane.

#include "platform/pane.h"

class FakePaneHost : public PaneHost {
 public:
  void CaptureMouse() override { captured = true; }
  void ReleaseMouse() override { captured = false; }
  bool HasCapture() const override { return captured; }
  void SetCursorHidden(bool hidden) override { cursorHidden = hidden; }
  void SetCursorPos(int x, int y) override {
    cursorX = x;
    cursorY = y;
  }
  void SetCursor(CursorKind) override {}
  void RepaintNow() override { ++repaints; }
  bool ShiftDown() const override { return shift; }
  bool CtrlDown() const override { return ctrl; }

  bool captured = false;
  bool cursorHidden = false;
  int cursorX = -1, cursorY = -1;
  int repaints = 0;
  bool shift = false, ctrl = false;  // the modifier keys the pane asks about
};

// A mouse event of `button` at (x, y), with that button held (press, drag)
// or not (release).
inline MouseEvent ButtonEvent(MouseButton button, int x, int y, bool held, bool shift = false,
                              bool ctrl = false) {
  MouseEvent e;
  e.button = button;
  e.x = x;
  e.y = y;
  e.shift = shift;
  e.ctrl = ctrl;
  e.leftDown = held && button == MouseButton::Left;
  e.rightDown = held && button == MouseButton::Right;
  e.middleDown = held && button == MouseButton::Middle;
  return e;
}
