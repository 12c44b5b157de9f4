// The editor window driven as a user would, answers scripted.

#include <gtest/gtest.h>
#include <filesystem>

#include <QGuiApplication>
#include <QScreen>

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QRadioButton>
#include <QTimer>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QWheelEvent>

#include "gui/gui_fixture.h"
#include "image/new_skin.h"
#include "image/skin.h"
#include "platform/qt/pane_widget.h"
#include "editor/gradient_box.h"
#include "editor/model_view.h"
#include "render/render_mode.h"
#include "shell/app.h"
#include "shell/command_table.h"
#include "shell/qt/main_wnd.h"
#include "shell/qt/shell_wnd.h"
#include "shell/startup.h"

namespace {

std::vector<std::string> ComboTexts(QComboBox* combo) {
  std::vector<std::string> out;
  for (int i = 0; i < combo->count(); ++i) out.push_back(combo->itemText(i).toStdString());
  return out;
}

void Wheel(QWidget* target, QPoint at, int delta) {
  QWheelEvent e(QPointF(at), QPointF(target->mapToGlobal(at)), QPoint(), QPoint(0, delta), Qt::NoButton,
                Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(target, &e);
}

void Mouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
  QMouseEvent e(type, QPointF(at), QPointF(target->mapToGlobal(at)), button, held, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &e);
}

std::string CommandNamed(const std::string& label) {
  const Command* c = FindCommandByLabel(label);
  EXPECT_NE(c, nullptr) << label;
  return c ? c->name : std::string();
}

// A command by its place, for labels that several menus share ("&Open").
std::string CommandIn(const std::vector<std::string>& menu, const std::string& label) {
  for (const Command& c : CommandTable())
    if (c.menu == menu && c.label == label) return c.name;
  ADD_FAILURE() << label;
  return {};
}

}  // namespace

TEST(EditorStart, Md2WithTwoSkinsLoadsBothAndTheSecondEndsCurrent) {
  GuiFixture f;
  const std::string a = f.WriteSkinFile("a.pcx", 10);
  const std::string b = f.WriteSkinFile("b.pcx", 20);
  ASSERT_TRUE(f.Start(JoinCommandLine({"-md2", f.model, a, b})));
  App& app = f.session->app();
  MainWnd& wnd = f.session->mainWnd();
  EXPECT_TRUE(f.ui.shown().empty()) << f.ui.shown().front().text;

  ASSERT_EQ(app.model.skins.size(), 3u);
  EXPECT_EQ(app.model.currentSkinIndex, 2);
  // The skin list keeps paths with either separator.
  QString path = QString::fromStdString(app.model.CurrentSkin()->path);
  EXPECT_EQ(path.replace('\\', '/').toStdString(), b);
  EXPECT_TRUE(app.model.skins[1]->flags & SKIN_EXTERNAL);
  EXPECT_TRUE(app.model.skins[2]->flags & SKIN_EXTERNAL);
  EXPECT_EQ(f.profile.GetString("Project", "CurFile", ""), f.model);

  QComboBox* skins = wnd.listBar("Skins");
  ASSERT_NE(skins, nullptr);
  ASSERT_EQ(skins->count(), 3);
  EXPECT_EQ(skins->currentIndex(), 2);
  EXPECT_TRUE(skins->currentText().endsWith("b.pcx"));
  // The Modes list holds the ten modes with Textured chosen.
  QComboBox* modes = wnd.listBar("Modes");
  ASSERT_EQ(modes->count(), 10);
  EXPECT_EQ(modes->currentText(), "Textured");
  EXPECT_EQ(wnd.listBar("Frames")->count(), static_cast<int>(app.model.frames.size()));
  EXPECT_EQ(wnd.windowTitle(), "Pellmar's Skin Tool v1");
}

TEST(EditorStart, NoModelAndACancelledOpenDialogEndsTheProgramSilently) {
  GuiFixture f;
  EXPECT_FALSE(f.Start(""));
  EXPECT_TRUE(f.ui.shown().empty());
  EXPECT_EQ(f.ui.dialogs().size(), 1u);
}

