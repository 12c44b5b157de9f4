#pragma once
// What the main window does to fit the desktop: the status bar (mouse
// hints, texel readout, zoom, selection), File > Open Recent, files dropped
// on the window, the watch over open skin files, Help > Mouse and Keys, the
// window's toolbars remembered, and Ctrl+Z told apart from the menu item
// when it reverts a skin.

#include <string>
#include <vector>

#include <QObject>
#include <QPoint>
#include <QStringList>

#include "shell/status_hints.h"

class App;
class MainWnd;
class QFileSystemWatcher;
class QLabel;
class QMenu;
class QTimer;
class QWidget;

class DesktopSupport : public QObject {
  Q_OBJECT

 public:
  DesktopSupport(MainWnd& wnd, App& app);
  ~DesktopSupport() override;

  // After every command and settle: the status bar, the recent list and the
  // watched files follow the document.
  void AfterChange();
  // The toolbars' places, saved at quit and put back at start.
  void SaveWindowState();
  void RestoreWindowState();

  QMenu* recentMenu() const { return recentMenu_; }
  QStringList watchedFiles() const;
  QString hintText() const;
  QString texelText() const;
  // What a pointer over `pane` at (x, y) with the modifiers shows.
  void PointerAt(HintPane pane, int x, int y, bool shift, bool ctrl);
  // The key that triggered the command's action just now, or "" when it
  // came from a menu, a button or a call.
  std::string TakeTriggerKey(const std::string& commandName);
  // The outside changes gathered so far are taken now (normally a moment
  // after the last one, so a writer has finished).
  void TakeOutsideChanges();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildStatusBar();
  void BuildRecentMenu();
  void FillRecentMenu();
  void UpdateStatus();
  void SyncWatchedFiles();
  void FileChanged(const QString& path);
  void AfterOwnAction();
  void ShowMouseAndKeys();

  MainWnd& wnd_;
  App& app_;
  QLabel* mode_ = nullptr;
  QLabel* hint_ = nullptr;
  QLabel* texel_ = nullptr;
  QLabel* zoom_ = nullptr;
  QLabel* selection_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  QFileSystemWatcher* watcher_ = nullptr;
  QTimer* changeDelay_ = nullptr;
  std::vector<std::string> changed_;
  HintPane pane_ = HintPane::None;
  QPoint pointer_;
  bool shift_ = false;
  bool ctrl_ = false;
  bool taking_ = false;
  QObject* triggerAction_ = nullptr;
  std::string triggerKey_;
  std::string notedFiles_;  // the model and skin files as last noted  // reloading: the watcher's own notices wait
};
