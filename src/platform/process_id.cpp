#include "platform/process_id.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>

int CurrentProcessId() { return static_cast<int>(::getpid()); }

bool ProcessGone(int pid) {
  if (pid <= 0) return false;
  return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}