TEST(ListBars, ARefusedModePutsTheOldSelectionBack) {
  GuiFixture f;
  ASSERT_TRUE(f.Start(JoinCommandLine({"-md2", f.model})));
  MainWnd& wnd = f.session->mainWnd();
  QComboBox* modes = wnd.listBar("Modes");
  ASSERT_EQ(modes->currentIndex(), MODE_TEXTURED);
  // No phong maps are loaded, so Phong is refused with its own message.
  modes->setCurrentIndex(MODE_PHONG);
  emit modes->activated(MODE_PHONG);
  f.Pump();
  ASSERT_EQ(f.ui.texts().size(), 1u);
  EXPECT_EQ(f.ui.texts()[0], kPhongUnavailableText);
  EXPECT_EQ(modes->currentIndex(), MODE_TEXTURED);
  EXPECT_EQ(f.session->app().renderModes.renderModeIndex, MODE_TEXTURED);

  // An allowed mode sticks.
  modes->setCurrentIndex(MODE_FLAT);
  emit modes->activated(MODE_FLAT);
  f.Pump();
  EXPECT_EQ(f.session->app().renderModes.renderModeIndex, MODE_FLAT);
  EXPECT_EQ(modes->currentIndex(), MODE_FLAT);
}

TEST(ListBars, LinkedSkinsAreShownFirstAfterARefresh) {
  GuiFixture f;
  ASSERT_TRUE(f.Start(JoinCommandLine({"-md2", f.model})));
  App& app = f.session->app();
  Model& m = app.model;
  m.skins.clear();
  for (const char* name : {"E1", "L1", "E2", "L2"}) {
    auto s = MakeBlankSkin(name, m.skinWidth, m.skinHeight, GreyRampPalette());
    s->flags = name[0] == 'E' ? SKIN_EXTERNAL : 0;
    m.skins.push_back(std::move(s));
  }
  m.currentSkinIndex = 0;  // E1
  m.currentSkinIndex = 0;
  app.RefreshAll();
  f.Pump();
  QComboBox* skins = f.session->mainWnd().listBar("Skins");
  // Each external skin is swapped with the next linked one: E1 L1 E2 L2 ->
  // L1 E1 E2 L2 -> L1 L2 E2 E1.
  EXPECT_EQ(ComboTexts(skins), (std::vector<std::string>{"L1", "L2", "E2", "E1"}));
  EXPECT_EQ(skins->currentIndex(), 3);  // E1 stays current
  EXPECT_EQ(m.CurrentSkin()->name, "E1");
}

TEST(ListBars, ChoosingASkinMakesItCurrent) {
  GuiFixture f;
  const std::string a = f.WriteSkinFile("a.pcx", 10);
  ASSERT_TRUE(f.Start(JoinCommandLine({"-md2", f.model, a})));
  QComboBox* skins = f.session->mainWnd().listBar("Skins");
  skins->setCurrentIndex(0);
  emit skins->activated(0);
  f.Pump();
  EXPECT_EQ(f.session->app().model.currentSkinIndex, 0);
  EXPECT_EQ(skins->currentIndex(), 0);
}

TEST(ListBars, AnExternalSkinShowsItsNameFromTheBaseFolderAndItsPathAsTip) {
  GuiFixture f;
  std::filesystem::create_directories(f.base + "/paints");
  const std::string a = f.WriteSkinFile("paints/a.pcx", 10);
  ASSERT_TRUE(f.Start(JoinCommandLine({"-md2", f.model, a})));
  QComboBox* skins = f.session->mainWnd().listBar("Skins");
  ASSERT_EQ(skins->count(), 2);
  EXPECT_EQ(skins->itemText(1).toStdString(), "paints/a.pcx");
  EXPECT_EQ(skins->itemData(1, Qt::ToolTipRole).toString().toStdString(), a);
  EXPECT_EQ(skins->toolTip().toStdString(), a);
}

TEST(ShellWnd, SwapDisplaysSendsTheWheelOverTheLeftPaneToThe3DView) {
  GuiFixture f;
  ASSERT_TRUE(f.Start(JoinCommandLine({"-md2", f.model})));
  App& app = f.session->app();
  MainWnd& wnd = f.session->mainWnd();
  ShellWnd& shell = wnd.shellWnd();
  PaneWidget& modelWidget = shell.widgetFor(shell.modelView());
  const int leftX = shell.layout().rects().left.x + 20;
  const int y = shell.layout().rects().left.y + 20;

  // At first the skin view is on the left: the wheel there leaves the camera.
  EXPECT_LT(modelWidget.geometry().x(), shell.layout().rects().right.x + 1);
  EXPECT_GT(modelWidget.geometry().x(), 0);
  const float before = app.viewport.distance;
  Wheel(&shell, QPoint(leftX, y), 120);
  EXPECT_EQ(app.viewport.distance, before);

  wnd.RunCommand(CommandNamed("&Swap Displays"));
  f.Pump();
  EXPECT_FALSE(shell.layout().swapped());
  EXPECT_EQ(modelWidget.geometry().x(), 0);
  EXPECT_EQ(shell.widgetFor(shell.skinView()).geometry().x(), shell.layout().rects().right.x);

  Wheel(&shell, QPoint(leftX, y), 120);
  EXPECT_NE(app.viewport.distance, before);
  // A wheel over the gradient strip goes nowhere.
  const float after = app.viewport.distance;
  Wheel(&shell, QPoint(shell.layout().rects().gradient.x + 5, y), 120);
  EXPECT_EQ(app.viewport.distance, after);
}

