#include "shell/quit.h"

#include "platform/profile.h"
#include "platform/ui.h"
#include "shell/app.h"

bool ConfirmQuit(App& app) {
  // Written before the question, so they are kept even when the user stays.
  app.profile.Write(kSplitterSetting, static_cast<int>(app.splitRatio * 10000));
  for (std::size_t i = 0; i < kColourSlotSettings.size(); ++i)
    app.profile.Write(kColourSlotSettings[i], app.colourSlots[i]);
  if (app.profile.Get(kQuickExitSetting) == 1) return true;
  return app.ui.Message(kQuitQuestionText, MsgButtons::YesNo) == MsgAnswer::Yes;
}
