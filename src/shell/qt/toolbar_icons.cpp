#include "shell/qt/toolbar_icons.h"

#include <QGuiApplication>
#include <QPalette>
#include <QPainter>
#include <QPainterPath>

#include "shell/command_table.h"

QString PlainLabel(const std::string& label) {
  QString s = QString::fromStdString(label);
  const qsizetype tab = s.indexOf('\t');
  if (tab >= 0) s.truncate(tab);
  s.remove('&');
  return s;
}

namespace {

constexpr int kW = 16;
constexpr int kH = 15;

// The pictures are drawn in dark ink for light buttons; on a dark theme's
// buttons that ink turns the theme's button text colour, so nothing is
// black on dark.
QPixmap ReadableOnButtons(const QPixmap& picture) {
  const QPalette palette = QGuiApplication::palette();
  if (palette.color(QPalette::Button).lightness() >= 128) return picture;
  const QColor ink = palette.color(QPalette::ButtonText);
  QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(row[x]) > 0 && QColor(row[x]).lightness() < 72)
        row[x] = qRgba(ink.red(), ink.green(), ink.blue(), qAlpha(row[x]));
  }
  QPixmap out = QPixmap::fromImage(image);
  out.setDevicePixelRatio(picture.devicePixelRatio());
  return out;
}

// A picture kW x kH in device-independent pixels, `ratio` device pixels to
// each: drawn at twice the density it stays sharp on high-density screens.
QPixmap Blank(int ratio = 1) {
  QPixmap p(kW * ratio, kH * ratio);
  p.setDevicePixelRatio(ratio);
  p.fill(Qt::transparent);
  return p;
}

void Folder(QPainter& g) {
  g.setPen(QColor(120, 90, 0));
  g.setBrush(QColor(240, 200, 80));
  g.drawRect(1, 4, 13, 9);
  g.drawRect(1, 2, 5, 2);
}

void Disk(QPainter& g) {
  g.setPen(QColor(20, 20, 90));
  g.setBrush(QColor(60, 80, 200));
  g.drawRect(1, 1, 13, 12);
  g.setBrush(Qt::white);
  g.drawRect(4, 1, 7, 4);
  g.drawRect(3, 8, 9, 5);
}

void Camera(QPainter& g) {
  g.setPen(Qt::black);
  g.setBrush(QColor(90, 90, 90));
  g.drawRect(1, 4, 13, 9);
  g.drawRect(5, 2, 5, 2);
  g.setBrush(QColor(160, 200, 255));
  g.drawEllipse(5, 6, 5, 5);
}

void Brush(QPainter& g) {
  g.setPen(QPen(QColor(120, 70, 20), 2));
  g.drawLine(13, 1, 6, 8);
  g.setPen(Qt::NoPen);
  g.setBrush(QColor(220, 40, 40));
  g.drawEllipse(2, 8, 6, 6);
}

void Grid(QPainter& g) {
  g.setPen(QColor(0, 110, 0));
  for (int i = 1; i < kW; i += 4) g.drawLine(i, 1, i, 13);
  for (int j = 1; j < kH; j += 4) g.drawLine(1, j, 13, j);
  g.setPen(QPen(QColor(200, 0, 0), 1));
  g.drawLine(1, 13, 13, 1);
}

// A patch of skin with a mapped triangle drawn over it.
void MappingOverlay(QPainter& g) {
  g.setPen(Qt::NoPen);
  g.setBrush(QColor(190, 140, 90));
  g.drawRect(1, 1, 13, 12);
  g.setPen(QColor(255, 255, 0));
  g.drawLine(2, 12, 7, 2);
  g.drawLine(7, 2, 13, 10);
  g.drawLine(13, 10, 2, 12);
}

// A dashed box with handles at its corners.
void MappingFrame(QPainter& g) {
  g.setPen(QPen(Qt::black, 1, Qt::DotLine));
  g.setBrush(Qt::NoBrush);
  g.drawRect(2, 2, 11, 10);
  g.setPen(Qt::NoPen);
  g.setBrush(QColor(0, 110, 0));
  for (const QPoint& p : {QPoint(1, 1), QPoint(12, 1), QPoint(1, 11), QPoint(12, 11)}) g.drawRect(p.x(), p.y(), 3, 3);
}

