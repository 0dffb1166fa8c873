// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer_first.h"

#include "archive_viewer.h"
#include "main_dialog.h"

namespace orgalink::gui {

ViewerFirst::ViewerFirst(MainDialog& window) : window_(window) {}

ArchiveViewer* ViewerFirst::Open(const QString& path) {
  ArchiveViewer* viewer = window_.OpenViewer(path);
  viewer->OfferMainWindow(!mainWindowWanted_);
  ++open_;
  connect(viewer, &QObject::destroyed, this, &ViewerFirst::Closed);
  connect(viewer, &ArchiveViewer::MainWindowRequested, this, &ViewerFirst::RequestMainWindow);
  return viewer;
}

bool ViewerFirst::Run() {
  if (open_ > 0 && !mainWindowWanted_) loop_.exec();
  return mainWindowWanted_;
}

void ViewerFirst::RequestMainWindow() {
  mainWindowWanted_ = true;
  // The window is up from now on; asking again would do nothing.
  for (ArchiveViewer* viewer : window_.findChildren<ArchiveViewer*>()) {
    viewer->OfferMainWindow(false);
  }
  loop_.quit();
}

void ViewerFirst::Closed() {
  --open_;
  if (open_ == 0 && !mainWindowWanted_) loop_.quit();
}

}  // namespace orgalink::gui