TEST(ShellWnd, TheWheelOverAPaneWidgetReachesItsPane) {
  GuiFixture f;
  ASSERT_TRUE(f.Start(JoinCommandLine({"-md2", f.model})));
  App& app = f.session->app();
  ShellWnd& shell = f.session->mainWnd().shellWnd();
  const float before = app.viewport.distance;
  // Delivered as Qt does: to the widget under the pointer, which passes it up.
  PaneWidget& modelWidget = shell.widgetFor(shell.modelView());
  Wheel(&modelWidget, QPoint(10, 10), -120);
  EXPECT_NE(app.viewport.distance, before);
}

TEST(ShellWnd, DraggingTheGradientStripMovesTheSplit) {
  GuiFixture f;
  ASSERT_TRUE(f.Start(JoinCommandLine({"-md2", f.model})));
  App& app = f.session->app();
  ShellWnd& shell = f.session->mainWnd().shellWnd();
  PaneWidget& gradient = shell.widgetFor(shell.gradientStrip());
  const int width = shell.width();
  // The split button sits above the two preset buttons at the strip's foot.
  Mouse(&gradient, QEvent::MouseButtonPress, QPoint(5, gradient.height() - 20), Qt::LeftButton, Qt::LeftButton);
  f.Pump();
  EXPECT_TRUE(shell.layout().splitDragging());
  auto& strip = static_cast<GradientBox&>(shell.gradientStrip());
  EXPECT_EQ(strip.dragState(), GradientBox::DragState::SplitDrag);
  Mouse(&shell, QEvent::MouseMove, QPoint(300, 50), Qt::NoButton, Qt::LeftButton);
  EXPECT_DOUBLE_EQ(app.splitRatio, 300.0 / width);
  EXPECT_EQ(gradient.geometry().x(), static_cast<int>((width - 24) * (300.0 / width)));
  // Within 64 pixels of the left edge the split snaps to 0.
  Mouse(&shell, QEvent::MouseMove, QPoint(40, 50), Qt::NoButton, Qt::LeftButton);
  EXPECT_EQ(app.splitRatio, 0.0);
  EXPECT_EQ(gradient.geometry().x(), 0);
  Mouse(&shell, QEvent::MouseButtonRelease, QPoint(40, 50), Qt::LeftButton, Qt::NoButton);
  f.Pump();
  EXPECT_FALSE(shell.layout().splitDragging());
  EXPECT_FALSE(shell.HasCapture());
  EXPECT_EQ(strip.dragState(), GradientBox::DragState::Idle);
}

TEST(ShellWnd, GradientStripButtonsSwapTheViewsAndRecallASplit) {
  GuiFixture f;
  ASSERT_TRUE(f.Start(JoinCommandLine({"-md2", f.model})));
  App& app = f.session->app();
  ShellWnd& shell = f.session->mainWnd().shellWnd();
  PaneWidget& gradient = shell.widgetFor(shell.gradientStrip());
  const int h = gradient.height();
  Mouse(&gradient, QEvent::MouseButtonPress, QPoint(5, h - 20), Qt::RightButton, Qt::RightButton);
  Mouse(&gradient, QEvent::MouseButtonRelease, QPoint(5, h - 20), Qt::RightButton, Qt::NoButton);
  f.Pump();
  EXPECT_FALSE(shell.layout().swapped());
  EXPECT_EQ(shell.widgetFor(shell.modelView()).geometry().x(), 0);
  // The left preset button recalls a quarter of the width for the left pane.
  Mouse(&gradient, QEvent::MouseButtonPress, QPoint(3, h - 3), Qt::LeftButton, Qt::LeftButton);
  Mouse(&gradient, QEvent::MouseButtonRelease, QPoint(3, h - 3), Qt::LeftButton, Qt::NoButton);
  f.Pump();
  EXPECT_EQ(app.splitRatio, 0.25);
  EXPECT_EQ(gradient.geometry().x(), static_cast<int>((shell.width() - 24) * 0.25));
}

