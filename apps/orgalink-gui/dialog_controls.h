// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRect>
#include <QString>

#include "dialog_units.h"

class QDialog;

namespace orgalink::gui {

// A control's place in dialog units.
struct UnitRect {
  int x;
  int y;
  int width;
  int height;
};

// The font every dialog of the program is laid out with: "MS Sans Serif"
// 8 pt, or the sans-serif face the system substitutes for it.
QFont DialogFont();

// Gives `dialog` its font and fixes its client area at `width` x `height`
// dialog units: these dialogs neither resize nor maximise. Returns the units
// the controls are to be placed with.
DialogUnits SetUpFixedDialog(QDialog& dialog, int width, int height);

QPushButton* AddButton(QDialog& dialog, const DialogUnits& units, const QString& text,
                       UnitRect place);
QLabel* AddLabel(QDialog& dialog, const DialogUnits& units, const QString& text, UnitRect place);
QGroupBox* AddGroupBox(QDialog& dialog, const DialogUnits& units, const QString& title,
                       UnitRect place);
QRadioButton* AddRadioButton(QDialog& dialog, const DialogUnits& units, const QString& text,
                             UnitRect place);

}  // namespace orgalink::gui
