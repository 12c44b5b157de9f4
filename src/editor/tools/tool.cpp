#include "editor/tools/tool.h"

#include "editor/workspace.h"
#include "platform/refresh.h"

void SendRefresh(Workspace& app, int kind, int bits) {
  app.messages.Send(refresh::Message(kind, bits));
}

void HidePointer(ToolContext& c, bool hidden) {
  if (c.pane.host()) c.pane.host()->SetCursorHidden(hidden);
}
