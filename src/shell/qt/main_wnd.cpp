#include "shell/qt/main_wnd.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QAbstractItemView>
#include <QScreen>
#include <QLabel>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>

#include "platform/clock.h"
#include "platform/qt/qt_link_transport.h"
#include "platform/qt/qt_ui.h"
#include "platform/profile.h"
#include "shell/app.h"
#include "shell/command_table.h"
#include "shell/ctrl_z_habit.h"
#include "shell/animation_commands.h"
#include "shell/list_bars.h"
#include "shell/qt/animation_bar.h"
#include "shell/qt/clipboard_bridge.h"
#include "shell/qt/desktop_support.h"
#include "shell/qt/qt_dialogs.h"
#include "shell/qt/shell_wnd.h"
#include "shell/qt/toolbar_icons.h"
#include "shell/quit.h"
#include "shell/shell_layout.h"

namespace {

std::string JoinPath(const std::vector<std::string>& path, std::size_t count) {
  std::string key;
  for (std::size_t i = 0; i < count && i < path.size(); ++i) {
    if (i) key += '\n';
    key += path[i];
  }
  return key;
}

// Only changes the action's keys when they differ: a shortcut set anew is
// registered anew with the window's shortcut map.
void SetShortcuts(QAction* action, const std::vector<std::string>& keys) {
  QList<QKeySequence> sequences;
  for (const std::string& key : keys)
    sequences << QKeySequence::fromString(QString::fromStdString(key), QKeySequence::PortableText);
  if (action->shortcuts() != sequences) action->setShortcuts(sequences);
}

// The six bands in their rows: the toolbar and "Skins"; "Companions" and
// "Frames"; "P-Maps", "E-Maps" and "Modes". Two bands start as if the user
// had dragged them right by `shift` pixels.
// The Animations list rides at the end of the Frames band: where the row
// has too little room it is the one that goes into the band's overflow.
struct Band {
  const char* label;
  bool newRow;
  int shift;
  bool inPreviousBand = false;
};
constexpr Band kBands[] = {{"Skins", false, kSkinsBandShift}, {"Companions", true, 0},
                           {"Frames", false, kFramesBandShift}, {"Animations", false, 0, true},
                           {"P-Maps", true, 0},                {"E-Maps", false, 0},
                           {"Modes", false, 0}};

// The two toolbars by command label; an empty label is a gap.
const char* const kPaintToolbar[] = {
    "&Camera Toggle\tSpace", "", "&Paint Mode\t1", "M&apping Mode\t2", "", "Point Brush\tShift+1",
    "Pencil Brush\tShift+2", "Line Brush\tShift+3", "", "Colour blend", "Tint blend", "",
    "Show mapping in Paint Mode", "", "&Brush Tool\tB", "&Fill Tool\tF", "&Line Tool\tL", "&Rectangle Tool\tR",
    "&Ellipse Tool\tE", "Eye&dropper Tool\tK", "Select &Pixels Tool\tM", "Lasso Pi&xels Tool\tShift+M", "",
    "&Smaller\t-", "&Larger\t=", "Round Brush", "Square Brush"};
const char* const kMappingToolbar[] = {
    "&Camera Toggle\tSpace", "", "&Paint Mode\t1", "M&apping Mode\t2", "", "Show mapping frame",
    "&Map from 3D View...", "&Cylinder Projection...", "S&phere Projection...", "&Box Projection...",
    "Pack &Islands...", "Stretch Display", "", "Lock X Axis", "Lock Y Axis", "Uniform Scales", "",
    "Drag pixels with mapping"};

template <std::size_t N>
std::vector<std::string> ToolbarNames(const char* const (&labels)[N]) {
  std::vector<std::string> names;
  for (const char* label : labels) {
    if (!*label) {
      names.emplace_back();
      continue;
    }
    // A label missing from the table leaves its button out rather than
    // showing a dead one.
    if (const Command* c = FindCommandByLabel(label)) names.push_back(c->name);
  }
  return names;
}

}  // namespace

