#pragma once
// The services a test's App reaches: each stand-in given takes the places
// its kinds of dialog fill (one object may script several), the rest empty.
//   app.services = ScriptedServices(skinDialogs, layout);

#include <type_traits>

#include "shell/companion_commands.h"
#include "shell/mapping_dialogs.h"
#include "shell/preferences.h"
#include "shell/services.h"
#include "shell/shell_layout.h"
#include "shell/skin_dialogs.h"
#include "shell/snapshot_command.h"

template <class D>
void FillService(Services& s, D& d) {
  if constexpr (std::is_base_of_v<SkinDialogs, D>) s.skinDialogs = &d;
  if constexpr (std::is_base_of_v<MappingDialogs, D>) s.mappingDialogs = &d;
  if constexpr (std::is_base_of_v<SnapshotDialog, D>) s.snapshotDialog = &d;
  if constexpr (std::is_base_of_v<CompanionOffsetDialog, D>) s.companionOffsetDialog = &d;
  if constexpr (std::is_base_of_v<PreferencesDialog, D>) s.preferencesDialog = &d;
  if constexpr (std::is_base_of_v<ShellLayout, D>) s.shellLayout = &d;
}

template <class... D>
Services ScriptedServices(D&... stand_ins) {
  Services s;
  (FillService(s, stand_ins), ...);
  return s;
}
