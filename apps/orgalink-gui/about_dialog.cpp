// SPDX-License-Identifier: GPL-3.0-or-later
#include "about_dialog.h"

#include <QLabel>

#include "app_icon.h"
#include "dialog_controls.h"

#ifndef ORGALINK_VERSION
#define ORGALINK_VERSION "unknown"
#endif

namespace orgalink::gui {

namespace {
constexpr int kIconPixels = 32;
}

// The line above names the software this program takes the place of; this
// one names the program, with its only version number in the box.
QString ProgramVersionLine() {
  return QStringLiteral("This program: orgalink-gui %1").arg(QStringLiteral(ORGALINK_VERSION));
}

QString LicenceLine() {
  return QStringLiteral("Free software under the GNU GPL, version 3 or later (GPL-3.0-or-later)");
}

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
  setWindowTitle(QStringLiteral("About"));
  const DialogUnits units = SetUpFixedDialog(*this, 313, 55);

  // An icon control takes the icon's own size; only its corner is in units.
  auto* icon = new QLabel(this);
  icon->setPixmap(DrawAppIcon(kIconPixels));
  icon->setGeometry(units.X(11), units.Y(17), kIconPixels, kIconPixels);

  AddLabel(*this, units,
           QStringLiteral("PC Interface Software for Pellico, Pellico-M Version 1.10"),
           {40, 10, 212, 8})
      ->setObjectName(QStringLiteral("productLabel"));
  AddLabel(*this, units, ProgramVersionLine(), {40, 25, 202, 8})
      ->setObjectName(QStringLiteral("versionLabel"));
  AddLabel(*this, units, LicenceLine(), {40, 38, 266, 8})
      ->setObjectName(QStringLiteral("licenceLabel"));

  QPushButton* ok = AddButton(*this, units, QStringLiteral("OK"), {256, 7, 50, 14});
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace orgalink::gui
