// Every key of the command table pressed as a user would, through Qt's own
// shortcut dispatch, must reach the action of its command and no other.

#include <gtest/gtest.h>

#include <QAction>
#include <QKeySequence>
#include <QTest>

#include "gui/gui_fixture.h"
#include "shell/app.h"
#include "shell/command_table.h"
#include "shell/qt/main_wnd.h"
#include "shell/startup.h"

namespace {

// Takes the shortcut events the actions would act on, so the walk runs no
// command (some open modal dialogs).
class ShortcutCatcher : public QObject {
 public:
  std::vector<QObject*> hits;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Shortcut) return false;
    hits.push_back(watched);
    return true;
  }
};

}  // namespace

TEST(Shortcuts, EveryKeyOfTheTableReachesItsCommand) {
  GuiFixture f;
  ASSERT_TRUE(f.Start(JoinCommandLine({"-md2", f.model})));
  MainWnd& wnd = f.session->mainWnd();
  ShortcutCatcher catcher;
  for (const Command& c : CommandTable()) {
    QAction* a = wnd.actionFor(c.name);
    ASSERT_NE(a, nullptr);
    a->setEnabled(true);  // the walk checks the keys, not the enabled rules
    a->installEventFilter(&catcher);
  }
  wnd.activateWindow();
  int keys = 0;
  for (const Command& c : CommandTable()) {
    for (const std::string& key : CommandKeys(f.session->app(), c)) {
      const QKeySequence sequence = QKeySequence::fromString(QString::fromStdString(key), QKeySequence::PortableText);
      ASSERT_EQ(sequence.count(), 1) << key;
      const QKeyCombination combination = sequence[0];
      catcher.hits.clear();
      QTest::keyClick(&wnd, combination.key(), combination.keyboardModifiers());
      EXPECT_EQ(catcher.hits, std::vector<QObject*>{wnd.actionFor(c.name)}) << c.label << " / " << key;
      ++keys;
    }
  }
  EXPECT_GT(keys, 45);
}
