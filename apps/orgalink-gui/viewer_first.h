// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QEventLoop>
#include <QObject>
#include <QString>

namespace orgalink::gui {

class ArchiveViewer;
class MainDialog;

// The program started with an archive: its viewer stands alone, and the
// program ends with the last viewer unless the user asks for the main
// window from one of them.
class ViewerFirst : public QObject {
  Q_OBJECT

 public:
  explicit ViewerFirst(MainDialog& window);

  // A viewer of `path` over the hidden main window, offering to show it.
  ArchiveViewer* Open(const QString& path);

  // Waits until the last viewer is closed (false) or the main window is
  // asked for (true).
  bool Run();

  // While Run waits: a later copy's archives open here, not over the window.
  bool Waiting() const { return loop_.isRunning(); }

  void RequestMainWindow();

 private:
  void Closed();

  MainDialog& window_;
  QEventLoop loop_;
  int open_ = 0;
  bool mainWindowWanted_ = false;
};

}  // namespace orgalink::gui
