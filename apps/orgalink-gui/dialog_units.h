// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

namespace orgalink::gui {

// Dialog layouts are given in dialog units, which follow the dialog's font:
// a horizontal unit is a quarter of the font's average character width and a
// vertical unit an eighth of its character height. The same layout thus
// keeps its proportions whatever face and size the system substitutes.
class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font);

  int X(int units) const;
  int Y(int units) const;
  QRect Rect(int x, int y, int width, int height) const;
  QSize Size(int width, int height) const;

  int CharWidth() const { return charWidth_; }
  int CharHeight() const { return charHeight_; }

 private:
  int charWidth_;
  int charHeight_;
};

}  // namespace orgalink::gui