MainWnd::MainWnd(App& app, QWidget* parent) : QMainWindow(parent), app_(app) {
  setObjectName("MainWnd");
  setWindowTitle(kAppTitle);
  setWindowIcon(QIcon(AppIconPixmap(32)));
  setMinimumSize(kMinFrameWidth, kMinFrameHeight);

  preferencesDialog_ = std::make_unique<QtPreferencesDialog>(this);
  skinDialogs_ = std::make_unique<QtSkinDialogs>(this);
  mappingDialogs_ = std::make_unique<QtMappingDialogs>(this);
  snapshotDialog_ = std::make_unique<QtSnapshotDialog>(this);
  companionOffsetDialog_ = std::make_unique<QtCompanionOffsetDialog>(this);
  app_.services.preferencesDialog = preferencesDialog_.get();
  app_.services.skinDialogs = skinDialogs_.get();
  app_.services.mappingDialogs = mappingDialogs_.get();
  app_.services.snapshotDialog = snapshotDialog_.get();
  app_.services.companionOffsetDialog = companionOffsetDialog_.get();
  app_.services.showAbout = [this] { ShowAboutBox(this); };
  app_.services.showModelStats = [this] { ShowModelStatsBox(this, app_); };
  ConnectClipboard(app_);
  app_.services.requestClose = [this] { close(); };
  linkTransport_ = std::make_unique<QtLinkTransport>();
  app_.link.transport = linkTransport_.get();
  app_.link.windowTitle = [this] { return windowTitle().toStdString(); };
  app_.link.setWindowTitle = [this](const std::string& title) { setWindowTitle(QString::fromStdString(title)); };
  app_.link.afterAnswer = [this](std::function<void()> job) {
    QMetaObject::invokeMethod(this, std::move(job), Qt::QueuedConnection);
  };

  BuildMenus();
  BuildToolbar();
  BuildListBars();

  shell_ = new ShellWnd(app_, this);
  setCentralWidget(shell_);
  // Keys typed into the frame belong to the panes.
  setFocusProxy(shell_);

  // Whatever a turn of the event loop changed is drawn once, after it.
  app_.document.changes.SetWakeup([this] {
    if (settleScheduled_) return;
    settleScheduled_ = true;
    QMetaObject::invokeMethod(this, [this] { SettleChanges(); }, Qt::QueuedConnection);
  });

  desktop_ = new DesktopSupport(*this, app_);
  animation_ = new AnimationBar(*this, app_, findChild<QToolBar*>("Frames Bar"));
  UpdateCommandStates();
  SyncListBars();

  // The recovery copy is taken between events, so never inside a stroke
  // (the copy itself waits for the stroke's step to close), and written on
  // its own thread.
  auto* recoveryTimer = new QTimer(this);
  recoveryTimer->setObjectName("RecoveryTimer");
  connect(recoveryTimer, &QTimer::timeout, this, [this] { PollRecovery(app_, NowMs()); });
  recoveryTimer->start(kRecoveryPollMs);
}

MainWnd::~MainWnd() {
  delete desktop_;
  desktop_ = nullptr;
  app_.document.changes.SetWakeup(nullptr);
  app_.services.showAbout = nullptr;
  app_.services.showModelStats = nullptr;
  DisconnectClipboard(app_);
  app_.services.requestClose = nullptr;
  // A watcher that closes gives its title up with its window.
  if (app_.link.watching()) app_.link.ToggleWatch();
  app_.link.transport = nullptr;
  app_.link.windowTitle = nullptr;
  app_.link.setWindowTitle = nullptr;
  app_.link.afterAnswer = nullptr;
  if (app_.services.preferencesDialog == preferencesDialog_.get()) app_.services.preferencesDialog = nullptr;
  if (app_.services.skinDialogs == skinDialogs_.get()) app_.services.skinDialogs = nullptr;
  if (app_.services.mappingDialogs == mappingDialogs_.get()) app_.services.mappingDialogs = nullptr;
  if (app_.services.snapshotDialog == snapshotDialog_.get()) app_.services.snapshotDialog = nullptr;
  if (app_.services.companionOffsetDialog == companionOffsetDialog_.get()) app_.services.companionOffsetDialog = nullptr;
  // ShellWnd's panes and layout must go while the App still stands.
  delete shell_;
  shell_ = nullptr;
}

