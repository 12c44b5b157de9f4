// The 3D view of the real editor window driven by synthesised Qt mouse
// events: camera drags, and strokes painted on the model.

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <vector>

#include <QAction>
#include <QMouseEvent>

#include "editor/model_view.h"
#include "editor/paint_table.h"
#include "gui/gui_fixture.h"
#include "platform/qt/pane_widget.h"
#include "render/render_mode.h"
#include "shell/app.h"
#include "shell/command_table.h"
#include "shell/qt/main_wnd.h"
#include "shell/qt/shell_wnd.h"
#include "shell/startup.h"

namespace {

void Send(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
  QMouseEvent e(type, QPointF(at), QPointF(target->mapToGlobal(at)), button, held, Qt::NoModifier);
  QCoreApplication::sendEvent(target, &e);
  // The rest of the event loop's turn, where the changes are drawn.
  QCoreApplication::processEvents();
}
void Press(QWidget* w, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
  Send(w, QEvent::MouseButtonPress, at, button, held);
}
void Move(QWidget* w, QPoint at, Qt::MouseButtons held) { Send(w, QEvent::MouseMove, at, Qt::NoButton, held); }
void Release(QWidget* w, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
  Send(w, QEvent::MouseButtonRelease, at, button, held);
}

void Trigger(MainWnd& wnd, const std::string& label) {
  const Command* c = FindCommandByLabel(label);
  ASSERT_NE(c, nullptr) << label;
  QAction* a = wnd.actionFor(c->name);
  ASSERT_NE(a, nullptr) << label;
  ASSERT_TRUE(a->isEnabled()) << label;
  a->trigger();
}

bool SameRotation(const Mat3& a, const Mat3& b) {
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      if (a.m[i][j] != b.m[i][j]) return false;
  return true;
}

// The texel offset shown at client pixel (x, y), y from the top, read from
// the bottom-up tag rows the view renders.
std::int32_t TagUnder(const Viewport& v, int x, int y) {
  return v.tagBuffer[static_cast<std::size_t>(x + (v.height - y - 1) * v.width)];
}

// Every texel shown along row y between x0 and x1 (inclusive).
std::set<std::int32_t> TexelsOnRow(const Viewport& v, int y, int x0, int x1) {
  std::set<std::int32_t> texels;
  for (int x = std::min(x0, x1); x <= std::max(x0, x1); ++x)
    if (const std::int32_t t = TagUnder(v, x, y); t >= 0) texels.insert(t);
  return texels;
}

// The editor with the demo creature in Paint Mode, "Textured", camera off.
struct PaintFixture : GuiFixture {
  App* app = nullptr;
  MainWnd* wnd = nullptr;
  PaneWidget* view = nullptr;

  void SetUp(const std::string& brush) {
    ASSERT_TRUE(Start(JoinCommandLine({"-md2", model})));
    app = &session->app();
    wnd = &session->mainWnd();
    ShellWnd& shell = wnd->shellWnd();
    view = &shell.widgetFor(shell.modelView());
    ASSERT_EQ(app->renderModes.renderModeIndex, MODE_TEXTURED);
    ASSERT_EQ(app->editor.editMode, EditMode::Paint);
    Trigger(*wnd, "&Camera Toggle\tSpace");
    Trigger(*wnd, brush);
    Pump();
    ASSERT_FALSE(app->editor.cameraToggle);
    ASSERT_NE(app->model.CurrentSkin(), nullptr);
    // Half strength: painting a texel twice lands somewhere else than once.
    app->editor.paintStrength = 0.5;
    BuildPaintTable(*app);
  }

  // The row through the middle of the view, nearly edge to edge: it crosses
  // the creature and starts and ends on background.
  int row = 0, left = 0, right = 0;
  void FindRow() {
    const Viewport& v = app->viewport;
    row = v.height / 2;
    left = 3;
    right = std::min<int>(view->width(), v.width) - 4;
  }
};

}  // namespace

