#include "platform/qt/pane_widget.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QWheelEvent>
#include <QWindow>

#include <cmath>

#include "platform/qt/pane_image.h"

MouseEvent ToMouseEvent(const QMouseEvent& event) {
  MouseEvent e;
  const QPoint p = event.position().toPoint();
  e.x = p.x();
  e.y = p.y();
  switch (event.button()) {
    case Qt::RightButton:
      e.button = MouseButton::Right;
      break;
    case Qt::MiddleButton:
      e.button = MouseButton::Middle;
      break;
    default:
      e.button = MouseButton::Left;
      break;
  }
  e.shift = event.modifiers() & Qt::ShiftModifier;
  e.ctrl = event.modifiers() & Qt::ControlModifier;
  e.leftDown = event.buttons() & Qt::LeftButton;
  e.rightDown = event.buttons() & Qt::RightButton;
  e.middleDown = event.buttons() & Qt::MiddleButton;
  return e;
}

Qt::CursorShape CursorShapeFor(CursorKind kind) {
  switch (kind) {
    case CursorKind::Camera:
      return Qt::OpenHandCursor;
    case CursorKind::Paint:
      return Qt::CrossCursor;
    case CursorKind::Mapping:
      return Qt::PointingHandCursor;
    case CursorKind::Cross:
      return Qt::CrossCursor;
    case CursorKind::SizeWE:
      return Qt::SplitHCursor;
    case CursorKind::Hidden:
      return Qt::BlankCursor;
    case CursorKind::Arrow:
      break;
  }
  return Qt::ArrowCursor;
}

MouseEvent PaneWidget::PaneEvent(const QMouseEvent& event) const {
  MouseEvent e = ToMouseEvent(event);
  const QPoint p = ToPanePoint(event.position());
  e.x = p.x();
  e.y = p.y();
  return e;
}

void PaneWidget::SetFullResolution(bool on) {
  if (fullResolution_ == on) return;
  fullResolution_ = on;
  if (unitsSize_.isValid()) ResizePaneFor(unitsSize_.width(), unitsSize_.height());
  update();
}

double PaneWidget::PaneScale() const {
  const double ratio = devicePixelRatioF();
  if (ratio <= 0) return 1.0;
  const double step = fullResolution_ ? 1.0 : std::max(1.0, std::floor(ratio));
  return ratio / step;
}

QPoint PaneWidget::ToPanePoint(const QPointF& at) const {
  return QPoint(static_cast<int>(std::floor(at.x() * paneScale_)), static_cast<int>(std::floor(at.y() * paneScale_)));
}

void PaneWidget::ResizePaneFor(int width, int height) {
  unitsSize_ = QSize(width, height);
  paneScale_ = PaneScale();
  pane_.Resize(static_cast<int>(std::ceil(width * paneScale_ - 1e-6)),
               static_cast<int>(std::ceil(height * paneScale_ - 1e-6)));
}

PaneWidget::PaneWidget(Pane& pane, QWidget* parent) : QWidget(parent), pane_(pane) {
  setObjectName(pane.WindowName());
  // The pane paints every pixel itself; nothing to erase first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  pane_.SetHost(this);
}

PaneWidget::~PaneWidget() {
  if (captured_) releaseMouse();
  pane_.SetHost(nullptr);
}

void PaneWidget::CaptureMouse() {
  grabMouse();
  captured_ = true;
}

void PaneWidget::ReleaseMouse() {
  if (!captured_) return;
  captured_ = false;
  releaseMouse();
}

bool PaneWidget::HasCapture() const { return captured_; }

void PaneWidget::SetCursorHidden(bool hidden) {
  cursorHidden_ = hidden;
  UpdateCursor();
}

void PaneWidget::SetCursorPos(int x, int y) {
  QCursor::setPos(mapToGlobal(QPointF(x / paneScale_, y / paneScale_)).toPoint());
}

void PaneWidget::SetCursor(CursorKind kind) {
  cursorKind_ = kind;
  cursorForced_ = true;
  UpdateCursor();
}

void PaneWidget::RepaintNow() {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  if (!pane_.TakeChangedArea(x0, y0, x1, y1)) {
    repaint();
    return;
  }
  // Only what the pane redrew goes to the window: converting a big picture
  // costs as much as drawing it.
  const QRectF area = QRectF(QPointF(x0, y0) / paneScale_, QPointF(x1 + 1, y1 + 1) / paneScale_);
  repaint(area.toAlignedRect());
}

bool PaneWidget::ShiftDown() const {
  return QGuiApplication::queryKeyboardModifiers() & Qt::ShiftModifier;
}

bool PaneWidget::CtrlDown() const {
  return QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier;
}

void PaneWidget::UpdateCursor() {
  if (cursorHidden_) {
    setCursor(Qt::BlankCursor);
    return;
  }
  setCursor(CursorShapeFor(cursorForced_ ? cursorKind_ : pane_.Cursor()));
}

bool PaneWidget::PaintStraight(QPainter& painter, const PaneImage& image, ThreadPool* pool) {
  if (!PaneImageUsable(image)) return false;
  QPaintEngine* engine = painter.paintEngine();
  if (!engine || engine->type() != QPaintEngine::Raster) return false;
  QPaintDevice* device = engine->paintDevice();
  if (!device || device->devType() != QInternal::Image) return false;
  auto* store = static_cast<QImage*>(device);
  const QImage::Format format = store->format();
  if (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied &&
      format != QImage::Format_ARGB32)
    return false;
  // A high-density store maps a widget pixel onto several: the painter scales.
  if (store->devicePixelRatio() != 1.0) return false;
  const QTransform transform = painter.deviceTransform();
  if (transform.type() > QTransform::TxTranslate) return false;
  const QPoint offset(qRound(transform.dx()), qRound(transform.dy()));
  // The region Qt lets this paint touch, in the store's pixels: the dirty
  // part of the widget less whatever lies over it.
  const QRegion allowed = engine->systemClip().isEmpty() ? QRegion(QRect(offset, size())) : engine->systemClip();
  const QRect picture = QRect(offset, QSize(image.width, image.height)) & store->rect();
  for (const QRect& rect : allowed) {
    const QRect part = rect & picture;
    if (part.isEmpty()) continue;
    auto* at = reinterpret_cast<std::uint32_t*>(store->scanLine(part.top())) + part.left();
    if (!PaneImageToPixels(image, part.translated(-offset), at, store->bytesPerLine(), pool)) return false;
  }
  return true;
}

