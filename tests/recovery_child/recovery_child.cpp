// The program side of the kill test: opens the quad model below a work
// folder, keeps recovery copies in a state folder, plays the recovery
// session's edits until a copy is written (at most EDITS of them), says on
// stdout how many edits the copy holds and waits to be killed.
//
//   recovery_child STATE_FOLDER WORK_FOLDER EDITS

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "platform/clock.h"
#include "platform/headless_ui.h"
#include "platform/process_id.h"
#include "platform/profile.h"
#include "shell/app.h"
#include "shell/recovery_session.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: recovery_child STATE_FOLDER WORK_FOLDER EDITS\n");
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
  app.recovery.SetIntervalMinutes(0);  // the copy comes from the step count alone

  const int edits = std::atoi(argv[3]);
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
