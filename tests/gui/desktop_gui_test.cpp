// The window's desktop parts as a user meets them: the status bar over the
// panes, Ctrl+Z on Revert, a drop, a skin changed by another program, the
// user's keys and the toolbars' places.

#include <gtest/gtest.h>

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QMimeData>
#include <QPalette>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QUrl>

#include "editor/model_view.h"
#include "gui/gui_fixture.h"
#include "image/image_files.h"
#include "image/new_skin.h"
#include "platform/qt/pane_widget.h"
#include "shell/app.h"
#include "shell/ctrl_z_habit.h"
#include "shell/qt/desktop_support.h"
#include "shell/qt/main_wnd.h"
#include "shell/qt/shell_wnd.h"
#include "shell/qt/toolbar_icons.h"
#include "shell/command_table.h"
#include "shell/shortcut_keys.h"
#include "shell/startup.h"
#include "support/test_support.h"

namespace {

void MoveOver(PaneWidget& widget, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QMouseEvent move(QEvent::MouseMove, QPointF(at), widget.mapToGlobal(QPointF(at)), Qt::NoButton, Qt::NoButton,
                   modifiers);
  QCoreApplication::sendEvent(&widget, &move);
}

}  // namespace

TEST(DesktopGui, TheStatusBarFollowsThePointerModeAndModifiers) {
  GuiFixture f;
  ASSERT_TRUE(f.Start(JoinCommandLine({"-md2", f.model})));
  MainWnd& wnd = f.session->mainWnd();
  ShellWnd& shell = wnd.shellWnd();
  PaneWidget& skin = shell.widgetFor(shell.skinView());
  MoveOver(skin, skin.rect().center());
  EXPECT_TRUE(wnd.desktop()->hintText().startsWith("Camera: Left: pan")) << wnd.desktop()->hintText().toStdString();
  EXPECT_TRUE(wnd.desktop()->texelText().startsWith("Texel ")) << wnd.desktop()->texelText().toStdString();

  wnd.RunCommand("Options > Camera Toggle");
  wnd.RunCommand("Options > Mapping Mode");
  MoveOver(skin, skin.rect().center(), Qt::ShiftModifier);
  EXPECT_TRUE(wnd.desktop()->hintText().startsWith("Mapping Mode: Left: select triangles"))
      << wnd.desktop()->hintText().toStdString();
  PaneWidget& model = shell.widgetFor(shell.modelView());
  MoveOver(model, QPoint(2, 2));
  EXPECT_TRUE(wnd.desktop()->hintText().contains("Right: deselect triangles"));
}

TEST(DesktopGui, CtrlZOnRevertTellsHowToUndoAndAsksOnce) {
  GuiFixture f;
  ASSERT_TRUE(f.Start(JoinCommandLine({"-md2", f.model})));
  MainWnd& wnd = f.session->mainWnd();
  App& app = f.session->app();
  ASSERT_NE(app.model.CurrentSkin(), nullptr);
  const std::uint8_t was = app.model.CurrentSkin()->pixels[0];
  app.model.CurrentSkin()->pixels[0] = static_cast<std::uint8_t>(was + 1);
  f.ui.QueueAnswer(MsgAnswer::No);
  wnd.activateWindow();
  QTest::keyClick(&wnd, Qt::Key_Z, Qt::ControlModifier);
  f.Pump();
  EXPECT_EQ(app.model.CurrentSkin()->pixels[0], was);
  EXPECT_EQ(wnd.statusBar()->currentMessage().toStdString(), kCtrlZRevertedText);
  ASSERT_EQ(f.ui.texts(), std::vector<std::string>{kCtrlZOfferText});

  // The menu item says nothing.
  wnd.statusBar()->clearMessage();
  app.model.CurrentSkin()->pixels[0] = static_cast<std::uint8_t>(was + 1);
  wnd.actionFor("Skins > Revert")->trigger();
  f.Pump();
  EXPECT_EQ(app.model.CurrentSkin()->pixels[0], was);
  EXPECT_TRUE(wnd.statusBar()->currentMessage().isEmpty());
}

TEST(DesktopGui, APictureDroppedOnTheWindowOpensAsASkin) {
  GuiFixture f;
  ASSERT_TRUE(f.Start(JoinCommandLine({"-md2", f.model})));
  MainWnd& wnd = f.session->mainWnd();
  const std::string path = f.WriteSkinFile("dropped.pcx", 33);
  const std::size_t skins = f.session->app().model.skins.size();
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&wnd, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&wnd, &drop);
  f.Pump();
  ASSERT_EQ(f.session->app().model.skins.size(), skins + 1);
  EXPECT_EQ(f.session->app().model.CurrentSkin()->pixels[0], 33);
}