void MainWnd::BuildMenus() {
  for (const Command& c : CommandTable()) {
    auto* action = new QAction(QString::fromStdString(c.label), this);
    action->setObjectName(QString::fromStdString("cmd-" + c.name));
    action->setIconVisibleInMenu(false);
    SetShortcuts(action, CommandKeys(app_, c));
    if (c.checked) action->setCheckable(true);
    const std::string name = c.name;
    connect(action, &QAction::triggered, this, [this, name] { RunCommand(name); });
    actions_[c.name] = action;

    if (c.menu.empty()) {
      // Key-only and toolbar-only commands still need their shortcut live.
      addAction(action);
      continue;
    }
    QMenu* parentMenu = nullptr;
    for (std::size_t depth = 1; depth <= c.menu.size(); ++depth) {
      const std::string key = JoinPath(c.menu, depth);
      auto it = menus_.find(key);
      if (it == menus_.end()) {
        const QString title = QString::fromStdString(c.menu[depth - 1]);
        QMenu* m = parentMenu ? parentMenu->addMenu(title) : menuBar()->addMenu(title);
        // Labels and check marks follow the model the moment a menu opens.
        connect(m, &QMenu::aboutToShow, this, [this] { UpdateCommandStates(); });
        it = menus_.emplace(key, m).first;
      }
      parentMenu = it->second;
    }
    if (c.separatorBefore && !parentMenu->actions().isEmpty()) parentMenu->addSeparator();
    parentMenu->addAction(action);
  }
}

void MainWnd::BuildToolbar() {
  toolbar_ = new QToolBar("Toolbar", this);
  toolbar_->setObjectName("Toolbar");
  toolbar_->setIconSize(QSize(16, 15));
  toolbar_->setMinimumSize(kBandMinWidth, kBandMinHeight);
  addToolBar(Qt::TopToolBarArea, toolbar_);
  // Each toolbar keeps its own gaps, so swapping them creates nothing new.
  auto build = [this](const std::vector<std::string>& names) {
    QList<QAction*> bar;
    for (const std::string& name : names) {
      if (name.empty()) {
        auto* gap = new QAction(this);
        gap->setSeparator(true);
        bar << gap;
        continue;
      }
      const Command* c = FindCommand(name);
      QAction* a = actions_[name];
      a->setIcon(CommandIcon(*c));
      a->setToolTip(PlainLabel(c->label));
      bar << a;
    }
    return bar;
  };
  paintBar_ = build(ToolbarNames(kPaintToolbar));
  mappingBar_ = build(ToolbarNames(kMappingToolbar));
}

void MainWnd::ShowToolbarFor(int editMode) {
  if (editMode == toolbarMode_) return;
  toolbarMode_ = editMode;
  toolbar_->clear();
  toolbar_->addActions(editMode == 1 ? mappingBar_ : paintBar_);
}

std::vector<std::string> MainWnd::toolbarCommands() const {
  std::vector<std::string> names;
  for (QAction* a : toolbar_->actions()) {
    if (a->isSeparator()) {
      names.emplace_back();
      continue;
    }
    for (const auto& [name, action] : actions_)
      if (action == a) names.push_back(name);
  }
  return names;
}

void MainWnd::BuildListBars() {
  QToolBar* bar = nullptr;
  for (const Band& band : kBands) {
    if (band.newRow) addToolBarBreak(Qt::TopToolBarArea);
    if (band.inPreviousBand && bar) {
      bar->addSeparator();
    } else {
      bar = new QToolBar(band.label, this);
      bar->setObjectName(QString(band.label) + " Bar");
    }
    if (band.shift > 0) {
      auto* gap = new QWidget;
      gap->setObjectName("BandShift");
      gap->setFixedSize(band.shift, 1);
      bar->addWidget(gap);
    }
    auto* label = new QLabel(QString(band.label) + " ");
    bar->addWidget(label);
    auto* combo = new QComboBox;
    combo->setObjectName(band.label);
    // Lists keep their width; a long name shows elided, whole in the tip.
    combo->setFixedSize(kBandMinWidth, kBandMinHeight);
    combo->view()->setTextElideMode(Qt::ElideMiddle);
    combo->view()->setMinimumWidth(kBandMinWidth * 2);
    combo->setMaxVisibleItems(12);
    combo->setFocusPolicy(Qt::ClickFocus);
    bar->addWidget(combo);
    if (!band.inPreviousBand) addToolBar(Qt::TopToolBarArea, bar);
    const std::string name = band.label;
    connect(combo, QOverload<int>::of(&QComboBox::activated), this,
            [this, name](int index) { ListChosen(name, index); });
    lists_[name] = combo;
  }
}

QComboBox* MainWnd::listBar(const std::string& label) const {
  auto it = lists_.find(label);
  return it == lists_.end() ? nullptr : it->second;
}

QAction* MainWnd::actionFor(const std::string& commandName) const {
  auto it = actions_.find(commandName);
  return it == actions_.end() ? nullptr : it->second;
}

