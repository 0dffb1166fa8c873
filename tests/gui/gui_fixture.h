// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "gui_paths.h"
#include "platform/cancel_token.h"
#include "support/temp_dir.h"

namespace orgalink::guitest {

// A settings file and backup folder of the test's own, with the program's
// character tables from the source tree. The settings file lies at
// `settingsFile` inside the folder, whose folders need not exist.
class GuiFolder {
 public:
  explicit GuiFolder(const std::string& settingsFile = "Orgalink.ini");

  const gui::GuiPaths& Paths() const { return paths_; }
  std::string File(const std::string& name) const { return dir_.File(name); }
  // Adds `line` to the settings file before the program reads it.
  void AppendSetting(const std::string& section, const std::string& key, const std::string& value);
  // The key's value as the settings file holds it now.
  std::optional<std::string> StoredSetting(const std::string& section,
                                           const std::string& key) const;

 private:
  testsupport::TempDir dir_;
  gui::GuiPaths paths_;
};

// The child widget of that object name; fails the test when there is none.
template <typename Widget>
Widget* Child(const QWidget& parent, const char* name) {
  auto* child = parent.findChild<Widget*>(QString::fromLatin1(name));
  if (child == nullptr) qFatal("no child widget \"%s\"", name);
  return child;
}

// Runs `act` once on the first modal dialog of type Dialog to come up.
template <typename Dialog>
void WhenUp(QObject* context, std::function<void(Dialog&)> act) {
  auto* timer = new QTimer(context);
  QObject::connect(timer, &QTimer::timeout, context, [timer, act] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    timer->deleteLater();
    timer->stop();
    act(*dialog);
  });
  timer->start(10);
}

}  // namespace orgalink::guitest

namespace orgalink::guitest {

// The texts of every label of `parent`, in creation order.
QStringList LabelTexts(const QWidget& parent);

// For a worker standing in for the link: blocks until the dialog sets the
// abort request `abort` (true) or 20 s have passed (false).
bool WaitForAbort(const platform::CancelToken& abort);

}  // namespace orgalink::guitest