// A cube seen from the camera, projected down onto a sheet.
void FromView(QPainter& g) {
  g.setPen(QColor(40, 40, 40));
  g.setBrush(QColor(160, 200, 255));
  g.drawRect(1, 4, 7, 7);
  g.drawLine(1, 4, 4, 1);
  g.drawLine(8, 4, 11, 1);
  g.drawLine(4, 1, 11, 1);
  g.drawLine(11, 1, 11, 8);
  g.drawLine(11, 8, 8, 11);
  g.setPen(QPen(QColor(200, 0, 0), 1));
  g.drawLine(9, 13, 14, 13);
  g.drawLine(14, 13, 14, 9);
}

// A double arrow along the one axis a mapping drag may still move on.
void AxisArrow(QPainter& g, bool horizontal) {
  g.setPen(QPen(QColor(0, 0, 140), 1));
  if (horizontal) {
    g.drawLine(1, 7, 14, 7);
    g.drawLine(1, 7, 4, 4);
    g.drawLine(1, 7, 4, 10);
    g.drawLine(14, 7, 11, 4);
    g.drawLine(14, 7, 11, 10);
  } else {
    g.drawLine(7, 0, 7, 14);
    g.drawLine(7, 0, 4, 3);
    g.drawLine(7, 0, 10, 3);
    g.drawLine(7, 14, 4, 11);
    g.drawLine(7, 14, 10, 11);
  }
}

// A small box and a bigger one of the same shape.
void UniformScale(QPainter& g) {
  g.setPen(QColor(0, 0, 140));
  g.setBrush(Qt::NoBrush);
  g.drawRect(1, 6, 7, 7);
  g.drawRect(1, 1, 12, 12);
  g.drawLine(8, 6, 12, 2);
}

// Coloured texels with an arrow carrying them along.
void DragPixels(QPainter& g) {
  const QColor colours[] = {QColor(220, 40, 40), QColor(40, 160, 40), QColor(40, 40, 220), QColor(230, 200, 40)};
  for (int i = 0; i < 4; ++i) g.fillRect(1 + (i % 2) * 4, 1 + (i / 2) * 4, 4, 4, colours[i]);
  g.setPen(QPen(Qt::black, 1));
  g.drawLine(6, 8, 14, 14);
  g.drawLine(14, 14, 14, 10);
  g.drawLine(14, 14, 10, 14);
}

void Letters(QPainter& g, const QString& text, const QColor& colour) {
  g.setPen(Qt::NoPen);
  g.setBrush(colour);
  g.drawRoundedRect(0, 0, kW - 1, kH - 1, 3, 3);
  QFont f = g.font();
  f.setPixelSize(text.size() > 1 ? 8 : 11);
  f.setBold(true);
  g.setFont(f);
  g.setPen(Qt::white);
  g.drawText(QRect(0, 0, kW - 1, kH - 1), Qt::AlignCenter, text);
}

// Two letters standing for a label: its first letters of the first two words.
// The curved and boxed projections: the body they wrap the skin round.
void ProjectionShapeIcon(QPainter& g, int shape) {
  g.setPen(QPen(Qt::black, 1));
  g.setBrush(QColor(120, 190, 240));
  if (shape == 0) {
    g.drawRect(4, 3, 7, 9);
    g.drawEllipse(4, 1, 7, 4);
  } else if (shape == 1) {
    g.drawEllipse(2, 1, 11, 11);
    g.drawLine(2, 7, 13, 7);
  } else {
    g.drawRect(3, 5, 7, 7);
    g.drawLine(3, 5, 6, 2);
    g.drawLine(10, 5, 13, 2);
    g.drawLine(6, 2, 13, 2);
    g.drawLine(13, 2, 13, 9);
    g.drawLine(10, 12, 13, 9);
  }
}

