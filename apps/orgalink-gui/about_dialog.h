// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

namespace orgalink::gui {

// "About": the icon, the product line, this program's name and version, and
// its licence.
class AboutDialog : public QDialog {
 public:
  explicit AboutDialog(QWidget* parent);
};

// The second line of the About box.
QString ProgramVersionLine();

// The third line: the licence under which the program may be shared and
// changed.
QString LicenceLine();

}  // namespace orgalink::gui
