#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTimer>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/qt/qt_link_transport.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

const std::vector<std::uint8_t> kMapping{44, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
const std::vector<std::uint8_t> kCamera{64, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0};

int Answer1(std::uint32_t, std::span<const std::uint8_t>) { return 1; }

// The event loop a listening transport needs, for one test.
struct LocalApp {
  int argc = 1;
  char arg0[5] = "test";
  char* argv[2] = {arg0, nullptr};
  QCoreApplication app{argc, argv};
};

// A scratch folder only this user may enter, as the link requires.
struct PrivateDir : TempDir {
  PrivateDir() { ::chmod(path().c_str(), 0700); }
};

// A socket bound and listening at `path`, never accepting; -1 on failure.
int BindSocket(const std::string& path) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 8) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Starts `body` in a child process of the ordinary user 65534 (the test
// runs as root) and does not wait for it.
pid_t StartAsOtherUser(const std::function<int()>& body) {
  const pid_t child = ::fork();
  if (child == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(255);
    ::_exit(body());
  }
  return child;
}

// A watcher in a process of its own: it answers each block with the first
// word of the record when the block is whole, and ends after two messages.
[[noreturn]] void RunWatcher(const LinkPlace& place) {
  int argc = 1;
  char arg0[] = "watcher";
  char* argv[] = {arg0, nullptr};
  QCoreApplication app(argc, argv);
  QtLinkTransport watcher(place);
  int handled = 0;
  const bool listening = watcher.Listen([&](std::uint32_t announcedSize, std::span<const std::uint8_t> block) {
    if (++handled == 2) QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return announcedSize == 4096 && block.size() == 4096 ? static_cast<int>(block[0]) : 0;
  });
  if (!listening) _exit(3);
  app.exec();
  _exit(0);
}

}  // namespace

TEST(QtLinkTransport, ASenderInAnotherProcessGetsTheWatchersAnswerAndOtherSessionsSeeNoWatcher) {
  PrivateDir dir, otherDir;
  const LinkPlace place{dir.path(), ":0"};
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) RunWatcher(place);

  QtLinkTransport sender(place);
  // Wait for the watcher to listen, without a clock: a bounded
  // number of short naps.
  for (int tries = 0; tries < 1000 && !sender.WatcherPresent(); ++tries)
    ::usleep(10000);
  ASSERT_TRUE(sender.WatcherPresent());
  EXPECT_FALSE(sender.Listen(Answer1));
  // The same user on another display, or with another private folder.
  for (const LinkPlace& elsewhere : {LinkPlace{dir.path(), ":1"}, LinkPlace{otherDir.path(), ":0"}}) {
    QtLinkTransport other(elsewhere);
    EXPECT_FALSE(other.WatcherPresent());
    EXPECT_EQ(other.Send(4096, kMapping), std::nullopt);
  }

  EXPECT_EQ(sender.Send(4096, kMapping), std::optional<int>(44));
  EXPECT_EQ(sender.Send(4096, kCamera), std::optional<int>(64));

  int status = -1;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_FALSE(sender.WatcherPresent());
  EXPECT_EQ(sender.Send(4096, kMapping), std::nullopt);
}

TEST(QtLinkTransport, OnlyASocketOfOursIsEverTakenOverAndOnlyInAFolderOfOursAlone) {
  LocalApp local;
  PrivateDir dir;
  QtLinkTransport transport(LinkPlace{dir.path(), "s"});
  const std::string path = *transport.SocketPath();
  WriteBytes(dir.File("target"), {1});
  const std::function<void()> makers[] = {[&] { WriteBytes(path, {7}); },
                                          [&] { fs::create_symlink(dir.File("target"), path); },
                                          [&] { fs::create_directory(path); }};
  for (const auto& make : makers) {
    make();
    const fs::file_type type = fs::symlink_status(path).type();
    EXPECT_FALSE(transport.Listen(Answer1));
    EXPECT_FALSE(transport.WatcherPresent());
    EXPECT_EQ(fs::symlink_status(path).type(), type);
    fs::remove(path);
  }
  EXPECT_EQ(ReadBytes(dir.File("target")), std::vector<std::uint8_t>{1});

  // One left behind by a copy of ours that ended.
  ::close(BindSocket(path));
  ASSERT_EQ(fs::symlink_status(path).type(), fs::file_type::socket);
  EXPECT_TRUE(transport.Listen(Answer1));
  EXPECT_FALSE(transport.WatcherPresent());  // the watcher itself is no other copy
  transport.StopListening();

  ::chmod(dir.path().c_str(), 0711);
  EXPECT_FALSE(transport.Listen(Answer1));
}

