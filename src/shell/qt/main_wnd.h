#pragma once
// MainWnd: the frame window. Its menu bar, shortcuts and toolbar come from
// the command table; its six list bars mirror App::listBars; its only child
// is ShellWnd with the four panes. It drains the App's message queue from
// the event loop.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QList>
#include <QMainWindow>

class App;
class QAction;
class QComboBox;
class QMenu;
class QToolBar;
class ShellWnd;
class QtPreferencesDialog;
class QtSkinDialogs;
class QtMappingDialogs;
class QtSnapshotDialog;
class QtCompanionOffsetDialog;
class QtLinkTransport;
class DesktopSupport;
class AnimationBar;

// Every band's child is at least this big.
constexpr int kBandMinWidth = 128;
constexpr int kBandMinHeight = 22;
// How far right the "Skins" and "Frames" bands start, as if dragged there.
constexpr int kSkinsBandShift = 66;
constexpr int kFramesBandShift = 398;

class MainWnd : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWnd(App& app, QWidget* parent = nullptr);
  ~MainWnd() override;

  App& app() { return app_; }
  ShellWnd& shellWnd() { return *shell_; }

  // Runs a command as its menu item or key would, then brings the menus,
  // toolbar and list bars up to date.
  void RunCommand(const std::string& name);
  // Enabled, checked and dynamic labels of every command, and the toolbar
  // of the current edit mode.
  void UpdateCommandStates();
  // Where the window was at the last quit, or most of the screen's
  // available area, centred, the first time.
  void PlaceOnScreen();
  // The combo boxes refilled from App::listBars when it changed.
  void SyncListBars();
  // Draws what the announced changes left stale now (the event loop does
  // this by itself once per turn).
  void SettleChanges();

  QAction* actionFor(const std::string& commandName) const;
  // The list bar whose band shows `label` ("Skins", "Frames", "Modes", ...).
  QComboBox* listBar(const std::string& label) const;
  // The menu reached through `path` from the menu bar, or null.
  QMenu* menuAt(const std::vector<std::string>& path) const;
  QToolBar* commandToolbar() const { return toolbar_; }
  // The toolbar buttons now shown, by command name; "" for a gap.
  std::vector<std::string> toolbarCommands() const;
  // The status bar, recent files, drops and the watch over skin files.
  DesktopSupport* desktop() const { return desktop_; }
  // The speed box and the timer that plays the animation.
  AnimationBar* animation() const { return animation_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void BuildToolbar();
  void BuildListBars();
  void ShowToolbarFor(int editMode);
  void AfterChange();
  void ListChosen(const std::string& label, int index);

  App& app_;
  ShellWnd* shell_ = nullptr;
  QToolBar* toolbar_ = nullptr;
  std::map<std::string, QAction*> actions_;  // by command name
  std::map<std::string, QMenu*> menus_;  // by path joined with '\n'
  std::map<std::string, QComboBox*> lists_;
  QList<QAction*> paintBar_;
  QList<QAction*> mappingBar_;
  int toolbarMode_ = -1;
  int listVersion_ = -1;
  bool settleScheduled_ = false;
  std::unique_ptr<QtPreferencesDialog> preferencesDialog_;
  std::unique_ptr<QtSkinDialogs> skinDialogs_;
  std::unique_ptr<QtMappingDialogs> mappingDialogs_;
  std::unique_ptr<QtSnapshotDialog> snapshotDialog_;
  std::unique_ptr<QtCompanionOffsetDialog> companionOffsetDialog_;
  DesktopSupport* desktop_ = nullptr;  // a child; goes before the panes
  AnimationBar* animation_ = nullptr;  // a child
  std::unique_ptr<QtLinkTransport> linkTransport_;  // V-Link: messages arrive through the event loop
};
