// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialog_units.h"

#include <QFontMetrics>

namespace orgalink::gui {

namespace {

// The average width is taken over the Latin letters, rounded to the nearest
// pixel, as dialog managers have always measured it; a font's own "average"
// figure weighs in digits and punctuation and lays dialogs out too wide.
int AverageLetterWidth(const QFontMetrics& metrics) {
  const int letters = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return (letters / 26 + 1) / 2;
}

int Scale(int units, int base, int divisor) {
  return (units * base + divisor / 2) / divisor;
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
  const QFontMetrics metrics(font);
  charWidth_ = AverageLetterWidth(metrics);
  charHeight_ = metrics.height();
}

int DialogUnits::X(int units) const {
  return Scale(units, charWidth_, 4);
}

int DialogUnits::Y(int units) const {
  return Scale(units, charHeight_, 8);
}

QRect DialogUnits::Rect(int x, int y, int width, int height) const {
  // Both corners are converted, so that adjacent controls meet exactly.
  return QRect(QPoint(X(x), Y(y)), QPoint(X(x + width), Y(y + height)) - QPoint(1, 1));
}

QSize DialogUnits::Size(int width, int height) const {
  return QSize(X(width), Y(height));
}

}  // namespace orgalink::gui
