#include "shell/quit.h"

#include "platform/profile.h"
#include "platform/ui.h"
#include "shell/app.h"
#include "shell/skin_commands.h"

bool OfferToSaveChanges(App& app) {
  if (app.model.modelLoaded && app.document.MeshChanged()) {
    const MsgAnswer answer = app.ui.Message(kSaveMeshText, MsgButtons::YesNoCancel);
    if (answer == MsgAnswer::Cancel) return false;
    if (answer == MsgAnswer::Yes && !app.SaveMd2(app.document.currentFile)) {
      app.ui.Message(kSaveMeshFailedText);
      return false;
    }
  }
  return OfferToSaveChangedSkins(app, app.document.ChangedSkins());
}

bool ConfirmQuit(App& app) {
  // Written before the question, so they are kept even when the user stays.
  app.profile.Write(kSplitterSetting, static_cast<int>(app.splitRatio * 10000));
  for (std::size_t i = 0; i < kColourSlotSettings.size(); ++i)
    app.profile.Write(kColourSlotSettings[i], app.editor.colourSlots[i]);
  if (app.profile.Get(kQuickExitSetting) != 1 &&
      app.ui.Message(kQuitQuestionText, MsgButtons::YesNo) != MsgAnswer::Yes)
    return false;
  if (!OfferToSaveChanges(app)) return false;
  // The user has answered for whatever is still unsaved.
  app.recovery.Close();
  return true;
}