// Islands side by side, and the stretch colours from blue to red.
void PackIcon(QPainter& g) {
  g.setPen(QPen(Qt::black, 1));
  g.setBrush(QColor(0, 170, 90));
  g.drawRect(1, 1, 7, 6);
  g.drawRect(10, 1, 4, 6);
  g.drawRect(1, 9, 4, 4);
  g.drawRect(7, 9, 7, 4);
}

void StretchIcon(QPainter& g) {
  const QColor colours[] = {QColor(0, 0, 190), QColor(0, 200, 220), QColor(0, 190, 0), QColor(230, 220, 0),
                            QColor(220, 0, 0)};
  g.setPen(Qt::NoPen);
  for (int i = 0; i < 5; ++i) {
    g.setBrush(colours[i]);
    g.drawRect(1 + i * 3, 3, 3, 9);
  }
}

QString Abbreviation(const QString& label) {
  const QStringList words = label.split(' ', Qt::SkipEmptyParts);
  QString a;
  for (const QString& w : words) {
    if (!w.isEmpty() && w[0].isLetterOrNumber()) a += w[0].toUpper();
    if (a.size() == 2) break;
  }
  return a.isEmpty() ? QString("?") : a;
}

}  // namespace

namespace {

QPixmap DrawCommandIcon(const Command& command, int ratio) {
  const QString label = PlainLabel(command.label);
  const QString lower = label.toLower();
  QPixmap p = Blank(ratio);
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing, false);
  if (lower.startsWith("open")) {
    Folder(g);
  } else if (lower.startsWith("save")) {
    Disk(g);
  } else if (lower.contains("camera")) {
    Camera(g);
  } else if (lower.startsWith("show mapping in")) {
    MappingOverlay(g);
  } else if (lower.startsWith("show mapping frame")) {
    MappingFrame(g);
  } else if (lower.startsWith("map from 3d")) {
    FromView(g);
  } else if (lower.startsWith("cylinder projection")) {
    ProjectionShapeIcon(g, 0);
  } else if (lower.startsWith("sphere projection")) {
    ProjectionShapeIcon(g, 1);
  } else if (lower.startsWith("box projection")) {
    ProjectionShapeIcon(g, 2);
  } else if (lower.startsWith("pack islands")) {
    PackIcon(g);
  } else if (lower.startsWith("stretch display")) {
    StretchIcon(g);
  } else if (lower.startsWith("lock x")) {
    AxisArrow(g, true);
  } else if (lower.startsWith("lock y")) {
    AxisArrow(g, false);
  } else if (lower.startsWith("uniform scales")) {
    UniformScale(g);
  } else if (lower.startsWith("drag pixels")) {
    DragPixels(g);
  } else if (lower.contains("paint mode")) {
    Brush(g);
  } else if (lower.contains("mapping mode")) {
    Grid(g);
  } else if (lower.contains("point brush")) {
    g.setPen(Qt::NoPen);
    g.setBrush(Qt::black);
    g.drawEllipse(5, 5, 5, 5);
  } else if (lower.contains("pencil")) {
    g.setPen(QPen(Qt::black, 1));
    QPainterPath path(QPointF(1, 10));
    path.cubicTo(5, 0, 9, 15, 14, 4);
    g.drawPath(path);
  } else if (lower.contains("line brush")) {
    g.setPen(QPen(Qt::black, 2));
    g.drawLine(2, 12, 13, 2);
  } else if (lower == "brush tool") {
    Brush(g);
  } else if (lower == "fill tool") {
    // A tipped bucket pouring.
    g.setPen(Qt::black);
    g.setBrush(QColor(200, 200, 210));
    g.drawPolygon(QPolygon({QPoint(3, 5), QPoint(9, 1), QPoint(13, 7), QPoint(7, 11)}));
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(40, 90, 220));
    g.drawEllipse(1, 9, 5, 5);
  } else if (lower == "line tool") {
    g.setPen(QPen(QColor(40, 40, 40), 1));
    g.drawLine(1, 13, 14, 1);
    g.drawRect(0, 12, 2, 2);
    g.drawRect(13, 0, 2, 2);
  } else if (lower == "rectangle tool") {
    g.setPen(QPen(QColor(40, 40, 40), 1));
    g.setBrush(Qt::NoBrush);
    g.drawRect(2, 3, 11, 8);
  } else if (lower == "ellipse tool") {
    g.setPen(QPen(QColor(40, 40, 40), 1));
    g.setBrush(Qt::NoBrush);
    g.drawEllipse(1, 3, 13, 9);
  } else if (lower == "eyedropper tool") {
    g.setPen(QPen(QColor(60, 60, 60), 2));
    g.drawLine(3, 12, 10, 5);
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(60, 60, 60));
    g.drawEllipse(9, 1, 5, 5);
  } else if (lower == "select pixels tool" || lower == "lasso pixels tool") {
    QPen dashes(QColor(40, 40, 40), 1, Qt::DashLine);
    g.setPen(dashes);
    g.setBrush(Qt::NoBrush);
    if (lower.startsWith("select"))
      g.drawRect(2, 2, 11, 10);
    else
      g.drawPolygon(QPolygon({QPoint(2, 4), QPoint(9, 1), QPoint(14, 6), QPoint(10, 13), QPoint(3, 11)}));
  } else if (lower == "round brush" || lower == "square brush") {
    g.setPen(Qt::NoPen);
    g.setBrush(QColor(40, 40, 40));
    if (lower.startsWith("round"))
      g.drawEllipse(3, 3, 9, 9);
    else
      g.drawRect(3, 3, 9, 9);
  } else if (lower == "larger" || lower == "smaller") {
    const int d = lower == "larger" ? 11 : 5;
    g.setPen(Qt::NoPen);
    g.setBrush(Qt::black);
    g.drawEllipse((kW - d) / 2, (kH - d) / 2, d, d);
  } else if (lower.contains("colour") || lower.contains("color")) {
    g.setPen(Qt::black);
    g.setBrush(QColor(220, 40, 40));
    g.drawRect(2, 2, 11, 10);
  } else if (lower.contains("tint")) {
    g.setPen(Qt::black);
    g.setBrush(QColor(220, 40, 40, 110));
    g.drawRect(2, 2, 11, 10);
  } else {
    const bool mapping = command.menu.size() > 0 && command.menu[0] == "&Mapping";
    Letters(g, Abbreviation(label), mapping ? QColor(0, 110, 60) : QColor(40, 70, 150));
  }
  g.end();
  return ReadableOnButtons(p);
}

}  // namespace