QMenu* MainWnd::menuAt(const std::vector<std::string>& path) const {
  // Walk the real menu bar, so a test sees what the user sees.
  QList<QAction*> level = menuBar()->actions();
  QMenu* found = nullptr;
  for (const std::string& title : path) {
    found = nullptr;
    for (QAction* a : level) {
      if (a->menu() && a->text() == QString::fromStdString(title)) {
        found = a->menu();
        break;
      }
    }
    if (!found) return nullptr;
    level = found->actions();
  }
  return found;
}

void MainWnd::ListChosen(const std::string& label, int index) {
  if (label == "Skins")
    SelectSkinEntry(app_, index);
  else if (label == "Companions")
    SelectCompanionEntry(app_, index);
  else if (label == "Frames")
    SelectFrameEntry(app_, index);
  else if (label == "Animations")
    SelectAnimationEntry(app_, index);
  else if (label == "P-Maps")
    SelectPhongMapEntry(app_, index);
  else if (label == "E-Maps")
    SelectEnvMapEntry(app_, index);
  else if (label == "Modes")
    SelectModeEntry(app_, index);
  // A refused mode puts the list's old selection back; show it.
  listVersion_ = -1;
  AfterChange();
}

void MainWnd::SyncListBars() {
  const ListBars& bars = app_.listBars;
  if (bars.version == listVersion_) return;
  listVersion_ = bars.version;
  const std::pair<const char*, const ListBar*> all[] = {{"Skins", &bars.skins},   {"Companions", &bars.companions},
                                                        {"Frames", &bars.frames}, {"Animations", &bars.animations},
                                                        {"P-Maps", &bars.phongMaps},
                                                        {"E-Maps", &bars.envMaps}, {"Modes", &bars.modes}};
  for (const auto& [name, bar] : all) {
    QComboBox* combo = lists_[name];
    const QSignalBlocker quiet(combo);
    combo->clear();
    for (std::size_t i = 0; i < bar->items.size(); ++i) {
      const QString text = QString::fromStdString(bar->items[i]);
      if (i < bar->images.size())
        combo->addItem(SkinListIcon(bar->images[i]), text);
      else
        combo->addItem(text);
      const QString tip = i < bar->tooltips.size() ? QString::fromStdString(bar->tooltips[i]) : text;
      combo->setItemData(combo->count() - 1, tip, Qt::ToolTipRole);
    }
    combo->setCurrentIndex(bar->selection < combo->count() ? bar->selection : -1);
    combo->setToolTip(combo->currentData(Qt::ToolTipRole).toString());
  }
}

void MainWnd::UpdateCommandStates() {
  for (const Command& c : CommandTable()) {
    QAction* a = actions_[c.name];
    a->setEnabled(!c.enabled || c.enabled(app_));
    if (c.checked) a->setChecked(c.checked(app_));
    // The user's own keys, or the ones the state gives, show in the label too.
    if (c.dynamicLabel || c.keys || !app_.shortcutKeys.empty())
      a->setText(QString::fromStdString(CommandLabel(app_, c)));
    SetShortcuts(a, CommandKeys(app_, c));
  }
  ShowToolbarFor(static_cast<int>(app_.editor.editMode));
}

void MainWnd::RunCommand(const std::string& name) {
  const Command* c = FindCommand(name);
  if (!c) return;
  ExecuteCommandFromKey(app_, *c, desktop_ ? desktop_->TakeTriggerKey(name) : std::string());
  AfterChange();
}

void MainWnd::AfterChange() {
  SyncListBars();
  UpdateCommandStates();
  if (shell_) shell_->SyncGeometry();
  if (desktop_) desktop_->AfterChange();
  if (animation_) animation_->AfterChange();
}

void MainWnd::SettleChanges() {
  settleScheduled_ = false;
  app_.document.changes.Settle();
  AfterChange();
}

void MainWnd::closeEvent(QCloseEvent* event) {
  if (!ConfirmQuit(app_)) {
    event->ignore();
    return;
  }
  app_.profile.Write(kWindowGeometrySetting, saveGeometry().toBase64().toStdString());
  if (desktop_) desktop_->SaveWindowState();
  event->accept();
}

void MainWnd::PlaceOnScreen() {
  if (desktop_) desktop_->RestoreWindowState();
  const std::string saved = app_.profile.Get(kWindowGeometrySetting);
  if (!saved.empty() && restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(saved)))) return;
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  const QSize size(std::max(kMinFrameWidth, area.width() * 9 / 10), std::max(kMinFrameHeight, area.height() * 9 / 10));
  setGeometry(QRect(area.center() - QPoint(size.width() / 2, size.height() / 2), size));
}
