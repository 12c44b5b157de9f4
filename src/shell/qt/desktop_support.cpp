#include "shell/qt/desktop_support.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProcess>
#include <QShortcutEvent>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "editor/model_view.h"
#include "editor/skin_view.h"
#include "platform/profile.h"
#include "platform/qt/pane_widget.h"
#include "shell/app.h"
#include "shell/command_table.h"
#include "shell/dropped_files.h"
#include "shell/preferences.h"
#include "shell/qt/main_wnd.h"
#include "shell/qt/shell_wnd.h"
#include "shell/recent_files.h"
#include "shell/shell_layout.h"
#include "shell/shortcut_keys.h"
#include "shell/skin_file_watch.h"

namespace {

// A writer saving a picture touches the file several times; the reload
// waits until it has been quiet this long.
constexpr int kOutsideChangeDelayMs = 300;
// How long a one-off note stays in the status bar.
constexpr int kNoteMs = 15000;

void SetTextIfChanged(QLabel* label, const QString& text) {
  if (label->text() != text) label->setText(text);
}

// Opens the file in the program the user named, or else in the desktop's
// default for its type.
bool OpenInImageEditor(const Profile& profile, const std::string& path) {
  const QString command = QString::fromStdString(profile.Get(kImageEditorSetting)).trimmed();
  if (command.isEmpty()) return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
  QStringList words = QProcess::splitCommand(command);
  if (words.isEmpty()) return false;
  const QString program = words.takeFirst();
  words << QString::fromStdString(path);
  return QProcess::startDetached(program, words);
}

}  // namespace

DesktopSupport::DesktopSupport(MainWnd& wnd, App& app) : QObject(&wnd), wnd_(wnd), app_(app) {
  setObjectName("DesktopSupport");
  LoadShortcutKeys(app_);
  app_.services.showMouseAndKeys = [this] { ShowMouseAndKeys(); };
  app_.services.openInImageEditor = [this](const std::string& path) { return OpenInImageEditor(app_.profile, path); };

  BuildStatusBar();
  BuildRecentMenu();

  wnd_.setAcceptDrops(true);
  // One filter over the whole application sees the pointer over the panes,
  // the modifiers changing while it rests, the drops on the window and the
  // shortcut that triggers Revert (so Ctrl+Z is told apart from the menu).
  qApp->installEventFilter(this);

  watcher_ = new QFileSystemWatcher(this);
  connect(watcher_, &QFileSystemWatcher::fileChanged, this, &DesktopSupport::FileChanged);
  changeDelay_ = new QTimer(this);
  changeDelay_->setSingleShot(true);
  changeDelay_->setInterval(kOutsideChangeDelayMs);
  connect(changeDelay_, &QTimer::timeout, this, &DesktopSupport::TakeOutsideChanges);
}

DesktopSupport::~DesktopSupport() {
  qApp->removeEventFilter(this);
  app_.services.showMouseAndKeys = nullptr;
  app_.services.openInImageEditor = nullptr;
}

void DesktopSupport::BuildStatusBar() {
  QStatusBar* bar = wnd_.statusBar();
  bar->setObjectName("StatusBar");
  mode_ = new QLabel;
  mode_->setObjectName("StatusMode");
  hint_ = new QLabel;
  hint_->setObjectName("StatusHint");
  hint_->setMinimumWidth(0);
  texel_ = new QLabel;
  texel_->setObjectName("StatusTexel");
  zoom_ = new QLabel;
  zoom_->setObjectName("StatusZoom");
  selection_ = new QLabel;
  selection_->setObjectName("StatusSelection");
  bar->addWidget(mode_);
  bar->addWidget(hint_, 1);
  bar->addPermanentWidget(texel_);
  bar->addPermanentWidget(zoom_);
  bar->addPermanentWidget(selection_);
  UpdateStatus();
}

void DesktopSupport::BuildRecentMenu() {
  QMenu* file = wnd_.menuAt({"&File"});
  if (!file) return;
  recentMenu_ = new QMenu("Open &Recent", file);
  recentMenu_->setObjectName("RecentMenu");
  QAction* open = wnd_.actionFor("File > Open...");
  const QList<QAction*> items = file->actions();
  const qsizetype at = items.indexOf(open);
  QAction* before = at >= 0 && at + 1 < items.size() ? items[at + 1] : nullptr;
  file->insertMenu(before, recentMenu_);
  connect(recentMenu_, &QMenu::aboutToShow, this, &DesktopSupport::FillRecentMenu);
  FillRecentMenu();
}