QIcon CommandIcon(const Command& command) {
  QIcon icon;
  for (int ratio : {1, 2}) icon.addPixmap(DrawCommandIcon(command, ratio));
  return icon;
}

QIcon SkinListIcon(int image) {
  QPixmap p(12, 12);
  p.fill(Qt::transparent);
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing);
  if (image == 0) {
    // Linked into the model: two chain links.
    g.setPen(QPen(QColor(0, 90, 160), 2));
    g.drawEllipse(1, 3, 6, 6);
    g.drawEllipse(5, 3, 6, 6);
  } else {
    // Loaded beside the model: an open box.
    g.setPen(QPen(QColor(150, 90, 0), 1.5));
    g.drawRect(2, 2, 8, 8);
    g.drawLine(6, 6, 11, 1);
  }
  return QIcon(p);
}

QPixmap AppIconPixmap(int size) {
  QPixmap p(size, size);
  p.fill(Qt::transparent);
  QPainter g(&p);
  g.setRenderHint(QPainter::Antialiasing);
  g.scale(size / 64.0, size / 64.0);
  // A skin sheet with a triangle of its mapping on it.
  g.setPen(QPen(QColor(40, 40, 40), 2));
  g.setBrush(QColor(190, 140, 90));
  g.drawRect(6, 6, 52, 52);
  g.setBrush(QColor(120, 200, 120, 160));
  g.setPen(QPen(QColor(230, 230, 0), 2));
  QPolygonF tri;
  tri << QPointF(14, 50) << QPointF(32, 12) << QPointF(52, 44);
  g.drawPolygon(tri);
  return p;
}