TEST(ModelViewDrag, RightButtonDuringAnOrbitZoomsAndOnlyTheLeftReleaseEndsIt) {
  GuiFixture f;
  ASSERT_TRUE(f.Start(JoinCommandLine({"-md2", f.model})));
  App& app = f.session->app();
  ShellWnd& shell = f.session->mainWnd().shellWnd();
  ModelView& pane = shell.modelView();
  PaneWidget* view = &shell.widgetFor(pane);
  ASSERT_TRUE(app.editor.cameraToggle);
  Viewport& v = app.viewport;
  // Off the four handles of the trackball guide, so the turn is free.
  const QPoint c(v.width / 2 + 25, v.height / 2 + 15);

  const Mat3 rotation0 = v.rotation;
  const float distance0 = v.distance;
  const std::vector<std::uint8_t> frame0 = v.frameBuffer;

  Press(view, c, Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(pane.dragState(), ModelView::DragState::OrbitDrag);
  EXPECT_TRUE(view->HasCapture());
  Move(view, c + QPoint(40, 20), Qt::LeftButton);
  EXPECT_FALSE(SameRotation(v.rotation, rotation0));
  EXPECT_EQ(v.distance, distance0);
  // Every orbit step is shown at once.
  EXPECT_NE(v.frameBuffer, frame0);

  // The right button joins in: vertical moves zoom, by 1.002 per pixel down.
  const Mat3 rotation1 = v.rotation;
  Press(view, c + QPoint(40, 20), Qt::RightButton, Qt::LeftButton | Qt::RightButton);
  EXPECT_EQ(pane.dragState(), ModelView::DragState::OrbitDrag);
  Move(view, c + QPoint(55, 50), Qt::LeftButton | Qt::RightButton);
  EXPECT_TRUE(SameRotation(v.rotation, rotation1));
  EXPECT_NEAR(v.distance / distance0, std::pow(1.002, 30), 1e-4);
  const float distance1 = v.distance;
  Move(view, c + QPoint(55, 40), Qt::LeftButton | Qt::RightButton);
  EXPECT_NEAR(v.distance / distance1, std::pow(1.002, -10), 1e-4);
  const float distance2 = v.distance;

  // Letting go of the right button goes back to orbiting; the drag goes on.
  Release(view, c + QPoint(55, 40), Qt::RightButton, Qt::LeftButton);
  EXPECT_EQ(pane.dragState(), ModelView::DragState::OrbitDrag);
  EXPECT_TRUE(view->HasCapture());
  Move(view, c + QPoint(10, 0), Qt::LeftButton);
  EXPECT_FALSE(SameRotation(v.rotation, rotation1));
  EXPECT_EQ(v.distance, distance2);

  Release(view, c + QPoint(10, 0), Qt::LeftButton, Qt::NoButton);
  f.Pump();
  EXPECT_EQ(pane.dragState(), ModelView::DragState::Idle);
  EXPECT_FALSE(view->HasCapture());
  // Moves after the drag leave the camera alone.
  const Mat3 rotation2 = v.rotation;
  Move(view, c + QPoint(-30, -30), Qt::NoButton);
  EXPECT_TRUE(SameRotation(v.rotation, rotation2));
  EXPECT_EQ(v.distance, distance2);
}

TEST(ModelViewPaint, APencilStrokeChangesEachTexelOnceAndNeverAProtectedColour) {
  PaintFixture f;
  f.SetUp("Pencil Brush\tShift+2");
  if (HasFatalFailure()) return;
  App& app = *f.app;
  f.FindRow();
  const Viewport& v = app.viewport;
  const std::set<std::int32_t> texels = TexelsOnRow(v, f.row, f.left, f.right);
  ASSERT_GT(texels.size(), 20u) << "the middle row should cross the creature";
  // The margins show background, so the stroke starts and ends off the model.
  ASSERT_LT(TagUnder(v, f.left, f.row), 0);
  ASSERT_LT(TagUnder(v, f.right, f.row), 0);

  Skin& skin = *app.model.CurrentSkin();
  const std::vector<std::uint8_t> before = skin.pixels;
  const auto& table = app.editor.paintTable;

  // Protect the commonest colour under the stroke that painting would change.
  std::map<int, int> counts;
  for (std::int32_t t : texels) {
    const std::uint8_t c = before[static_cast<std::size_t>(t)];
    if (table[c] != c) ++counts[c];
  }
  ASSERT_FALSE(counts.empty());
  int protectedColour = counts.begin()->first;
  for (const auto& [colour, n] : counts)
    if (n > counts[protectedColour]) protectedColour = colour;
  app.editor.protectedColours[static_cast<std::size_t>(protectedColour)] = 1;

  int twiceDiffers = 0;
  for (std::int32_t t : texels) {
    const std::uint8_t c = before[static_cast<std::size_t>(t)];
    twiceDiffers += c != protectedColour && table[table[c]] != table[c];
  }
  ASSERT_GT(twiceDiffers, 0) << "a texel painted twice must be told from one painted once";

  const std::vector<std::uint8_t> frameBefore = v.frameBuffer;
  // There and back twice in big jumps: the Pencil fills the gaps, the mask
  // keeps every texel to one change.
  const QPoint a(f.left, f.row), b(f.right, f.row);
  Press(f.view, a, Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(f.session->mainWnd().shellWnd().modelView().dragState(), ModelView::DragState::PaintDrag);
  Move(f.view, b, Qt::LeftButton);
  Move(f.view, a, Qt::LeftButton);
  Move(f.view, b, Qt::LeftButton);
  Release(f.view, b, Qt::LeftButton, Qt::NoButton);
  f.Pump();
  EXPECT_EQ(f.session->mainWnd().shellWnd().modelView().dragState(), ModelView::DragState::Idle);
  EXPECT_FALSE(f.view->HasCapture());

  int changed = 0, keptProtected = 0, wrong = 0;
  for (std::size_t i = 0; i < before.size(); ++i) {
    const std::uint8_t old = before[i];
    std::uint8_t expected = old;
    if (texels.count(static_cast<std::int32_t>(i)) && old != protectedColour) expected = table[old];
    if (skin.pixels[i] != expected && ++wrong <= 5)
      ADD_FAILURE() << "texel " << i << " was " << int(old) << ", is " << int(skin.pixels[i]) << ", expected "
                    << int(expected);
    changed += skin.pixels[i] != old;
    keptProtected += texels.count(static_cast<std::int32_t>(i)) && old == protectedColour;
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_GT(changed, 10);
  EXPECT_GT(keptProtected, 0);
  // The view shows the new texels without a camera move.
  EXPECT_NE(v.frameBuffer, frameBefore);

  // A second stroke over the same row changes the texels again.
  Press(f.view, a, Qt::LeftButton, Qt::LeftButton);
  Move(f.view, b, Qt::LeftButton);
  Release(f.view, b, Qt::LeftButton, Qt::NoButton);
  int again = 0;
  for (std::int32_t t : texels) {
    const std::uint8_t first = before[static_cast<std::size_t>(t)] == protectedColour
                                   ? before[static_cast<std::size_t>(t)]
                                   : table[before[static_cast<std::size_t>(t)]];
    const std::uint8_t expected = first == protectedColour ? first : table[first];
    EXPECT_EQ(skin.pixels[static_cast<std::size_t>(t)], expected) << "texel " << t;
    again += expected != first;
  }
  EXPECT_GT(again, 0);
}

TEST(ModelViewPaint, ALineStrokeKeepsOnlyItsLastSegment) {
  PaintFixture f;
  f.SetUp("Line Brush\tShift+3");
  if (HasFatalFailure()) return;
  App& app = *f.app;
  f.FindRow();
  const Viewport& v = app.viewport;
  Skin& skin = *app.model.CurrentSkin();
  const std::vector<std::uint8_t> before = skin.pixels;
  const auto& table = app.editor.paintTable;

  const QPoint start(f.left, f.row), end(f.right, f.row);
  // A detour well below the final line, through the creature's lower half.
  const QPoint detour((f.left + f.right) / 2, f.row + v.height / 5);
  const std::set<std::int32_t> finalTexels = TexelsOnRow(v, f.row, f.left, f.right);
  ASSERT_GT(finalTexels.size(), 20u);

  Press(f.view, start, Qt::LeftButton, Qt::LeftButton);
  Move(f.view, detour, Qt::LeftButton);
  // The detour's line is on the skin while the button is down.
  int offLine = 0;
  for (std::size_t i = 0; i < before.size(); ++i)
    offLine += skin.pixels[i] != before[i] && !finalTexels.count(static_cast<std::int32_t>(i));
  ASSERT_GT(offLine, 0) << "the detour should paint texels the final line does not cover";

  Move(f.view, end, Qt::LeftButton);
  Release(f.view, end, Qt::LeftButton, Qt::NoButton);
  f.Pump();

  int wrong = 0, changed = 0;
  for (std::size_t i = 0; i < before.size(); ++i) {
    const std::uint8_t expected = finalTexels.count(static_cast<std::int32_t>(i)) ? table[before[i]] : before[i];
    if (skin.pixels[i] != expected && ++wrong <= 5)
      ADD_FAILURE() << "texel " << i << " was " << int(before[i]) << ", is " << int(skin.pixels[i])
                    << ", expected " << int(expected);
    changed += skin.pixels[i] != before[i];
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_GT(changed, 10);
}

TEST(ModelViewPaint, TheEditMenuUndoesAndRedoesAStrokeByName) {
  PaintFixture f;
  f.SetUp("Pencil Brush\tShift+2");
  if (HasFatalFailure()) return;
  f.FindRow();
  Skin& skin = *f.app->model.CurrentSkin();
  const std::vector<std::uint8_t> before = skin.pixels;
  QAction* undo = f.wnd->actionFor(FindCommandByLabel("&Undo\tAlt+Backspace")->name);
  QAction* redo = f.wnd->actionFor(FindCommandByLabel("&Redo\tCtrl+Y")->name);
  f.wnd->UpdateCommandStates();
  EXPECT_FALSE(undo->isEnabled());

  Press(f.view, QPoint(f.left, f.row), Qt::LeftButton, Qt::LeftButton);
  Move(f.view, QPoint(f.right, f.row), Qt::LeftButton);
  Release(f.view, QPoint(f.right, f.row), Qt::LeftButton, Qt::NoButton);
  f.Pump();
  const std::vector<std::uint8_t> painted = skin.pixels;
  ASSERT_NE(painted, before);
  f.wnd->UpdateCommandStates();
  EXPECT_TRUE(undo->isEnabled());
  EXPECT_EQ(undo->text().toStdString(), "&Undo Pencil Stroke\tAlt+Backspace");
  EXPECT_EQ(undo->shortcuts(), QList<QKeySequence>{QKeySequence(Qt::ALT | Qt::Key_Backspace)});
  EXPECT_EQ(redo->shortcuts(), (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y),
                                                    QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));

  Trigger(*f.wnd, "&Undo\tAlt+Backspace");
  f.Pump();
  EXPECT_EQ(skin.pixels, before);
  EXPECT_EQ(redo->text().toStdString(), "&Redo Pencil Stroke\tCtrl+Y");
  Trigger(*f.wnd, "&Redo\tCtrl+Y");
  f.Pump();
  EXPECT_EQ(skin.pixels, painted);
}
