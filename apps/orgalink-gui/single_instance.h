// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

namespace orgalink::gui {

// One copy of the program per user. The first copy holds a lock file in the
// user's runtime folder for as long as it runs, and listens on a local
// socket beside it; a later copy finds the lock taken, asks the first
// through the socket to come to the front, or to open an archive, and ends.
// A request is one connection: nothing sent asks the first copy to show
// itself, a path (UTF-8) asks it to open that archive.
class SingleInstance : public QObject {
  Q_OBJECT

 public:
  // `runtimeFolder`: where the lock and the socket live.
  explicit SingleInstance(const QString& runtimeFolder);
  ~SingleInstance() override;

  // True when this is the only copy; from then on until destruction later
  // copies see it running.
  bool TryBecomeFirst();

  // The first copy, once its window is up and titled: take requests.
  bool Listen();

  // A later copy: asks the first to come to the front. False when it
  // could not be reached (it has no window yet, or is ending).
  bool AskFirstToShow() const;
  // A later copy: hands `path` to the first to open, made absolute here,
  // where it was given. False as for AskFirstToShow.
  bool AskFirstToOpen(const QString& path) const;

  // The socket's name: the full path of "PELLICO_BR" in the runtime folder.
  const QString& ServerName() const { return serverName_; }

 signals:
  // A later copy asked this one to come to the front.
  void ShowRequested();
  // A later copy handed over the archive at `path` (absolute).
  void OpenRequested(const QString& path);

 private:
  void OnConnection();
  bool Send(const QByteArray& request) const;

  QString serverName_;
  QLockFile lock_;
  std::unique_ptr<QLocalServer> server_;
  bool ending_ = false;
};

// The user's runtime folder ($XDG_RUNTIME_DIR, or Qt's fallback for it).
QString UserRuntimeFolder();

}  // namespace orgalink::gui