void DesktopSupport::FillRecentMenu() {
  recentMenu_->clear();
  const std::vector<RecentFile> files = LoadRecentFiles(app_.profile);
  int number = 1;
  for (const RecentFile& file : files) {
    const QString model = QString::fromStdString(file.model);
    QString text = QString("&%1 %2").arg(number++).arg(QFileInfo(model).fileName());
    if (!file.skins.empty()) text += QString(" + %1 skin%2").arg(file.skins.size()).arg(file.skins.size() == 1 ? "" : "s");
    QAction* a = recentMenu_->addAction(text);
    QString tip = model;
    for (const std::string& skin : file.skins) tip += "\n" + QString::fromStdString(skin);
    a->setToolTip(tip);
    a->setStatusTip(model);
    a->setEnabled(RecentFileExists(file));
    connect(a, &QAction::triggered, this, [this, file] {
      OpenRecentFile(app_, file);
      AfterOwnAction();
    });
  }
  if (!files.empty()) recentMenu_->addSeparator();
  QAction* clear = recentMenu_->addAction("&Clear List");
  clear->setObjectName("ClearRecent");
  clear->setEnabled(!files.empty());
  connect(clear, &QAction::triggered, this, [this] {
    ClearRecentFiles(app_.profile);
    FillRecentMenu();
  });
  recentMenu_->setToolTipsVisible(true);
}

void DesktopSupport::AfterOwnAction() {
  wnd_.SyncListBars();
  wnd_.UpdateCommandStates();
  wnd_.shellWnd().SyncGeometry();
  AfterChange();
}

void DesktopSupport::AfterChange() {
  for (Pane* view : {&wnd_.shellWnd().skinView(), static_cast<Pane*>(&wnd_.shellWnd().modelView())})
    wnd_.shellWnd().widgetFor(*view).SetFullResolution(app_.fullResolution);
  // Settles come with every stroke; the list and the watch only change
  // when the model or its skin files do.
  std::string files = app_.model.modelLoaded ? app_.document.currentFile : std::string();
  for (const std::string& path : WatchedSkinPaths(app_)) files += "\n" + path;
  if (files != notedFiles_) {
    notedFiles_ = files;
    NoteRecentFile(app_);
    SyncWatchedFiles();
  }
  if (!app_.statusNote.empty()) {
    wnd_.statusBar()->showMessage(QString::fromStdString(app_.statusNote), kNoteMs);
    app_.statusNote.clear();
  }
  UpdateStatus();
}

QString DesktopSupport::hintText() const { return mode_->text() + " " + hint_->text(); }
QString DesktopSupport::texelText() const { return texel_->text(); }

void DesktopSupport::PointerAt(HintPane pane, int x, int y, bool shift, bool ctrl) {
  pane_ = pane;
  pointer_ = QPoint(x, y);
  shift_ = shift;
  ctrl_ = ctrl;
  UpdateStatus();
}

void DesktopSupport::UpdateStatus() {
  const HintSituation s = SituationOf(app_, pane_, shift_, ctrl_);
  const bool view = pane_ == HintPane::SkinView || pane_ == HintPane::ModelView;
  SetTextIfChanged(mode_, view ? QString::fromStdString(ModeTitle(s)) + ":" : QString());
  SetTextIfChanged(hint_, QString::fromStdString(MouseHint(s)));
  TexelSample sample;
  SkinView* skinView = app_.services.shellLayout ? app_.services.shellLayout->skinViewPane() : nullptr;
  if (pane_ == HintPane::SkinView && skinView) {
    float u = 0, v = 0;
    skinView->ClientToSkin(pointer_.x(), pointer_.y(), u, v);
    sample = SampleSkinAt(app_, u, v);
  } else if (pane_ == HintPane::ModelView) {
    sample = SampleModelViewAt(app_, pointer_.x(), pointer_.y());
  }
  SetTextIfChanged(texel_, QString::fromStdString(TexelText(sample)));
  SetTextIfChanged(zoom_, skinView ? QString::fromStdString(ZoomText(skinView->viewZoom())) : QString());
  SetTextIfChanged(selection_, QString::fromStdString(SelectionText(SelectedTriangles(app_))));
}

