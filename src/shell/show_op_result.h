#pragma once
// What a command handler does with an operation's outcome: its message, if
// it has one, goes to the user as it stands.

#include "editor/document_ops.h"
#include "platform/ui.h"

// True when the operation changed something.
inline bool ShowOpResult(Ui& ui, const OpResult& result) {
  if (!result.message.empty()) ui.Message(result.message);
  return result.done;
}
