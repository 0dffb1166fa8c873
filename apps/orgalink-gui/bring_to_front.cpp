// SPDX-License-Identifier: GPL-3.0-or-later
#include "bring_to_front.h"

#include <QApplication>
#include <QWidget>

namespace orgalink::gui {

void BringToFront(QWidget& window) {
  if (window.isMinimized()) {
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
  }
  window.raise();
  window.activateWindow();
  if (QWidget* busy = QApplication::activeModalWidget(); busy != nullptr && busy != &window) {
    busy->raise();
    busy->activateWindow();
  }
  // Does nothing once the window is active.
  QApplication::alert(&window);
}

}  // namespace orgalink::gui
