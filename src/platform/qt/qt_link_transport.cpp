#include "platform/qt/qt_link_transport.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSharedMemory>
#include <QVariant>
#include <cstring>
#include <vector>

namespace {

// A sender that does not hear back within this long gives up: a watcher
// that hangs must not hang the sender with it.
constexpr int kAnswerTimeoutMs = 2000;

QString UserPart() { return QString::number(static_cast<qulonglong>(::getuid())); }

// Socket and shared-memory names must be short and plain; the hash keeps
// any title usable while staying the same in every copy.
QString PlainName(const char* prefix, const std::string& text) {
  const QByteArray hash = QCryptographicHash::hash(QByteArray::fromStdString(text), QCryptographicHash::Sha1).toHex();
  return QString::fromLatin1(prefix) + QString::fromLatin1(hash.left(16)) + QStringLiteral("-") + UserPart();
}

QByteArray Word(std::uint32_t value) {
  QByteArray out(4, '\0');
  for (int i = 0; i < 4; ++i) out[i] = static_cast<char>((value >> (8 * i)) & 0xff);
  return out;
}

std::uint32_t WordOf(const QByteArray& bytes) {
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[i])) << (8 * i);
  return value;
}

bool SomeoneListens(const QString& name) {
  QLocalSocket probe;
  probe.connectToServer(name);
  const bool connected = probe.waitForConnected(kAnswerTimeoutMs);
  if (connected) probe.disconnectFromServer();
  return connected;
}

}  // namespace

QtLinkTransport::QtLinkTransport(QObject* parent) : QObject(parent) {}

QtLinkTransport::~QtLinkTransport() { StopListening(); }

QString QtLinkTransport::ServerName(const std::string& title) { return PlainName("skintool-link-", title); }

QString QtLinkTransport::BlockKey(const std::string& blockName) { return PlainName("skintool-block-", blockName); }

LinkTransport::Found QtLinkTransport::FindWindow(const std::string& title) {
  if (server_ && title == title_) return Found::ThisCopy;
  return SomeoneListens(ServerName(title)) ? Found::OtherCopy : Found::None;
}

bool QtLinkTransport::Listen(const std::string& title, const std::string& blockName, Handler handler) {
  StopListening();
  const QString name = ServerName(title);
  if (SomeoneListens(name)) return false;
  // Nobody answers on the name, so whatever is left of it belongs to a copy
  // that ended without giving it up.
  QLocalServer::removeServer(name);
  auto server = std::make_unique<QLocalServer>();
  server->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server->listen(name)) return false;
  connect(server.get(), &QLocalServer::newConnection, this, [this] {
    while (server_ && server_->hasPendingConnections()) {
      QLocalSocket* socket = server_->nextPendingConnection();
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Answer(socket); });
      if (socket->bytesAvailable() >= 4) Answer(socket);
    }
  });
  server_ = std::move(server);
  title_ = title;
  blockName_ = blockName;
  handler_ = std::move(handler);
  return true;
}

void QtLinkTransport::StopListening() {
  if (!server_) return;
  server_->close();
  server_.reset();
  title_.clear();
  handler_ = nullptr;
}

void QtLinkTransport::Answer(QLocalSocket* socket) {
  if (socket->property("answered").toBool() || socket->bytesAvailable() < 4) return;
  socket->setProperty("answered", true);
  const std::uint32_t wParam = WordOf(socket->read(4));
  int result = 0;
  QSharedMemory block(BlockKey(blockName_));
  if (handler_ && block.attach(QSharedMemory::ReadOnly)) {
    // Only what both the sender announced and the segment really holds is
    // handed on; the record's own checks do the rest.
    const auto readable = static_cast<std::uint32_t>(std::max<qsizetype>(0, block.size()));
    std::vector<std::uint8_t> bytes(std::min(wParam, readable));
    block.lock();
    if (!bytes.empty()) std::memcpy(bytes.data(), block.constData(), bytes.size());
    block.unlock();
    block.detach();
    result = handler_(wParam, bytes);
  }
  socket->write(Word(static_cast<std::uint32_t>(result)));
  socket->flush();
  socket->disconnectFromServer();
}

std::optional<int> QtLinkTransport::Send(const std::string& title, const std::string& blockName,
                                         std::uint32_t blockSize, std::span<const std::uint8_t> record) {
  if (record.size() > blockSize) return std::nullopt;
  QSharedMemory block(BlockKey(blockName));
  if (!block.create(static_cast<qsizetype>(blockSize)) && !block.attach()) return std::nullopt;
  if (block.size() < static_cast<qsizetype>(blockSize)) return std::nullopt;
  block.lock();
  std::memset(block.data(), 0, blockSize);
  std::memcpy(block.data(), record.data(), record.size());
  block.unlock();

  QDeadlineTimer deadline(kAnswerTimeoutMs);
  QLocalSocket socket;
  socket.connectToServer(ServerName(title));
  if (!socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) return std::nullopt;
  socket.write(Word(blockSize));
  if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) return std::nullopt;
  while (socket.bytesAvailable() < 4) {
    if (deadline.hasExpired() || !socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
      return std::nullopt;
  }
  return static_cast<int>(WordOf(socket.read(4)));
}