TEST(MainWnd, NeverSmallerThan516By360) {
  GuiFixture f;
  ASSERT_TRUE(f.Start(JoinCommandLine({"-md2", f.model})));
  MainWnd& wnd = f.session->mainWnd();
  EXPECT_EQ(wnd.minimumSize(), QSize(516, 360));
  wnd.resize(200, 100);
  f.Pump();
  EXPECT_GE(wnd.width(), 516);
  EXPECT_GE(wnd.height(), 360);
}

TEST(MainWnd, TheMenusHoldTheTableItemsWithTheirKeys) {
  GuiFixture f;
  ASSERT_TRUE(f.Start(JoinCommandLine({"-md2", f.model})));
  MainWnd& wnd = f.session->mainWnd();

  QStringList titles;
  for (QAction* a : wnd.menuBar()->actions()) titles << a->text();
  EXPECT_EQ(titles, (QStringList{"&File", "&Edit", "&Options", "&Tools", "&Skins", "&Mapping", "M&esh", "Se&lection", "&Views",
                                 "&About/Stats", "&Help"}));

  int items = 0;
  for (const Command& c : CommandTable()) {
    if (c.menu.empty()) continue;
    QMenu* menu = wnd.menuAt(c.menu);
    ASSERT_NE(menu, nullptr) << c.label;
    emit menu->aboutToShow();
    QAction* action = wnd.actionFor(c.name);
    ASSERT_NE(action, nullptr);
    EXPECT_TRUE(menu->actions().contains(action)) << c.label;
    EXPECT_EQ(action->text().toStdString(), CommandLabel(f.session->app(), c));
    QList<QKeySequence> keys;
    for (const std::string& key : CommandKeys(f.session->app(), c))
      keys << QKeySequence::fromString(QString::fromStdString(key), QKeySequence::PortableText);
    EXPECT_EQ(action->shortcuts(), keys) << c.label;
    ++items;
  }
  EXPECT_GT(items, 80);

  // A few keys as the user knows them, independent of the table's spelling.
  EXPECT_EQ(wnd.actionFor(CommandNamed("&Open...\tCtrl+O"))->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
  EXPECT_EQ(wnd.actionFor(CommandNamed("Select &Connected\t\\"))->shortcut(), QKeySequence(Qt::Key_Backslash));
  EXPECT_EQ(wnd.actionFor(CommandNamed("&Camera Toggle\tSpace"))->shortcut(), QKeySequence(Qt::Key_Space));
  EXPECT_EQ(wnd.actionFor(CommandNamed("&Move Up\tCtrl+Up"))->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Up));
  EXPECT_EQ(wnd.actionFor(CommandNamed("&Zoom 2D Extents\tShift+F1"))->shortcut(),
            QKeySequence(Qt::SHIFT | Qt::Key_F1));
  // Every key a label shows is bound.
  EXPECT_EQ(wnd.actionFor(CommandNamed("Align B&ack\tShift+F7"))->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F7));
  EXPECT_EQ(wnd.actionFor(CommandIn({"&Skins"}, "&Open\tShift+O"))->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_O));
}

TEST(MainWnd, CompanionItemsAreDisabledWithoutACompanionAndChecksFollowTheState) {
  GuiFixture f;
  ASSERT_TRUE(f.Start(JoinCommandLine({"-md2", f.model})));
  MainWnd& wnd = f.session->mainWnd();
  QMenu* companion = wnd.menuAt({"&File", "&Companion"});
  ASSERT_NE(companion, nullptr);
  emit companion->aboutToShow();
  EXPECT_TRUE(wnd.actionFor(CommandIn({"&File", "&Companion"}, "&Open"))->isEnabled());
  EXPECT_FALSE(wnd.actionFor(CommandIn({"&File", "&Companion"}, "&Close"))->isEnabled());
  EXPECT_FALSE(wnd.actionFor(CommandIn({"&File", "&Companion"}, "&Hide\tH"))->isEnabled());
  EXPECT_FALSE(wnd.actionFor(CommandIn({"&File", "&Companion"}, "&Offset"))->isEnabled());

  QAction* camera = wnd.actionFor(CommandNamed("&Camera Toggle\tSpace"));
  EXPECT_TRUE(camera->isChecked());
  camera->trigger();
  EXPECT_FALSE(f.session->app().editor.cameraToggle);
  EXPECT_FALSE(camera->isChecked());
}

