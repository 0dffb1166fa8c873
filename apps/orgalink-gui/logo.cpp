// SPDX-License-Identifier: GPL-3.0-or-later
#include "logo.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

namespace orgalink::gui {

namespace {
constexpr int kLargestTenths = 160;
constexpr int kSmallestTenths = 10;
constexpr int kStepTenths = 10;
constexpr int kSecondLineDrop = 20;
}  // namespace

QFont LogoFace() {
  QFont face;
  if (QFontDatabase::hasFamily(QStringLiteral("Times New Roman"))) {
    face.setFamily(QStringLiteral("Times New Roman"));
  } else {
    // Asking for the generic family lets the system's font configuration
    // pick its preferred serif face.
    face.setFamily(QStringLiteral("serif"));
    face.setStyleHint(QFont::Serif);
    face.setFamily(QFontInfo(face).family());
  }
  face.setBold(true);
  face.setItalic(true);
  return face;
}

std::optional<QFont> FitLogoFont(const QWidget& widget, int width) {
  QFont font = LogoFace();
  for (int tenths = kLargestTenths; tenths >= kSmallestTenths; tenths -= kStepTenths) {
    font.setPointSizeF(tenths / 10.0);
    const QFontMetrics metrics(font, &widget);
    if (metrics.horizontalAdvance(QString::fromLatin1(kLogoSecondLine)) < width) return font;
  }
  return std::nullopt;
}

void PaintLogo(QPainter& painter, const QRect& rect, const std::optional<QFont>& font) {
  painter.save();
  if (font) painter.setFont(*font);
  painter.setPen(QColor(0, 0, 255));
  painter.setBackgroundMode(Qt::TransparentMode);
  const int ascent = painter.fontMetrics().ascent();
  painter.drawText(rect.topLeft() + QPoint(0, ascent), QString::fromLatin1(kLogoFirstLine));
  painter.drawText(rect.topLeft() + QPoint(0, ascent + kSecondLineDrop),
                   QString::fromLatin1(kLogoSecondLine));
  painter.restore();
}

}  // namespace orgalink::gui
