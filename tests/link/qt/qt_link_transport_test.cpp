#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QTimer>
#include <string>
#include <vector>

#include "platform/qt/qt_link_transport.h"

namespace {

// A watcher in a process of its own: it answers each block with the first
// word of the record when the block is whole, and ends after two messages.
[[noreturn]] void RunWatcher(const std::string& title, const std::string& blockName) {
  int argc = 1;
  char arg0[] = "watcher";
  char* argv[] = {arg0, nullptr};
  QCoreApplication app(argc, argv);
  QtLinkTransport watcher;
  int handled = 0;
  const bool listening = watcher.Listen(title, blockName, [&](std::uint32_t wParam, std::span<const std::uint8_t> block) {
    if (++handled == 2) QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return wParam == 4096 && block.size() == 4096 ? static_cast<int>(block[0]) : 0;
  });
  if (!listening) _exit(3);
  app.exec();
  _exit(0);
}

}  // namespace

TEST(QtLinkTransport, ASenderInAnotherProcessGetsTheWatchersAnswer) {
  const std::string title = "VLink - Watcher (test " + std::to_string(::getpid()) + ")";
  const std::string blockName = "VLink-Space-test-" + std::to_string(::getpid());
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) RunWatcher(title, blockName);

  QtLinkTransport sender;
  // Wait for the watcher to claim its title, without a clock: a bounded
  // number of short naps.
  for (int tries = 0; tries < 1000 && sender.FindWindow(title) != LinkTransport::Found::OtherCopy; ++tries)
    ::usleep(10000);
  ASSERT_EQ(sender.FindWindow(title), LinkTransport::Found::OtherCopy);
  EXPECT_FALSE(sender.Listen(title, blockName, [](std::uint32_t, std::span<const std::uint8_t>) { return 1; }));

  const std::vector<std::uint8_t> mapping{44, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
  const std::vector<std::uint8_t> camera{64, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0};
  EXPECT_EQ(sender.Send(title, blockName, 4096, mapping), std::optional<int>(44));
  EXPECT_EQ(sender.Send(title, blockName, 4096, camera), std::optional<int>(64));

  int status = -1;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(sender.FindWindow(title), LinkTransport::Found::None);
  EXPECT_EQ(sender.Send(title, blockName, 4096, mapping), std::nullopt);
}