TEST(MainWnd, ClosingAsksAndNoKeepsTheWindow) {
  GuiFixture f;
  ASSERT_TRUE(f.Start(JoinCommandLine({"-md2", f.model})));
  MainWnd& wnd = f.session->mainWnd();
  f.session->app().splitRatio = 0.65999;
  f.ui.QueueAnswer(MsgAnswer::No);
  EXPECT_FALSE(wnd.close());
  EXPECT_TRUE(wnd.isVisible());
  ASSERT_EQ(f.ui.shown().size(), 1u);
  EXPECT_EQ(f.ui.shown()[0].text, "All Unsaved data will be lost...\nAre you sure you want to quit?");
  EXPECT_EQ(f.ui.shown()[0].buttons, MsgButtons::YesNo);
  // The settings are written even though the answer was No.
  EXPECT_EQ(f.profile.GetInt("Preferences", "Splitter", 0), 6599);
  f.ui.QueueAnswer(MsgAnswer::Yes);
  EXPECT_TRUE(wnd.close());
}

TEST(MainWnd, The3DViewShowsTheTexturedModel) {
  GuiFixture f;
  ASSERT_TRUE(f.Start(JoinCommandLine({"-md2", f.model})));
  ShellWnd& shell = f.session->mainWnd().shellWnd();
  const QImage shot = shell.widgetFor(shell.modelView()).grab().toImage();
  ASSERT_FALSE(shot.isNull());
  // The creature covers some of the view in colours other than the background.
  const QRgb background = shot.pixel(2, 2);
  int other = 0;
  for (int y = 0; y < shot.height(); y += 4)
    for (int x = 0; x < shot.width(); x += 4) other += shot.pixel(x, y) != background;
  EXPECT_GT(other, 20);
}

TEST(Preferences, TheDialogsControlsReachTheProfileAndPaletteOnTopActsAtOnce) {
  GuiFixture f;
  ASSERT_TRUE(f.Start(JoinCommandLine({"-md2", f.model})));
  MainWnd& wnd = f.session->mainWnd();
  ShellWnd& shell = wnd.shellWnd();
  bool answered = false;
  // The dialog is modal: answer it from inside its own event loop.
  QTimer::singleShot(0, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    if (!dialog) return;
    for (QCheckBox* box : dialog->findChildren<QCheckBox*>()) {
      if (box->text() == "Palette on Top" || box->text() == "Quick exit") box->setChecked(true);
      if (box->text() == "Use custom mouse cursors") box->setChecked(false);
    }
    for (QRadioButton* r : dialog->findChildren<QRadioButton*>())
      if (r->text() == "Auto no") r->setChecked(true);
    dialog->findChild<QComboBox*>("IntroList")->setCurrentIndex(3);
    answered = true;
    static_cast<QDialog*>(dialog)->accept();
  });
  wnd.RunCommand(CommandIn({"&File"}, "Preferences"));
  f.Pump();
  ASSERT_TRUE(answered);
  EXPECT_EQ(f.profile.GetInt("Preferences", "Pal On Top", 0), 1);
  EXPECT_EQ(f.profile.GetInt("Preferences", "Quick Exit", 0), 1);
  EXPECT_EQ(f.profile.GetInt("Preferences", "CustomCursors", 1), 0);
  EXPECT_EQ(f.profile.GetInt("Preferences", "DirScan_Prompt", 2), 1);
  EXPECT_EQ(f.profile.GetInt("Preferences", "Intro Number", 8), 3);
  // The palette strip moved to the top at once, the big panes 32 lower.
  EXPECT_TRUE(shell.layout().palOnTop());
  EXPECT_EQ(shell.widgetFor(shell.paletteStrip()).geometry().y(), 0);
  EXPECT_EQ(shell.widgetFor(shell.modelView()).geometry().y(), 32);
  // Quick Exit now closes without asking.
  f.ui.Clear();
  EXPECT_TRUE(wnd.close());
  EXPECT_TRUE(f.ui.shown().empty());
}

TEST(MainWnd, OpensOverMostOfTheScreenAndComesBackWhereItWasLeft) {
  GuiFixture f;
  ASSERT_TRUE(f.Start(JoinCommandLine({"-md2", f.model})));
  MainWnd& wnd = f.session->mainWnd();
  wnd.PlaceOnScreen();
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_GE(wnd.width(), area.width() * 8 / 10);
  EXPECT_TRUE(area.contains(wnd.geometry().center()));
  wnd.setGeometry(QRect(30, 40, 700, 500));
  f.ui.QueueAnswer(MsgAnswer::Yes);  // "are you sure you want to quit?"
  ASSERT_TRUE(wnd.close());
  EXPECT_FALSE(f.profile.GetString("Preferences", "Window Geometry", "").empty());
  wnd.setGeometry(QRect(0, 0, 600, 400));
  wnd.PlaceOnScreen();
  EXPECT_EQ(wnd.size(), QSize(700, 500));
}
