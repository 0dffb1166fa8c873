// SPDX-License-Identifier: GPL-3.0-or-later
#include "single_instance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>
#include <memory>

namespace orgalink::gui {

namespace {
constexpr const char* kInstanceName = "PELLICO_BR";
constexpr int kConnectTimeoutMs = 2000;
}  // namespace

QString UserRuntimeFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

SingleInstance::SingleInstance(const QString& runtimeFolder)
    : serverName_(QDir(runtimeFolder).filePath(QString::fromLatin1(kInstanceName))),
      lock_(serverName_ + QStringLiteral(".lock")) {
  // A lock belongs to its holder for as long as that process lives, however
  // long it runs; only a dead holder's lock is taken over.
  lock_.setStaleLockTime(0);
}

SingleInstance::~SingleInstance() {
  // Connections still open close with the server; what they would report
  // then has no one left to act on it.
  ending_ = true;
  server_.reset();
}

bool SingleInstance::TryBecomeFirst() {
  return lock_.tryLock(0);
}

bool SingleInstance::Listen() {
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  // The lock is ours, so a socket left by a copy that died is dead too.
  QLocalServer::removeServer(serverName_);
  if (!server_->listen(serverName_)) return false;
  connect(server_.get(), &QLocalServer::newConnection, this, &SingleInstance::OnConnection);
  return true;
}

void SingleInstance::OnConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    // The request is complete when the later copy hangs up.
    auto request = std::make_shared<QByteArray>();
    connect(socket, &QLocalSocket::readyRead, socket,
            [socket, request] { request->append(socket->readAll()); });
    connect(socket, &QLocalSocket::disconnected, this, [this, socket, request] {
      request->append(socket->readAll());
      socket->deleteLater();
      if (ending_) return;
      if (request->isEmpty()) {
        emit ShowRequested();
      } else {
        emit OpenRequested(QString::fromUtf8(*request));
      }
    });
  }
}

bool SingleInstance::AskFirstToShow() const {
  return Send({});
}

bool SingleInstance::AskFirstToOpen(const QString& path) const {
  return Send(QFileInfo(path).absoluteFilePath().toUtf8());
}

bool SingleInstance::Send(const QByteArray& request) const {
  QLocalSocket socket;
  socket.connectToServer(serverName_);
  if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
  socket.write(request);
  while (socket.bytesToWrite() > 0) {
    if (!socket.waitForBytesWritten(kConnectTimeoutMs)) return false;
  }
  socket.disconnectFromServer();
  return true;
}

}  // namespace orgalink::gui
