#include "platform/render_priority.h"

#include <cerrno>

#include <sys/resource.h>

namespace {

// The lowest nice value an unprivileged process may set: 20 - the soft
// RLIMIT_NICE.
int LowestAllowedNice() {
  rlimit lim{};
  int lowest = 20;
  if (getrlimit(RLIMIT_NICE, &lim) == 0) {
    if (lim.rlim_cur == RLIM_INFINITY || lim.rlim_cur >= 40)
      lowest = -20;
    else
      lowest = 20 - static_cast<int>(lim.rlim_cur);
  }
  return lowest;
}

}  // namespace

void RaiseRenderPriority(RenderPriority& state) {
  if (state.raised) return;  // nested raise: keep the outer saved value
  errno = 0;
  int current = getpriority(PRIO_PROCESS, 0);
  if (current == -1 && errno != 0) return;
  state.saved = current;
  state.raised = true;
  // Privileged processes may take the top; others only what their limit
  // grants, which may be nothing.
  if (current > -20 && setpriority(PRIO_PROCESS, 0, -20) == 0) return;
  int target = LowestAllowedNice();
  if (target < current) (void)setpriority(PRIO_PROCESS, 0, target);
}

void RestoreRenderPriority(RenderPriority& state) {
  if (!state.raised) return;
  state.raised = false;
  errno = 0;
  int current = getpriority(PRIO_PROCESS, 0);
  if (current == -1 && errno != 0) return;
  if (current != state.saved) setpriority(PRIO_PROCESS, 0, state.saved);
}
