#pragma once
// The edits the recovery tests play on an App, the same every time: point
// strokes through the skin view's real paint path (each its own undo step),
// with a selection change and a hidden face now and then. The child process
// of the kill test plays them too, so the parent can play them again and
// know what the copy must hold.

#include <filesystem>
#include <string>

#include "editor/skin_view.h"
#include "model/md2_builder.h"
#include "shell/app.h"
#include "shell/command_table.h"
#include "support/fake_pane_host.h"
#include "support/test_support.h"

namespace recovery_session {

using QuietHost = FakePaneHost;

// A quad on a 32 x 32 skin whose file is missing, so it loads as the
// stand-in checkerboard; written below `base` as models/quad.md2.
inline std::string WriteQuadModel(const std::string& base) {
  TestMd2 t = QuadMd2();
  t.skinWidth = t.skinHeight = 32;
  t.skins = {"models/quad.pcx"};
  std::filesystem::create_directories(base + "/models");
  const std::string path = base + "/models/quad.md2";
  WriteBytes(path, t.Bytes());
  return path;
}

inline void Run(App& app, const char* label) {
  if (const Command* c = FindCommandByLabel(label)) ExecuteCommand(app, *c);
}

// A 64 x 64 skin view at zoom 2 centred on (16, 16), painting point strokes.
struct PointPane {
  QuietHost host;
  SkinView view;
  explicit PointPane(App& app) : view(app) {
    view.SetHost(&host);
    view.Resize(64, 64);
    view.SetView(16, 16, 2);
    view.Redraw(0, 0);
    app.editor.cameraToggle = false;
    app.editor.brushKind = BrushKind::Point;
  }
};

// Plays edits [first, first + count). The pane shows the skin at zoom 2
// centred on (16, 16): client (2x + 1, 2y + 1) is texel (x, y).
inline void PlayEdits(App& app, int first, int count) {
  PointPane pane(app);
  SkinView& view = pane.view;
  for (int i = first; i < first + count; ++i) {
    if (i % 20 == 4) Run(app, "&Select All\tShift+C");
    if (i % 20 == 14) Run(app, "Select &None\tC");
    if (i == 7) Run(app, "&Hide Selected Faces\tCtrl+H");
    app.editor.colourSlots[static_cast<std::size_t>(app.editor.activeSlot)] = static_cast<std::uint8_t>(20 + i * 7);
    app.RebuildPaintTable();
    MouseEvent e;
    e.button = MouseButton::Left;
    e.leftDown = true;
    e.x = 2 * (i % 32) + 1;
    e.y = 2 * ((i * 7) % 32) + 1;
    view.MouseDown(e);
    e.x = (e.x + 6) % 64;
    view.MouseMove(e);
    e.leftDown = false;
    view.MouseUp(e);
  }
}

// The scripted run of the kill test: edit i is one action, so it records,
// undoes or redoes at most one step: point strokes, undo and redo, the
// selection, a hidden face, the mapping commands on the selection and a
// duplicated skin.
inline void PlayScript(App& app, int first, int count) {
  PointPane pane(app);
  SkinView& view = pane.view;
  static const char* const kMapping[] = {"&Flip Selected", "Mirror Selected", "90\xC2\xB0 Rotate Selected"};
  for (int i = first; i < first + count; ++i) {
    switch (i % 12) {
      case 3:
        Run(app, "&Undo\tAlt+Backspace");
        continue;
      case 5:
        Run(app, "&Redo\tCtrl+Y");
        continue;
      case 7:
        Run(app, "&Select All\tShift+C");
        continue;
      case 9:
        Run(app, kMapping[(i / 12) % 3]);
        continue;
      case 11:
        Run(app, i % 48 == 11 ? "&Hide Selected Faces\tCtrl+H" : "Select &None\tC");
        continue;
      default:
        break;
    }
    if (i % 40 == 20) {
      Run(app, "Dupl&icate\tCtrl+D");
      continue;
    }
    app.editor.colourSlots[static_cast<std::size_t>(app.editor.activeSlot)] = static_cast<std::uint8_t>(20 + i * 7);
    app.RebuildPaintTable();
    MouseEvent e;
    e.button = MouseButton::Left;
    e.leftDown = true;
    e.x = 2 * ((i * 5) % 32) + 1;
    e.y = 2 * ((i * 11) % 32) + 1;
    view.MouseDown(e);
    e.leftDown = false;
    view.MouseUp(e);
  }
}

}  // namespace recovery_session
