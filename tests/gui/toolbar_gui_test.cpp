// The toolbar and the list-bar bands of the real editor window.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QToolBar>
#include <QToolButton>

#include "editor/paint_table.h"
#include "gui/gui_fixture.h"
#include "shell/app.h"
#include "shell/command_table.h"
#include "shell/qt/main_wnd.h"
#include "shell/startup.h"

namespace {

// Labels as the toolbars show them, "" for a gap.
std::vector<std::string> Names(const std::vector<std::string>& labels) {
  std::vector<std::string> names;
  for (const std::string& label : labels) {
    if (label.empty()) {
      names.emplace_back();
      continue;
    }
    const Command* c = FindCommandByLabel(label);
    EXPECT_NE(c, nullptr) << label;
    names.push_back(c ? c->name : "?");
  }
  return names;
}

const std::vector<std::string> kPaint = {
    "&Camera Toggle\tSpace", "", "&Paint Mode\t1", "M&apping Mode\t2", "", "Point Brush\tShift+1",
    "Pencil Brush\tShift+2", "Line Brush\tShift+3", "", "Colour blend", "Tint blend", "",
    "Show mapping in Paint Mode", "", "&Brush Tool\tB", "&Fill Tool\tF", "&Line Tool\tL", "&Rectangle Tool\tR",
    "&Ellipse Tool\tE", "Eye&dropper Tool\tK", "Select &Pixels Tool\tM", "Lasso Pi&xels Tool\tShift+M", "",
    "&Smaller\t-", "&Larger\t=", "Round Brush", "Square Brush"};
const std::vector<std::string> kMapping = {
    "&Camera Toggle\tSpace", "", "&Paint Mode\t1", "M&apping Mode\t2", "", "Show mapping frame",
    "&Map from 3D View...", "&Cylinder Projection...", "S&phere Projection...", "&Box Projection...",
    "Pack &Islands...", "Stretch Display", "", "Lock X Axis", "Lock Y Axis", "Uniform Scales", "",
    "Drag pixels with mapping"};

QAction* Action(MainWnd& wnd, const std::string& label) {
  const Command* c = FindCommandByLabel(label);
  return c ? wnd.actionFor(c->name) : nullptr;
}

// The button the toolbar shows for `label`, clicked as the user would.
QToolButton* Button(MainWnd& wnd, const std::string& label) {
  QAction* a = Action(wnd, label);
  if (!a) return nullptr;
  return qobject_cast<QToolButton*>(wnd.commandToolbar()->widgetForAction(a));
}

void Click(GuiFixture& f, MainWnd& wnd, const std::string& label) {
  QToolButton* b = Button(wnd, label);
  ASSERT_NE(b, nullptr) << label;
  ASSERT_TRUE(b->isVisible()) << label;
  b->click();
  f.Pump();
}

}  // namespace

TEST(Toolbar, EachEditModeShowsItsOwnButtonsInOrder) {
  GuiFixture f;
  ASSERT_TRUE(f.Start(JoinCommandLine({"-md2", f.model})));
  MainWnd& wnd = f.session->mainWnd();
  EXPECT_EQ(wnd.commandToolbar()->iconSize(), QSize(16, 15));
  EXPECT_EQ(wnd.toolbarCommands(), Names(kPaint));
  for (const std::string& label : kPaint) {
    if (label.empty()) continue;
    EXPECT_TRUE(Action(wnd, label)->isEnabled()) << label;
    EXPECT_FALSE(Action(wnd, label)->icon().pixmap(QSize(16, 15)).isNull()) << label;
  }

  Click(f, wnd, "M&apping Mode\t2");
  EXPECT_EQ(f.session->app().editor.editMode, EditMode::Mapping);
  EXPECT_EQ(wnd.toolbarCommands(), Names(kMapping));
  for (const char* label : {"Show mapping frame", "Drag pixels with mapping", "&Map from 3D View...", "Lock X Axis"}) {
    QToolButton* b = Button(wnd, label);
    ASSERT_NE(b, nullptr) << label;
    EXPECT_TRUE(b->isVisible()) << label;
    EXPECT_TRUE(b->isEnabled()) << label;
  }
  EXPECT_EQ(Button(wnd, "Pencil Brush\tShift+2"), nullptr);

  Click(f, wnd, "&Paint Mode\t1");
  EXPECT_EQ(f.session->app().editor.editMode, EditMode::Paint);
  EXPECT_EQ(wnd.toolbarCommands(), Names(kPaint));
}