bool DesktopSupport::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::Shortcut: {
      // The action triggers inside this event's handling; what it triggers
      // by is forgotten once the event loop turns.
      auto* action = qobject_cast<QAction*>(watched);
      if (!action || action->parent() != &wnd_) break;
      triggerAction_ = action;
      triggerKey_ = static_cast<QShortcutEvent*>(event)->key().toString(QKeySequence::PortableText).toStdString();
      QMetaObject::invokeMethod(
          this, [this] { triggerAction_ = nullptr; }, Qt::QueuedConnection);
      break;
    }
    case QEvent::MouseMove:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease: {
      auto* widget = qobject_cast<PaneWidget*>(watched);
      if (!widget || widget->window() != &wnd_) break;
      auto* mouse = static_cast<QMouseEvent*>(event);
      ShellWnd& shell = wnd_.shellWnd();
      Pane* pane = &widget->pane();
      const HintPane which = pane == &shell.skinView()                            ? HintPane::SkinView
                             : pane == static_cast<Pane*>(&shell.modelView())     ? HintPane::ModelView
                             : pane == &shell.paletteStrip()                      ? HintPane::PaletteStrip
                                                                                  : HintPane::GradientStrip;
      const QPoint p = widget->ToPanePoint(mouse->position());
      PointerAt(which, p.x(), p.y(), mouse->modifiers() & Qt::ShiftModifier, mouse->modifiers() & Qt::ControlModifier);
      break;
    }
    case QEvent::Leave:
      if (auto* widget = qobject_cast<PaneWidget*>(watched); widget && widget->window() == &wnd_)
        PointerAt(HintPane::None, 0, 0, false, false);
      break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() != Qt::Key_Shift && key->key() != Qt::Key_Control) break;
      const bool shift = key->modifiers() & Qt::ShiftModifier, ctrl = key->modifiers() & Qt::ControlModifier;
      if (pane_ != HintPane::None && (shift != shift_ || ctrl != ctrl_))
        PointerAt(pane_, pointer_.x(), pointer_.y(), shift, ctrl);
      break;
    }
    case QEvent::DragEnter: {
      if (watched != &wnd_) break;
      auto* drag = static_cast<QDragEnterEvent*>(event);
      bool local = false;
      for (const QUrl& url : drag->mimeData()->urls()) local = local || url.isLocalFile();
      if (local) drag->acceptProposedAction();
      return true;
    }
    case QEvent::Drop: {
      if (watched != &wnd_) break;
      auto* drop = static_cast<QDropEvent*>(event);
      std::vector<std::string> paths;
      for (const QUrl& url : drop->mimeData()->urls())
        if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
      drop->acceptProposedAction();
      // Questions the files raise are asked once the drop is over, not
      // inside the drag source's loop.
      QMetaObject::invokeMethod(
          this,
          [this, paths] {
            OpenDroppedFiles(app_, paths);
            AfterOwnAction();
          },
          Qt::QueuedConnection);
      return true;
    }
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

std::string DesktopSupport::TakeTriggerKey(const std::string& commandName) {
  const bool byKey = triggerAction_ && triggerAction_ == wnd_.actionFor(commandName);
  triggerAction_ = nullptr;
  return byKey ? triggerKey_ : std::string();
}

QStringList DesktopSupport::watchedFiles() const { return watcher_->files(); }

void DesktopSupport::SyncWatchedFiles() {
  QStringList wanted;
  for (const std::string& path : WatchedSkinPaths(app_))
    if (QFileInfo::exists(QString::fromStdString(path))) wanted << QString::fromStdString(path);
  const QStringList now = watcher_->files();
  for (const QString& path : now)
    if (!wanted.contains(path)) watcher_->removePath(path);
  for (const QString& path : wanted)
    if (!now.contains(path)) watcher_->addPath(path);
}

void DesktopSupport::FileChanged(const QString& path) {
  const std::string p = path.toStdString();
  if (std::find(changed_.begin(), changed_.end(), p) == changed_.end()) changed_.push_back(p);
  changeDelay_->start();
}

void DesktopSupport::TakeOutsideChanges() {
  if (taking_) return;
  taking_ = true;
  std::vector<std::string> paths;
  paths.swap(changed_);
  bool any = false;
  for (const std::string& path : paths) any = OnSkinFileChanged(app_, path) || any;
  taking_ = false;
  // A writer that replaced the file (a new file renamed over it) ended the
  // watch on the old one; the new one is watched again here.
  for (const std::string& path : paths) watcher_->removePath(QString::fromStdString(path));
  SyncWatchedFiles();
  if (any) AfterOwnAction();
}

void DesktopSupport::SaveWindowState() {
  app_.profile.Write(kWindowStateSetting, wnd_.saveState().toBase64().toStdString());
}

void DesktopSupport::RestoreWindowState() {
  const std::string saved = app_.profile.Get(kWindowStateSetting);
  if (!saved.empty()) wnd_.restoreState(QByteArray::fromBase64(QByteArray::fromStdString(saved)));
}

void DesktopSupport::ShowMouseAndKeys() {
  QDialog dialog(&wnd_);
  dialog.setObjectName("MouseAndKeys");
  dialog.setWindowTitle("Mouse and Keys");
  auto* v = new QVBoxLayout(&dialog);
  auto* text = new QPlainTextEdit(QString::fromStdString(MouseAndKeysText(app_)));
  text->setReadOnly(true);
  text->setLineWrapMode(QPlainTextEdit::NoWrap);
  text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  text->setTabStopDistance(text->fontMetrics().horizontalAdvance(' ') * 18);
  v->addWidget(text);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  v->addWidget(buttons);
  dialog.resize(820, 600);
  dialog.exec();
}
