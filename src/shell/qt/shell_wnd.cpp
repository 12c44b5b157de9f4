#include "shell/qt/shell_wnd.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QWheelEvent>

#include "platform/qt/pane_widget.h"
#include "editor/model_view.h"
#include "editor/skin_view.h"
#include "shell/app.h"

ShellWnd::ShellWnd(App& app, QWidget* parent)
    : QWidget(parent),
      app_(app),
      skinView_(std::make_unique<SkinView>(app)),
      modelView_(std::make_unique<ModelView>(app)),
      paletteStrip_(std::make_unique<PaletteBox>(app)),
      gradientStrip_(std::make_unique<GradientBox>(app, app.splitRatio)) {
  setObjectName("ShellWnd");
  setFocusPolicy(Qt::StrongFocus);
  layout_ = std::make_unique<ShellLayout>(app, *skinView_, *modelView_, *paletteStrip_, *gradientStrip_, this);
  layout_->onSplitDrag = [strip = gradientStrip_.get()](bool dragging) { strip->SetSplitDragging(dragging); };
  layout_->onLayoutChanged = [this] { SyncGeometry(); };
  skinWidget_ = new PaneWidget(*skinView_, this);
  modelWidget_ = new PaneWidget(*modelView_, this);
  paletteWidget_ = new PaneWidget(*paletteStrip_, this);
  gradientWidget_ = new PaneWidget(*gradientStrip_, this);
  // The layout sizes the panes before the widgets move.
  for (PaneWidget* w : {skinWidget_, modelWidget_, paletteWidget_, gradientWidget_}) w->SetForwardResize(false);
  layout_->resizePane = [this](Pane& pane, int width, int height) { widgetFor(pane).ResizePaneFor(width, height); };
  // The strips are laid out in fixed pixels: on a dense screen they grow by
  // whole steps; the two views may draw at the screen's own pixels.
  for (PaneWidget* w : {paletteWidget_, gradientWidget_}) w->SetFullResolution(false);
  for (PaneWidget* w : {skinWidget_, modelWidget_}) w->SetFullResolution(app.fullResolution);
  // The big pictures reach the window in bands, on the threads the 3D view draws on.
  for (PaneWidget* w : {skinWidget_, modelWidget_}) w->threadPool = [&app] { return app.renderModes.Pool(); };
  UseSystemColours();
}

ShellWnd::~ShellWnd() {
  if (captured_) releaseMouse();
  // The widgets point at the panes; they go first.
  delete skinWidget_;
  delete modelWidget_;
  delete paletteWidget_;
  delete gradientWidget_;
  layout_.reset();
}

PaneWidget& ShellWnd::widgetFor(Pane& pane) {
  if (&pane == skinView_.get()) return *skinWidget_;
  if (&pane == modelView_.get()) return *modelWidget_;
  if (&pane == paletteStrip_.get()) return *paletteWidget_;
  return *gradientWidget_;
}

void ShellWnd::SyncGeometry() {
  if (!created_) return;
  auto place = [](PaneWidget* w, const PaneRect& r) {
    const QRect target(r.x, r.y, r.width, r.height);
    if (w->geometry() != target) w->setGeometry(target);
    w->setVisible(r.width > 0 && r.height > 0);
  };
  place(skinWidget_, layout_->SkinViewRect());
  place(modelWidget_, layout_->ModelViewRect());
  place(paletteWidget_, layout_->rects().palette);
  place(gradientWidget_, layout_->rects().gradient);
}

void ShellWnd::UseSystemColours() {
  const auto rgb = [](const QColor& c) {
    return std::array<std::uint8_t, 3>{static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                                       static_cast<std::uint8_t>(c.blue())};
  };
  const QPalette& p = palette();
  gradientStrip_->colours = ButtonColours{rgb(p.color(QPalette::Button)), rgb(p.color(QPalette::Light)),
                                          rgb(p.color(QPalette::Dark)), rgb(p.color(QPalette::ButtonText))};
}

void ShellWnd::changeEvent(QEvent* event) {
  if (event->type() == QEvent::PaletteChange && gradientWidget_) {
    UseSystemColours();
    gradientStrip_->Redraw(0, 0);
    gradientWidget_->update();
  }
  QWidget::changeEvent(event);
}

void ShellWnd::resizeEvent(QResizeEvent*) {
  if (!created_) {
    created_ = true;
    layout_->Create(width(), height());
  } else {
    layout_->Resize(width(), height());
  }
  SyncGeometry();
}

void ShellWnd::CaptureMouse() {
  grabMouse();
  captured_ = true;
}

void ShellWnd::ReleaseMouse() {
  if (!captured_) return;
  captured_ = false;
  releaseMouse();
}

void ShellWnd::SetCursorHidden(bool hidden) {
  if (hidden)
    setCursor(Qt::BlankCursor);
  else
    unsetCursor();
}

void ShellWnd::SetCursorPos(int x, int y) { QCursor::setPos(mapToGlobal(QPoint(x, y))); }

void ShellWnd::SetCursor(CursorKind kind) { setCursor(CursorShapeFor(kind)); }

bool ShellWnd::ShiftDown() const { return QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier; }

bool ShellWnd::CtrlDown() const { return QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier; }

void ShellWnd::mouseMoveEvent(QMouseEvent* event) {
  if (captured_ && layout_->splitDragging()) {
    layout_->SplitDragMove(event->position().toPoint().x());
    SyncGeometry();
  }
}

void ShellWnd::mouseReleaseEvent(QMouseEvent* event) {
  if (captured_ && layout_->splitDragging() && event->button() == Qt::LeftButton) {
    layout_->EndSplitDrag();
    SyncGeometry();
  }
}

void ShellWnd::wheelEvent(QWheelEvent* event) {
  // Qt reports the wheel where the pointer is; the layout picks the pane.
  const QPoint p = event->position().toPoint();
  const int delta = event->angleDelta().y();
  if (delta != 0) layout_->Wheel(delta, p.x(), p.y());
  event->accept();
}
