#pragma once
// The link between copies over Qt: the watcher listens on the desktop
// session's one local socket, in a folder only this user can enter. A sender writes the block's size and the block
// itself on a connection and waits for the one-word answer; the watcher
// answers from its event loop. Both ends drop a peer of another user.
//
// A link operation makes at most one probe and one send, or two probes;
// their budgets together stay within the link's 2000 ms, so a hung or
// vanished watcher never holds the sender's window longer than that.

#include <optional>
#include <QObject>
#include <string>

#include "platform/link_place.h"
#include "platform/link_transport.h"

class QLocalServer;
class QLocalSocket;

class QtLinkTransport : public QObject, public LinkTransport {
  Q_OBJECT

 public:
  static constexpr int kLinkTimeoutMs = 2000;
  static constexpr int kProbeTimeoutMs = 250;
  static constexpr int kSendTimeoutMs = kLinkTimeoutMs - kProbeTimeoutMs;
  // More than a record ever needs; an announced size beyond it is carried
  // only this far, and the record's own checks refuse it.
  static constexpr std::uint32_t kMaxBlockBytes = 65536;

  // This desktop session in the user's private folder.
  explicit QtLinkTransport(QObject* parent = nullptr);
  // A place of the caller's choosing; its folder must pass the same checks.
  explicit QtLinkTransport(LinkPlace place, QObject* parent = nullptr);
  ~QtLinkTransport() override;

  bool WatcherPresent() override;
  bool Listen(Handler handler) override;
  void StopListening() override;
  std::optional<int> Send(std::uint32_t blockSize, std::span<const std::uint8_t> record) override;

  // The watcher's socket; nothing when the folder is not this user's alone.
  std::optional<std::string> SocketPath() const;

 private:
  void Accept();
  void Answer(QLocalSocket* socket);

  LinkPlace place_;
  // A child of this object, so that one given up while a connection of its
  // waited for an answer still goes when the transport does.
  QLocalServer* server_ = nullptr;
  Handler handler_;
};
