#include "shell/qt/clipboard_bridge.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

#include "editor/pixel_ops.h"
#include "shell/app.h"

namespace {

QImage ToImage(const TrueColourPicture& picture) {
  QImage image(picture.width, picture.height, QImage::Format_RGBA8888);
  for (int y = 0; y < picture.height; ++y)
    std::copy_n(picture.rgba.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width) * 4,
                static_cast<std::size_t>(picture.width) * 4, image.scanLine(y));
  return image;
}

std::optional<TrueColourPicture> FromImage(const QImage& source) {
  if (source.isNull() || source.width() <= 0 || source.height() <= 0) return std::nullopt;
  const QImage image = source.convertToFormat(QImage::Format_RGBA8888);
  TrueColourPicture picture;
  picture.width = image.width();
  picture.height = image.height();
  picture.rgba.resize(static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height) * 4);
  for (int y = 0; y < picture.height; ++y)
    std::copy_n(image.constScanLine(y), static_cast<std::size_t>(picture.width) * 4,
                picture.rgba.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(picture.width) * 4);
  return picture;
}

}  // namespace

void ConnectClipboard(App& app) {
  app.services.putClipboardPicture = [](const TrueColourPicture& picture) {
    if (picture.width > 0 && picture.height > 0) QGuiApplication::clipboard()->setImage(ToImage(picture));
  };
  // What this program put there pastes from its own piece, exact to the
  // index; only another program's picture goes through the palette.
  app.services.takeClipboardPicture = [](std::string& refusal) -> std::optional<TrueColourPicture> {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard->ownsClipboard()) return std::nullopt;
    const QImage image = clipboard->image();
    if (image.width() > kMaxPastedSide || image.height() > kMaxPastedSide) {
      refusal = std::string(kPastedPictureTooLargeText) + " (" + std::to_string(image.width()) + " x " +
                std::to_string(image.height()) + ")";
      return std::nullopt;
    }
    return FromImage(image);
  };
}

void DisconnectClipboard(App& app) {
  app.services.putClipboardPicture = nullptr;
  app.services.takeClipboardPicture = nullptr;
}
