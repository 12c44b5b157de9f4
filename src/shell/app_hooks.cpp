// The App's hooks that belong to the application shell: the tables that
// follow the current skin's palette, and the full refresh.

#include "platform/refresh.h"
#include "shell/app.h"
#include "shell/list_bars.h"
#include "shell/view_commands.h"

void App::RebuildShadeRamps() { BuildShadeRampsFor(*this); }

void App::RefreshAll() {
  ++refreshCount;
  RebuildListBars(*this);
  messages.Post(refresh::Message(REDRAW_FULL, refresh::kAllPanes | refresh::kShowNow));
}

void App::RefreshModelView() {
  ++modelViewRefreshCount;
  messages.Post(refresh::Message(REDRAW_FULL, refresh::kModelView | refresh::kShowNow));
}

void App::RefreshSkinPanes() {
  ++skinPaneRefreshCount;
  messages.Post(refresh::Message(REDRAW_FULL,
                                 refresh::kSkinView | refresh::kModelView | refresh::kPalette | refresh::kShowNow));
}
