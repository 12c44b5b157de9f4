#include "editor/tools/tool.h"

#include "editor/workspace.h"

void Announce(Workspace& app, unsigned changes, int kind, int flags) {
  app.document.changes.Announce(changes, RedrawHint{kind, flags});
}

void HidePointer(ToolContext& c, bool hidden) {
  if (c.pane.host()) c.pane.host()->SetCursorHidden(hidden);
}
