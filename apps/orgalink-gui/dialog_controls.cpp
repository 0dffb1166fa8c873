// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialog_controls.h"

#include <QDialog>

namespace orgalink::gui {

namespace {

template <typename Control>
Control* Place(Control* control, const DialogUnits& units, UnitRect place) {
  control->setGeometry(units.Rect(place.x, place.y, place.width, place.height));
  return control;
}

}  // namespace

QFont DialogFont() {
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(8);
  return font;
}

DialogUnits SetUpFixedDialog(QDialog& dialog, int width, int height) {
  dialog.setFont(DialogFont());
  const DialogUnits units(dialog.font());
  dialog.setFixedSize(units.Size(width, height));
  dialog.setSizeGripEnabled(false);
  return units;
}

QPushButton* AddButton(QDialog& dialog, const DialogUnits& units, const QString& text,
                       UnitRect place) {
  auto* button = new QPushButton(text, &dialog);
  // Only the dialog's own default button reacts to Enter.
  button->setAutoDefault(false);
  return Place(button, units, place);
}

QLabel* AddLabel(QDialog& dialog, const DialogUnits& units, const QString& text, UnitRect place) {
  auto* label = Place(new QLabel(text, &dialog), units, place);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  // The layouts were drawn for a narrower face than most systems offer: a
  // fixed text that would be cut off runs on to the right instead.
  const int needed = label->fontMetrics().horizontalAdvance(text);
  if (needed > label->width()) label->resize(needed, label->height());
  return label;
}

QGroupBox* AddGroupBox(QDialog& dialog, const DialogUnits& units, const QString& title,
                       UnitRect place) {
  // A frame drawn behind its neighbours, not a parent: the controls it
  // encloses are placed in the dialog's own units like every other.
  auto* box = Place(new QGroupBox(title, &dialog), units, place);
  box->lower();
  return box;
}

QRadioButton* AddRadioButton(QDialog& dialog, const DialogUnits& units, const QString& text,
                             UnitRect place) {
  return Place(new QRadioButton(text, &dialog), units, place);
}

}  // namespace orgalink::gui
