#include <gtest/gtest.h>

#include <vector>

#include "editor/palette_box.h"
#include "editor/workspace.h"
#include "image/new_skin.h"
#include "support/fake_pane_host.h"
#include "support/notice_log.h"

namespace {

using FakeHost = FakePaneHost;

MouseEvent At(MouseButton b, int x, int y) {
  MouseEvent e;
  e.button = b;
  e.x = x;
  e.y = y;
  return e;
}

// A strip 576 wide: 512 palette columns, eight per entry, over a grey-ramp
// skin so that entry i is the colour (i, i, i).
struct PalDesk {
  Workspace app;
  FakeHost host;
  PaletteBox box{app};
  NoticeLog log{app.document.changes};
  std::vector<PaneRedraw>& sent = log.sent;
  int rampBuilds = 0;

  explicit PalDesk(int width = 576) {
    app.rebuildShadeRamps = [this] { ++rampBuilds; };
    auto skin = MakeBlankSkin("s", 8, 8, GreyRampPalette());
    app.model.skins.push_back(std::move(skin));
    app.model.currentSkinIndex = 0;
    box.SetHost(&host);
    box.Resize(width, 32);
  }
  void Click(int x, int y) {
    box.MouseDown(At(MouseButton::Left, x, y));
    box.MouseUp(At(MouseButton::Left, x, y));
  }
  std::vector<std::pair<std::int64_t, std::int64_t>> Refreshes() const {
    std::vector<std::pair<std::int64_t, std::int64_t>> out;
    for (const auto& m : sent)
      out.emplace_back(m.kind, m.panes);
    return out;
  }
  // B, G, R of a client pixel, y from the top.
  std::array<int, 3> Pixel(int x, int y) const {
    const PaneImage im = box.Image();
    const std::uint8_t* p = im.pixels + (im.height - 1 - y) * im.stride + x * 3;
    return {p[0], p[1], p[2]};
  }
};

}  // namespace

TEST(PaletteBoxLayout, ColumnsSpreadTheSixtyFourEntriesOfABandOverThePaletteArea) {
  struct Case {
    int width, x, y, entry;
  };
  const Case cases[] = {
      // 100 wide: 36 columns, column i shows trunc(i x 64 / 36).
      {100, 64, 0, 0},
      {100, 65, 0, 1},
      {100, 66, 0, 3},  // entry 2 has no column
      {100, 99, 31, 62 + 192},
      // 576 wide: 512 columns, eight per entry.
      {576, 64 + 8 * 5 + 7, 8, 5 + 64},
      {576, 575, 24, 255},
      // Nothing beside the slot area, and no palette area in a narrow strip.
      {576, 63, 0, -1},
      {64, 64, 0, -1},
      {40, 50, 0, -1},
  };
  for (const Case& c : cases) {
    PalDesk d(c.width);
    EXPECT_EQ(d.box.EntryAt(c.x, c.y), c.entry) << c.width << " " << c.x << "," << c.y;
    d.Click(c.x, c.y);  // never reaches outside the map
    EXPECT_EQ(d.app.editor.colourSlots[0], c.entry >= 0 ? c.entry : 248);
  }
}

TEST(PaletteBoxProtection, ADragSpreadsTheValueItsPressToggled) {
  for (const bool startProtected : {false, true}) {
    PalDesk d;
    d.app.editor.protectedColours[10] = startProtected ? 1 : 0;
    d.app.editor.protectedColours[12] = 1;  // whatever the others were
    d.app.editor.protectedColours[13] = 0;
    const std::uint8_t expected = startProtected ? 0 : 1;
    d.box.MouseDown(At(MouseButton::Right, 64 + 8 * 10, 0));
    for (int entry : {11, 12, 13}) d.box.MouseMove(At(MouseButton::Right, 64 + 8 * entry + 3, 4));
    d.box.MouseMove(At(MouseButton::Right, 64 + 8 * 14, 40));  // below the strip: clamped to the last band
    d.box.MouseUp(At(MouseButton::Right, 64 + 8 * 14, 40));
    for (int entry : {10, 11, 12, 13, 14 + 192})
      EXPECT_EQ(d.app.editor.protectedColours[static_cast<std::size_t>(entry)], expected) << entry;
    EXPECT_EQ(d.app.editor.protectedColours[14], 0);
    EXPECT_FALSE(d.host.captured);
  }
  PalDesk d;
  d.box.MouseDown(At(MouseButton::Right, 20, 20));  // a right press on the slots does nothing
  EXPECT_EQ(d.box.dragState(), PaletteBox::DragState::Idle);
}