TEST(DesktopGui, ASkinFileChangedOutsideIsReadAgain) {
  GuiFixture f;
  const std::string path = f.WriteSkinFile("outside.pcx", 20);
  ASSERT_TRUE(f.Start(JoinCommandLine({"-md2", f.model, path})));
  MainWnd& wnd = f.session->mainWnd();
  ASSERT_TRUE(wnd.desktop()->watchedFiles().contains(QString::fromStdString(path)));
  Skin* skin = f.session->app().model.CurrentSkin();
  f.WriteSkinFile("outside.pcx", 21);
  QElapsedTimer waited;
  waited.start();
  while (skin->pixels[0] != 21 && waited.elapsed() < 5000) {
    QTest::qWait(50);
    f.Pump();
  }
  EXPECT_EQ(skin->pixels[0], 21);
  EXPECT_EQ(f.session->app().document.history.UndoName(), "Reload Skin");
  EXPECT_TRUE(f.ui.texts().empty());
}

TEST(DesktopGui, TheUsersKeysReachTheMenusAndTheToolbarsKeepTheirPlaces) {
  GuiFixture f;
  ASSERT_TRUE(f.Start(JoinCommandLine({"-md2", f.model})));
  ASSERT_EQ(SetCommandKeys(f.session->app(), "Skins > New", {"Ctrl+N"}), "");
  MainWnd& wnd = f.session->mainWnd();
  wnd.UpdateCommandStates();
  EXPECT_EQ(wnd.actionFor("Skins > New")->shortcut(), QKeySequence("Ctrl+N"));
  EXPECT_TRUE(wnd.actionFor("Skins > New")->text().endsWith("\tCtrl+N"));

  QToolBar* frames = wnd.findChild<QToolBar*>("Frames Bar");
  ASSERT_NE(frames, nullptr);
  wnd.addToolBar(Qt::BottomToolBarArea, frames);
  f.profile.WriteInt("Preferences", "Quick Exit", 1);
  wnd.close();
  f.session.reset();

  ASSERT_TRUE(f.Start(JoinCommandLine({"-md2", f.model})));
  MainWnd& again = f.session->mainWnd();
  again.PlaceOnScreen();
  EXPECT_EQ(again.toolBarArea(again.findChild<QToolBar*>("Frames Bar")), Qt::BottomToolBarArea);
  EXPECT_EQ(again.actionFor("Skins > New")->shortcut(), QKeySequence("Ctrl+N"));
}

TEST(DesktopGui, ToolbarPicturesTakeTheThemesInkOnDarkButtons) {
  TestApp();
  const QPalette saved = QGuiApplication::palette();
  QPalette dark = saved;
  dark.setColor(QPalette::Button, QColor(40, 40, 40));
  dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
  QGuiApplication::setPalette(dark);
  const QImage picture = CommandIcon(*FindCommand("Options > Point Brush")).pixmap(QSize(16, 15)).toImage();
  QGuiApplication::setPalette(saved);
  int inked = 0, darkInk = 0;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) {
      const QColor c = picture.pixelColor(x, y);
      if (c.alpha() < 128) continue;
      ++inked;
      if (c.lightness() < 72) ++darkInk;
    }
  EXPECT_GT(inked, 0);
  EXPECT_EQ(darkInk, 0);
}

namespace {

// A grey pane that sweeps a rubber band from (4, 4) to (20, 12).
class BandPane : public Pane {
 public:
  const char* WindowName() const override { return "Band"; }
  void Redraw(int, int) override {}
  void Resize(int w, int h) override {
    width_ = (w + 3) & ~3;
    height_ = h;
    pixels_.assign(static_cast<std::size_t>(width_ * std::max(h, 0)), 1);
  }
  PaneImage Image() const override {
    return PaneImage{pixels_.data(), width_, height_, width_, 8, true, &palette_};
  }
  bool RubberBand(int& x0, int& y0, int& x1, int& y1) const override {
    if (!sweeping) return false;
    x0 = 4, y0 = 4, x1 = 20, y1 = 12;
    return true;
  }
  bool sweeping = false;
  BandPane() { palette_[3] = palette_[4] = palette_[5] = 128; }

 private:
  int width_ = 0, height_ = 0;
  std::vector<std::uint8_t> pixels_;
  std::array<std::uint8_t, 768> palette_{};
};

}  // namespace

TEST(DesktopGui, ThePaneWidgetOutlinesARubberBandOverThePicture) {
  TestApp();
  BandPane pane;
  PaneWidget widget(pane);
  widget.resize(32, 24);
  const QColor grey(128, 128, 128);
  QImage shot = widget.grab().toImage();
  EXPECT_EQ(shot.pixelColor(12, 4), grey);
  pane.sweeping = true;
  shot = widget.grab().toImage();
  // Black under white dashes: the outline reads on light and dark skins.
  for (const QPoint edge : {QPoint(12, 4), QPoint(4, 8), QPoint(20, 10), QPoint(9, 12)}) {
    const QColor c = shot.pixelColor(edge);
    EXPECT_TRUE(c == QColor(Qt::white) || c == QColor(Qt::black)) << edge.x() << "," << edge.y();
  }
  EXPECT_EQ(shot.pixelColor(12, 8), grey);
}
