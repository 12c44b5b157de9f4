#pragma once
// ShellWnd's logic: where the four panes sit in the main window's client
// area, which of them a change leaves stale and the order they are drawn
// in when the changes settle, the split drag on the gradient strip, Swap
// Displays and wheel routing. The front end owns the widgets; this owns
// the arithmetic and the order.

#include <functional>

#include "editor/change_notices.h"
#include "platform/pane.h"

class App;
class SkinView;
class ModelView;

constexpr int kPaletteStripHeight = 32;
constexpr int kGradientStripWidth = 24;
constexpr int kSplitSnapDistance = 64;
constexpr int kMinFrameWidth = 516;
constexpr int kMinFrameHeight = 360;

struct PaneRect {
  int x = 0, y = 0, width = 0, height = 0;
  bool Contains(int px, int py) const {
    return px >= x && px < x + width && py >= y && py < y + height;
  }
  bool operator==(const PaneRect&) const = default;
};

struct ShellRects {
  PaneRect left, right, palette, gradient;
};

// The rectangles for a client area of width x height.
ShellRects ComputeShellRects(int width, int height, double splitRatio, bool palOnTop);

// The split ratio for a pointer at client x during a split drag: 1.0 within
// kSplitSnapDistance of the right edge, 0.0 within it of the left, else x / width.
double SplitRatioAt(int x, int width);

// The main window never gets smaller than kMinFrameWidth x kMinFrameHeight.
void ClampFrameSize(int& width, int& height);

class ShellLayout : public ChangeListener {
 public:
  // The panes stay the caller's; `shellHost` is ShellWnd's own capture and
  // cursor service for the split drag.
  ShellLayout(App& app, Pane& skinView, Pane& modelView, Pane& paletteStrip, Pane& gradientStrip,
              PaneHost* shellHost = nullptr);
  ~ShellLayout() override;

  // Creation: reads "Pal On Top", swapped = true, lays out for the size and
  // leaves every pane stale (Full, shown).
  void Create(int clientWidth, int clientHeight);
  // A size change: lay out, every pane stale (Full, shown).
  void Resize(int clientWidth, int clientHeight);
  // Rectangles for the current size and ratio; resizes the panes.
  void Layout();

  // A change marks the panes that draw from it stale (see
  // editor/pane_interests.h).
  void Changed(const ChangeNotice& notice) override;
  // Draws each stale pane (skin view, gradient strip, 3D view, palette
  // strip, in that order) and shows it.
  void Settle() override;
  // A preset recalled into the split: lay out, redraw both big panes (Full,
  // shown), show them and the gradient strip.
  void Relayout();

  // The split drag: begin (the gradient strip's split button), pointer
  // moves in ShellWnd's client coordinates while it holds the capture, the
  // left release.
  void BeginSplitDrag();
  void SplitDragMove(int x);
  void EndSplitDrag();
  bool splitDragging() const { return splitDragging_; }
  // Told when a split drag begins (true) and ends, before the gradient
  // strip is redrawn, so the strip can show its split button pressed.
  std::function<void(bool)> onSplitDrag;
  // Told when Relayout moved the panes, so the front end can place its
  // widgets before they are drawn.
  std::function<void()> onLayoutChanged;
  // Gives a pane the size of its rectangle (in window units); the front end
  // may size its buffer in screen pixels instead. Empty: the pane's Resize.
  std::function<void(Pane&, int width, int height)> resizePane;

  // Swaps the two big panes, lays out again and redraws both (Full, shown).
  void SwapDisplays();
  void SetPalOnTop(bool palOnTop);

  // The wheel at a point of ShellWnd's client area goes to the pane under
  // it; nothing over the gradient strip.
  void Wheel(int delta, int x, int y);
  Pane* PaneAt(int x, int y);

  const ShellRects& rects() const { return rects_; }
  // Where each pane sits now.
  PaneRect SkinViewRect() const { return swapped_ ? rects_.left : rects_.right; }
  PaneRect ModelViewRect() const { return swapped_ ? rects_.right : rects_.left; }
  bool swapped() const { return swapped_; }
  bool palOnTop() const { return palOnTop_; }
  int width() const { return width_; }
  int height() const { return height_; }

  Pane& skinView() { return skinView_; }
  // The skin view's own logic, for the commands that act on it; null when a
  // stand-in takes its place (layout tests).
  SkinView* skinViewPane();
  ModelView* modelViewPane();
  Pane& modelView() { return modelView_; }
  Pane& paletteStrip() { return paletteStrip_; }
  Pane& gradientStrip() { return gradientStrip_; }

 private:
  void RedrawPane(Pane& pane, int kind, int flags);
  void Show(Pane& pane);
  void MarkAllStale();

  App& app_;
  Pane& skinView_;
  Pane& modelView_;
  Pane& paletteStrip_;
  Pane& gradientStrip_;
  PaneHost* shellHost_;
  int width_ = 0;
  int height_ = 0;
  bool palOnTop_ = false;
  bool swapped_ = true;  // skin view on the left
  bool splitDragging_ = false;
  ShellRects rects_;
};
