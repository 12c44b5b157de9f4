#pragma once
// The link between copies over Qt: a title is claimed by listening on a
// local socket whose name comes from the title and the user, and the block
// is a QSharedMemory named after the block and the user. A sender writes
// the block, sends its size over the socket and waits for the one-word
// answer; the watcher answers from its event loop.

#include <memory>
#include <QObject>
#include <QString>

#include "platform/link_transport.h"

class QLocalServer;
class QLocalSocket;

class QtLinkTransport : public QObject, public LinkTransport {
  Q_OBJECT

 public:
  explicit QtLinkTransport(QObject* parent = nullptr);
  ~QtLinkTransport() override;

  Found FindWindow(const std::string& title) override;
  bool Listen(const std::string& title, const std::string& blockName, Handler handler) override;
  void StopListening() override;
  std::optional<int> Send(const std::string& title, const std::string& blockName, std::uint32_t blockSize,
                          std::span<const std::uint8_t> record) override;

  // The per-user names the title and the block go by.
  static QString ServerName(const std::string& title);
  static QString BlockKey(const std::string& blockName);

 private:
  void Answer(QLocalSocket* socket);

  std::unique_ptr<QLocalServer> server_;
  std::string title_;
  std::string blockName_;
  Handler handler_;
};