TEST(QtLinkTransport, AWatcherThatNeverAnswersHoldsTheSenderNoLongerThanTheLinksTimeout) {
  PrivateDir dir;
  QtLinkTransport sender(LinkPlace{dir.path(), "s"});
  const int hung = BindSocket(*sender.SocketPath());
  ASSERT_GE(hung, 0);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(sender.WatcherPresent());
  EXPECT_EQ(sender.Send(4096, kMapping), std::nullopt);
  const auto spent = std::chrono::steady_clock::now() - start;
  // Room for the scheduler, none for a second wait.
  EXPECT_LT(spent, std::chrono::milliseconds(QtLinkTransport::kLinkTimeoutMs + 500));
  ::close(hung);
}

TEST(QtLinkTransport, APeerOfAnotherUserIsNoWatcherToASenderAndIsDroppedByAWatcher) {
  if (::geteuid() != 0) GTEST_SKIP() << "acting as another user needs root";
  PrivateDir dir;
  const LinkPlace place{dir.path(), "s"};
  QtLinkTransport ours(place);
  const std::string path = *ours.SocketPath();

  // Another user listens at our socket's place (the folder opened to it just
  // for that) and answers anyone at once.
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  ::chmod(dir.path().c_str(), 0777);
  const pid_t impostor = StartAsOtherUser([&] {
    const int fd = BindSocket(path);
    if (::write(ready[1], fd >= 0 ? "y" : "n", 1) != 1 || fd < 0) return 1;
    for (;;) {
      const int c = ::accept(fd, nullptr, nullptr);
      if (c >= 0 && ::send(c, "\x05\0\0\0", 4, MSG_NOSIGNAL) >= 0) ::close(c);
    }
  });
  char bound = 0;
  ASSERT_EQ(::read(ready[0], &bound, 1), 1);
  ::chmod(dir.path().c_str(), 0700);
  EXPECT_EQ(bound, 'y');
  EXPECT_FALSE(ours.WatcherPresent());
  EXPECT_EQ(ours.Send(4096, kMapping), std::nullopt);
  EXPECT_FALSE(ours.Listen(Answer1));
  EXPECT_EQ(fs::symlink_status(path).type(), fs::file_type::socket);
  ::kill(impostor, SIGKILL);
  ::waitpid(impostor, nullptr, 0);
  ::close(ready[0]);
  ::close(ready[1]);
  fs::remove(path);

  // Our watcher, with the folder and its socket opened as if by mistake: the
  // other user's record gets no answer and never reaches the handler.
  LocalApp local;
  int handled = 0;
  ASSERT_TRUE(ours.Listen([&](std::uint32_t, std::span<const std::uint8_t>) { return ++handled; }));
  ::chmod(dir.path().c_str(), 0755);
  ::chmod(path.c_str(), 0777);
  const pid_t sender = StartAsOtherUser([&] {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) return 2;
    std::vector<char> message(4 + 4096, 0);
    message[1] = 0x10;  // 4096, little-endian
    std::memcpy(&message[4], kMapping.data(), kMapping.size());
    (void)::send(fd, message.data(), message.size(), MSG_NOSIGNAL);
    pollfd p{fd, POLLIN, 0};
    char answer[4];
    return ::poll(&p, 1, 3000) == 1 && ::recv(fd, answer, 4, 0) == 4 ? 1 : 0;
  });
  int status = -1;
  while (::waitpid(sender, &status, WNOHANG) == 0) {
    local.app.processEvents();
    ::usleep(1000);
  }
  ::chmod(dir.path().c_str(), 0700);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(handled, 0);
}
