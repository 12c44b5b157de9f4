// The program side of the kill tests: opens the quad model below a work
// folder and keeps recovery copies in a state folder.
//
//   recovery_child STATE_FOLDER WORK_FOLDER EDITS
//     plays the recovery session's edits until a copy is written (at most
//     EDITS of them), says on stdout how many edits the copy holds and
//     waits to be killed;
//   recovery_child STATE_FOLDER WORK_FOLDER EDITS script
//     plays the scripted run's EDITS edits, asking for a copy after each,
//     and after each says on a line "EDIT MOVES DURABLE POSITION": the
//     history moves made so far, the last the journal has on disk and the
//     undo position; then waits to be killed.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "platform/clock.h"
#include "platform/headless_ui.h"
#include "platform/process_id.h"
#include "platform/profile.h"
#include "shell/app.h"
#include "shell/recovery_session.h"

int main(int argc, char** argv) {
  const bool script = argc == 5 && std::strcmp(argv[4], "script") == 0;
  if (argc != 4 && !script) {
    std::fprintf(stderr, "usage: recovery_child STATE_FOLDER WORK_FOLDER EDITS [script]\n");
    return 2;
  }
  std::ostringstream messages;
  HeadlessUi ui(messages);
  MemoryProfile profile;
  profile.WriteInt("Preferences", "DirScan_Prompt", 1);
  App app(ui, profile);
  app.baseFolder = argv[2];
  const std::string model = recovery_session::WriteQuadModel(app.baseFolder);
  if (app.LoadMd2(model) != 1) return 3;
  app.document.currentFile = model;
  app.recovery.SetRoot(argv[1], CurrentProcessId());
  app.recovery.SetIntervalMinutes(0);
  const int edits = std::atoi(argv[3]);

  if (script) {
    for (int i = 0; i < edits; ++i) {
      recovery_session::PlayScript(app, i, 1);
      app.recovery.Poll(app.document, NowMs());
      std::printf("%d %llu %llu %zu\n", i, static_cast<unsigned long long>(app.recovery.moves()),
                  static_cast<unsigned long long>(app.recovery.journal().durable()),
                  app.document.history.position());
      std::fflush(stdout);
      ::usleep(1000);
    }
    for (;;) ::pause();
  }

  int played = 0;
  bool started = false;
  while (!started && played < edits) {
    recovery_session::PlayEdits(app, played++, 1);
    started = app.recovery.Poll(app.document, NowMs());
  }
  if (!started || app.recovery.writer().Wait() != 0) return 4;
  std::printf("copied %d\n", played);
  std::fflush(stdout);
  for (;;) ::pause();
}
