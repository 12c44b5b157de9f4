#include "shell/ctrl_z_habit.h"

#include <vector>

#include "platform/profile.h"
#include "platform/ui.h"
#include "shell/app.h"
#include "shell/command_table.h"

void ExecuteCommandFromKey(App& app, const Command& command, const std::string& key) {
  const bool habit = key == "Ctrl+Z" && command.name == "Skins > Revert";
  const Skin* skin = app.model.CurrentSkin();
  const std::vector<std::uint8_t> before = habit && skin ? skin->pixels : std::vector<std::uint8_t>{};
  ExecuteCommand(app, command);
  if (!habit || !skin || app.model.CurrentSkin() != skin || skin->pixels == before) return;
  app.statusNote = kCtrlZRevertedText;
  if (app.ctrlZOffered || app.ctrlZUndoes) return;
  app.ctrlZOffered = true;
  if (app.ui.Message(kCtrlZOfferText, MsgButtons::YesNo) != MsgAnswer::Yes) return;
  app.ctrlZUndoes = true;
  app.profile.Write(kUndoCtrlZSetting, 1);
}