bool PaneWidget::ConvertForPaint(const PaneImage& image, const QRegion& region, ThreadPool* pool) {
  // The kept copy holds the picture as last painted; only the region asked
  // for is drawn from it, so only that need be brought up to date.
  const QRect picture(0, 0, image.width, image.height);
  if (paneScale_ != 1.0 || screenImage_.size() != picture.size() || screenImage_.format() != QImage::Format_RGB32 ||
      !PaneImageUsable(image))
    return PaneImageToScreen(image, screenImage_, pool);
  for (const QRect& rect : region) {
    const QRect part = rect & picture;
    if (part.isEmpty()) continue;
    auto* at = reinterpret_cast<std::uint32_t*>(screenImage_.scanLine(part.top())) + part.left();
    if (!PaneImageToPixels(image, part, at, screenImage_.bytesPerLine(), pool)) return false;
  }
  return true;
}

void PaneWidget::paintEvent(QPaintEvent* event) {
  ++paintCount_;
  // Moved to a screen of another density: the buffer follows.
  if (unitsSize_.isValid() && PaneScale() != paneScale_) ResizePaneFor(unitsSize_.width(), unitsSize_.height());
  QPainter painter(this);
  const PaneImage& picture = pane_.Image();
  ThreadPool* pool = threadPool ? threadPool() : nullptr;
  QSize shown(picture.width, picture.height);
  if (!PaintStraight(painter, picture, pool)) {
    if (!ConvertForPaint(picture, event->region(), pool)) {
      painter.fillRect(rect(), palette().window());
      return;
    }
    // The pane's pixels are paneScale_ to a window unit; the painter
    // enlarges by the remaining whole step without smoothing.
    screenImage_.setDevicePixelRatio(paneScale_);
    painter.drawImage(QPoint(0, 0), screenImage_);
    shown = screenImage_.deviceIndependentSize().toSize();
  }
  // Beyond the picture (a pane narrower than its widget) the window colour.
  if (shown.width() < width())
    painter.fillRect(shown.width(), 0, width() - shown.width(), height(), palette().window());
  if (shown.height() < height())
    painter.fillRect(0, shown.height(), width(), height() - shown.height(), palette().window());
  DrawRubberBand(painter);
  painter.end();
  if (onPainted) onPainted();
}

void PaneWidget::DrawRubberBand(QPainter& painter) {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  if (!pane_.RubberBand(x0, y0, x1, y1)) return;
  const QRectF band = QRectF(QPointF(x0, y0) / paneScale_, QPointF(x1, y1) / paneScale_).normalized();
  // Two contrasting dashes read on any skin colour, light or dark.
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(Qt::black, 0));
  painter.drawRect(band);
  painter.setPen(QPen(Qt::white, 0, Qt::DashLine));
  painter.drawRect(band);
}

void PaneWidget::resizeEvent(QResizeEvent*) {
  if (forwardResize_) ResizePaneFor(width(), height());
}

void PaneWidget::mousePressEvent(QMouseEvent* event) { pane_.MouseDown(PaneEvent(*event)); }

void PaneWidget::mouseReleaseEvent(QMouseEvent* event) {
  pane_.MouseUp(PaneEvent(*event));
  update();  // a rubber band ends with the drag
}

void PaneWidget::mouseMoveEvent(QMouseEvent* event) {
  pane_.MouseMove(PaneEvent(*event));
  int x0, y0, x1, y1;
  if (pane_.RubberBand(x0, y0, x1, y1)) update();
  if (!cursorForced_) UpdateCursor();
}

// Qt turns a press that follows another quickly into a double-click and sends
// no press for it; the pane still gets the press (two quick dots are two dots),
// with the double-click after it for a pane that wants one.
void PaneWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  const MouseEvent e = PaneEvent(*event);
  pane_.MouseDown(e);
  pane_.DoubleClick(e);
}

void PaneWidget::wheelEvent(QWheelEvent* event) {
  // Handed on explicitly: Qt only passes real (spontaneous) wheel events up
  // by itself, and the parent must see every one.
  QWidget* parent = parentWidget();
  if (!parent) {
    event->ignore();
    return;
  }
  const QPointF at = event->position() + QPointF(pos());
  QWheelEvent forwarded(at, event->globalPosition(), event->pixelDelta(), event->angleDelta(), event->buttons(),
                        event->modifiers(), event->phase(), event->inverted(), event->source());
  QCoreApplication::sendEvent(parent, &forwarded);
  event->accept();
}

void PaneWidget::enterEvent(QEnterEvent*) {
  cursorForced_ = false;
  UpdateCursor();
}

bool PaneWidget::event(QEvent* event) {
  // Another window took the mouse (a dialog, the window manager): the pane
  // ends its drag as if the capture were lost.
  if (captured_ && event->type() == QEvent::WindowDeactivate) {
    captured_ = false;
    releaseMouse();
    pane_.CaptureLost();
  }
  return QWidget::event(event);
}
