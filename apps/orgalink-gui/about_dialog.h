#pragma once

#include <QDialog>

namespace orgalink::gui {

// "About": the icon, the product line and this program's name and version.
class AboutDialog : public QDialog {
 public:
  explicit AboutDialog(QWidget* parent);
};

// The second line of the About box.
QString ProgramVersionLine();

}  // namespace orgalink::gui
