#pragma once
// A pane's picture as a QImage: 8-bit with its palette as colour table, or
// 24-bit B, G, R; bottom-up rows are turned the right way up.

#include <QImage>

#include "platform/pane.h"

// A null image when the picture is empty or inconsistent (rows shorter than
// its width, an 8-bit picture without a palette).
QImage PaneImageToQImage(const PaneImage& image);
