// The window's end of the companion program's socket: accepts connections,
// cuts their bytes into frames and applies them to the pending file name.
#pragma once

#include <QObject>

#include <functional>
#include <string>

#include "app/companion.h"

class QLocalServer;
class QLocalSocket;

namespace rd {

class TCompanionServer : public QObject {
  Q_OBJECT
 public:
  using TReceive = std::function<void(Side side, const std::string& path)>;
  TCompanionServer(QObject* parent, TReceive receive);
  ~TCompanionServer() override;
  bool Listening() const;

 private:
  void Accept();
  void Read(QLocalSocket* socket);

  QLocalServer* server_ = nullptr;
  TReceive receive_;
  TCompanionName name_;  // shared by all connections, as one window's message queue is
};

}  // namespace rd
