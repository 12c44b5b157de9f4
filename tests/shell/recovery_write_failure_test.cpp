#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>
#include <functional>

#include "platform/process_id.h"
#include "platform/profile.h"
#include "shell/recovery.h"
#include "shell/recovery_session.h"
#include "support/scripted_ui.h"

namespace fs = std::filesystem;

// A copy that cannot be written is named once per run, and written when the
// next one is due once the cause is gone.
TEST(RecoveryWriteFailure, IsReportedOnceAndTriedAgainWhenTheNextCopyIsDue) {
  struct Case {
    const char* what;
    std::function<void(const std::string& state)> block, unblock;
  };
  // A file size limit fails the writes the way a full disk does, on the
  // writer's thread, with the copy folder already made.
  rlimit saved{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  struct sigaction quiet {}, loud {};
  quiet.sa_handler = SIG_IGN;
  const Case cases[] = {
      {"the state folder's place taken by a file", [](const std::string& s) { WriteBytes(s, {0}); },
       [](const std::string& s) { fs::remove(s); }},
      {"no room for the files",
       [&](const std::string&) {
         ::sigaction(SIGXFSZ, &quiet, &loud);
         rlimit tight = saved;
         tight.rlim_cur = 16;
         ::setrlimit(RLIMIT_FSIZE, &tight);
       },
       [&](const std::string&) {
         ::setrlimit(RLIMIT_FSIZE, &saved);
         ::sigaction(SIGXFSZ, &loud, nullptr);
       }},
  };
  for (const Case& c : cases) {
    TempDir dir;
    ScriptedUi ui;
    MemoryProfile profile;
    profile.WriteInt("Preferences", "DirScan_Prompt", 1);
    App app(ui, profile);
    app.baseFolder = dir.File("base");
    ASSERT_EQ(app.LoadMd2(recovery_session::WriteQuadModel(app.baseFolder)), 1);
    const std::string state = dir.File("state");
    app.recovery.SetRoot(state, CurrentProcessId());
    app.recovery.SetIntervalMinutes(1);
    ui.Clear();

    c.block(state);
    recovery_session::PlayEdits(app, 0, 3);
    PollRecovery(app, 0);
    PollRecovery(app, 60000);
    app.recovery.writer().Wait();
    PollRecovery(app, 60000);
    recovery_session::PlayEdits(app, 3, 3);
    PollRecovery(app, 120000);
    app.recovery.writer().Wait();
    PollRecovery(app, 120000);
    c.unblock(state);
    ASSERT_EQ(ui.texts().size(), 1u) << c.what;
    EXPECT_EQ(ui.texts()[0].rfind(kRecoveryWriteFailedText, 0), 0u) << ui.texts()[0];
    EXPECT_NE(ui.texts()[0].find(app.recovery.folder()), std::string::npos) << ui.texts()[0];
    EXPECT_NE(ui.texts()[0].find(" ("), std::string::npos) << "the cause in words: " << ui.texts()[0];

    EXPECT_FALSE(PollRecovery(app, 150000)) << c.what << ": not due yet";
    EXPECT_TRUE(PollRecovery(app, 180000)) << c.what << ": due again, nothing new since";
    EXPECT_EQ(app.recovery.writer().Wait(), 0) << c.what;
    EXPECT_TRUE(fs::exists(app.recovery.folder() + "/index.txt")) << c.what;
    PollRecovery(app, 180000);
    EXPECT_EQ(ui.texts().size(), 1u) << c.what;
  }
}
