// The App's hooks that belong to the application shell: the tables that
// follow the current skin's palette, and the full refresh.

#include "editor/paint_table.h"
#include "shell/app.h"
#include "shell/list_bars.h"
#include "shell/view_commands.h"

void App::RebuildPaintTable() { BuildPaintTable(*this); }

void App::RebuildShadeRamps() { BuildShadeRampsFor(*this); }

void App::RefreshAll() {
  ++refreshCount;
  RebuildListBars(*this);
  messages.Post(WndMessage{WndTarget::MainWnd, "VRK-Refresh", 0, 0x2f});
}
