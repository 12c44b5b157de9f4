#pragma once
// ShellWnd: the main window's only child, holding the four panes where the
// shell layout puts them. It serves the split drag (mouse capture, hidden
// pointer) and routes the wheel to the pane under the pointer.

#include <memory>

#include <QWidget>

#include "editor/gradient_box.h"
#include "editor/palette_box.h"
#include "platform/pane.h"
#include "shell/shell_layout.h"

class App;
class ModelView;
class PaneWidget;

class ShellWnd : public QWidget, public PaneHost {
  Q_OBJECT

 public:
  explicit ShellWnd(App& app, QWidget* parent = nullptr);
  ~ShellWnd() override;

  ShellLayout& layout() { return *layout_; }
  ModelView& modelView() { return *modelView_; }
  Pane& skinView() { return *skinView_; }
  Pane& paletteStrip() { return *paletteStrip_; }
  Pane& gradientStrip() { return *gradientStrip_; }
  PaneWidget& widgetFor(Pane& pane);

  // Moves the pane widgets to the layout's rectangles (after a swap, a split
  // change or "Pal On Top").
  void SyncGeometry();

  // PaneHost, for the split drag.
  void CaptureMouse() override;
  void ReleaseMouse() override;
  bool HasCapture() const override { return captured_; }
  void SetCursorHidden(bool hidden) override;
  void SetCursorPos(int x, int y) override;
  void SetCursor(CursorKind kind) override;
  void RepaintNow() override { repaint(); }
  bool ShiftDown() const override;
  bool CtrlDown() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  App& app_;
  std::unique_ptr<Pane> skinView_;
  std::unique_ptr<ModelView> modelView_;
  std::unique_ptr<PaletteBox> paletteStrip_;
  std::unique_ptr<GradientBox> gradientStrip_;
  std::unique_ptr<ShellLayout> layout_;
  PaneWidget* skinWidget_ = nullptr;
  PaneWidget* modelWidget_ = nullptr;
  PaneWidget* paletteWidget_ = nullptr;
  PaneWidget* gradientWidget_ = nullptr;
  // The gradient strip's buttons in the desktop's own colours.
  void UseSystemColours();

  bool created_ = false;
  bool captured_ = false;
};
