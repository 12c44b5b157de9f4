#pragma once
// The one widget that shows any pane: it draws the pane's picture 1:1,
// forwards mouse, size and capture-lost events to it, and serves as its
// PaneHost (mouse capture, cursor, repaint, key state). Wheel events go to
// the parent, which knows which pane lies under the pointer.

#include <functional>

#include <QImage>
#include <QWidget>

#include "platform/pane.h"

class ThreadPool;

class PaneWidget : public QWidget, public PaneHost {
  Q_OBJECT

 public:
  PaneWidget(Pane& pane, QWidget* parent = nullptr);
  ~PaneWidget() override;

  Pane& pane() { return pane_; }

  // PaneHost
  void CaptureMouse() override;
  void ReleaseMouse() override;
  bool HasCapture() const override;
  void SetCursorHidden(bool hidden) override;
  void SetCursorPos(int x, int y) override;
  void SetCursor(CursorKind kind) override;
  void RepaintNow() override;
  bool ShiftDown() const override;
  bool CtrlDown() const override;

  int paintCount() const { return paintCount_; }
  // Called when a paint has put the pane's picture on screen.
  std::function<void()> onPainted;
  // Off when a layout resizes the pane itself before moving the widget.
  void SetForwardResize(bool on) { forwardResize_ = on; }
  // On a high-density screen: with full resolution the pane draws one
  // pixel per screen pixel; without, it draws at the window's units
  // enlarged by the largest whole step the screen allows, never blurred.
  void SetFullResolution(bool on);
  bool fullResolution() const { return fullResolution_; }
  // Pane pixels per window unit: the screen's pixel ratio over the whole
  // step the picture is enlarged by.
  double PaneScale() const;
  // The pane's pixel under a point of the widget.
  QPoint ToPanePoint(const QPointF& at) const;
  // Sizes the pane for a widget of `width` x `height` window units.
  void ResizePaneFor(int width, int height);
  // The threads a large picture is converted for the window on (null or
  // unset: this thread alone); asked at every paint, as the pool may change.
  std::function<ThreadPool*()> threadPool;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool event(QEvent* event) override;

 private:
  QImage screenImage_;  // the picture in screen format, kept so a paint allocates nothing
  void UpdateCursor();
  // Converts the picture straight into the window's backing store when the
  // painter draws into a plain 32-bit image 1:1; false leaves it to the
  // copy through screenImage_.
  bool PaintStraight(QPainter& painter, const PaneImage& image, ThreadPool* pool);
  // The picture into screenImage_, as much of it as `region` shows.
  bool ConvertForPaint(const PaneImage& image, const QRegion& region, ThreadPool* pool);

  Pane& pane_;
  bool captured_ = false;
  bool cursorHidden_ = false;
  CursorKind cursorKind_ = CursorKind::Arrow;
  bool cursorForced_ = false;  // SetCursor was called; else the pane's own cursor
  int paintCount_ = 0;
  bool forwardResize_ = true;
  bool fullResolution_ = true;
  double paneScale_ = 1.0;  // as the pane was last sized
  QSize unitsSize_;         // the window units the pane was last sized for
  MouseEvent PaneEvent(const QMouseEvent& event) const;
  void DrawRubberBand(QPainter& painter);
};

// A pane event from a Qt mouse event.
MouseEvent ToMouseEvent(const QMouseEvent& event);
// The Qt cursor for a pane's cursor kind.
Qt::CursorShape CursorShapeFor(CursorKind kind);
