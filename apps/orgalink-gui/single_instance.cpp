#include "single_instance.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

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

SingleInstance::~SingleInstance() = default;

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
    // The connection itself is the request; nothing is read from it.
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    socket->disconnectFromServer();
    emit ShowRequested();
  }
}

bool SingleInstance::AskFirstToShow() const {
  QLocalSocket socket;
  socket.connectToServer(serverName_);
  if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
  socket.disconnectFromServer();
  return true;
}

}  // namespace orgalink::gui
