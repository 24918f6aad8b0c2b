#include "app/companion_server.h"

#include <QLocalServer>
#include <QLocalSocket>

#include <memory>

namespace rd {

namespace {

// Per connection: the bytes of a frame not yet complete.
struct TConnection : QObject {
  TCompanionFrameReader reader;
};

}  // namespace

TCompanionServer::TCompanionServer(QObject* parent, TReceive receive)
    : QObject(parent), server_(new QLocalServer(this)), receive_(std::move(receive)) {
  const QString path = QString::fromStdString(CompanionSocketPath());
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  // A socket left by a window that ended abnormally would block the name.
  if (!server_->listen(path)) {
    QLocalSocket probe;
    probe.connectToServer(path);
    if (!probe.waitForConnected(200)) {
      QLocalServer::removeServer(path);
      server_->listen(path);
    }
  }
  connect(server_, &QLocalServer::newConnection, this, &TCompanionServer::Accept);
}

TCompanionServer::~TCompanionServer() { server_->close(); }

bool TCompanionServer::Listening() const { return server_->isListening(); }

void TCompanionServer::Accept() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    auto* connection = new TConnection;
    connection->setParent(socket);
    connection->setObjectName(QStringLiteral("frames"));
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    Read(socket);
  }
}

void TCompanionServer::Read(QLocalSocket* socket) {
  auto* connection = socket->findChild<TConnection*>(QStringLiteral("frames"));
  if (!connection) return;
  const QByteArray bytes = socket->readAll();
  connection->reader.Feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  while (const std::optional<TCompanionFrame> frame = connection->reader.Next()) {
    bool valid = true;
    const std::optional<TCompanionOpen> open = name_.Apply(*frame, valid);
    if (!valid) {
      // A malformed frame ends this connection and changes nothing else.
      delete connection;
      socket->abort();
      return;
    }
    // Opening may ask the user; it runs after this handler, never inside it.
    if (open) QMetaObject::invokeMethod(this, [this, o = *open] { receive_(o.side, o.path); }, Qt::QueuedConnection);
  }
}

}  // namespace rd
