// SPDX-License-Identifier: GPL-3.0-or-later
#include "title_fit.h"

#include <QApplication>
#include <QDialog>
#include <QFont>
#include <QFontMetrics>
#include <QString>
#include <QVariant>
#include <QWidget>
#include <algorithm>

namespace orgalink::gui {

namespace {

// What the window manager draws beside the title (icon, buttons, margins),
// in heights of its font: generous, as it varies between desktops.
constexpr int kTitleBarAllowance = 6;
constexpr const char* kBuiltWidth = "orgalinkBuiltWidth";

int TitleBarWidthFor(const QString& title) {
  // Most window managers draw titles in bold.
  QFont font = QApplication::font("QMdiSubWindowTitleBar");
  font.setBold(true);
  const QFontMetrics metrics(font);
  return metrics.horizontalAdvance(title) + kTitleBarAllowance * metrics.height();
}

}  // namespace

void SetFittingTitle(QDialog& dialog, const QString& title) {
  dialog.setWindowTitle(title);
  QVariant built = dialog.property(kBuiltWidth);
  if (!built.isValid()) {
    built = dialog.width();
    dialog.setProperty(kBuiltWidth, built);
  }
  // Never narrower again: a dialog that jumps in size as its title changes
  // is worse than one a little wider than a short title needs.
  const int wanted = std::max({built.toInt(), dialog.width(), TitleBarWidthFor(title)});
  const int shift = (wanted - built.toInt()) / 2 - (dialog.width() - built.toInt()) / 2;
  if (wanted == dialog.width()) return;
  for (QWidget* control : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!control->isWindow()) control->move(control->x() + shift, control->y());
  }
  dialog.setFixedWidth(wanted);
}

}  // namespace orgalink::gui
