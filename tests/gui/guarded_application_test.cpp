// An event handler that runs out of memory is told to the user and the
// program goes on handling events.

#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include <QEvent>
#include <QObject>

#include "gui/gui_fixture.h"
#include "shell/qt/guarded_application.h"

namespace {

// Its first event asks for more memory than there is.
class Greedy : public QObject {
 public:
  int handled = 0;

 protected:
  void customEvent(QEvent*) override {
    if (++handled == 1) throw std::bad_alloc();
  }
};

void Send(QObject& o) {
  QEvent e(QEvent::User);
  QCoreApplication::sendEvent(&o, &e);
}

}  // namespace

TEST(GuardedApplication, AnEventHandlerOutOfMemoryIsToldAndTheNextEventIsHandled) {
  auto* app = dynamic_cast<GuardedApplication*>(&TestApp());
  ASSERT_NE(app, nullptr);
  std::vector<std::string> told;
  auto saved = app->tellUser;
  app->tellUser = [&](const std::string& text) { told.push_back(text); };
  Greedy greedy;
  Send(greedy);
  Send(greedy);
  app->tellUser = saved;
  EXPECT_EQ(greedy.handled, 2);
  EXPECT_EQ(told, std::vector<std::string>{kOutOfMemoryText});
}