TEST(PaletteBoxDrawing, ProtectedEntriesAreSpeckledAndTheActiveSlotFramedWhite) {
  PalDesk d;
  d.app.editor.protectedColours[20] = 1;
  d.app.editor.activeSlot = 5;
  d.box.Redraw(0, 0);
  // Entry 20 spans x 224..231: 2 x 2 squares alternate plain and +64.
  EXPECT_EQ(d.Pixel(224, 0), (std::array<int, 3>{20, 20, 20}));
  EXPECT_EQ(d.Pixel(226, 0), (std::array<int, 3>{84, 84, 84}));
  EXPECT_EQ(d.Pixel(226, 2), (std::array<int, 3>{20, 20, 20}));
  // Slot 5 is the second cell of the bottom row; slot 4 is not active.
  EXPECT_EQ(d.Pixel(16 + 1, 16 + 1), (std::array<int, 3>{255, 255, 255}));
  EXPECT_NE(d.Pixel(1, 16 + 1), (std::array<int, 3>{255, 255, 255}));
  // Slot 5's colour 10 (default) fills its swatch.
  EXPECT_EQ(d.Pixel(16 + 7, 16 + 7), (std::array<int, 3>{10, 10, 10}));
}

TEST(PaletteBoxSlots, AColourChangeRefreshesTheViewsThatShowThatSlot) {
  struct Case {
    int slot;
    std::vector<std::pair<std::int64_t, std::int64_t>> sent;  // press, then release
    int rampBuilds;
  };
  const Case cases[] = {
      {7, {{2, 0x13}, {2, 0x23}}, 0},  // the background: Background for both views
      {2, {{1, 0x13}, {1, 0x13}}, 2},  // an edge colour and ramp base
      {0, {{0, 0x23}}, 0},             // the paint colour only at the release
  };
  for (const Case& c : cases) {
    PalDesk d;
    d.Click((c.slot % 4) * 16 + 8, (c.slot / 4) * 16 + 8);  // choose the slot by its cell
    ASSERT_EQ(d.app.editor.activeSlot, c.slot);
    d.box.MouseDown(At(MouseButton::Left, 64 + 8 * 33, 9));
    EXPECT_EQ(d.app.editor.colourSlots[static_cast<std::size_t>(c.slot)], 33 + 64);
    d.box.MouseUp(At(MouseButton::Left, 64 + 8 * 33, 9));
    EXPECT_EQ(d.Refreshes(), c.sent) << c.slot;
    EXPECT_EQ(d.rampBuilds, c.rampBuilds) << c.slot;
    // The paint table follows the paint colour: at strength 1 everything
    // becomes it.
    EXPECT_EQ(d.app.editor.paintTable[200], d.app.editor.colourSlots[static_cast<std::size_t>(c.slot)]);
  }
}

TEST(PaletteBoxWheel, StepsTheActiveColourByWholeRowsAndWraps) {
  struct Case {
    int slot, before, delta, after;
    std::vector<std::pair<std::int64_t, std::int64_t>> sent;
  };
  const Case cases[] = {
      {0, 250, 120, 10, {}},
      {0, 5, -240, 229, {}},
      {0, 5, 60, 5, {}},  // less than a notch
      {7, 0, 120, 16, {{2, 0x13}}},
  };
  for (const Case& c : cases) {
    PalDesk d(100);  // entry 10 has no column here: the wheel still reaches it
    d.app.editor.activeSlot = c.slot;
    d.app.editor.colourSlots[static_cast<std::size_t>(c.slot)] = static_cast<std::uint8_t>(c.before);
    d.box.Wheel(c.delta, 70, 5);
    EXPECT_EQ(d.app.editor.colourSlots[static_cast<std::size_t>(c.slot)], c.after) << c.before << " " << c.delta;
    EXPECT_EQ(d.Refreshes(), c.sent);
  }
}
