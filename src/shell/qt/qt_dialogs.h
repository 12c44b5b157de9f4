#pragma once
// The program's own modal dialogs as Qt windows: Preferences, "Resize
// Skins", "Offset Companion Model", the About box and "Model Stats".

#include <QWidget>

#include "shell/companion_commands.h"
#include "shell/preferences.h"
#include "shell/mapping_dialogs.h"
#include "shell/snapshot_command.h"
#include "shell/skin_dialogs.h"

class App;

class QtPreferencesDialog : public PreferencesDialog {
 public:
  explicit QtPreferencesDialog(QWidget* parent) : parent_(parent) {}
  std::optional<Preferences> Ask(App& app, const Preferences& initial) override;

 private:
  QWidget* parent_;
};

class QtSkinDialogs : public SkinDialogs {
 public:
  explicit QtSkinDialogs(QWidget* parent) : parent_(parent) {}
  std::optional<ResizeSkinsDialog> AskResizeSkins(const ResizeSkinsDialog& initial) override;

 private:
  QWidget* parent_;
};

class QtSnapshotDialog : public SnapshotDialog {
 public:
  explicit QtSnapshotDialog(QWidget* parent) : parent_(parent) {}
  std::optional<SnapshotChoice> Ask(const SnapshotChoice& initial) override;

 private:
  QWidget* parent_;
};

class QtMappingDialogs : public MappingDialogs {
 public:
  explicit QtMappingDialogs(QWidget* parent) : parent_(parent) {}
  std::optional<MapFrom3DViewOptions> AskMapFrom3DView() override;
  // In projection_dialogs.cpp.
  std::optional<ProjectionOptions> AskProjection(ProjectionShape shape) override;
  std::optional<PackIslandsOptions> AskPackIslands() override;

 private:
  QWidget* parent_;
};

class QtCompanionOffsetDialog : public CompanionOffsetDialog {
 public:
  explicit QtCompanionOffsetDialog(QWidget* parent) : parent_(parent) {}
  std::optional<CompanionOffset> Ask(const CompanionOffset& initial) override;

 private:
  QWidget* parent_;
};

void ShowAboutBox(QWidget* parent);
void ShowModelStatsBox(QWidget* parent, const App& app);

// The labels of the intro list's ten entries.
QString IntroEntryLabel(int entry);
