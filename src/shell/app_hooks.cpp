// The App's hooks that belong to the application shell: the tables that
// follow the current skin's palette, and the full refresh.

#include "shell/app.h"
#include "shell/list_bars.h"
#include "shell/view_commands.h"

void App::RebuildShadeRamps() { BuildShadeRampsFor(*this); }

void App::RefreshAll() {
  // Told first, the lists would only go stale: they are rebuilt here, now.
  document.changes.Announce(kEverythingChanged);
  RebuildListBars(*this);
}

void App::RefreshModelView() { document.changes.Announce(kCompanionChanged); }

