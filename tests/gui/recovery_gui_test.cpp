#include <gtest/gtest.h>

#include <QTimer>
#include <filesystem>

#include "gui/gui_fixture.h"
#include "platform/process_id.h"
#include "shell/app.h"
#include "shell/qt/main_wnd.h"

// The window asks for a copy between events; fifty steps of unsaved work
// make one due at the next tick.
TEST(RecoveryGui, TheWindowsTimerCopiesUnsavedWork) {
  GuiFixture f;
  ASSERT_TRUE(f.Start("-md2 " + f.model));
  App& app = f.session->app();
  app.recovery.SetRoot(f.dir.File("state"), CurrentProcessId());
  auto* timer = f.session->mainWnd().findChild<QTimer*>("RecoveryTimer");
  ASSERT_TRUE(timer);
  EXPECT_TRUE(timer->isActive());
  for (int i = 0; i < 50; ++i) {
    DocumentStep step(app.document, "Paint", STEP_CURRENT_SKIN);
    app.model.CurrentSkin()->pixels[0] = static_cast<std::uint8_t>(app.model.CurrentSkin()->pixels[0] + 1);
  }
  ASSERT_TRUE(QMetaObject::invokeMethod(timer, "timeout"));
  EXPECT_EQ(app.recovery.writer().Wait(), 0);
  EXPECT_TRUE(std::filesystem::exists(app.recovery.folder() + "/index.txt"));
}
