#include "platform/qt/qt_link_transport.h"

#include <unistd.h>

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>
#include <QVariant>
#include <algorithm>
#include <cerrno>

namespace {

// The name the watcher's socket is made from; copies built before keep
// finding the same socket.
const char* const kWatcherSocketName = "VLink - Watcher";

QByteArray Word(std::uint32_t value) {
  QByteArray out(4, '\0');
  for (int i = 0; i < 4; ++i) out[i] = static_cast<char>((value >> (8 * i)) & 0xff);
  return out;
}

std::uint32_t WordOf(const QByteArray& bytes) {
  std::uint32_t value = 0;
  for (int i = 0; i < 4 && i < bytes.size(); ++i)
    value |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[i])) << (8 * i);
  return value;
}

int Remaining(const QDeadlineTimer& deadline) {
  return static_cast<int>(std::max<qint64>(0, deadline.remainingTime()));
}

bool PeerIsUs(const QLocalSocket& socket) {
  return PeerMayLink(PeerUserOf(static_cast<int>(socket.socketDescriptor())), ::geteuid());
}

// Whether a copy of this user's listens at `path`; a process of anyone else
// there counts as nobody.
bool OwnCopyListens(const std::string& path) {
  QLocalSocket probe;
  probe.connectToServer(QString::fromStdString(path));
  if (!probe.waitForConnected(QtLinkTransport::kProbeTimeoutMs)) return false;
  const bool ours = PeerIsUs(probe);
  probe.abort();
  return ours;
}

}  // namespace

QtLinkTransport::QtLinkTransport(QObject* parent) : QtLinkTransport(SessionLinkPlace(), parent) {}

QtLinkTransport::QtLinkTransport(LinkPlace place, QObject* parent) : QObject(parent), place_(std::move(place)) {}

QtLinkTransport::~QtLinkTransport() { delete server_; }

std::optional<std::string> QtLinkTransport::SocketPath() const {
  std::optional<std::string> folder;
  if (place_.folder.empty()) {
    folder = PrivateLinkFolder();
  } else if (IsPrivateFolder(place_.folder, ::geteuid())) {
    folder = place_.folder;
  }
  if (!folder) return std::nullopt;
  return LinkSocketPath(*folder, place_.scope, kWatcherSocketName);
}

bool QtLinkTransport::WatcherPresent() {
  // This copy watching is no other copy; nor does it answer its own probe
  // before its event loop runs again.
  if (server_) return false;
  const std::optional<std::string> path = SocketPath();
  return path && OwnCopyListens(*path);
}

bool QtLinkTransport::Listen(Handler handler) {
  StopListening();
  const std::optional<std::string> path = SocketPath();
  if (!path) return false;
  switch (InspectSocketPlace(*path, ::geteuid())) {
    case SocketPlace::Taken:
      return false;
    case SocketPlace::OurSocket:
      if (OwnCopyListens(*path)) return false;
      // Nobody answers on it, so it was left by a copy that ended without
      // giving it up.
      if (::unlink(path->c_str()) != 0 && errno != ENOENT) return false;
      break;
    case SocketPlace::Free:
      break;
  }
  auto* server = new QLocalServer(this);
  // No socket options: the folder keeps everyone else out, and binding in
  // place fails on anything that appeared there meanwhile, where Qt's way of
  // narrowing the socket's mode would rename over it.
  if (!server->listen(QString::fromStdString(*path))) {
    delete server;
    return false;
  }
  connect(server, &QLocalServer::newConnection, this, &QtLinkTransport::Accept);
  server_ = server;
  handler_ = std::move(handler);
  return true;
}

void QtLinkTransport::StopListening() {
  if (!server_) return;
  server_->close();
  // A handler may end watching while one of the server's connections waits
  // for its answer; that connection must outlive the call.
  server_->deleteLater();
  server_ = nullptr;
  handler_ = nullptr;
}

void QtLinkTransport::Accept() {
  while (server_ && server_->hasPendingConnections()) {
    QLocalSocket* socket = server_->nextPendingConnection();
    if (!PeerIsUs(*socket)) {
      socket->abort();
      socket->deleteLater();
      continue;
    }
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Answer(socket); });
    // A sender that never finishes its message gives up at its deadline
    // anyway; its connection goes with it.
    QTimer::singleShot(kLinkTimeoutMs, socket, [socket] {
      socket->abort();
      socket->deleteLater();
    });
    Answer(socket);
  }
}

void QtLinkTransport::Answer(QLocalSocket* socket) {
  if (socket->property("answered").toBool() || socket->bytesAvailable() < 4) return;
  const std::uint32_t announcedSize = WordOf(socket->peek(4));
  const std::uint32_t carried = std::min(announcedSize, kMaxBlockBytes);
  if (socket->bytesAvailable() < 4 + static_cast<qint64>(carried)) return;
  socket->setProperty("answered", true);
  socket->skip(4);
  const QByteArray block = socket->read(carried);
  // The handler may stop listening; it is run from a copy.
  const Handler handler = handler_;
  const int result =
      handler ? handler(announcedSize, std::span(reinterpret_cast<const std::uint8_t*>(block.constData()),
                                          static_cast<std::size_t>(block.size())))
              : 0;
  socket->write(Word(static_cast<std::uint32_t>(result)));
  socket->flush();
  socket->disconnectFromServer();
}

std::optional<int> QtLinkTransport::Send(std::uint32_t blockSize, std::span<const std::uint8_t> record) {
  if (record.size() > blockSize || blockSize > kMaxBlockBytes) return std::nullopt;
  const std::optional<std::string> path = SocketPath();
  if (!path) return std::nullopt;
  const QDeadlineTimer deadline(kSendTimeoutMs);
  QLocalSocket socket;
  socket.connectToServer(QString::fromStdString(*path));
  if (!socket.waitForConnected(Remaining(deadline))) return std::nullopt;
  if (!PeerIsUs(socket)) {
    socket.abort();
    return std::nullopt;
  }
  QByteArray message = Word(blockSize);
  message.append(reinterpret_cast<const char*>(record.data()), static_cast<qsizetype>(record.size()));
  message.resize(4 + static_cast<qsizetype>(blockSize), '\0');
  socket.write(message);
  while (socket.bytesToWrite() > 0) {
    if (!socket.waitForBytesWritten(Remaining(deadline))) return std::nullopt;
  }
  while (socket.bytesAvailable() < 4) {
    if (deadline.hasExpired() || !socket.waitForReadyRead(Remaining(deadline))) return std::nullopt;
  }
  return static_cast<int>(WordOf(socket.read(4)));
}