TEST(Toolbar, ButtonsChangeTheStateAndTheirCheckMarksFollowIt) {
  GuiFixture f;
  ASSERT_TRUE(f.Start(JoinCommandLine({"-md2", f.model})));
  App& app = f.session->app();
  MainWnd& wnd = f.session->mainWnd();

  // The start-up state: camera on, Paint Mode, Point brush, Colour rule.
  for (const char* on : {"&Camera Toggle\tSpace", "&Paint Mode\t1", "Point Brush\tShift+1", "Colour blend"})
    EXPECT_TRUE(Button(wnd, on)->isChecked()) << on;
  for (const char* off : {"M&apping Mode\t2", "Pencil Brush\tShift+2", "Line Brush\tShift+3", "Tint blend",
                          "Show mapping in Paint Mode"})
    EXPECT_FALSE(Button(wnd, off)->isChecked()) << off;

  // Each rule button rebuilds the paint table: Tint keeps every entry's own
  // brightness, so at half strength its table differs from Colour's.
  app.editor.paintStrength = 0.5;
  BuildPaintTable(app);
  const auto colourTable = app.editor.paintTable;
  Click(f, wnd, "Tint blend");
  EXPECT_EQ(app.editor.blendMode, PaintBlendMode::Tint);
  EXPECT_TRUE(Button(wnd, "Tint blend")->isChecked());
  EXPECT_FALSE(Button(wnd, "Colour blend")->isChecked());
  EXPECT_NE(app.editor.paintTable, colourTable);
  Click(f, wnd, "Colour blend");
  EXPECT_EQ(app.editor.blendMode, PaintBlendMode::Colour);
  EXPECT_TRUE(Button(wnd, "Colour blend")->isChecked());
  EXPECT_FALSE(Button(wnd, "Tint blend")->isChecked());
  EXPECT_EQ(app.editor.paintTable, colourTable);

  Click(f, wnd, "Line Brush\tShift+3");
  EXPECT_EQ(app.editor.brushKind, BrushKind::Line);
  EXPECT_TRUE(Button(wnd, "Line Brush\tShift+3")->isChecked());
  EXPECT_FALSE(Button(wnd, "Point Brush\tShift+1")->isChecked());

  Click(f, wnd, "Show mapping in Paint Mode");
  EXPECT_TRUE(app.editor.showMappingInPaint);
  EXPECT_TRUE(Button(wnd, "Show mapping in Paint Mode")->isChecked());
  Click(f, wnd, "Show mapping in Paint Mode");
  EXPECT_FALSE(app.editor.showMappingInPaint);
  EXPECT_FALSE(Button(wnd, "Show mapping in Paint Mode")->isChecked());

  Click(f, wnd, "&Camera Toggle\tSpace");
  EXPECT_FALSE(app.editor.cameraToggle);
  EXPECT_FALSE(Button(wnd, "&Camera Toggle\tSpace")->isChecked());

  // A state changed elsewhere (a key, the command line) shows on the button
  // after the next update.
  app.editor.brushKind = BrushKind::Pencil;
  wnd.UpdateCommandStates();
  EXPECT_TRUE(Button(wnd, "Pencil Brush\tShift+2")->isChecked());
  EXPECT_FALSE(Button(wnd, "Line Brush\tShift+3")->isChecked());
}

TEST(ListBarBands, ThreeRowsWithSkinsAndFramesDraggedRight) {
  GuiFixture f;
  ASSERT_TRUE(f.Start(JoinCommandLine({"-md2", f.model})));
  MainWnd& wnd = f.session->mainWnd();
  auto bar = [&](const char* name) {
    QToolBar* b = wnd.findChild<QToolBar*>(QString(name) + " Bar");
    EXPECT_NE(b, nullptr) << name;
    return b;
  };
  QToolBar* toolbar = wnd.commandToolbar();
  QToolBar* skins = bar("Skins");
  QToolBar* companions = bar("Companions");
  QToolBar* frames = bar("Frames");
  QToolBar* pmaps = bar("P-Maps");
  QToolBar* emaps = bar("E-Maps");
  QToolBar* modes = bar("Modes");
  ASSERT_TRUE(skins && companions && frames && pmaps && emaps && modes);

  // Rows: toolbar and Skins; Companions and Frames; P-Maps, E-Maps, Modes.
  EXPECT_EQ(skins->y(), toolbar->y());
  EXPECT_GT(companions->y(), toolbar->y());
  EXPECT_EQ(frames->y(), companions->y());
  EXPECT_GT(pmaps->y(), companions->y());
  EXPECT_EQ(emaps->y(), pmaps->y());
  EXPECT_EQ(modes->y(), pmaps->y());
  EXPECT_LT(toolbar->x(), skins->x());
  EXPECT_LT(companions->x(), frames->x());
  EXPECT_LT(pmaps->x(), emaps->x());
  EXPECT_LT(emaps->x(), modes->x());

  // The dragged bands keep their distance in front of the label; the others
  // start with their label.
  auto labelOffset = [](QToolBar* b) {
    QLabel* label = b->findChild<QLabel*>();
    return label ? label->x() : -1;
  };
  const int plain = labelOffset(companions);
  ASSERT_GE(plain, 0);
  EXPECT_LT(plain, 20);
  EXPECT_EQ(labelOffset(pmaps), plain);
  EXPECT_GE(labelOffset(skins) - plain, 66);
  EXPECT_LT(labelOffset(skins) - plain, 66 + 12);
  EXPECT_GE(labelOffset(frames) - plain, 398);
  EXPECT_LT(labelOffset(frames) - plain, 398 + 12);

  // Every band's child at least 128 x 22, and all shown in full.
  for (const char* name : {"Skins", "Companions", "Frames", "P-Maps", "E-Maps", "Modes"}) {
    QComboBox* combo = wnd.listBar(name);
    ASSERT_NE(combo, nullptr) << name;
    EXPECT_TRUE(combo->isVisible()) << name;
    EXPECT_GE(combo->width(), 128) << name;
    EXPECT_GE(combo->height(), 22) << name;
  }
  EXPECT_GE(toolbar->height(), 22);
}
