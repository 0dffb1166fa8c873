// SPDX-License-Identifier: GPL-3.0-or-later
#include "app_icon.h"

#include <QPainter>
#include <QPainterPath>

namespace orgalink::gui {

namespace {

// Drawn on a 32-unit grid and scaled, so every size shows the same picture.
void DrawOrganizer(QPainter& painter) {
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(20, 30, 90), 1.2));
  painter.setBrush(QColor(40, 70, 170));
  painter.drawRoundedRect(QRectF(5, 2, 22, 28), 3, 3);

  painter.setPen(QPen(QColor(20, 30, 90), 0.8));
  painter.setBrush(QColor(190, 215, 170));
  painter.drawRect(QRectF(8, 5, 16, 10));
  painter.setPen(QPen(QColor(60, 80, 60), 1));
  for (int line = 0; line < 3; ++line) {
    const double y = 7.5 + line * 2.5;
    painter.drawLine(QPointF(10, y), QPointF(line == 2 ? 17 : 22, y));
  }

  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(225, 230, 245));
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 4; ++column) {
      painter.drawRoundedRect(QRectF(8.5 + column * 4, 18 + row * 3.6, 3, 2.4), 0.6, 0.6);
    }
  }
}

}  // namespace

QPixmap DrawAppIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.scale(size / 32.0, size / 32.0);
  DrawOrganizer(painter);
  return pixmap;
}

QIcon AppIcon() {
  QIcon icon;
  for (const int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(DrawAppIcon(size));
  return icon;
}

}  // namespace orgalink::gui
