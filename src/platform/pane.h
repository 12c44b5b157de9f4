#pragma once
// A pane is a rectangle of the main window whose picture the program draws
// itself (skin view, 3D view, palette strip, gradient strip). The pane owns
// its buffers and its drag state and takes input as plain calls; the front
// end (a Qt widget, or a test) forwards events to it and shows its picture.

#include <array>
#include <cstdint>

enum class MouseButton { Left, Right, Middle };

// Pointer position in the pane's client coordinates, y from the top.
struct MouseEvent {
  int x = 0;
  int y = 0;
  MouseButton button = MouseButton::Left;  // the button that changed (press/release)
  bool shift = false;
  bool ctrl = false;
  bool leftDown = false;  // buttons held after the event
  bool rightDown = false;
  bool middleDown = false;
};

// Flags of a redraw: sent while a drag moves something, and after a command
// or at the end of a drag.
constexpr int kDragging = 0x10;
constexpr int kShowNow = 0x20;

enum class CursorKind { Arrow, Camera, Paint, Mapping, Cross, SizeWE, Hidden };

// The picture a pane shows: `bitsPerPixel` 8 (with `palette`, 256 R, G, B
// triples) or 24 (B, G, R bytes). Rows are `stride` bytes apart, stored
// bottom-up when `bottomUp` is set; only the first `width` columns of the
// client area are shown.
struct PaneImage {
  const std::uint8_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;
  int bitsPerPixel = 8;
  bool bottomUp = true;
  const std::array<std::uint8_t, 768>* palette = nullptr;
};

// What a pane asks of the window it lives in.
class PaneHost {
 public:
  virtual ~PaneHost() = default;
  virtual void CaptureMouse() = 0;
  virtual void ReleaseMouse() = 0;
  virtual bool HasCapture() const = 0;
  // Hide the pointer over the window while a drag moves it, or show it again.
  virtual void SetCursorHidden(bool hidden) = 0;
  // Put the pointer at a client position of this pane.
  virtual void SetCursorPos(int x, int y) = 0;
  virtual void SetCursor(CursorKind kind) = 0;
  // Show the current picture now.
  virtual void RepaintNow() = 0;
  virtual bool ShiftDown() const = 0;
  virtual bool CtrlDown() const = 0;
};

class Pane {
 public:
  virtual ~Pane() = default;
  virtual const char* WindowName() const = 0;  // "Skin Box", "ISO Box", "Pal Box", "Gradient Box"

  void SetHost(PaneHost* host) { host_ = host; }
  PaneHost* host() const { return host_; }

  // Draw the picture again: kind is the RedrawKind (0 Full, 1 Quick,
  // 2 Background, 3 Pixels), flags kDragging and kShowNow.
  virtual void Redraw(int kind, int flags) = 0;

  // Asks for a redraw at the next settle. Requests meet in the strongest
  // kind (Full, then Background, Quick, Pixels) with the flags of the
  // request that set it; kShowNow sticks once asked for.
  void MarkStale(int kind, int flags);
  bool stale() const { return stale_; }
  // The redraw asked for since the last one; false when none was.
  bool TakeStale(int& kind, int& flags);
  virtual void Resize(int clientWidth, int clientHeight) = 0;
  virtual PaneImage Image() const = 0;

  virtual void MouseDown(const MouseEvent&) {}
  virtual void MouseUp(const MouseEvent&) {}
  virtual void MouseMove(const MouseEvent&) {}
  // After the MouseDown of the same press: a quick second press is a press first.
  virtual void DoubleClick(const MouseEvent&) {}
  virtual void Wheel(int /*delta*/, int /*x*/, int /*y*/) {}
  virtual void CaptureLost() {}
  virtual CursorKind Cursor() const { return CursorKind::Arrow; }
  // The rectangle a drag under way sweeps out (a rubber band), corner to
  // corner in client coordinates, for the window to outline over the
  // picture; false while there is none.
  virtual bool RubberBand(int& /*x0*/, int& /*y0*/, int& /*x1*/, int& /*y1*/) const { return false; }
  // The part of the picture its redraws changed since this was last asked,
  // corner to corner (inclusive) in client coordinates, for the window to
  // show no more than that; false when all of it may have changed.
  virtual bool TakeChangedArea(int& /*x0*/, int& /*y0*/, int& /*x1*/, int& /*y1*/) { return false; }

 private:
  PaneHost* host_ = nullptr;
  bool stale_ = false;
  int staleKind_ = 0;
  int staleFlags_ = 0;
};
